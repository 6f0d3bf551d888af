#pragma once
// How the engine reports a failure: file operations throw IoFailure inside the
// engine, and every public entry point hands its message back as a Status.

#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

namespace orvex {

// Raised inside the engine by file operations; every public entry point catches it
// and hands the message back as a value.
class IoFailure : public std::runtime_error {
 public:
  explicit IoFailure(const std::string& message) : std::runtime_error(message) {}
};

// The outcome of an operation that can fail with a message for the user.
struct Status {
  std::string error;
  bool ok() const { return error.empty(); }
  static Status failure(std::string message) { return Status{std::move(message)}; }
};

// A value, or the message that says why there is none.
template <class T>
class Result {
 public:
  Result(T value) : m_value(std::move(value)) {}                 // NOLINT(google-explicit-constructor): returned as is
  Result(Status failure) : m_error(std::move(failure.error)) {}  // NOLINT(google-explicit-constructor)

  bool ok() const { return m_value.has_value(); }
  T& value() { return *m_value; }
  const T& value() const { return *m_value; }
  const std::string& error() const { return m_error; }

 private:
  std::optional<T> m_value;
  std::string m_error;
};

// Runs `operation` and hands an IoFailure it raises back as a failure: the way the
// engine's public entry points keep exceptions on their own side.
template <class Operation>
auto resultOf(Operation&& operation) -> Result<decltype(operation())> {
  try {
    return operation();
  } catch (const IoFailure& failure) {
    return Status::failure(failure.what());
  }
}

template <class Operation>
Status statusOf(Operation&& operation) {
  try {
    operation();
    return {};
  } catch (const IoFailure& failure) {
    return Status::failure(failure.what());
  }
}

}  // namespace orvex

#pragma once
// How the engine reports a failure: file operations throw IoFailure inside the
// engine, and every public entry point hands its message back as a Status.

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

}  // namespace orvex

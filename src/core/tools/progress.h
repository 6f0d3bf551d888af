#pragma once
// Progress of a long command, reported as minimum, position and maximum so that a
// window can drive its progress bar; the batch run listens to nothing.

#include <cstdint>

namespace orvex {

class ProgressListener {
 public:
  virtual ~ProgressListener() = default;
  virtual void progressChanged(std::int64_t minimum, std::int64_t position, std::int64_t maximum) = 0;
};

class Progress {
 public:
  explicit Progress(ProgressListener* listener = nullptr) : m_listener(listener) {}
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;
  // A command that ends half-way, by a failure or an exception, leaves the
  // progress empty, as a finished one does.
  ~Progress() {
    if (m_position != 0) setPosition(0);
  }

  // Minimum 0, position 0, then the maximum, in that order.
  void start(std::int64_t maximum) {
    m_position = 0;
    notify();
    m_maximum = maximum;
    notify();
  }
  void setPosition(std::int64_t position) {
    m_position = position;
    notify();
  }
  void advance(std::int64_t by = 1) { setPosition(m_position + by); }
  std::int64_t position() const { return m_position; }
  std::int64_t maximum() const { return m_maximum; }

 private:
  void notify() {
    if (m_listener) m_listener->progressChanged(0, m_position, m_maximum);
  }

  ProgressListener* m_listener;
  std::int64_t m_position = 0;
  std::int64_t m_maximum = 100;
};

}  // namespace orvex

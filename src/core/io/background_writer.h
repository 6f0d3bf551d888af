#pragma once
// Writes buffers on a thread of its own, one after the other, so that the system
// calls that copy them out run while the caller fills the next buffer.

#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <string_view>
#include <thread>

namespace orvex {

class BackgroundWriter {
 public:
  // `write` runs on the thread for each buffer handed over. Throws std::system_error
  // when no thread can be had.
  explicit BackgroundWriter(std::function<void(std::string_view)> write);
  // Lets the buffer under way be written (a failure there is dropped) and ends the thread.
  ~BackgroundWriter();
  BackgroundWriter(const BackgroundWriter&) = delete;
  BackgroundWriter& operator=(const BackgroundWriter&) = delete;

  // Waits for the buffer handed over before, then hands `bytes` over: they must stay
  // as they are until the next call. Throws what the writing of an earlier buffer threw.
  void submit(std::string_view bytes);
  // Waits until every buffer handed over is written; throws what their writing threw.
  void wait();

 private:
  void waitIdle(std::unique_lock<std::mutex>& lock);
  void loop();

  std::function<void(std::string_view)> m_write;
  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::string_view m_pending;
  bool m_busy = false;
  bool m_stop = false;
  std::exception_ptr m_failure;
  std::thread m_thread;  // last: it starts once the rest is ready
};

}  // namespace orvex

#include "io/background_writer.h"

namespace orvex {

BackgroundWriter::BackgroundWriter(std::function<void(std::string_view)> write)
    : m_write(std::move(write)), m_thread([this] { loop(); }) {}

BackgroundWriter::~BackgroundWriter() {
  {
    const std::lock_guard lock(m_mutex);
    m_stop = true;
  }
  m_changed.notify_all();
  m_thread.join();
}

void BackgroundWriter::waitIdle(std::unique_lock<std::mutex>& lock) {
  m_changed.wait(lock, [this] { return !m_busy; });
  // A failure stays: nothing handed over after it would be written in its place.
  if (m_failure) std::rethrow_exception(m_failure);
}

void BackgroundWriter::submit(std::string_view bytes) {
  {
    std::unique_lock lock(m_mutex);
    waitIdle(lock);
    m_pending = bytes;
    m_busy = true;
  }
  m_changed.notify_all();
}

void BackgroundWriter::wait() {
  std::unique_lock lock(m_mutex);
  waitIdle(lock);
}

void BackgroundWriter::loop() {
  std::unique_lock lock(m_mutex);
  for (;;) {
    m_changed.wait(lock, [this] { return m_busy || m_stop; });
    if (!m_busy) return;
    lock.unlock();
    std::exception_ptr failure;
    try {
      m_write(m_pending);
    } catch (...) {
      failure = std::current_exception();
    }
    lock.lock();
    if (failure) m_failure = failure;
    m_busy = false;
    m_changed.notify_all();
  }
}

}  // namespace orvex

#include "history/tool_history.h"

#include <string>
#include <system_error>

#include "io/file_handle.h"

namespace orvex {

ToolHistory::ToolHistory(std::filesystem::path directory, Limits limits)
    : m_directory(std::move(directory)), m_limits(limits) {}

ToolHistory::~ToolHistory() { clear(); }

std::filesystem::path ToolHistory::fileOf(int token, bool after) const {
  return m_directory / (std::to_string(token) + (after ? "-apres.txt" : "-avant.txt"));
}

int ToolHistory::add(const Snapshot& before, const Snapshot& after) {
  const int token = ++m_lastToken;
  std::error_code error;
  std::filesystem::create_directory(m_directory, error);
  std::uintmax_t size = 0;
  bool kept = true;
  for (const bool isAfter : {false, true}) {
    const auto& source = isAfter ? after.file : before.file;
    const auto target = fileOf(token, isAfter);
    // Both files are in the scratch directory: a rename needs no space and cannot
    // leave half a file.
    std::filesystem::rename(source, target, error);
    if (error) {
      kept = false;
      break;
    }
    const auto bytes = std::filesystem::file_size(target, error);
    size += error ? 0 : bytes;
  }
  if (!kept) {
    removeQuietly(fileOf(token, false));
    return token;
  }
  Step step{token, size, before, after};
  step.before.file = fileOf(token, false);
  step.after.file = fileOf(token, true);
  m_steps.push_back(std::move(step));
  m_bytes += size;
  enforceLimits();
  return token;
}

const ToolHistory::Step* ToolHistory::find(int token) const {
  for (const Step& step : m_steps)
    if (step.token == token) return &step;
  return nullptr;
}

std::optional<Snapshot> ToolHistory::before(int token) const {
  const Step* step = find(token);
  if (!step) return std::nullopt;
  return step->before;
}

std::optional<Snapshot> ToolHistory::after(int token) const {
  const Step* step = find(token);
  if (!step) return std::nullopt;
  return step->after;
}

void ToolHistory::dropOldest() {
  const Step oldest = m_steps.front();
  m_steps.pop_front();
  m_bytes -= oldest.bytes;
  removeQuietly(fileOf(oldest.token, false));
  removeQuietly(fileOf(oldest.token, true));
}

void ToolHistory::enforceLimits() {
  while (m_steps.size() > 1 && (m_steps.size() > m_limits.maxSteps || m_bytes > m_limits.maxBytes)) dropOldest();
}

void ToolHistory::clear() {
  while (!m_steps.empty()) dropOldest();
}

void ToolHistory::setLimits(Limits limits) {
  m_limits = limits;
  enforceLimits();
}

}  // namespace orvex

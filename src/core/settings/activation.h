#pragma once
// What the main window's activation does with config.dat: with a record whose tips
// flag is set, the tips window is shown and the record rewritten with the state of
// its check box; without a file, the tips window is shown and a default record
// created.

#include <filesystem>
#include <functional>

#include "io/status.h"
#include "settings/settings_record.h"

namespace orvex {

struct ActivationHooks {
  // Shows the tips window and returns the state of its check box.
  std::function<bool()> showTips;
  // Receives the record read, before the tips window (gradient menus).
  std::function<void(const SettingsRecord&)> applyRecord;
};

Status runActivationSettings(const std::filesystem::path& configFile, const ActivationHooks& hooks);

}  // namespace orvex

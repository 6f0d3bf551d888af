#include "settings/activation.h"

namespace orvex {

Status runActivationSettings(const std::filesystem::path& configFile, const ActivationHooks& hooks) {
  // Without a safe place for the settings, the tips still show and nothing is written.
  if (configFile.empty()) {
    if (hooks.showTips) hooks.showTips();
    return {};
  }
  const SettingsReadResult read = readSettings(configFile);
  if (!read.error.empty()) return Status::failure(read.error);
  if (read.record) {
    if (hooks.applyRecord) hooks.applyRecord(*read.record);
    if (!read.record->BoiteAstuces) return {};
    SettingsRecord record = *read.record;
    record.BoiteAstuces = hooks.showTips ? hooks.showTips() : true;
    return writeSettings(configFile, record);
  }
  SettingsRecord defaults;
  defaults.BoiteAstuces = hooks.showTips ? hooks.showTips() : true;
  return writeSettings(configFile, defaults);
}

}  // namespace orvex

#include "settings/activation.h"

namespace orvex {

Status runActivationSettings(const std::filesystem::path& configFile, const ActivationHooks& hooks) {
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

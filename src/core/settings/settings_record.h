#pragma once
// The 24-byte settings record kept in config.dat: eleven flag bytes, one padding
// byte and three little-endian colours in the 0x00BBGGRR layout.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "io/status.h"

namespace orvex {

struct SettingsRecord {
  bool EcranBienvenue = true;
  bool PleinEcran = false;
  bool BoiteAstuces = true;
  bool MenusDegrade = false;
  bool MenusPlats = false;
  bool BarreStatut = true;
  bool BarreOutils = true;
  bool BarreOutilsBloc = false;
  bool Echelle = true;
  bool BarreEdition = true;
  bool ForcerCapitale = false;
  std::uint32_t CouleurEditeur = 0x00FFFFFF;
  std::uint32_t CouleurPolice = 0x00000000;
  std::uint32_t CouleurEchelle = 0x00BBFFFF;

  static constexpr std::size_t kSize = 24;
  using Bytes = std::array<unsigned char, kSize>;

  // Any nonzero flag byte reads as true; the padding byte is ignored.
  static SettingsRecord fromBytes(const Bytes& bytes);
  // Flags as 0 or 1, padding 0.
  Bytes toBytes() const;

  bool operator==(const SettingsRecord&) const = default;
};

struct SettingsReadResult {
  std::optional<SettingsRecord> record;
  std::string error;  // set when the file exists but cannot be read whole
};

// Reads the first record of `path`. A missing file gives neither record nor error;
// a file shorter than one record gives "Lecture au-delà de la fin de fichier"; a
// symbolic link another user owns is not followed and gives "Impossible d'ouvrir le fichier".
SettingsReadResult readSettings(const std::filesystem::path& path);

// Replaces `path` with exactly one record.
Status writeSettings(const std::filesystem::path& path, const SettingsRecord& record);

}  // namespace orvex

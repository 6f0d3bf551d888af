#include "settings/settings_record.h"

#include "io/atomic_file.h"
#include "io/file_handle.h"
#include "text/messages.h"

namespace orvex {

namespace {

std::uint32_t readColour(const SettingsRecord::Bytes& bytes, std::size_t offset) {
  return std::uint32_t(bytes[offset]) | std::uint32_t(bytes[offset + 1]) << 8 | std::uint32_t(bytes[offset + 2]) << 16 |
         std::uint32_t(bytes[offset + 3]) << 24;
}

void writeColour(SettingsRecord::Bytes& bytes, std::size_t offset, std::uint32_t colour) {
  for (std::size_t i = 0; i < 4; ++i) bytes[offset + i] = static_cast<unsigned char>(colour >> (8 * i));
}

}  // namespace

SettingsRecord SettingsRecord::fromBytes(const Bytes& bytes) {
  SettingsRecord record;
  record.EcranBienvenue = bytes[0] != 0;
  record.PleinEcran = bytes[1] != 0;
  record.BoiteAstuces = bytes[2] != 0;
  record.MenusDegrade = bytes[3] != 0;
  record.MenusPlats = bytes[4] != 0;
  record.BarreStatut = bytes[5] != 0;
  record.BarreOutils = bytes[6] != 0;
  record.BarreOutilsBloc = bytes[7] != 0;
  record.Echelle = bytes[8] != 0;
  record.BarreEdition = bytes[9] != 0;
  record.ForcerCapitale = bytes[10] != 0;
  record.CouleurEditeur = readColour(bytes, 12);
  record.CouleurPolice = readColour(bytes, 16);
  record.CouleurEchelle = readColour(bytes, 20);
  return record;
}

SettingsRecord::Bytes SettingsRecord::toBytes() const {
  Bytes bytes{};
  const bool flags[] = {EcranBienvenue, PleinEcran,      BoiteAstuces, MenusDegrade, MenusPlats,    BarreStatut,
                        BarreOutils,    BarreOutilsBloc, Echelle,      BarreEdition, ForcerCapitale};
  for (std::size_t i = 0; i < std::size(flags); ++i) bytes[i] = flags[i] ? 1 : 0;
  bytes[11] = 0;
  writeColour(bytes, 12, CouleurEditeur);
  writeColour(bytes, 16, CouleurPolice);
  writeColour(bytes, 20, CouleurEchelle);
  return bytes;
}

SettingsReadResult readSettings(const std::filesystem::path& path) {
  if (!isExistingFile(path)) return {};
  try {
    FileHandle file = openForReading(path, LinkPolicy::OwnLinksOnly);
    SettingsRecord::Bytes bytes{};
    if (readFull(file.get(), reinterpret_cast<char*>(bytes.data()), bytes.size()) < bytes.size())
      return {std::nullopt, readPastEndMessage()};
    return {SettingsRecord::fromBytes(bytes), {}};
  } catch (const IoFailure& failure) {
    return {std::nullopt, failure.what()};
  }
}

Status writeSettings(const std::filesystem::path& path, const SettingsRecord& record) {
  try {
    const auto bytes = record.toBytes();
    writeFileAtomically(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                        LinkPolicy::OwnLinksOnly);
    return {};
  } catch (const IoFailure& failure) {
    return Status::failure(failure.what());
  }
}

}  // namespace orvex

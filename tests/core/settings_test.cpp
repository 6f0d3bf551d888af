// config.dat: the 24-byte record, its readers' rules and the activation step.

#include <gtest/gtest.h>

#include "settings/activation.h"
#include "settings/settings_record.h"
#include "test_support.h"

namespace orvex {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

const std::string kDefaultBytes("\x01\x00\x01\x00\x00\x01\x01\x00\x01\x01\x00\x00"
                                "\xFF\xFF\xFF\x00"
                                "\x00\x00\x00\x00"
                                "\xFF\xFF\xBB\x00",
                                24);

TEST(SettingsRecord, DefaultsAndByteLayout) {
  const auto bytes = SettingsRecord{}.toBytes();
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), kDefaultBytes);
  SettingsRecord::Bytes raw{};
  raw[2] = 255;
  raw[11] = 9;
  raw[12] = 0x11;
  raw[13] = 0x22;
  raw[14] = 0x33;
  const SettingsRecord record = SettingsRecord::fromBytes(raw);
  EXPECT_TRUE(record.BoiteAstuces);
  EXPECT_FALSE(record.EcranBienvenue);
  EXPECT_EQ(record.CouleurEditeur, 0x00332211u);
  const auto written = record.toBytes();
  EXPECT_EQ(written[2], 1);
  EXPECT_EQ(written[11], 0);
}

TEST(SettingsFile, ReadersByFileSize) {
  TempDir dir;
  const auto file = dir / "config.dat";
  EXPECT_FALSE(readSettings(file).record.has_value());
  EXPECT_TRUE(readSettings(file).error.empty());
  for (const std::size_t size : {0u, 23u}) {
    writeFile(file, kDefaultBytes.substr(0, size));
    const auto result = readSettings(file);
    EXPECT_FALSE(result.record.has_value()) << size;
    EXPECT_EQ(result.error, "Lecture au-delà de la fin de fichier") << size;
  }
  writeFile(file, kDefaultBytes);
  EXPECT_EQ(readSettings(file).record, SettingsRecord{});
  writeFile(file, kDefaultBytes + std::string(76, '\x7F'));
  EXPECT_EQ(readSettings(file).record, SettingsRecord{});
}

TEST(Activation, CreatesTheDefaultsOrRewritesTheTipsFlag) {
  TempDir dir;
  const auto file = dir / "config.dat";
  ASSERT_TRUE(runActivationSettings(file, {[] { return false; }, nullptr}).ok());
  std::string expected = kDefaultBytes;
  expected[2] = 0;
  EXPECT_EQ(readFile(file), expected);

  // Tips off: the record is left as it is, even a long one.
  writeFile(file, expected + "tail");
  bool shown = false;
  ASSERT_TRUE(runActivationSettings(file, {[&] { return shown = true; }, nullptr}).ok());
  EXPECT_FALSE(shown);
  EXPECT_EQ(readFile(file).size(), 28u);

  // Tips on, flag byte 255 and trailing bytes: rewritten to exactly 24 normalised bytes.
  std::string longer = kDefaultBytes + std::string(76, 'x');
  longer[2] = '\xFF';
  longer[0] = '\x05';
  writeFile(file, longer);
  ASSERT_TRUE(runActivationSettings(file, {[] { return true; }, nullptr}).ok());
  EXPECT_EQ(readFile(file), kDefaultBytes);

  writeFile(file, kDefaultBytes.substr(0, 23));
  EXPECT_EQ(runActivationSettings(file, {}).error, "Lecture au-delà de la fin de fichier");
  EXPECT_EQ(readFile(file).size(), 23u);
}

TEST(SettingsFile, AReadOnlyFileIsNotReplaced) {
  TempDir dir;
  const auto file = dir / "config.dat";
  writeFile(file, kDefaultBytes);
  std::filesystem::permissions(file, std::filesystem::perms::owner_read);
  SettingsRecord changed;
  changed.PleinEcran = true;
  EXPECT_EQ(writeSettings(file, changed).error, "Impossible de créer le fichier " + file.string());
  EXPECT_EQ(readFile(file), kDefaultBytes);
}

}  // namespace
}  // namespace orvex

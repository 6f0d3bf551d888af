#pragma once
// Encryption by a fixed byte shift. Every byte b becomes b + kCipherKey (mod 256),
// except the two bytes whose shift would give a line break (LF or CR): they take the
// places of the shifted LF and CR, which no line holds. So an encrypted line never
// splits, and decryption restores every line exactly, whatever bytes it holds.

#include <string>

#include "tools/document_tool.h"

namespace orvex {

inline constexpr unsigned char kCipherKey = 7;

enum class CipherDirection { Encrypt, Decrypt };

// Writes line.size() bytes at `out`.
void cipher(std::string_view line, CipherDirection direction, char* out);
std::string cipher(std::string_view line, CipherDirection direction);

class CipherTool : public LineTool {
 public:
  explicit CipherTool(CipherDirection direction) : m_direction(direction) {}
  PipelineVariation variation() const override { return {EditorClearing::AfterDump, false, true}; }
  bool keepsUtf8Valid() const override { return false; }

 protected:
  void transform(std::string_view line, LineWriter& output, Progress&) override {
    cipher(line, m_direction, output.putUninitialized(line.size()));
  }
  bool stepsPerLine() const override { return false; }

 private:
  CipherDirection m_direction;
};

}  // namespace orvex

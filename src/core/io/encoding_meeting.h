#pragma once
// Where the document's lines meet another file's (a concatenated file, a pasted
// block, a file inserted as a column): the other file's lines are converted to the
// document's encoding, so both show the characters they showed on their own. A
// Windows-1252 document that meets characters the code page lacks turns UTF-8
// whole, its own lines converted too.

#include <filesystem>
#include <string>
#include <string_view>

#include "io/file_handle.h"
#include "text/text_format.h"

namespace orvex {

class EncodingMeeting {
 public:
  // Reads `other` (a UTF-8 byte-order mark aside) to find its encoding and whether
  // it fits the document's. Throws IoFailure.
  EncodingMeeting(Encoding document, const std::filesystem::path& other, LinkPolicy links = LinkPolicy::Follow);

  Encoding result() const { return m_result; }
  // A line of the document, or of the other file, in the result's encoding. The
  // view lasts until the next call of the same function.
  std::string_view documentLine(std::string_view line);
  std::string_view otherLine(std::string_view line);

 private:
  Encoding m_document;
  Encoding m_other;
  Encoding m_result;
  std::string m_documentBuffer;
  std::string m_otherBuffer;
};

}  // namespace orvex

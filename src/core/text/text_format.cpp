#include "text/text_format.h"

namespace orvex {

std::string_view lineBreakBytes(LineBreak lineBreak) {
  switch (lineBreak) {
    case LineBreak::CrLf: return "\r\n";
    case LineBreak::Cr: return "\r";
    case LineBreak::Lf: break;
  }
  return "\n";
}

}  // namespace orvex

#pragma once
// How a user tool is started: its parameter template becomes an argument list
// without any shell, and its program is found as an executable to start or a
// document (or address) to open with the desktop's default application.

#include <string>
#include <string_view>
#include <vector>

namespace orvex {

// Splits a parameter template into arguments with the shell's word rules and no
// expansion: blanks separate words, single quotes keep everything literal, double
// quotes keep everything but a backslash before " \ $ or `, and an unquoted
// backslash takes the next character literally. An unclosed quote runs to the end.
std::vector<std::string> splitParameterTemplate(std::string_view parameters);

// The arguments of a tool: the template split first, then, inside the arguments,
// the first "$NomFic", the first "$CheminFic" and the first "$Selection" replaced
// (never inside a value already put in). The directory ends with "/"; both are
// empty for a document without file.
std::vector<std::string> toolArguments(std::string_view parameters, const std::string& currentFileName,
                                       const std::string& selection);

// Whether the system would accept `arguments` (the program first) for a new
// process with the current environment: no single argument above the kernel's
// per-string limit, and the whole within the system's total.
bool fitsArgumentLimits(const std::vector<std::string>& arguments);

struct ToolTarget {
  enum class Kind { Start, Open, Missing };
  Kind kind = Kind::Missing;
  std::string path;  // the executable to start, or what to open
};

// What to do with a tool's program: an executable file (a bare name is looked up
// in PATH) is started; an existing non-executable file, or an address such as
// "https://..." or "mailto:...", is opened; anything else is missing. The path
// given back is absolute.
ToolTarget resolveToolProgram(const std::string& program);

}  // namespace orvex

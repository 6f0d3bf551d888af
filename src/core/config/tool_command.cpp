#include "config/tool_command.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <optional>

extern char** environ;

namespace orvex {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// A piece of an argument: text from the template, or a value put in for a
// variable, which is never searched again.
struct Piece {
  std::string text;
  bool fromTemplate = true;
};
using Argument = std::vector<Piece>;

void substituteFirst(std::vector<Argument>& arguments, std::string_view variable, const std::string& value) {
  for (Argument& argument : arguments) {
    for (std::size_t i = 0; i < argument.size(); ++i) {
      if (!argument[i].fromTemplate) continue;
      const auto at = argument[i].text.find(variable);
      if (at == std::string::npos) continue;
      Piece after{argument[i].text.substr(at + variable.size()), true};
      argument[i].text.resize(at);
      argument.insert(argument.begin() + static_cast<std::ptrdiff_t>(i) + 1, {Piece{value, false}, std::move(after)});
      return;
    }
  }
}

bool isExecutableFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

std::optional<std::string> findInPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::string_view directories = path ? path : "/usr/local/bin:/usr/bin:/bin";
  while (true) {
    const auto colon = directories.find(':');
    // An empty entry of PATH means the current directory.
    const std::string_view directory = directories.substr(0, colon);
    std::string candidate(directory.empty() ? std::string_view(".") : directory);
    candidate.append("/").append(name);
    if (isExecutableFile(candidate)) return candidate;
    if (colon == std::string_view::npos) return std::nullopt;
    directories.remove_prefix(colon + 1);
  }
}

bool isAddress(std::string_view program) {
  if (program.starts_with("mailto:")) return true;
  const auto scheme = program.find("://");
  if (scheme == std::string_view::npos || scheme == 0) return false;
  for (const char c : program.substr(0, scheme))
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.') return false;
  return true;
}

}  // namespace

std::vector<std::string> splitParameterTemplate(std::string_view parameters) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false;
  for (std::size_t i = 0; i < parameters.size(); ++i) {
    const char c = parameters[i];
    if (isBlank(c)) {
      if (inWord) words.push_back(std::move(word));
      word.clear();
      inWord = false;
      continue;
    }
    inWord = true;
    if (c == '\'') {
      const auto close = parameters.find('\'', i + 1);
      const auto end = close == std::string_view::npos ? parameters.size() : close;
      word.append(parameters.substr(i + 1, end - i - 1));
      i = end;
    } else if (c == '"') {
      for (++i; i < parameters.size() && parameters[i] != '"'; ++i) {
        const bool escape = parameters[i] == '\\' && i + 1 < parameters.size() &&
                            std::string_view("\"\\$`").find(parameters[i + 1]) != std::string_view::npos;
        if (escape) ++i;
        word += parameters[i];
      }
    } else if (c == '\\') {
      // A backslash at the very end has nothing to escape and stays.
      word += i + 1 < parameters.size() ? parameters[++i] : c;
    } else {
      word += c;
    }
  }
  if (inWord) words.push_back(std::move(word));
  return words;
}

std::vector<std::string> toolArguments(std::string_view parameters, const std::string& currentFileName,
                                       const std::string& selection) {
  std::vector<Argument> arguments;
  for (auto& word : splitParameterTemplate(parameters)) arguments.push_back({Piece{std::move(word), true}});

  std::string name;
  std::string directory;
  if (!currentFileName.empty()) {
    const auto slash = currentFileName.rfind('/');
    name = slash == std::string::npos ? currentFileName : currentFileName.substr(slash + 1);
    directory = slash == std::string::npos ? std::string() : currentFileName.substr(0, slash + 1);
  }
  substituteFirst(arguments, "$NomFic", name);
  substituteFirst(arguments, "$CheminFic", directory);
  substituteFirst(arguments, "$Selection", selection);

  std::vector<std::string> result;
  result.reserve(arguments.size());
  for (const Argument& argument : arguments) {
    std::string text;
    for (const Piece& piece : argument) text += piece.text;
    result.push_back(std::move(text));
  }
  return result;
}

bool fitsArgumentLimits(const std::vector<std::string>& arguments) {
  // Linux refuses any single string longer than 32 pages (MAX_ARG_STRLEN).
  const long page = ::sysconf(_SC_PAGESIZE);
  const std::size_t perString = static_cast<std::size_t>(page > 0 ? page : 4096) * 32;
  // The kernel never allows more than 6 MiB in all, whatever the stack limit that
  // the C library's figure follows.
  long total = std::min(::sysconf(_SC_ARG_MAX), 6L * 1024 * 1024);
  if (total <= 0) total = 128L * 1024;
  std::size_t needed = 0;
  for (const auto& argument : arguments) {
    if (argument.size() + 1 > perString) return false;
    needed += argument.size() + 1 + sizeof(char*);
  }
  for (char** variable = environ; variable && *variable; ++variable)
    needed += std::char_traits<char>::length(*variable) + 1 + sizeof(char*);
  // Room for the loader's own entries on the new stack.
  return needed + 4096 <= static_cast<std::size_t>(total);
}

ToolTarget resolveToolProgram(const std::string& program) {
  if (isAddress(program)) return {ToolTarget::Kind::Open, program};
  if (program.find('/') == std::string::npos) {
    if (auto found = findInPath(program)) return resolveToolProgram(*found);
    return {};
  }
  // The program starts in another directory: a relative path is made whole here.
  if (program.front() != '/') {
    std::error_code error;
    const auto absolute = std::filesystem::absolute(program, error);
    return error ? ToolTarget{} : resolveToolProgram(absolute.lexically_normal().string());
  }
  if (isExecutableFile(program)) return {ToolTarget::Kind::Start, program};
  struct stat info {};
  if (::stat(program.c_str(), &info) == 0) return {ToolTarget::Kind::Open, program};
  return {};
}

}  // namespace orvex

#pragma once
// Starting another program and leaving it to run on its own: no shell, the program
// and its arguments passed as the exact bytes given (a file name that is not UTF-8
// arrives as it is on disk), and no zombie left behind.

#include <optional>
#include <string>
#include <vector>

#include "io/file_handle.h"

namespace orvex {

// Starts `command` (the program's path, then its arguments) in `directory`, in a
// session of its own. False when it could not be started: the directory or the
// program is missing, or the program may not be run.
bool startDetachedProcess(const std::vector<std::string>& command, const std::string& directory);

// Starts `command` as startDetachedProcess does, its standard output and error
// written to `output`. Gives back a descriptor that becomes readable when the
// program ends (a closed one where the system cannot watch another process's end),
// or nothing when the program could not be started.
std::optional<FileHandle> startWatchedProcess(const std::vector<std::string>& command, const std::string& directory,
                                              int output);

}  // namespace orvex

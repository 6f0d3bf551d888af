#pragma once
// Leaves nothing behind when a signal ends the program: on SIGTERM, SIGINT or
// SIGHUP the registered directory is removed with everything in it, then the
// program ends as the signal would have ended it.

#include <filesystem>

namespace orvex {

// Installs the handlers; one directory at a time, the last registered.
void removeOnTerminatingSignals(const std::filesystem::path& directory);

}  // namespace orvex

// Entry point: a batch run (on a file or in a pipe) or the help text without any
// window, or the editor.

#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "app/interactive_start.h"
#include "batch/batch_run.h"
#include "batch/pipe_run.h"
#include "paths/exit_cleanup.h"
#include "paths/program_paths.h"
#include "version.h"

namespace {

bool isHelpRequest(const std::vector<std::string>& arguments) {
  return arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h");
}

// "/?" shows the help in the configuration dialog when there is a screen to show it
// on, and as text otherwise (over ssh, in a script, on a headless platform).
bool hasDisplay() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  const std::string_view name = platform ? platform : "";
  if (name.starts_with("offscreen") || name.starts_with("minimal")) return false;
  for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY"})
    if (const char* value = std::getenv(variable); value && *value) return true;
  return !name.empty();
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  const bool batchHelp = arguments.size() == 1 && arguments[0] == "/?";
  if (isHelpRequest(arguments) || (batchHelp && !hasDisplay())) {
    std::cout << orvex::batchHelpText();
    return 0;
  }
  if (arguments.size() == 1 && arguments[0] == "--version") {
    std::cout << "Orvex " << orvex::kVersion << '\n';
    return 0;
  }
  if (arguments.size() >= 2) {
    // Batch runs never touch the display: they work over ssh and from cron.
    // A run ended by a signal removes its temporary file.
    orvex::installExitCleanup();
    // What killed editors left behind goes here too: batch runs may be all a user starts.
    orvex::removeAbandonedScratchDirectories();
    if (arguments[0] == "-") {
      // A reader that stops early (`| head`) shows as EPIPE, so that the run still
      // removes its scratch files and ends without a word.
      std::signal(SIGPIPE, SIG_IGN);
      return orvex::runPipe(std::span(arguments).subspan(1), STDIN_FILENO, STDOUT_FILENO, std::cerr);
    }
    const orvex::ProgramPaths paths(
        orvex::resolveProgramDirectory(orvex::runningExecutableDirectory()).value_or(std::filesystem::path()));
    return orvex::runBatch(arguments, paths, std::cerr);
  }
  return orvex::gui::runInteractive(argc, argv, arguments);
}

// Entry point: a batch run or the help text, both without any window.

#include <iostream>
#include <string>
#include <vector>

#include "batch/batch_run.h"
#include "paths/program_paths.h"

namespace {

constexpr const char* kVersion = "Orvex 1.3";

bool isHelpRequest(const std::vector<std::string>& arguments) {
  return arguments.size() == 1 && (arguments[0] == "/?" || arguments[0] == "--help" || arguments[0] == "-h");
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  if (isHelpRequest(arguments)) {
    std::cout << orvex::batchHelpText();
    return 0;
  }
  if (arguments.size() == 1 && arguments[0] == "--version") {
    std::cout << kVersion << '\n';
    return 0;
  }
  if (arguments.size() >= 2) {
    const orvex::ProgramPaths paths(orvex::resolveProgramDirectory(orvex::runningExecutableDirectory()));
    return orvex::runBatch(arguments, paths, std::cerr);
  }
  std::cerr << "orvex: la fenêtre de l'éditeur n'est pas disponible dans cette version ; "
               "voir orvex --help pour le mode batch.\n";
  return 1;
}

#pragma once
// The batch run: `orvex FILE OPTION...` applies the options in order to FILE and
// saves it after each one, without a window or a question.

#include <ostream>
#include <string>
#include <vector>

#include "batch/batch_document.h"
#include "paths/program_paths.h"

namespace orvex {

// `arguments` are the file followed by the options. Errors are written to `errors`
// in the words of the error report. config.dat in the program directory is created
// or rewritten as the window's activation does.
int runBatch(const std::vector<std::string>& arguments, const ProgramPaths& paths, std::ostream& errors);

// The batch mode help page as plain text.
std::string batchHelpText();

}  // namespace orvex

#pragma once
// `orvex - OPTION...`: the batch run in a pipe. The text comes from one descriptor
// and the result goes once to another; in between the text lives in a scratch file
// and goes through the very run `orvex FILE OPTION...` makes, so the bytes out are
// those the file form would leave in FILE.

#include <ostream>
#include <span>
#include <string>

#include "batch/batch_document.h"

namespace orvex {

// Reads `input` to its end, applies `options` and writes the result to `output`.
// Errors go to `errors` in the words of the error report, with kBatchIoError. A
// reader that has gone (EPIPE: the caller ignores SIGPIPE) ends the run quietly,
// with kBatchIoError too. Nothing but the scratch directory is written, and it is
// gone on return or when a signal ends the program.
int runPipe(std::span<const std::string> options, int input, int output, std::ostream& errors);

}  // namespace orvex

#pragma once
// The work of a batch run on one file, shared by `orvex FILE OPTION...` and by
// `orvex - OPTION...`, which runs it on a scratch copy of its standard input.

#include <filesystem>
#include <functional>
#include <ostream>
#include <span>
#include <string>

namespace orvex {

enum BatchExit { kBatchDone = 0, kBatchIoError = 1, kBatchNoFile = 2 };

// Applies the options in order to `file` and saves it after each one; an argument
// that is not an option only saves it again. After every option the file holds a
// complete result. Throws IoFailure, std::bad_alloc or std::system_error.
void applyBatchOptions(const std::filesystem::path& file, std::span<const std::string> options);

// Runs `work`; a failure it raises is written to `errors` in the words of the error
// report. Returns kBatchDone, or kBatchIoError after a failure.
int reportBatchFailures(std::ostream& errors, const std::function<void()>& work);

}  // namespace orvex

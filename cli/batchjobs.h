// kelm-calc --batch --jobs N: the batch's calculation lines shared among N threads and written
// in input order, byte for byte what RunBatch writes.
#pragma once

#include <iosfwd>
#include <string>

#include "cli/formulations.h"

namespace kelmcli {

class CalcWorkbook;

inline constexpr int kMaxJobs = 1024;

// The cores this process may run on (at most kMaxJobs): the default of --jobs.
int DefaultJobs();

// "1" … "1024" → jobs; false for anything else.
bool ParseJobs(const std::string& text, int& jobs);

// RunBatch on `jobs` threads (1: RunBatch itself): the same output, messages, workbook rows and
// exit status.
// Lines are taken as they arrive, and each result is written as soon as those before it are, so
// a program that writes a line and waits for its answer gets it. At most 256 lines per thread
// are held at once. The output is flushed whenever the next result is not ready yet, rather
// than after every line.
int RunBatchJobs(std::istream& in, std::ostream& out, std::ostream& err, int jobs,
                 const Options& options = {}, CalcWorkbook* workbook = nullptr);

}  // namespace kelmcli

// One job of a set-up file, run without windows: the work of marvist-run.
#pragma once

#include <cstdio>
#include <string>

namespace marvist {

// Exit status of a batch run.
inline constexpr int kBatchDone = 0;   // the job ended without a fatal error
inline constexpr int kBatchFatal = 1;  // the job ended fatally
inline constexpr int kBatchUsage = 2;  // wrong arguments, or an unreadable set-up file
inline constexpr int kBatchStop = 3;   // a printer plot stopped the program

// Reads setup_file as the job form reads it back and runs its job in the
// folder of the file: relative file names are taken from there (the
// process's working folder does not change).
//   show  print the listing as UTF-8 on out after the job
//   out   standard-output copies of result blocks, and the listing with show
//   err   error-window lines as "E|...", progress-window lines as "P|...",
//         and the runner's own messages ("marvist-run: ..."), among them a
//         warning for each number field of the set-up file that holds more
//         than digits and blanks (the job still runs)
// Returns one of the statuses above.
int run_batch(const std::string& setup_file, bool show, std::FILE* out, std::FILE* err);

}  // namespace marvist

// One job of a set-up file, run without windows: the work of marvist-run.
#pragma once

#include <cstdio>
#include <optional>
#include <string>

#include "app/batch/plot_output.h"
#include "stats/permutation_test.h"

namespace marvist {

// Exit status of a batch run.
inline constexpr int kBatchDone = 0;   // the job ended without a fatal error
inline constexpr int kBatchFatal = 1;  // the job ended fatally
inline constexpr int kBatchUsage = 2;  // wrong arguments, or an unreadable set-up file
inline constexpr int kBatchStop = 3;   // a printer plot stopped the program
inline constexpr int kBatchOutputFailed = 4;  // the job ended well, but its plots or results could not be written

// What a batch run does besides the job.
struct BatchOptions {
    bool show = false;                         // print the listing as UTF-8 on out after the job
    PlotRequest plots;                         // the joint plots as SVG files (none when its folder is empty)
    std::optional<std::string> export_folder;  // write the results as data there (export/results_export.h)
    PermutationOptions permutation;            // the permutation test reported in the export; 0: none
};

// Reads setup_file as the job form reads it back and runs its job in the
// folder of the file: relative file names are taken from there (the
// process's working folder does not change).
//   options  the listing shown after the job; the joint plots written after
//            it (a job without an NSCA solution of two axes, or stopped by a
//            printer plot, writes none and says so on err; the status stays);
//            the results exported (below)
//   out   standard-output copies of result blocks, and the listing with show
//   err   error-window lines as "E|...", progress-window lines as "P|...",
//         and the runner's own messages ("marvist-run: ..."), among them a
//         warning for each number field of the set-up file that holds more
//         than digits and blanks (the job still runs)
// A job that ends without a fatal error has its results exported when an
// export folder is given (relative to the working folder): with the
// permutation test first when it is asked for; a folder or file that cannot
// be made or written is named on err with the reason. A job that ends
// otherwise exports nothing and says so on err.
// Returns one of the statuses above; kBatchOutputFailed when the plots or
// the results could not be written after a job that ended without a fatal
// error.
int run_batch(const std::string& setup_file, const BatchOptions& options, std::FILE* out, std::FILE* err);

}  // namespace marvist

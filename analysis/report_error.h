// Errors and warnings of a job, reported by number into the "Errors and
// Warnings" window. The reporter never ends a job: fail() (run_state.h)
// marks the job, and the driver acts on the mark.
#pragma once

#include "analysis/reporter.h"
#include "base/diagnostics.h"

namespace marvist {

// Writes the block of one report: heading by severity, message lines, and
// for a fatal report the closing lines. Uses and advances
// reporter.error_window_state; the closing call of a job (state Last) only
// completes the window.
void report_error(Reporter& reporter, ErrorCode code, Severity severity);

}  // namespace marvist

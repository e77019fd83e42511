// Errors and warnings of a job, reported by number into the "Errors and
// Warnings" window. The reporter never ends a job: fail() marks the job,
// and the driver acts on the mark.
#pragma once

#include "analysis/run_state.h"
#include "base/diagnostics.h"

namespace marvist {

// Writes the block of one report: heading by severity, message lines, and
// for a fatal report the closing lines. Uses and advances
// rs.error_window_state; writes through rs.reports.
void report_error(RunState& rs, ErrorCode code, Severity severity);

// Reports code as fatal and sets rs.fatal_state to 3: every fatal report of
// a job goes through here.
void fail(RunState& rs, ErrorCode code);

// Reports code as a warning; the job goes on.
void warn(RunState& rs, ErrorCode code);

}  // namespace marvist

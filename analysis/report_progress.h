// Progress of a job, reported by code into the "Progress of Marvist" window.
#pragma once

#include "analysis/report_sink.h"
#include "analysis/reporter.h"

namespace marvist {

// Writes the line of code (the banner for ProgressCode::Banner; a code that
// is no progress code writes nothing). Uses and advances
// reporter.progress_window_state; the closing call (state Last) writes the
// success line for ProgressCode::SuccessfulEnd and completes the window.
void report_progress(Reporter& reporter, ProgressCode code);

}  // namespace marvist

// Progress of a job, reported by code into the "Progress of Marvist" window.
#pragma once

#include "analysis/report_sink.h"
#include "analysis/run_state.h"

namespace marvist {

// Writes the line of code (the banner for ProgressCode::Banner; a code that
// is no progress code writes nothing). Uses and advances
// rs.progress_window_state.
void report_progress(RunState& rs, ProgressCode code);

}  // namespace marvist

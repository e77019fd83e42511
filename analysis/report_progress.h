// Progress of a job, reported by code into the "Progress of Marvist" window.
#pragma once

#include "analysis/run_state.h"

namespace marvist {

// code: one of 1050 (banner), 1100, 1200, 1300, 1310, 1320, 1330, 1350,
// 1360, 9000, or 0. Uses and advances rs.progress_window_state.
void report_progress(RunState& rs, int code);

}  // namespace marvist

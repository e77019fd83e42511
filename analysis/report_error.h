// Errors and warnings of a job, reported by number into the "Errors and
// Warnings" window. The reporter never ends a job: the caller sets
// fatal_state and the driver acts on it.
#pragma once

#include "analysis/run_state.h"

namespace marvist {

// Severity of a report.
inline constexpr int kSeverityNone = 0;     // no heading (closing report 999)
inline constexpr int kSeverityWarning = 1;
inline constexpr int kSeverityFatal = 3;

// code: message number (37, 50, 100, ...); severity: 0, 1, 2 or 3.
// Uses and advances rs.error_window_state; writes through rs.reports.
void report_error(RunState& rs, int code, int severity);

}  // namespace marvist

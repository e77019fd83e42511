#include "analysis/run_state.h"

#include "analysis/report_error.h"

namespace marvist {

void fail(RunState& rs, ErrorCode code) {
    report_error(rs.reporter, code, Severity::Fatal);
    rs.fatal_state = FatalState::Fatal;
}

void warn(RunState& rs, ErrorCode code) { report_error(rs.reporter, code, Severity::Warning); }

}  // namespace marvist

// The state of one running job, kept by the driver and shared with the
// reading of its input files: the reporters, how far the job has failed, and
// the job fields that change while it runs.
#pragma once

#include <string>

#include "analysis/job_record.h"
#include "analysis/job_results.h"
#include "analysis/reporter.h"
#include "base/diagnostics.h"
#include "nsca/svd_axes.h"

namespace marvist {

struct RunState {
    Reporter reporter;
    FatalState fatal_state = FatalState::None;
    // The number of NSCA axes and the variable names: brought into range,
    // exchanged with the table, and given back to the job record at the end.
    int n_axes = 0;
    std::string row_variable = std::string(kVariableNameLength, ' ');
    std::string col_variable = std::string(kVariableNameLength, ' ');
    SvdPath svd_path = SvdPath::Fast;  // as the job's context asks
};

// Reports code as fatal and marks the job so: every fatal report of a job
// goes through here.
void fail(RunState& rs, ErrorCode code);

// Reports code as a warning; the job goes on.
void warn(RunState& rs, ErrorCode code);

inline bool is_fatal(const RunState& rs) { return rs.fatal_state == FatalState::Fatal; }

}  // namespace marvist

// The analysis driver: one complete job, from opening its files to the
// closing lines of the listing and of the report windows.
#pragma once

#include "analysis/job_record.h"
#include "analysis/run_state.h"

namespace marvist {

// job  the job's parameters. Afterwards it holds the clipped n_axes; with
//      columns dependent, the exchanged n_rows/n_cols and variable names;
//      do_nsca = 0 when tau was 0.
// rs   reports, clock and standard output are taken from it; n_axes and the
//      variable names are copied in from job at the start and back at the
//      end; fatal_state tells the caller how the job ended (3: fatal).
void run_job(JobRecord& job, RunState& rs);

}  // namespace marvist

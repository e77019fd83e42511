// The listing's section of the homogenised margins, with its copies on the
// standard output.
#pragma once

#include "analysis/job_observer.h"
#include "analysis/job_results.h"
#include "base/layout.h"

namespace marvist {

// Banner, the outcome of the iteration, the rounded table, its marginals
// and average entry, of results.homogenisation. The banner and the outcome
// go to standard_output first, with a counter line for every sweep between
// them (the later ones beginning with '+' to overprint on a console);
// standard_output may be null.
void write_homogenisation(RecordSink& listing, RecordSink* standard_output, const JobResults& results,
                          ListingStatus& status);

}  // namespace marvist

// The listing's section of the nonsymmetric correspondence analysis: the
// decomposition, the coordinates and joint plots, and the supplementary
// information on the solution.
#pragma once

#include "analysis/job_observer.h"
#include "analysis/job_results.h"
#include "base/layout.h"

namespace marvist {

// Writes results.nsca as far as the analysis got (its failure says where)
// and as far as the section's own storage allows: a printer or plot that
// cannot obtain its storage is noted in status; after the standard
// coordinates and after the plots the section stops when anything has been
// noted (status.cut_short when that is before the analysis' own failure).
// A stop of the program by a plot (ProgramStop) passes through.
void write_nsca(RecordSink& listing, const JobResults& results, ListingStatus& status);

}  // namespace marvist

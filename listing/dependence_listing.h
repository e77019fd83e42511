// The listing's section of the dependence measures, with its copies on the
// standard output.
#pragma once

#include "analysis/job_observer.h"
#include "analysis/job_results.h"
#include "base/layout.h"

namespace marvist {

// Banner, centred column profiles, Tau_a with the contributions of columns
// and rows, Tau_b, Pearson's chi-square and the analysis of variance, of
// results.dependence. The blocks of the taus, the chi-square and the
// analysis of variance go to standard_output first (it may be null).
void write_dependence(RecordSink& listing, RecordSink* standard_output, const JobResults& results,
                      ListingStatus& status);

}  // namespace marvist

// The listing's section of the symmetric and skew-symmetric parts.
#pragma once

#include "analysis/job_observer.h"
#include "analysis/job_results.h"
#include "base/layout.h"

namespace marvist {

// Banner, S, its marginals and K (one decimal) of results.symmetry.
void write_symmetry(RecordSink& listing, const JobResults& results, ListingStatus& status);

}  // namespace marvist

// The points of a job at which its listing is written. The driver calls
// them in the order below, each once at most, as soon as the results they
// concern are in JobResults; an observer writes its blocks to the listing
// the driver hands it. The listing writer (listing/listing_writer.h) is the
// observer of a job with a listing; the base class writes nothing.
#pragma once

#include <vector>

#include "analysis/job_results.h"
#include "base/diagnostics.h"
#include "base/layout.h"

namespace marvist {

// What an observer met while it wrote one point's blocks.
struct ListingStatus {
    // Failures the driver reports as fatal, in the order met (a printer's
    // storage, the point list of a plot).
    std::vector<ErrorCode> failures;
    // The blocks stopped at a failure of their own before the place where the
    // analysis itself failed: that failure is then not reached, not reported.
    bool cut_short = false;

    void failed(ErrorCode code) { failures.push_back(code); }
    bool ok() const { return failures.empty(); }
};

class JobObserver {
public:
    virtual ~JobObserver() = default;

    // The files are open and the sizes checked: results.job and results.started.
    virtual ListingStatus job_started(const JobResults&, RecordSink&) { return {}; }
    // The table's storage is there and the counts are read next.
    virtual ListingStatus table_reading(const JobResults&, RecordSink&) { return {}; }
    // results.table is complete (exchanged when the columns are dependent).
    virtual ListingStatus table_read(const JobResults&, RecordSink&) { return {}; }
    // results.marginals holds the totals and N (before empty rows and
    // columns are checked).
    virtual ListingStatus marginal_totals_ready(const JobResults&, RecordSink&) { return {}; }
    // results.marginals holds the profiles and the proportions.
    virtual ListingStatus profiles_ready(const JobResults&, RecordSink&) { return {}; }
    virtual ListingStatus dependence_ready(const JobResults&, RecordSink&) { return {}; }
    // results.nsca, possibly stopped short (its failure says where).
    virtual ListingStatus nsca_ready(const JobResults&, RecordSink&) { return {}; }
    virtual ListingStatus nsca_skipped(const JobResults&, RecordSink&) { return {}; }
    virtual ListingStatus homogenisation_ready(const JobResults&, RecordSink&) { return {}; }
    virtual ListingStatus homogenisation_skipped(const JobResults&, RecordSink&) { return {}; }
    virtual ListingStatus symmetry_ready(const JobResults&, RecordSink&) { return {}; }
    // Not requested.
    virtual ListingStatus symmetry_skipped(const JobResults&, RecordSink&) { return {}; }
    // Requested on a table that is not square.
    virtual ListingStatus symmetry_impossible(const JobResults&, RecordSink&) { return {}; }
    // The job ends without a fatal error.
    virtual ListingStatus job_ended(const JobResults&, RecordSink&) { return {}; }
};

}  // namespace marvist

// The listing of a job, written at the points where the driver reaches each
// block (analysis/job_observer.h), with the copies of result blocks on the
// standard output. A front end hands it to run_job.
#pragma once

#include "analysis/job_observer.h"
#include "analysis/job_results.h"
#include "base/layout.h"

namespace marvist {

class ListingWriter : public JobObserver {
public:
    // standard_output: where the copies of result blocks go; null discards
    // them. It must outlive the writer.
    explicit ListingWriter(RecordSink* standard_output = nullptr) : standard_output_(standard_output) {}

    ListingStatus job_started(const JobResults& results, RecordSink& listing) override;
    ListingStatus table_reading(const JobResults& results, RecordSink& listing) override;
    ListingStatus table_read(const JobResults& results, RecordSink& listing) override;
    ListingStatus marginal_totals_ready(const JobResults& results, RecordSink& listing) override;
    ListingStatus profiles_ready(const JobResults& results, RecordSink& listing) override;
    ListingStatus dependence_ready(const JobResults& results, RecordSink& listing) override;
    ListingStatus nsca_ready(const JobResults& results, RecordSink& listing) override;
    ListingStatus nsca_skipped(const JobResults& results, RecordSink& listing) override;
    ListingStatus homogenisation_ready(const JobResults& results, RecordSink& listing) override;
    ListingStatus homogenisation_skipped(const JobResults& results, RecordSink& listing) override;
    ListingStatus symmetry_ready(const JobResults& results, RecordSink& listing) override;
    ListingStatus symmetry_skipped(const JobResults& results, RecordSink& listing) override;
    ListingStatus symmetry_impossible(const JobResults& results, RecordSink& listing) override;
    ListingStatus job_ended(const JobResults& results, RecordSink& listing) override;

private:
    RecordSink* standard_output_;
};

}  // namespace marvist

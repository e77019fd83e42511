#include "analysis/driver.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <span>
#include <stdexcept>
#include <utility>

#include "analysis/category_names.h"
#include "analysis/input_files.h"
#include "analysis/job_arrays.h"
#include "analysis/report_error.h"
#include "analysis/report_progress.h"
#include "analysis/run_state.h"
#include "base/fixed_text.h"
#include "nsca/nsca.h"
#include "stats/dependence.h"
#include "stats/homogenise.h"
#include "stats/marginals.h"
#include "stats/symmetry.h"

namespace marvist {
namespace {

// One running job: its record, its state, the results so far, and where
// its listing goes once it is open.
struct Job {
    JobRecord& record;
    JobObserver& observer;
    RunState rs;
    JobResults results;
    RecordSink* listing = nullptr;
};

// Any dependence other than 1 reads and analyses the table as rows dependent.
bool columns_dependent(const JobRecord& job) { return job.dependence == 1; }

// Every failure the listing met, reported as fatal in the order met.
void report_listing(Job& j, const ListingStatus& status) {
    for (const ErrorCode code : status.failures) fail(j.rs, code);
}

// Calls one point of the observer on the open listing and reports what it met.
template <class Point>
ListingStatus listing_point(Job& j, Point point) {
    ListingStatus status = (j.observer.*point)(j.results, *j.listing);
    report_listing(j, status);
    return status;
}

// No more axes than rows - 1 and columns - 1.
void clip_axes(int& n_axes, int n_rows, int n_cols) {
    if (n_rows - 1 < n_axes) n_axes = n_rows - 1;
    if (n_cols - 1 < n_axes) n_axes = n_cols - 1;
}

// The job is sized as a whole before its first array is allocated: a table
// typed far too large (999999999 rows, or 100000 x 100000) is refused at
// once, instead of after the label arrays have been filled or by the system
// running out of memory halfway through the job.
bool job_fits(const JobRecord& job, int n_supp_dim) {
    const std::int64_t rows = job.n_rows, cols = job.n_cols, supp = std::max(job.n_supp, 0);
    const std::int64_t read_width = columns_dependent(job) ? cols : cols + supp;
    const std::int64_t I = columns_dependent(job) ? cols : rows;
    const std::int64_t J = columns_dependent(job) ? rows : cols;
    return job_storage_fits(I, J, n_supp_dim, read_width);
}

int supp_dim(const JobRecord& job) { return job.n_supp != 0 ? job.n_supp : 1; }

// The listing is open and the sizes are checked: the axes are clipped, the
// header and the echo written, the labels' storage obtained. False when the
// job must end.
bool begin_listing(Job& j, RecordSink& listing, const JobContext& context) {
    JobRecord& job = j.record;
    j.listing = &listing;
    clip_axes(j.rs.n_axes, job.n_rows, job.n_cols);
    j.results.job = job;
    j.results.job.n_axes = j.rs.n_axes;
    j.results.job.row_variable = j.results.table.row_variable;
    j.results.job.col_variable = j.results.table.col_variable;
    j.results.started = context.clock ? context.clock() : system_local_time();
    listing_point(j, &JobObserver::job_started);

    if (!job_fits(job, supp_dim(job)) || !obtain_labels(j.results.table, std::max(job.n_rows, job.n_cols))) {
        fail(j.rs, ErrorCode::Memory);
        return false;
    }
    return true;
}

// The table's storage, transposed when the columns are dependent. False
// (after the memory error) when it cannot be obtained.
bool obtain_job_table(Job& j) {
    const JobRecord& job = j.record;
    JobTable& t = j.results.table;
    t.transposed = columns_dependent(job);
    t.I = t.transposed ? job.n_cols : job.n_rows;
    t.J = t.transposed ? job.n_rows : job.n_cols;
    t.n_supp = job.n_supp;
    if (!obtain_table(t, t.I, t.J, supp_dim(job))) {
        fail(j.rs, ErrorCode::Memory);
        return false;
    }
    return true;
}

// After the counts are in: with the columns dependent the names, labels and
// sizes of the job are exchanged as the table's were. Then the table is listed.
void table_complete(Job& j) {
    JobTable& t = j.results.table;
    if (t.transposed) {
        std::swap(t.row_variable, t.col_variable);
        exchange_labels(t);
        std::swap(t.row_names, t.col_names);
        std::swap(j.record.n_rows, j.record.n_cols);
    }
    listing_point(j, &JobObserver::table_read);
}

// Reads the counts of the data file. False when the job must end.
bool read_job_table(Job& j, JobFiles& files) {
    const JobRecord& job = j.record;
    if (!obtain_job_table(j)) return false;
    listing_point(j, &JobObserver::table_reading);
    read_table(files.data, job.data_format, job.n_rows, job.n_cols, job.n_supp, job.dependence, j.results.table.counts,
               j.results.table.supp_counts, j.rs);
    if (is_fatal(j.rs)) return false;
    table_complete(j);
    return true;
}

// Takes the counts from memory as read_table takes them from a data file.
// False when the job must end.
bool take_job_table(Job& j, const TableInput& in) {
    const JobRecord& job = j.record;
    const int rows = job.n_rows, cols = job.n_cols, S = job.n_supp;
    const bool transpose = columns_dependent(job);
    if (in.counts.rows() != rows || in.counts.cols() != cols ||
        (S > 0 && (transpose ? in.supp_counts.rows() != S || in.supp_counts.cols() != cols
                             : in.supp_counts.rows() != rows || in.supp_counts.cols() != S)))
        throw std::invalid_argument("run_job: the table in memory does not have the job's sizes");
    if (!obtain_job_table(j)) return false;
    listing_point(j, &JobObserver::table_reading);

    JobTable& t = j.results.table;
    const bool negative =
        std::any_of(in.counts.data(), in.counts.data() + std::int64_t{rows} * cols,
                    [](std::int32_t v) { return v < 0; }) ||
        std::any_of(in.supp_counts.data(), in.supp_counts.data() + in.supp_counts.rows() * in.supp_counts.cols(),
                    [](std::int32_t v) { return v < 0; });
    if (negative) {
        fail(j.rs, ErrorCode::DataRead);
        return false;
    }
    for (int i = 1; i <= rows; ++i) {
        for (int k = 1; k <= cols; ++k) {
            if (transpose)
                t.counts(k, i) = in.counts(i, k);
            else
                t.counts(i, k) = in.counts(i, k);
        }
        for (int s = 1; s <= S && !transpose; ++s) t.supp_counts(i, s) = in.supp_counts(i, s);
    }
    for (int s = 1; s <= S && transpose; ++s) {
        for (int k = 1; k <= cols; ++k) t.supp_counts(k, s) = in.supp_counts(s, k);
    }
    table_complete(j);
    return true;
}

// Labels from memory, each cut or padded to six characters, and full names.
void take_labels(JobTable& t, const TableInput& in, int n_rows, int n_cols) {
    auto fits = [](const std::vector<std::string>& list, int n) {
        return list.empty() || list.size() == static_cast<std::size_t>(n);
    };
    if (!fits(in.row_labels, n_rows) || !fits(in.col_labels, n_cols) || !fits(in.row_names, n_rows) ||
        !fits(in.col_names, n_cols))
        throw std::invalid_argument("run_job: the labels in memory do not match the job's sizes");
    t.row_names = in.row_names;
    t.col_names = in.col_names;
    for (std::size_t k = 0; k < in.row_labels.size(); ++k)
        t.row_labels(static_cast<std::int64_t>(k) + 1) = fixed(in.row_labels[k], kLabelLength);
    for (std::size_t k = 0; k < in.col_labels.size(); ++k)
        t.col_labels(static_cast<std::int64_t>(k) + 1) = fixed(in.col_labels[k], kLabelLength);
}

// The full names kept beside the label file, when they agree with the
// labels just read (in the orientation of the file).
void take_full_names(JobTable& t, const JobRecord& job, const std::string& base_folder) {
    const std::span<const std::string> rows(t.row_labels.data(), static_cast<std::size_t>(job.n_rows));
    const std::span<const std::string> cols(t.col_labels.data(), static_cast<std::size_t>(job.n_cols));
    const FullNames names = names_beside(job_file_path(job.label_file, base_folder), rows, cols);
    for (const NamedCategory& c : names.rows) t.row_names.push_back(c.name);
    for (const NamedCategory& c : names.cols) t.col_names.push_back(c.name);
}

// Totals, the check for empty rows and columns, profiles. False when the job
// must end.
bool compute_job_marginals(Job& j) {
    JobTable& t = j.results.table;
    Marginals& m = j.results.marginals;
    if (!obtain_marginals(m, t.I, t.J)) {
        fail(j.rs, ErrorCode::Memory);
        return false;
    }
    report_progress(j.rs.reporter, ProgressCode::StartOfAnalysis);
    compute_marginals(t.counts, t.I, t.J, m);
    listing_point(j, &JobObserver::marginal_totals_ready);
    // One report for every empty row, then for every empty column.
    for (std::int64_t i = 1; i <= t.I; ++i) {
        if (m.row_totals(i) == 0) fail(j.rs, ErrorCode::EmptyRow);
    }
    for (std::int64_t k = 1; k <= t.J; ++k) {
        if (m.col_totals(k) == 0) fail(j.rs, ErrorCode::EmptyColumn);
    }
    // Also ends the job after a fatal report of the listing since the table was read.
    if (is_fatal(j.rs)) return false;
    compute_profiles(t.counts, t.I, t.J, m);
    listing_point(j, &JobObserver::profiles_ready);
    return true;
}

// The correspondence analysis of the weighted centred profiles, whose
// storage it takes over. False when the job must end.
bool run_nsca(Job& j) {
    const JobTable& t = j.results.table;
    const Marginals& m = j.results.marginals;
    DependenceResult& dependence = *j.results.dependence;
    report_progress(j.rs.reporter, ProgressCode::Nsca);
    j.results.nsca = nsca(std::move(dependence.weighted_profiles), m.row_margins, m.col_margins, t.supp_counts,
                          dependence.row_parts, dependence.col_parts, m.total_n, t.I, t.J, t.n_supp, j.rs.n_axes,
                          j.rs.svd_path);
    dependence.weighted_profiles.release();
    const NscaResult& r = *j.results.nsca;
    j.rs.n_axes = r.n_axes;  // lowered to the usable axes
    const ListingStatus status = listing_point(j, &JobObserver::nsca_ready);
    if (r.failure != NscaFailure::None && !status.cut_short) fail(j.rs, failure_code(r.failure));
    return !is_fatal(j.rs);
}

// The analyses in their fixed order.
void run_analyses(Job& j) {
    JobRecord& job = j.record;
    const JobTable& t = j.results.table;
    const int I = t.I, J = t.J;

    j.results.dependence = compute_dependence(t.counts, j.results.marginals, I, J);
    if (!j.results.dependence) return fail(j.rs, ErrorCode::Memory);
    listing_point(j, &JobObserver::dependence_ready);
    if (j.results.dependence->tau_a_zero) {
        warn(j.rs, ErrorCode::TauZero);
        j.rs.fatal_state = FatalState::SkipNsca;
    }
    if (j.rs.fatal_state == FatalState::SkipNsca) job.do_nsca = 0;

    if (job.do_nsca == 1) {
        if (!run_nsca(j)) return;
    } else {
        j.results.dependence->weighted_profiles.release();  // no one needs it
        report_progress(j.rs.reporter, ProgressCode::NoNsca);
        listing_point(j, &JobObserver::nsca_skipped);
    }

    if (job.do_homogenise == 1) {
        report_progress(j.rs.reporter, ProgressCode::Homogenisation);
        j.results.homogenisation = homogenise_margins(t.counts, I, J);
        if (!j.results.homogenisation) return fail(j.rs, ErrorCode::Memory);
        listing_point(j, &JobObserver::homogenisation_ready);
        if (is_fatal(j.rs)) return;
    } else {
        report_progress(j.rs.reporter, ProgressCode::NoHomogenisation);
        listing_point(j, &JobObserver::homogenisation_skipped);
    }

    if (job.do_symmetry == 1) {
        if (I == J) {
            report_progress(j.rs.reporter, ProgressCode::Symmetry);
            j.results.symmetry = analyse_symmetry(t.counts, I, J);
            if (!j.results.symmetry) return fail(j.rs, ErrorCode::Memory);
            listing_point(j, &JobObserver::symmetry_ready);
        } else {
            listing_point(j, &JobObserver::symmetry_impossible);
        }
    } else {
        report_progress(j.rs.reporter, ProgressCode::NoSymmetry);
        listing_point(j, &JobObserver::symmetry_skipped);
    }
}

// From the counts to the last analysis.
void analyse_table(Job& j) {
    if (compute_job_marginals(j)) run_analyses(j);
}

// Everything between the banner of the progress window and the closing
// steps, on the job's files. Returns early when the job has ended fatally.
void analyse_files(Job& j, JobFiles& files, const JobContext& context) {
    const JobRecord& job = j.record;
    open_job_files(job.n_rows, job.n_cols, job.do_nsca, job.n_supp, files, job.output_file, job.data_file,
                   job.label_file, job.has_labels, context.base_folder, j.rs);
    if (is_fatal(j.rs)) return;
    if (!begin_listing(j, files.listing, context)) return;
    if (job.has_labels >= 1) {
        JobTable& t = j.results.table;
        const std::span<std::string> rows(t.row_labels.data(), static_cast<std::size_t>(t.row_labels.size()));
        const std::span<std::string> cols(t.col_labels.data(), static_cast<std::size_t>(t.col_labels.size()));
        read_labels(rows, cols, job.n_rows, job.n_cols, files.labels, j.rs);
        if (is_fatal(j.rs)) return;
        take_full_names(t, job, context.base_folder);
    }
    report_progress(j.rs.reporter, ProgressCode::ReadingData);
    if (read_job_table(j, files)) analyse_table(j);
}

// The same on a table in memory.
void analyse_memory(Job& j, const TableInput& table, RecordSink& listing, const JobContext& context) {
    const JobRecord& job = j.record;
    check_table_size(job.n_rows, job.n_cols, job.do_nsca, job.n_supp, j.rs);
    if (is_fatal(j.rs)) return;
    if (!begin_listing(j, listing, context)) return;
    take_labels(j.results.table, table, job.n_rows, job.n_cols);
    report_progress(j.rs.reporter, ProgressCode::ReadingData);
    if (take_job_table(j, table)) analyse_table(j);
}

// The success line, or the closing lines of a failed job. The success line
// is written and the listing file flushed before success is reported, so
// that a listing the disk could not take in full (a full disk, say) ends
// the job as failed instead of successful.
void close_job(Job& j, OutputFile* listing_file) {
    if (!is_fatal(j.rs) && j.listing != nullptr) {
        listing_point(j, &JobObserver::job_ended);
        if (listing_file != nullptr && !listing_file->flush()) fail(j.rs, ErrorCode::ListingWrite);
    }
    Reporter& reporter = j.rs.reporter;
    reporter.progress_window_state = WindowState::Last;
    if (reporter.error_window_state == WindowState::First) {
        report_progress(reporter, ProgressCode::SuccessfulEnd);
    } else {
        if (is_fatal(j.rs)) {
            report_error(reporter, ErrorCode::FailedJob, Severity::None);
            report_progress(reporter, ProgressCode::None);
        } else {
            report_progress(reporter, ProgressCode::SuccessfulEnd);
        }
        reporter.error_window_state = WindowState::Last;
        report_error(reporter, ErrorCode::None, Severity::Warning);
    }
}

// Runs the body of a job: storage refused anywhere inside it is the memory
// error, and the job goes on to its closing steps.
template <class Body>
void guarded(Job& j, Body body) {
    try {
        body();
    } catch (const std::bad_alloc&) {
        fail(j.rs, ErrorCode::Memory);
    }
}

Job start_job(JobRecord& job, const JobContext& context, JobObserver& observer) {
    Job j{job, observer, RunState{}, JobResults{}, nullptr};
    j.rs.reporter.sink = context.reports;
    j.rs.reporter.clock = context.clock;
    j.rs.svd_path = context.svd_path;
    j.rs.n_axes = std::max(job.n_axes, 0);  // a negative number of axes counts as 0
    j.results.table.row_variable = fixed(job.row_variable, kVariableNameLength);
    j.results.table.col_variable = fixed(job.col_variable, kVariableNameLength);
    report_progress(j.rs.reporter, ProgressCode::Banner);
    return j;
}

// The job record afterwards: axes as used, names as exchanged.
JobResults finish_job(Job& j) {
    j.record.n_axes = j.rs.n_axes;
    j.record.row_variable = j.results.table.row_variable;
    j.record.col_variable = j.results.table.col_variable;
    j.results.fatal_state = j.rs.fatal_state;
    return std::move(j.results);
}

}  // namespace

JobResults run_job(JobRecord& job, const JobContext& context, JobObserver& observer) {
    Job j = start_job(job, context, observer);
    JobFiles files;
    guarded(j, [&] { analyse_files(j, files, context); });
    close_job(j, j.listing != nullptr ? &files.listing : nullptr);
    files.listing.close();
    files.data.close();
    files.labels.close();
    return finish_job(j);
}

JobResults run_job(JobRecord& job, const TableInput& table, const JobContext& context, JobObserver& observer,
                   RecordSink& listing) {
    Job j = start_job(job, context, observer);
    guarded(j, [&] { analyse_memory(j, table, listing, context); });
    close_job(j, nullptr);
    return finish_job(j);
}

}  // namespace marvist

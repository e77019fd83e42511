#include "analysis/driver.h"

#include <algorithm>
#include <cstdint>

#include "analysis/input_files.h"
#include "analysis/job_arrays.h"
#include "analysis/job_listing.h"
#include "analysis/report_error.h"
#include "analysis/report_progress.h"
#include "base/fixed_text.h"
#include "nsca/nsca.h"
#include "stats/dependence.h"
#include "stats/homogenise.h"
#include "stats/symmetry.h"

namespace marvist {
namespace {

bool is_fatal(const RunState& rs) { return rs.fatal_state == kFatal; }

// Any dependence other than 1 reads and analyses the table as rows dependent.
bool columns_dependent(const JobRecord& job) { return job.dependence == 1; }

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

// Allocates and reads the table (transposed when the columns are
// dependent, with the names, labels and sizes exchanged) and prints it.
// False when the job must end.
bool read_input_table(JobRecord& job, JobFiles& files, JobArrays& a, int n_supp_dim, RunState& rs) {
    const bool transpose = columns_dependent(job);
    const int I = transpose ? job.n_cols : job.n_rows;
    const int J = transpose ? job.n_rows : job.n_cols;
    if (!obtain_table(a, I, J, n_supp_dim)) {
        fail(rs, ErrorCode::Memory);
        return false;
    }
    if (!transpose) write_input_table_heading(files.listing, rs);
    read_table(files.data, job.data_format, job.n_rows, job.n_cols, job.n_supp, job.dependence, a.counts,
               a.supp_counts, rs);
    if (is_fatal(rs)) return false;
    if (transpose) {
        std::swap(rs.row_variable, rs.col_variable);
        exchange_labels(a);
        std::swap(job.n_rows, job.n_cols);
        write_swap_notice(files.listing, rs, job.n_rows, job.n_cols);
        write_input_table_heading(files.listing, rs);
    }
    write_input_table(files.listing, a, job.n_rows, job.n_cols, job.n_supp, rs);
    return true;
}

// Totals, the check for empty rows and columns, profiles.
// False when the job must end.
bool compute_and_write_marginals(RecordSink& listing, JobArrays& a, int I, int J, RunState& rs) {
    report_progress(rs, ProgressCode::StartOfAnalysis);
    compute_marginals(a, I, J);
    write_marginal_totals(listing, a, I, J, rs);
    // One report for every empty row, then for every empty column.
    for (std::int64_t i = 1; i <= I; ++i) {
        if (a.row_totals(i) == 0) fail(rs, ErrorCode::EmptyRow);
    }
    for (std::int64_t j = 1; j <= J; ++j) {
        if (a.col_totals(j) == 0) fail(rs, ErrorCode::EmptyColumn);
    }
    // Also ends the job after a fatal report of a printer since the table was read.
    if (is_fatal(rs)) return false;
    compute_profiles(a, I, J);
    write_profiles(listing, a, I, J, rs);
    return true;
}

// The analyses in their fixed order.
void run_analyses(JobRecord& job, RecordSink& listing, JobArrays& a, int I, int J, RunState& rs) {
    const auto rows = first_labels(a.row_labels, I);
    const auto cols = first_labels(a.col_labels, J);

    write_dependence_banner(listing);
    compute_dependence(a.freq, a.work_matrix, a.row_profiles, a.col_profiles, a.row_margins, a.col_margins, rows,
                       cols, I, J, a.total_n, a.work_rows, a.work_cols, listing, rs);
    if (rs.fatal_state == kFatalSkipNsca) job.do_nsca = 0;

    if (job.do_nsca == 1) {
        report_progress(rs, ProgressCode::Nsca);
        nsca(a.work_matrix, a.row_margins, a.col_margins, a.supp_counts, a.work_rows, a.work_cols, a.total_n, I, J,
             job.n_supp, static_cast<int>(a.supp_counts.cols()), rows, cols, listing, rs);
        if (is_fatal(rs)) return;
    } else {
        report_progress(rs, ProgressCode::NoNsca);
        write_no_nsca(listing);
    }

    if (job.do_homogenise == 1) {
        report_progress(rs, ProgressCode::Homogenisation);
        homogenise_margins(a.counts, I, J, rows, cols, listing, rs);
        if (is_fatal(rs)) return;
    } else {
        report_progress(rs, ProgressCode::NoHomogenisation);
        write_no_homogenisation(listing);
    }

    if (job.do_symmetry == 1) {
        if (I == J) {
            report_progress(rs, ProgressCode::Symmetry);
            analyse_symmetry(a.counts, I, J, rows, cols, listing, rs);
        } else {
            write_symmetry_impossible(listing, I, J);
        }
    } else {
        report_progress(rs, ProgressCode::NoSymmetry);
        write_no_symmetry(listing);
    }
}

// Everything between the banner of the progress window and the closing
// steps. Returns early when the job has ended fatally; the arrays are
// released on the way out.
void analyse_job(JobRecord& job, JobFiles& files, RunState& rs) {
    open_job_files(job.n_rows, job.n_cols, job.do_nsca, job.n_supp, files, job.output_file, job.data_file,
                   job.label_file, job.has_labels, rs);
    if (is_fatal(rs)) return;

    clip_axes(rs.n_axes, job.n_rows, job.n_cols);
    const int n_supp_dim = job.n_supp != 0 ? job.n_supp : 1;
    const LocalTime now = rs.clock ? rs.clock() : system_local_time();
    write_listing_header(files.listing, now);
    write_parameter_echo(files.listing, job, rs);

    JobArrays a;
    if (!job_fits(job, n_supp_dim) || !obtain_labels(a, std::max(job.n_rows, job.n_cols))) {
        return fail(rs, ErrorCode::Memory);
    }
    if (job.has_labels >= 1) {
        const std::span<std::string> rows(a.row_labels.data(), static_cast<std::size_t>(a.row_labels.size()));
        const std::span<std::string> cols(a.col_labels.data(), static_cast<std::size_t>(a.col_labels.size()));
        read_labels(rows, cols, job.n_rows, job.n_cols, files.labels, rs);
        if (is_fatal(rs)) return;
    }

    report_progress(rs, ProgressCode::ReadingData);
    if (!read_input_table(job, files, a, n_supp_dim, rs)) return;
    const int I = job.n_rows, J = job.n_cols;  // after the optional transposition

    if (!obtain_analysis_arrays(a, I, J)) return fail(rs, ErrorCode::Memory);
    if (!compute_and_write_marginals(files.listing, a, I, J, rs)) return;
    run_analyses(job, files.listing, a, I, J, rs);
}

// The success line or the closing lines of a failed job; then the files
// are closed. The success line is written and the listing flushed before
// success is reported, so that a listing the disk could not take in full
// (a full disk, say) ends the job as failed instead of successful.
void close_job(JobFiles& files, RunState& rs) {
    if (!is_fatal(rs)) {
        write_successful_end(files.listing);
        if (!files.listing.flush()) fail(rs, ErrorCode::ListingWrite);
    }
    rs.progress_window_state = WindowState::Last;
    if (rs.error_window_state == WindowState::First) {
        report_progress(rs, ProgressCode::SuccessfulEnd);
    } else {
        if (is_fatal(rs)) {
            report_error(rs, ErrorCode::FailedJob, Severity::None);
            report_progress(rs, ProgressCode::None);
        } else {
            report_progress(rs, ProgressCode::SuccessfulEnd);
        }
        rs.error_window_state = WindowState::Last;
        report_error(rs, ErrorCode::None, Severity::Warning);
    }
    files.listing.close();
    files.data.close();
    files.labels.close();
}

}  // namespace

void run_job(JobRecord& job, RunState& rs) {
    rs.n_axes = std::max(job.n_axes, 0);  // a negative number of axes counts as 0
    rs.row_variable = fixed(job.row_variable, kVariableNameLength);
    rs.col_variable = fixed(job.col_variable, kVariableNameLength);

    rs.fatal_state = kFatalNone;
    rs.error_window_state = WindowState::First;
    rs.progress_window_state = WindowState::First;
    report_progress(rs, ProgressCode::Banner);

    JobFiles files;
    analyse_job(job, files, rs);
    close_job(files, rs);

    job.n_axes = rs.n_axes;
    job.row_variable = rs.row_variable;
    job.col_variable = rs.col_variable;
}

}  // namespace marvist

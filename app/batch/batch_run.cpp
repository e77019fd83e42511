#include "app/batch/batch_run.h"

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "analysis/driver.h"
#include "analysis/job_context.h"
#include "analysis/job_record.h"
#include "analysis/job_results.h"
#include "app/batch/console_report_sink.h"
#include "app/batch/job_form.h"
#include "app/batch/setup_file.h"
#include "base/cp437.h"
#include "base/fixed_text.h"
#include "base/program_stop.h"
#include "base/record_io.h"
#include "export/result_tables.h"
#include "export/results_export.h"
#include "listing/listing_writer.h"

namespace marvist {
namespace {

int setup_error(std::FILE* err, const std::string& message) {
    std::fprintf(err, "marvist-run: %s\n", message.c_str());
    return kBatchUsage;
}

// When the listing was last written, if it exists as a file.
std::optional<std::filesystem::file_time_type> listing_time(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
    const auto time = std::filesystem::last_write_time(path, ec);
    if (ec) return std::nullopt;
    return time;
}

// Prints the listing as UTF-8 when this job wrote it (a listing left over
// from an earlier run is not shown).
void show_listing(const std::string& path, std::optional<std::filesystem::file_time_type> before, std::FILE* out) {
    const auto after = listing_time(path);
    if (!after || (before && *before == *after)) return;
    std::fflush(out);
    InputFile listing;
    if (!listing.open(path)) return;
    std::string record;
    while (listing.next_record(record)) {
        std::string line = cp437_to_utf8(record);
        line += '\n';
        std::fwrite(line.data(), 1, line.size(), out);
    }
}

// The job's results, and the permutation test when asked for, into the
// export folder; false (and the reason on err) when they could not be written.
bool export_job(const JobResults& results, const BatchOptions& options, std::FILE* err) {
    const std::optional<PermutationResult> permutation = permutation_test_of(results, options.permutation);
    const std::optional<OutputError> error = export_results(*options.export_folder, results, permutation);
    if (!error) return true;
    std::fprintf(err, "marvist-run: cannot write the results to %s: %s\n", error->path.c_str(), error->reason.c_str());
    return false;
}

}  // namespace

int run_batch(const std::string& setup_file, const BatchOptions& options, std::FILE* out, std::FILE* err) {
    // The set-up file is read, and its fields read back, before anything is
    // written.
    JobRecord job;
    const SetupFileStatus status = read_setup_file(setup_file, job);
    if (!status.ok) return setup_error(err, status.message);
    for (const std::string& warning : status.warnings) std::fprintf(err, "marvist-run: %s\n", warning.c_str());
    const FormError form = read_back_job_form(job);
    if (form.failed) return setup_error(err, setup_file + ": " + form.message);
    job.save_setup = 0;

    // Relative names are taken from the set-up file's folder; the process
    // keeps its working folder.
    const std::filesystem::path folder = std::filesystem::path(setup_file).parent_path();
    const std::string listing = (folder / std::string(trimmed(job.output_file))).string();
    const auto listing_before = listing_time(listing);

    ConsoleReportSink reports(err);
    ConsoleSink standard_output(out);
    JobContext context;
    context.reports = &reports;
    context.base_folder = folder.string();
    ListingWriter writer(&standard_output);

    int exit_status = kBatchDone;
    std::optional<JobResults> results;
    try {
        results = run_job(job, context, writer);
        exit_status = results->fatal_state == FatalState::Fatal ? kBatchFatal : kBatchDone;
    } catch (const ProgramStop& stop) {
        // The job's files were closed while the stop unwound the driver.
        std::fflush(out);
        std::fprintf(err, "%s\n", stop.what());
        exit_status = kBatchStop;
    }
    if (!options.plots.folder.empty()) {
        if (!results) {
            std::fprintf(err, "marvist-run: no joint plots written: the program was stopped by a printer plot\n");
        } else if (write_plot_files(*results, options.plots, err) == PlotOutcome::Failed &&
                   exit_status == kBatchDone) {
            exit_status = kBatchOutputFailed;
        }
    }
    if (options.show) show_listing(listing, listing_before, out);
    std::fflush(out);
    if (options.export_folder) {
        if (results && results->fatal_state != FatalState::Fatal) {
            if (!export_job(*results, options, err) && exit_status == kBatchDone) exit_status = kBatchOutputFailed;
        } else {
            std::fprintf(err, "marvist-run: no results exported: the job did not end normally\n");
        }
    }
    return exit_status;
}

}  // namespace marvist

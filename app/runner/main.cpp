// marvist-run: runs the job of one set-up file without windows.
//
//   marvist-run [--show] SETUP_FILE
//
// The job runs in the folder of SETUP_FILE, with the fields read back as the
// job form reads them; its listing (job name + ".out") is written there.
// Error-window lines go to standard error as "E|line", progress-window lines
// as "P|line"; the standard-output copies of result blocks go to standard
// output. Exit status: 0 the job ended without a fatal error, 1 it ended
// fatally, 2 wrong arguments or an unreadable set-up file (nothing is
// written), 3 the program was stopped by a printer plot.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "analysis/driver.h"
#include "analysis/job_record.h"
#include "analysis/run_state.h"
#include "app/console_report_sink.h"
#include "app/job_form.h"
#include "app/setup_file.h"
#include "listing/cp437.h"
#include "listing/fixed_text.h"
#include "listing/record_io.h"
#include "plot/program_stop.h"

namespace {

constexpr int kExitDone = 0;
constexpr int kExitFatal = 1;
constexpr int kExitUsage = 2;
constexpr int kExitStop = 3;

constexpr std::string_view kUsage =
    "Usage: marvist-run [--show] SETUP_FILE\n"
    "Runs the job of a Marvist set-up file (.set) in the folder of that file and\n"
    "writes its listing there (the job name followed by .out).\n"
    "\n"
    "  --show   print the listing on standard output after the job\n"
    "  --help   print this text and exit\n"
    "\n"
    "Lines of the error window go to standard error as \"E|line\", lines of the\n"
    "progress window as \"P|line\"; copies of result blocks go to standard output.\n"
    "\n"
    "Exit status: 0 the job ended without a fatal error; 1 the job ended fatally;\n"
    "2 wrong arguments or an unreadable set-up file (nothing is written);\n"
    "3 the program was stopped by a printer plot.\n";

struct Arguments {
    bool help = false;
    bool show = false;
    std::string setup_file;
};

// The arguments, or nothing when they are wrong.
std::optional<Arguments> parse_arguments(int argc, char** argv) {
    Arguments args;
    bool options_done = false;
    int files = 0;
    for (int k = 1; k < argc; ++k) {
        const std::string_view arg = argv[k];
        if (!options_done && arg == "--") {
            options_done = true;
        } else if (!options_done && arg == "--help") {
            args.help = true;
        } else if (!options_done && arg == "--show") {
            args.show = true;
        } else if (!options_done && arg.size() > 1 && arg[0] == '-') {
            std::fprintf(stderr, "marvist-run: unknown option %s\n", argv[k]);
            return std::nullopt;
        } else {
            args.setup_file = arg;
            ++files;
        }
    }
    if (args.help) return args;
    if (files != 1) {
        std::fprintf(stderr, "marvist-run: %s\n", files == 0 ? "no set-up file given" : "only one set-up file may be given");
        return std::nullopt;
    }
    return args;
}

int usage_error() {
    std::fwrite(kUsage.data(), 1, kUsage.size(), stderr);
    return kExitUsage;
}

int setup_error(const std::string& message) {
    std::fprintf(stderr, "marvist-run: %s\n", message.c_str());
    return kExitUsage;
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
void show_listing(const std::string& path, std::optional<std::filesystem::file_time_type> before) {
    const auto after = listing_time(path);
    if (!after || (before && *before == *after)) return;
    std::fflush(stdout);
    marvist::InputFile listing;
    if (!listing.open(path)) return;
    std::string record;
    while (listing.next_record(record)) {
        std::string line = marvist::cp437_to_utf8(record);
        line += '\n';
        std::fwrite(line.data(), 1, line.size(), stdout);
    }
}

int run(const Arguments& args) {
    // The set-up file is read, and its fields read back, before anything is
    // written or the folder is changed.
    marvist::JobRecord job;
    const marvist::SetupFileStatus status = marvist::read_setup_file(args.setup_file, job);
    if (!status.ok) return setup_error(status.message);
    const marvist::FormError form = marvist::read_back_job_form(job);
    if (form.failed) return setup_error(args.setup_file + ": " + form.message);
    job.save_setup = 0;

    const std::filesystem::path folder = std::filesystem::path(args.setup_file).parent_path();
    if (!folder.empty()) {
        std::error_code ec;
        std::filesystem::current_path(folder, ec);
        if (ec) return setup_error(args.setup_file + ": cannot work in its folder: " + ec.message());
    }

    const std::string listing(marvist::trimmed(job.output_file));
    const auto listing_before = listing_time(listing);

    marvist::ConsoleReportSink reports(stderr);
    marvist::ConsoleSink standard_output(stdout);
    marvist::RunState rs;
    rs.reports = &reports;
    rs.standard_output = &standard_output;

    int exit_status = kExitDone;
    try {
        marvist::run_job(job, rs);
        exit_status = rs.fatal_state == marvist::kFatal ? kExitFatal : kExitDone;
    } catch (const marvist::ProgramStop& stop) {
        // The job's files were closed while the stop unwound the driver.
        std::fflush(stdout);
        std::fprintf(stderr, "%s\n", stop.what());
        exit_status = kExitStop;
    }
    if (args.show) show_listing(listing, listing_before);
    std::fflush(stdout);
    return exit_status;
}

}  // namespace

int main(int argc, char** argv) {
    const std::optional<Arguments> args = parse_arguments(argc, argv);
    if (!args) return usage_error();
    if (args->help) {
        std::fwrite(kUsage.data(), 1, kUsage.size(), stdout);
        return kExitDone;
    }
    try {
        return run(*args);
    } catch (const std::exception& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "marvist-run: the job failed: %s\n", e.what());
        return kExitFatal;
    }
}

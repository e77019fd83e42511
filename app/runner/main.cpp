// marvist-run: runs the job of one set-up file without windows.
//
//   marvist-run [--show] [--plots DIR [--plot-axes I,J]...]
//               [--export DIR [--permutations R] [--seed S]] SETUP_FILE
//   marvist-run --import TABLE.csv [options]   (app/runner/import_command.h)
//
// The job runs in the folder of SETUP_FILE, with the fields read back as the
// job form reads them; its listing (job name + ".out") is written there.
// Error-window lines go to standard error as "E|line", progress-window lines
// as "P|line"; the standard-output copies of result blocks go to standard
// output. With --plots, the joint plots of the NSCA solution are written
// into DIR as SVG files; with --export, the results as CSV files with a
// data package. Exit status: 0 the job ended without a fatal error, 1 it
// ended fatally, 2 wrong arguments or an unreadable set-up file (nothing is
// written), 3 the program was stopped by a printer plot, 4 the plots or the
// results could not be written (the listing is written).
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <optional>
#include <string>
#include <string_view>

#include "app/batch/batch_run.h"
#include "app/runner/import_command.h"
#include "app/runner/output_options.h"
#include "biplot/axis_pair.h"

namespace {

constexpr std::string_view kUsage =
    "Usage: marvist-run [--show] SETUP_FILE\n"
    "       marvist-run [--show] --plots DIR [--plot-axes I,J]... SETUP_FILE\n"
    "       marvist-run [--show] --export DIR [--permutations R] [--seed S] SETUP_FILE\n"
    "       marvist-run --import TABLE.csv [import options] [--show] [--plots DIR ...]\n"
    "                   [--export DIR ...]\n"
    "Runs the job of a Marvist set-up file (.set) in the folder of that file and\n"
    "writes its listing there (the job name followed by .out).\n"
    "\n"
    "  --show            print the listing on standard output after the job\n"
    "  --plots DIR       write the joint plots of the NSCA solution into DIR\n"
    "                    (created if absent) as SVG files joint-I-J.svg, one for\n"
    "                    each pair of axes that the listing plots\n"
    "  --plot-axes I,J   plot axes I and J instead (may be repeated)\n"
    "  --export DIR      write the results as CSV files with datapackage.json into\n"
    "                    DIR (created if absent)\n"
    "  --permutations R  with the export: a permutation test of independence on R\n"
    "                    random tables with the observed margins (default 0: none)\n"
    "  --seed S          the seed of its random tables (default 20240611)\n"
    "  --help            print this text and exit\n"
    "\n"
    "--plots and --export may be given together.\n"
    "--import reads a table of counts from a CSV file, writes the job files\n"
    "NAME.dat, NAME.lab, NAME.names and NAME.set beside it and runs that job\n"
    "(NSCA with 2 axes unless told otherwise). Import options:\n"
    "  --shape wide|long|records   the table's shape (detected when clear)\n"
    "  --rows NAME --cols NAME     header names of the row and column categories\n"
    "  --count NAME                header name of the counts (long shape)\n"
    "  --delimiter comma|semicolon|tab   (detected when not given)\n"
    "  --order first|sorted        category order (default: as they first appear)\n"
    "  --job NAME                  job name (default: the CSV file's base name)\n"
    "  --columns-dependent  --axes K  --homogenise  --symmetry (square tables)\n"
    "  --no-run                    write the job files only\n"
    "  --force                     replace job files of that name\n"
    "\n"
    "Lines of the error window go to standard error as \"E|line\", lines of the\n"
    "progress window as \"P|line\"; copies of result blocks go to standard output.\n"
    "\n"
    "Exit status: 0 the job ended without a fatal error; 1 the job ended fatally;\n"
    "2 wrong arguments or an unreadable set-up file (nothing is written);\n"
    "3 the program was stopped by a printer plot; 4 the plots or the results\n"
    "could not be written (the listing is written).\n";

static_assert(marvist::kDefaultSeed == 20240611, "the usage text names the default seed");

struct Arguments {
    bool help = false;
    marvist::BatchOptions options;
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
            return args;
        } else if (!options_done && arg == "--show") {
            args.options.show = true;
        } else if (!options_done && marvist::is_output_option(arg)) {
            if (k + 1 == argc) {
                std::fprintf(stderr, "marvist-run: %s needs a value\n", argv[k]);
                return std::nullopt;
            }
            const std::string complaint = marvist::set_output_option(arg, argv[++k], args.options);
            if (!complaint.empty()) {
                std::fprintf(stderr, "marvist-run: %s\n", complaint.c_str());
                return std::nullopt;
            }
        } else if (!options_done && arg.size() > 1 && arg[0] == '-') {
            std::fprintf(stderr, "marvist-run: unknown option %s\n", argv[k]);
            return std::nullopt;
        } else {
            args.setup_file = arg;
            ++files;
        }
    }
    if (args.help) return args;
    if (const std::string complaint = marvist::check_output_options(args.options); !complaint.empty()) {
        std::fprintf(stderr, "marvist-run: %s\n", complaint.c_str());
        return std::nullopt;
    }
    if (files != 1) {
        std::fprintf(stderr, "marvist-run: %s\n", files == 0 ? "no set-up file given" : "only one set-up file may be given");
        return std::nullopt;
    }
    return args;
}

int usage_error() {
    std::fwrite(kUsage.data(), 1, kUsage.size(), stderr);
    return marvist::kBatchUsage;
}

}  // namespace

int main(int argc, char** argv) {
    if (marvist::asks_for_import(argc, argv)) {
        const auto import = marvist::parse_import_arguments(argc, argv, stderr);
        if (!import) return usage_error();
        try {
            return marvist::run_import(*import, stdout, stderr);
        } catch (const std::exception& e) {
            std::fflush(stdout);
            std::fprintf(stderr, "marvist-run: the import failed: %s\n", e.what());
            return marvist::kBatchFatal;
        }
    }
    const std::optional<Arguments> args = parse_arguments(argc, argv);
    if (!args) return usage_error();
    if (args->help) {
        std::fwrite(kUsage.data(), 1, kUsage.size(), stdout);
        return marvist::kBatchDone;
    }
    try {
        return marvist::run_batch(args->setup_file, args->options, stdout, stderr);
    } catch (const std::exception& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "marvist-run: the job failed: %s\n", e.what());
        return marvist::kBatchFatal;
    }
}

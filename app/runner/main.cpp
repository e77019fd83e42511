// marvist-run: runs the job of one set-up file without windows.
//
//   marvist-run [--show] SETUP_FILE
//   marvist-run [--show] --export DIR [--permutations R] [--seed S] SETUP_FILE
//
// The job runs in the folder of SETUP_FILE, with the fields read back as the
// job form reads them; its listing (job name + ".out") is written there.
// Error-window lines go to standard error as "E|line", progress-window lines
// as "P|line"; the standard-output copies of result blocks go to standard
// output. Exit status: 0 the job ended without a fatal error, 1 it ended
// fatally, 2 wrong arguments or an unreadable set-up file (nothing is
// written), 3 the program was stopped by a printer plot, 4 the results could
// not be exported into DIR (the listing is written).
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <optional>
#include <string>
#include <string_view>

#include "app/batch/batch_run.h"

namespace {

constexpr std::string_view kUsage =
    "Usage: marvist-run [--show] SETUP_FILE\n"
    "       marvist-run [--show] --export DIR [--permutations R] [--seed S] SETUP_FILE\n"
    "Runs the job of a Marvist set-up file (.set) in the folder of that file and\n"
    "writes its listing there (the job name followed by .out).\n"
    "\n"
    "  --show            print the listing on standard output after the job\n"
    "  --export DIR      write the results as CSV files with datapackage.json into\n"
    "                    DIR (created when absent)\n"
    "  --permutations R  with the export: a permutation test of independence on R\n"
    "                    random tables with the observed margins (default 0: none)\n"
    "  --seed S          the seed of its random tables (default 20240611)\n"
    "  --help            print this text and exit\n"
    "\n"
    "Lines of the error window go to standard error as \"E|line\", lines of the\n"
    "progress window as \"P|line\"; copies of result blocks go to standard output.\n"
    "\n"
    "Exit status: 0 the job ended without a fatal error; 1 the job ended fatally;\n"
    "2 wrong arguments or an unreadable set-up file (nothing is written);\n"
    "3 the program was stopped by a printer plot; 4 the results could not be\n"
    "written into DIR (the listing is written).\n";

static_assert(marvist::kDefaultSeed == 20240611, "the usage text names the default seed");

struct Arguments {
    bool help = false;
    marvist::BatchOptions batch;
    std::string setup_file;
};

// A whole decimal number without sign into value; false when it is not one
// or does not fit.
template <class T>
bool read_number(std::string_view text, T& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && text.front() != '-' && ec == std::errc() && end == text.data() + text.size();
}

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
            args.batch.show = true;
        } else if (!options_done && (arg == "--export" || arg == "--permutations" || arg == "--seed")) {
            if (k + 1 >= argc) {
                std::fprintf(stderr, "marvist-run: %s needs a value\n", argv[k]);
                return std::nullopt;
            }
            const std::string_view value = argv[++k];
            bool ok = true;
            if (arg == "--export") {
                args.batch.export_folder = std::string(value);
                ok = !value.empty();
            } else if (arg == "--permutations") {
                ok = read_number(value, args.batch.permutation.permutations);
            } else {
                ok = read_number(value, args.batch.permutation.seed);
            }
            if (!ok) {
                std::fprintf(stderr, "marvist-run: %s %s: %s\n", argv[k - 1], argv[k],
                             arg == "--export" ? "an empty folder name" : "not a whole number in range");
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
    if (args.batch.permutation.permutations > 0 && !args.batch.export_folder) {
        std::fprintf(stderr, "marvist-run: --permutations needs --export\n");
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
    const std::optional<Arguments> args = parse_arguments(argc, argv);
    if (!args) return usage_error();
    if (args->help) {
        std::fwrite(kUsage.data(), 1, kUsage.size(), stdout);
        return marvist::kBatchDone;
    }
    try {
        return marvist::run_batch(args->setup_file, args->batch, stdout, stderr);
    } catch (const std::exception& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "marvist-run: the job failed: %s\n", e.what());
        return marvist::kBatchFatal;
    }
}

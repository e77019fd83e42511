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
#include <optional>
#include <string>
#include <string_view>

#include "app/batch/batch_run.h"

namespace {

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
        return marvist::run_batch(args->setup_file, args->show, stdout, stderr);
    } catch (const std::exception& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "marvist-run: the job failed: %s\n", e.what());
        return marvist::kBatchFatal;
    }
}

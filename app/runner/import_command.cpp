#include "app/runner/import_command.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "app/batch/batch_run.h"
#include "app/runner/output_options.h"

namespace marvist {
namespace {

// A whole number from 1 to 999999999 (the axes field holds nine digits).
std::optional<int> positive_number(std::string_view text) {
    if (text.empty() || text.size() > 9) return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value > 0 ? std::optional<int>(value) : std::nullopt;
}

std::optional<ImportArguments> wrong(std::FILE* err, const std::string& why) {
    std::fprintf(err, "marvist-run: %s\n", why.c_str());
    return std::nullopt;
}

// "a, b and c".
std::string listed(const std::vector<std::filesystem::path>& paths) {
    std::string text;
    for (std::size_t k = 0; k < paths.size(); ++k) {
        if (k > 0) text += k + 1 == paths.size() ? " and " : ", ";
        text += paths[k].string();
    }
    return text;
}

constexpr std::string_view kValueOptions[] = {"--import", "--shape", "--rows",      "--cols",
                                              "--count",  "--job",   "--axes",      "--delimiter",
                                              "--order"};

// Sets the option `name` from its value; the complaint, or empty when fine.
std::string set_value_option(std::string_view name, std::string_view value, ImportArguments& args, bool& have_csv) {
    const std::string shown(value);
    if (name == "--import") {
        if (have_csv) return "only one table may be imported";
        args.csv_file = value;
        have_csv = true;
    } else if (name == "--shape") {
        args.read.shape = shape_from_name(value);
        if (!args.read.shape) return "--shape is wide, long or records, not " + shown;
    } else if (name == "--rows") {
        args.read.columns.rows = value;
    } else if (name == "--cols") {
        args.read.columns.cols = value;
    } else if (name == "--count") {
        args.read.columns.count = value;
    } else if (name == "--job") {
        args.job.job_name = value;
    } else if (name == "--axes") {
        const std::optional<int> axes = positive_number(value);
        if (!axes) return "--axes is a whole number from 1 to 999999999, not " + shown;
        args.job.axes = *axes;
    } else if (name == "--delimiter") {
        args.read.delimiter = delimiter_from_name(value);
        if (args.read.delimiter == 0) return "--delimiter is comma, semicolon or tab, not " + shown;
    } else if (name == "--order") {
        if (value != "first" && value != "sorted") return "--order is first or sorted, not " + shown;
        args.read.order = value == "sorted" ? CategoryOrder::Sorted : CategoryOrder::FirstAppearance;
    } else if (is_output_option(name)) {
        return set_output_option(name, value, args.batch);
    }
    return {};
}

}  // namespace

bool asks_for_import(int argc, char** argv) {
    bool import = false;
    for (int k = 1; k < argc; ++k) {
        const std::string_view arg = argv[k];
        if (arg == "--" || arg == "--help") return false;
        if (arg == "--import") import = true;
    }
    return import;
}

std::optional<ImportArguments> parse_import_arguments(int argc, char** argv, std::FILE* err) {
    ImportArguments args;
    bool have_csv = false;
    for (int k = 1; k < argc; ++k) {
        const std::string_view arg = argv[k];
        if (std::find(std::begin(kValueOptions), std::end(kValueOptions), arg) != std::end(kValueOptions) ||
            is_output_option(arg)) {
            if (k + 1 >= argc) return wrong(err, std::string(arg) + " needs a value");
            const std::string complaint = set_value_option(arg, argv[++k], args, have_csv);
            if (!complaint.empty()) return wrong(err, complaint);
            continue;
        }
        if (arg == "--columns-dependent") {
            args.job.columns_dependent = true;
        } else if (arg == "--homogenise") {
            args.job.homogenise = true;
        } else if (arg == "--symmetry") {
            args.job.symmetry = true;
        } else if (arg == "--no-run") {
            args.run = false;
        } else if (arg == "--force") {
            args.force = true;
        } else if (arg == "--show") {
            args.batch.show = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return wrong(err, "unknown option " + std::string(arg));
        } else {
            return wrong(err, "a set-up file cannot be given with --import: " + std::string(arg));
        }
    }
    if (const std::string complaint = check_output_options(args.batch); !complaint.empty()) return wrong(err, complaint);
    const TableColumns& columns = args.read.columns;
    if (columns.rows.empty() != columns.cols.empty()) return wrong(err, "--rows and --cols go together");
    if (!columns.count.empty() && columns.rows.empty()) return wrong(err, "--count needs --rows and --cols");
    if (args.read.shape == TableShape::Wide && !columns.rows.empty()) {
        return wrong(err, "a wide table takes no --rows, --cols or --count");
    }
    if (args.read.shape == TableShape::Records && !columns.count.empty()) {
        return wrong(err, "records take no --count (each record counts 1); use --shape long for a column of counts");
    }
    if (args.read.shape == TableShape::Long && !columns.rows.empty() && columns.count.empty()) {
        return wrong(err, "a long table with --rows and --cols needs --count too");
    }
    return args;
}

int run_import(const ImportArguments& args, std::FILE* out, std::FILE* err) {
    const ImportOutcome outcome = import_csv_job(args.csv_file, args.read, args.job, args.force);
    switch (outcome.status) {
        case ImportStatus::Done:
            break;
        case ImportStatus::FilesExist:
            std::fprintf(err, "marvist-run: %s %s already; give --force to replace %s\n", listed(outcome.existing).c_str(),
                         outcome.existing.size() == 1 ? "exists" : "exist", outcome.existing.size() == 1 ? "it" : "them");
            return kBatchUsage;
        case ImportStatus::BadInput:
        case ImportStatus::BadSettings:
        case ImportStatus::WriteFailed:
            std::fprintf(err, "marvist-run: %s\n", outcome.message.c_str());
            return kBatchUsage;
    }
    const TableReadResult& read = outcome.read;
    std::fprintf(err, "marvist-run: %s: %s shape, %s-separated, %lld rows below the header: a %zu x %zu table, job %s\n",
                 args.csv_file.c_str(), std::string(shape_name(*read.shape)).c_str(),
                 std::string(delimiter_name(read.delimiter)).c_str(), static_cast<long long>(read.records),
                 read.table.rows(), read.table.cols(), outcome.setup_file.string().c_str());
    for (const std::string& note : outcome.notes) std::fprintf(err, "marvist-run: %s\n", note.c_str());
    if (!args.run) return kBatchDone;
    return run_batch(outcome.setup_file.string(), args.batch, out, err);
}

}  // namespace marvist

#include "import/import_job.h"

#include <system_error>

#include "analysis/category_names.h"
#include "app/batch/job_form.h"
#include "import/csv_reader.h"
#include "import/job_files.h"
#include "import/short_labels.h"
#include "base/cp437.h"
#include "base/fixed_text.h"

namespace marvist {
namespace {

namespace fs = std::filesystem;

// Longest job name whose file names fit the 80-character fields.
constexpr std::size_t kMaxJobName = 80 - 4;

// Why job_name cannot name the job files, or empty when it can.
std::string job_name_problem(std::string_view name) {
    if (name.empty()) return "an empty job name; expected a name for the job files";
    if (name.size() > kMaxJobName) {
        return "a job name of " + std::to_string(name.size()) + " bytes; expected at most " +
               std::to_string(kMaxJobName) + ", so that its file names fit their fields";
    }
    if (name.front() == ' ' || name.back() == ' ') return "a job name with blanks around it; expected none";
    if (name == "." || name == "..") return "expected a job name, not a folder";
    for (char c : name) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '/' || b < 0x20 || b == 0x7F) {
            return "a job name holding a slash or a control character; expected a plain file name";
        }
    }
    return {};
}

std::vector<NamedCategory> named(const std::vector<std::string>& labels, const std::vector<std::string>& names) {
    std::vector<NamedCategory> list;
    for (std::size_t k = 0; k < names.size(); ++k) list.push_back(NamedCategory{labels[k], names[k]});
    return list;
}

ImportOutcome stopped(ImportStatus status, std::string message) {
    ImportOutcome outcome;
    outcome.status = status;
    outcome.message = std::move(message);
    return outcome;
}

}  // namespace

std::string located_message(const fs::path& file, const CsvError& error) {
    std::string message = file.string() + ": ";
    if (error.line > 0) {
        message += "line " + std::to_string(error.line);
        if (error.field > 0) message += ", field " + std::to_string(error.field);
        message += ": ";
    }
    return message + error.message;
}

std::string variable_name(std::string_view name, std::string_view fallback) {
    std::string cp437 = utf8_to_cp437(name);
    if (cp437.empty()) cp437 = fallback;
    cp437.resize(std::min<std::size_t>(cp437.size(), 12));
    for (char& c : cp437) {
        const auto b = static_cast<unsigned char>(c);
        const bool kept = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
                          c == '_' || c == '.' || b >= 0x80;
        if (!kept) c = '_';
    }
    return cp437;
}

JobRecord imported_job_record(const CountTable& table, const ImportJobSettings& settings, std::string_view csv_name,
                              std::vector<std::string>& notes) {
    const bool square = table.rows() == table.cols();
    if (settings.symmetry && !square) {
        notes.push_back("the table is " + std::to_string(table.rows()) + " x " + std::to_string(table.cols()) +
                        ", not square: no symmetry analysis is asked");
    }
    JobRecord job;
    job.title = fixed(utf8_to_cp437("Table imported from " + std::string(csv_name)), 70);
    job.n_rows_text = fixed(std::to_string(table.rows()), 10);
    job.row_variable = fixed(variable_name(table.row_variable, "Rows"), 12);
    job.n_cols_text = fixed(std::to_string(table.cols()), 10);
    job.col_variable = fixed(variable_name(table.col_variable, "Columns"), 12);
    job.has_labels = 1;
    job.job_name = fixed(settings.job_name, 80);
    job.data_file = fixed(settings.job_name + ".dat", 80);
    job.label_file = fixed(settings.job_name + ".lab", 80);
    job.data_format = fixed("*", 70);
    job.dependence = settings.columns_dependent ? 1 : 0;
    job.do_nsca = 1;
    job.do_homogenise = settings.homogenise ? 1 : 0;
    job.do_symmetry = settings.symmetry && square ? 1 : 0;
    job.n_axes_text = fixed(std::to_string(settings.axes), 10);
    job.n_supp_text = fixed("0", 10);
    return job;
}

ImportOutcome import_csv_job(const fs::path& csv_path, const TableReadOptions& options, ImportJobSettings settings,
                             bool force) {
    if (settings.job_name.empty()) settings.job_name = csv_path.stem().string();
    if (const std::string problem = job_name_problem(settings.job_name); !problem.empty()) {
        return stopped(ImportStatus::BadSettings, csv_path.string() + ": " + problem);
    }
    if (settings.axes < 1 || settings.axes > 999999999) {
        return stopped(ImportStatus::BadSettings, "the number of axes must be from 1 to 999999999");
    }
    const std::vector<fs::path> paths = job_file_paths(csv_path.parent_path(), settings.job_name);
    if (!force) {
        std::vector<fs::path> existing = existing_files(paths);
        if (!existing.empty()) {
            ImportOutcome outcome = stopped(ImportStatus::FilesExist, "job files exist already");
            outcome.existing = std::move(existing);
            return outcome;
        }
    }

    std::error_code ec;
    if (fs::is_directory(csv_path, ec)) {
        return stopped(ImportStatus::BadInput, csv_path.string() + ": is a folder; expected a CSV file");
    }
    FileBytes bytes;
    if (!bytes.open(csv_path.string())) {
        return stopped(ImportStatus::BadInput, csv_path.string() + ": cannot be opened for reading");
    }
    ImportOutcome outcome;
    outcome.read = read_count_table(bytes, options);
    if (!outcome.read.ok) {
        outcome.status = ImportStatus::BadInput;
        outcome.message = located_message(csv_path, outcome.read.error);
        return outcome;
    }
    const CountTable& table = outcome.read.table;
    const auto row_labels = short_labels(table.row_names);
    const auto col_labels = short_labels(table.col_names);
    if (!row_labels || !col_labels) {
        outcome.status = ImportStatus::BadInput;
        outcome.message = csv_path.string() + ": more names share their first characters than labels can number";
        return outcome;
    }
    outcome.row_labels = *row_labels;
    outcome.col_labels = *col_labels;

    JobFileTexts texts;
    texts.job = imported_job_record(table, settings, csv_path.filename().string(), outcome.notes);
    JobRecord checked = texts.job;
    if (const FormError form = read_back_job_form(checked); form.failed) {
        outcome.status = ImportStatus::BadSettings;
        outcome.message = csv_path.string() + ": " + form.message;
        return outcome;
    }
    texts.data = data_file_text(table);
    texts.labels = label_file_text(outcome.row_labels, outcome.col_labels);
    texts.names = format_category_names(
        FullNames{named(outcome.row_labels, table.row_names), named(outcome.col_labels, table.col_names)},
        settings.job_name + ".lab");
    if (std::string message; !write_job_files(paths, texts, message)) {
        outcome.status = ImportStatus::WriteFailed;
        outcome.message = message;
        return outcome;
    }
    outcome.status = ImportStatus::Done;
    outcome.job = texts.job;
    outcome.setup_file = paths.back();
    return outcome;
}

}  // namespace marvist

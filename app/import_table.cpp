#include "app/import_table.h"

#include <filesystem>
#include <optional>
#include <vector>

#include "app/file_names.h"
#include "app/batch/job_form.h"
#include "app/message_text.h"
#include "app/run_job_dialog.h"
#include "import/count_field.h"
#include "import/csv_reader.h"
#include "import/import_job.h"
#include "import/table_reader.h"

namespace marvist {
namespace {

namespace fs = std::filesystem;

std::string described(const Guess<char>& delimiter, bool given) {
    if (!delimiter.value) return delimiter.problem;
    return std::string(delimiter_name(*delimiter.value)) + (given ? " (given)" : " (detected)");
}

std::string described(const Guess<TableShape>& shape, const TableReadOptions& read) {
    if (!shape.value) return shape.problem;
    const bool by_columns = !read.columns.rows.empty() || !read.columns.cols.empty() || !read.columns.count.empty();
    return std::string(shape_name(*shape.value)) +
           (read.shape ? " (given)" : by_columns ? " (by the columns chosen)" : " (detected)");
}

std::string header_text(const CsvSample& sample) {
    if (sample.records.empty()) return "no header";
    const std::vector<std::string>& header = sample.records.front();
    std::string text = std::to_string(header.size()) + (header.size() == 1 ? " column: " : " columns: ");
    for (std::size_t k = 0; k < header.size(); ++k) {
        if (k > 0) text += ", ";
        text += quoted_for_message(name_of(header[k]));
    }
    if (sample.byte_order_mark) text += "; a byte-order mark";
    if (sample.crlf) text += "; CRLF line ends";
    return text;
}

// "a, b and c".
std::string listed(const std::vector<fs::path>& paths) {
    std::string text;
    for (std::size_t k = 0; k < paths.size(); ++k) {
        if (k > 0) text += k + 1 == paths.size() ? " and " : ", ";
        text += paths[k].filename().string();
    }
    return text;
}

// Imports with the user's choice; asks before job files are replaced.
// Nothing when the dialog should open again.
std::optional<ImportOutcome> import_chosen(Session& session, const std::string& file,
                                           const ui::TableImportChoice& choice) {
    ImportJobSettings settings;
    settings.job_name = choice.job_name;
    ImportOutcome outcome = import_csv_job(file, choice.read, settings, false);
    if (outcome.status == ImportStatus::FilesExist) {
        const bool one = outcome.existing.size() == 1;
        const std::string question = std::string(one ? "The job file " : "The job files ") +
                                     listed(outcome.existing) + (one ? " exists" : " exist") +
                                     " already.\nReplace " + (one ? "it" : "them") + " with the imported table?";
        if (session.layer.message_box(question, "Replace Job Files", ui::MessageStyle::YesNoQuestion,
                                      session.main_window) != ui::kButtonYes) {
            return std::nullopt;
        }
        outcome = import_csv_job(file, choice.read, settings, true);
    }
    if (outcome.status != ImportStatus::Done) {
        show_message(session, "Table Not Imported", outcome.message);
        return std::nullopt;
    }
    return outcome;
}

}  // namespace

ui::TableImportView table_import_view(const std::string& file, const ui::TableImportChoice& choice) {
    ui::TableImportView view;
    FileBytes bytes;
    if (!bytes.open(file)) {
        view.delimiter = view.shape = file + ": cannot be opened for reading";
        return view;
    }
    const TablePreview preview = preview_table(bytes, choice.read, kImportPreviewRows);
    view.delimiter = described(preview.delimiter, choice.read.delimiter != 0);
    view.shape = preview.delimiter.value ? described(preview.shape, choice.read) : "";
    view.header = header_text(preview.sample);
    view.rows = preview.sample.records;
    if (const std::optional<CsvError>& error = preview.sample.error) {
        view.problem = located_message(fs::path(file).filename(), *error);
    }
    if (!view.rows.empty()) {
        for (const std::string& name : view.rows.front()) view.columns.emplace_back(name_of(name));
    }
    // Columns may be chosen unless the table is wide; choosing them is also
    // how a shape that was not detected is settled.
    const std::optional<TableShape> shape = preview.shape.value;
    view.columns_wanted = shape != TableShape::Wide;
    view.count_wanted = !shape || shape == TableShape::Long;
    return view;
}

void ImportTable(Session& session) {
    const ui::FileDialogSpec dialog{
        .title = "Select a Table to Import",
        .filters = {{"CSV tables (*.csv)", "*.csv"}, {"Text tables (*.txt)", "*.txt"}, {"All files (*.*)", "*.*"}},
        .default_extension = "csv",
        .owner = session.main_window};
    const std::optional<std::string> chosen = session.layer.open_file_dialog(dialog);
    if (!chosen) {
        show_message(session, "Cancellation", "No table has been selected");
        return;
    }
    const std::string file = *chosen;
    ui::TableImportRequest request;
    request.title = "Import Table";
    request.file = file;
    request.initial.job_name = fs::path(file).stem().string();
    request.view = [file](const ui::TableImportChoice& choice) { return table_import_view(file, choice); };
    request.owner = session.main_window;
    std::optional<ImportOutcome> imported;
    while (!imported) {
        const std::optional<ui::TableImportChoice> choice = session.layer.table_import_dialog(request);
        if (!choice) {
            show_message(session, "Cancellation", "No table has been imported");
            return;
        }
        request.initial = *choice;
        imported = import_chosen(session, file, *choice);
    }

    // The job files lie beside the CSV file and name each other by their
    // bare names: its folder becomes the working folder, as for a data file.
    if (!enter_folder_of(session, file)) {
        show_message(session, "Table Imported",
                     "The job files have been written, but the folder of " + file +
                         " cannot be entered.\nPlease start the job from its set-up file " +
                         imported->setup_file.string() + ".");
        return;
    }
    session.job = imported->job;
    // Continue Same Job shows the numbers of axes and predictors as numbers.
    session.job.n_axes = read_number_field(session.job.n_axes_text);
    session.job.n_supp = read_number_field(session.job.n_supp_text);
    session.data_selected = 1;
    session.labels_selected = 1;
    session.job_defined = 1;
    RunJobDialog(session, JobMode::Same);
}

}  // namespace marvist

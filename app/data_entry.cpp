#include "app/data_entry.h"

#include <cstdint>
#include <new>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/dialog_items.h"
#include "app/file_names.h"
#include "app/batch/job_form.h"
#include "app/message_text.h"
#include "base/cp437.h"
#include "base/fixed_text.h"
#include "base/layout.h"
#include "base/record_io.h"
#include "base/storage.h"

namespace marvist {

namespace {

constexpr std::size_t kLabelFieldLength = 10;
constexpr int kCountFieldLength = 6;

const ui::FontSpec kCaptionFont{"Arial", 10, false, false, false, true};
const ui::FontSpec kFieldFont{"Arial", 9, true};
const ui::FontSpec kButtonFont{"", 8};
const ui::FontSpec kDialogFont{"Arial", 9};

struct TableSize {
    int rows = 0;
    int cols = 0;
};

// The size dialog of both entries; nothing when it is cancelled. A field
// holding more than digits and blanks is refused and the dialog shown again
// as typed.
std::optional<TableSize> ask_table_size(Session& session) {
    std::string rows = "2";
    std::string cols = "2";
    for (;;) {
        std::vector<ui::DialogItem> items;
        items.push_back(ui::static_text(std::string(kRowsField)));
        items.push_back(ui::edit_field(rows, kNumberTextLength));
        ui::add_ok_cancel(items);
        items.push_back(ui::static_text(std::string(kColsField), ui::ItemPlace::NewColumn));
        items.push_back(ui::edit_field(cols, kNumberTextLength));
        if (session.layer.dialog_box(items, "Input Dimensions of the Contingency Table", kDialogFont) !=
            ui::kDialogOk) {
            show_message(session, "Cancellation",
                         message_text("('You have cancelled the Table size specifications')"));
            return std::nullopt;
        }
        JobRecord typed;
        typed.n_rows_text = rows;
        typed.n_cols_text = cols;
        const FormError refused = check_form_entries(typed, false);
        if (!refused.failed) break;
        show_message(session, refused.title, refused.message);
    }
    return TableSize{read_number_field(rows), read_number_field(cols)};
}

void allocation_failed(Session& session) {
    show_message(session, "IRRECOVERABLE FATAL ERROR",
                 message_text("('Fatal allocation error',A,' Please contact author of the program')", {kLineFeed}));
}

// Room for n edit buffers and n + extra dialog items; false when the storage
// limit refuses them or they cannot be had (a negative n included).
bool obtain_fields(std::int64_t n, std::size_t extra, std::vector<std::string>& buffers,
                   std::vector<ui::DialogItem>& items) {
    std::uint64_t buffer_bytes = 0, item_bytes = 0;
    if (n < 0 || !storage_bytes(n, sizeof(std::string) + kLabelFieldLength, buffer_bytes) ||
        !storage_bytes(n + static_cast<std::int64_t>(extra), sizeof(ui::DialogItem), item_bytes) ||
        !storage_fits({buffer_bytes, item_bytes})) {
        return false;
    }
    try {
        buffers.resize(static_cast<std::size_t>(n));
        items.reserve(static_cast<std::size_t>(n) + extra);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

// The file name confirmed in the file-created messages.
std::string shown_name(const std::string& field) { return std::string(trimmed(field)); }

// One list of label fields: the caption, then the fields, a new dialog
// column at every 14th field.
void add_label_fields(std::vector<ui::DialogItem>& items, std::string caption, ui::ItemPlace place,
                      std::string* buffers, int count) {
    ui::DialogItem heading = ui::static_text(std::move(caption), place);
    heading.font = kCaptionFont;
    heading.length = static_cast<int>(kLabelFieldLength);  // over its own column
    items.push_back(std::move(heading));
    for (int k = 1; k <= count; ++k) {
        buffers[k - 1] = write_to_buffer("('Lab_',I2)", {k}, kLabelFieldLength);
        ui::DialogItem field = ui::edit_field(buffers[k - 1], static_cast<int>(kLabelFieldLength),
                                          k % kLabelFieldsPerColumn == 0 ? ui::ItemPlace::NewColumn
                                                                         : ui::ItemPlace::Below);
        field.font = kFieldFont;
        items.push_back(std::move(field));
    }
}

// The first 6 characters of each field, as code-page-437 labels.
std::vector<std::string> labels_of(const std::string* buffers, int count) {
    std::vector<std::string> labels;
    labels.reserve(static_cast<std::size_t>(count));
    for (int k = 0; k < count; ++k) labels.push_back(fixed(utf8_to_cp437(buffers[k]), kLabelLength));
    return labels;
}

void write_labels(RecordSink& out, const std::vector<std::string>& labels) {
    std::vector<Value> values(labels.begin(), labels.end());
    write_records(out, cached_layout("(13A6)"), values);
}

void file_not_written(Session& session, std::string_view title, const std::string& name) {
    show_message(session, title, name + ": the file could not be written.");
}

// The labels of the label file chosen or entered, for the headings of the
// data-entry grid: n_rows row labels, then n_cols column labels, each list
// starting on a new line. Empty when no label file is selected or it does not
// hold that many.
std::vector<std::string> labels_for_grid(const Session& session, int rows, int cols) {
    if (session.labels_selected != 1 || rows < 1 || cols < 1) return {};
    InputFile file;
    if (!file.open(std::string(trimmed(session.job.label_file)))) return {};
    std::vector<std::string> labels(static_cast<std::size_t>(rows) + cols, std::string(kLabelLength, ' '));
    const Layout& layout = cached_layout("(13A6)");
    const std::span<std::string> all(labels);
    if ((rows > 0 && read_characters(file, layout, all.first(rows)) != kReadOk) ||
        (cols > 0 && read_characters(file, layout, all.subspan(rows)) != kReadOk)) {
        return {};
    }
    return labels;
}

// A heading of the grid: the number of the row or column and, when labels
// are known, its label.
std::string grid_heading(int number, const std::vector<std::string>& labels, std::size_t index,
                         std::string_view between) {
    std::string heading = std::to_string(number);
    if (!labels.empty()) {
        const std::string label = cp437_to_utf8(trimmed(labels[index]));
        if (!label.empty()) heading += std::string(between) + label;
    }
    return heading;
}

// The data-entry grid, row by row: a heading row with the column numbers,
// then for each row its number and its cells side by side, so that Tab
// moves along row 1, then along row 2, and so on. Cell (i, j) edits
// cells[(i - 1) * J + (j - 1)]. items is replaced.
void grid_items(std::vector<ui::DialogItem>& items, std::vector<std::string>& cells, int I, int J,
                const std::vector<std::string>& labels) {
    constexpr int kRowHeadingLength = 10;
    items.clear();
    ui::DialogItem corner = ui::static_text("");
    corner.length = kRowHeadingLength;
    items.push_back(std::move(corner));
    for (int j = 1; j <= J; ++j) {
        ui::DialogItem heading = ui::static_text(grid_heading(j, labels, static_cast<std::size_t>(I + j - 1), "\n"),
                                                 ui::ItemPlace::Beside);
        heading.length = kCountFieldLength;
        items.push_back(std::move(heading));
    }
    for (int i = 1; i <= I; ++i) {
        ui::DialogItem heading = ui::static_text(grid_heading(i, labels, static_cast<std::size_t>(i - 1), " "));
        heading.length = kRowHeadingLength;
        items.push_back(std::move(heading));
        for (int j = 1; j <= J; ++j) {
            ui::DialogItem field = ui::edit_field(cells[static_cast<std::size_t>(i - 1) * J + (j - 1)],
                                                  kCountFieldLength, ui::ItemPlace::Beside);
            field.font = kFieldFont;
            items.push_back(std::move(field));
        }
    }
    ui::add_ok_cancel(items, kButtonFont);
}

// A cell holds a count when it is empty (0) or holds digits, with blanks
// only before or after them.
bool holds_count(std::string_view cell) {
    const std::string_view digits = trimmed(without_leading_blanks(cell));
    return holds_digits_and_blanks_only(digits) && digits.find(' ') == std::string_view::npos;
}

// The first cell that does not hold a count, as a message naming its row and
// column; empty when every cell holds one.
std::string refused_cell(const std::vector<std::string>& cells, int I, int J) {
    for (int i = 1; i <= I; ++i) {
        for (int j = 1; j <= J; ++j) {
            const std::string_view cell =
                std::string_view(cells[static_cast<std::size_t>(i - 1) * J + (j - 1)]).substr(0, kCountFieldLength);
            if (!holds_count(cell)) {
                return "Row " + std::to_string(i) + ", column " + std::to_string(j) + " holds \"" +
                       std::string(trimmed(without_leading_blanks(cell))) +
                       "\".\nPlease type a count (digits only), or leave the cell empty for 0.";
            }
        }
    }
    return {};
}

}  // namespace

void EnterLabels(Session& session) {
    session.labels_selected = 0;
    const std::optional<TableSize> size = ask_table_size(session);
    if (!size) return;
    JobRecord& job = session.job;
    job.n_rows = size->rows;
    job.n_cols = size->cols;

    std::vector<std::string> buffers;
    std::vector<ui::DialogItem> items;
    if (size->rows < 0 || size->cols < 0 ||
        !obtain_fields(static_cast<std::int64_t>(size->rows) + size->cols, 4, buffers, items)) {
        allocation_failed(session);
        return;
    }
    std::string* row_buffers = buffers.data();
    std::string* col_buffers = buffers.data() + size->rows;
    add_label_fields(items, "Row Labels      (6 positions)", ui::ItemPlace::Below, row_buffers, size->rows);
    add_label_fields(items, "Column Labels (6 positions)", ui::ItemPlace::NewColumn, col_buffers, size->cols);
    ui::add_ok_cancel(items, kButtonFont);
    const std::string cancelled = message_text("('No label file has been created')");
    if (session.layer.dialog_box(items, "Specify Labels and Create Label File - Only 6 positions will be kept.",
                                 kDialogFont) != ui::kDialogOk) {
        show_message(session, "Cancellation", cancelled);
        return;
    }

    if (session.job_defined == 0) job.label_file = fixed(".lab", kFileNameLength);
    const ui::FileDialogSpec dialog{
        .title = "Select (New) Name for Label File",
        .filters = {{"Label files (*.lab)", "*.lab"}, {"All files (*.*)", "*.*"}},
        .default_extension = "lab",
        .initial_name = shown_name(job.label_file),
        .owner = session.main_window};
    const std::optional<std::string> chosen = session.layer.save_file_dialog(dialog);
    const std::optional<std::string> name = chosen ? accept_chosen_file(session, *chosen) : std::nullopt;
    if (!name) {
        show_message(session, "Cancellation", cancelled);
        return;
    }
    job.label_file = fixed(*name, kFileNameLength);

    OutputFile file;
    bool written = file.open(*name);
    if (written) {
        write_labels(file, labels_of(row_buffers, size->rows));
        write_labels(file, labels_of(col_buffers, size->cols));
        written = file.close();
    }
    if (!written) {
        file_not_written(session, "Label File Not Created", *name);
        return;
    }
    session.labels_selected = 1;

    const std::string shown = shown_name(job.label_file);
    if (session.job_defined == 1) {
        show_message(session, "Label File Created.", message_text("('Label file: ',A,' has been created.')", {shown}));
    } else if (session.data_selected != 1) {
        show_message(session, "Label File Created.",
                     message_text("('Label file: ',A,' has been created.',A,' Now choose or create a Data Set.')",
                                  {shown, kLineFeed}));
    } else {
        show_message(session, "Label File Created.",
                     message_text("('Label file: ',A,' has been created.',A,'Proceed to Start New Job/Continue "
                                  "Same Job to set the input parameters.')",
                                  {shown, kLineFeed}));
    }
}

void EnterData(Session& session) {
    session.data_selected = 0;
    const std::optional<TableSize> size = ask_table_size(session);
    if (!size) return;
    JobRecord& job = session.job;
    job.n_rows = size->rows;
    job.n_cols = size->cols;
    const int I = size->rows, J = size->cols;

    show_message(session, "Table Size", message_text("('Size of contingency table is ',I2,' by ',I2)", {I, J}));

    Matrix<int> counts;
    std::vector<std::string> buffers;
    std::vector<ui::DialogItem> items;
    if (I < 0 || J < 0 || !obtain(counts, I, J) ||
        !obtain_fields(static_cast<std::int64_t>(I) * J, static_cast<std::size_t>(I) + J + 3, buffers, items)) {
        allocation_failed(session);
        return;
    }
    const std::vector<std::string> labels = labels_for_grid(session, I, J);
    const std::string cancelled = message_text("('No data file has been created')");
    for (;;) {
        grid_items(items, buffers, I, J, labels);
        if (session.layer.dialog_box(items, "Input of data and Creation Data File", kDialogFont) != ui::kDialogOk) {
            show_message(session, "Cancellation", cancelled);
            return;
        }
        const std::string refused = refused_cell(buffers, I, J);
        if (refused.empty()) break;
        // Nothing is written; the grid opens again as typed.
        show_message(session, "Count Not Accepted", refused);
    }

    job.data_file = fixed(".dat", kFileNameLength);
    const ui::FileDialogSpec dialog{
        .title = "Select (New) Name for Data File",
        .filters = {{"Sample Distribution files (*.dat)", "*.dat"}, {"All files (*.*)", "*.*"}},
        .default_extension = "dat",
        .initial_name = shown_name(job.data_file),
        .owner = session.main_window};
    const std::optional<std::string> chosen = session.layer.save_file_dialog(dialog);
    const std::optional<std::string> name = chosen ? accept_data_file(session, *chosen) : std::nullopt;
    if (!name) {
        show_message(session, "Cancellation", cancelled);
        return;
    }
    job.data_file = fixed(*name, kFileNameLength);

    for (int i = 1; i <= I; ++i) {
        for (int j = 1; j <= J; ++j) {
            const std::string& cell = buffers[static_cast<std::size_t>(i - 1) * J + (j - 1)];
            counts(i, j) = read_number_field(std::string_view(cell).substr(0, kCountFieldLength));
        }
    }
    OutputFile file;
    bool written = file.open(*name);
    if (written) {
        for (int i = 1; i <= I; ++i) {
            std::string record;
            for (int j = 1; j <= J; ++j) record += free_form_record({counts(i, j)});
            file.put_record(record, true);
        }
        written = file.close();
    }
    if (!written) {
        file_not_written(session, "Data File Not Created", *name);
        return;
    }
    session.data_selected = 1;
    session.job_defined = 0;
    show_message(session, "Data File Created.",
                 message_text("('Data file: ',A,' has been created.',A,'Please proceed to Start New Job to set the "
                              "parameters for the job,',A,'or choose a Label File name or Create a Label File first.')",
                              {shown_name(job.data_file), kLineFeed, kLineFeed}));
}

}  // namespace marvist

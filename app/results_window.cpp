#include "app/results_window.h"

#include <charconv>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "app/dialog_items.h"
#include "app/main_program.h"
#include "app/message_text.h"
#include "export/results_export.h"

namespace marvist {
namespace {

constexpr std::string_view kResultsTitle = "Results of Marvist";

void enable_result_commands(Session& session, bool enabled) {
    session.layer.enable_command(kCommandShowResults, enabled);
    session.layer.enable_command(kCommandExportResults, enabled);
}

void append_tab_field(std::string& out, std::string_view text) {
    if (text.find_first_of("\t\r\n\"") == std::string_view::npos) {
        out += text;
        return;
    }
    out += '"';
    for (const char ch : text) {
        if (ch == '"') out += '"';
        out += ch;
    }
    out += '"';
}

// One tab per table; the tables are shared by the sheets' routines and read
// the session's results, which stay while the window is open.
ui::TableWindowSpec results_window_spec(Session& session) {
    auto tables = std::make_shared<const std::vector<ResultTable>>(result_tables(*session.results, session.permutation));
    ui::TableWindowSpec request;
    request.title = std::string(kResultsTitle);
    request.placement = ui::Placement{0.1, 0.15, 0.8, 0.7};
    request.owner = session.main_window;
    for (std::size_t k = 0; k < tables->size(); ++k) {
        const ResultTable& table = (*tables)[k];
        ui::TableSheet sheet;
        sheet.title = table.title;
        sheet.rows = table.rows;
        for (const ResultColumn& column : table.columns) {
            sheet.headings.push_back(column.field.name);
            sheet.right_aligned.push_back(column.field.type == FieldType::Integer ||
                                          column.field.type == FieldType::Number);
        }
        sheet.cell = [tables, k](std::int64_t row, int column) {
            return cell_text((*tables)[k].columns[static_cast<std::size_t>(column)].cell(row));
        };
        sheet.copy = [tables, k](const ui::CellBlock& block) { return tab_separated((*tables)[k], block); };
        request.sheets.push_back(std::move(sheet));
    }
    return request;
}

void close_results_window(Session& session) {
    if (session.results_window != ui::kNoWindow && session.layer.window_exists(session.results_window))
        session.layer.destroy_window(session.results_window);
    session.results_window = ui::kNoWindow;
}

// A whole decimal number without sign, or nothing.
template <class T>
std::optional<T> whole_number(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    T value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || text.front() == '-' || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// The number of permutations and the seed; nothing when cancelled.
std::optional<PermutationOptions> ask_permutations(Session& session) {
    std::string count = std::to_string(session.permutation_asked.permutations);
    std::string seed = std::to_string(session.permutation_asked.seed);
    for (;;) {
        std::vector<ui::DialogItem> items;
        items.push_back(ui::static_text("Number of permutations for the test of independence (0 for none):"));
        items.push_back(ui::edit_field(count, 12));
        items.push_back(ui::static_text("Seed of the random tables:"));
        items.push_back(ui::edit_field(seed, 20));
        ui::add_ok_cancel(items);
        if (session.layer.dialog_box(items, "Export Results", ui::FontSpec{"Arial", 9}) != ui::kDialogOk)
            return std::nullopt;
        const std::optional<std::int64_t> r = whole_number<std::int64_t>(count);
        const std::optional<std::uint64_t> s = whole_number<std::uint64_t>(seed);
        if (r && s) return PermutationOptions{.permutations = *r, .seed = *s};
        show_message(session, "Number Not Accepted",
                     "Please type whole numbers: digits only.\nThe number of permutations may be 0; the seed may be "
                     "any number from 0 to 18446744073709551615.");
    }
}

}  // namespace

void keep_results(Session& session, JobResults results) {
    forget_results(session);
    if (results.fatal_state == FatalState::Fatal) return;
    session.results = std::move(results);
    enable_result_commands(session, true);
}

void forget_results(Session& session) {
    close_results_window(session);
    session.results.reset();
    session.permutation.reset();
    enable_result_commands(session, false);
}

void ShowResults(Session& session) {
    if (!session.results) return;
    if (session.results_window != ui::kNoWindow && session.layer.window_exists(session.results_window)) {
        session.layer.activate_window(session.results_window);
        return;
    }
    session.results_window = session.layer.create_table_window(results_window_spec(session));
}

void ExportResults(Session& session) {
    if (!session.results) return;
    const std::optional<std::string> folder = session.layer.choose_folder(
        ui::FolderDialogSpec{.title = "Export Results to Folder", .owner = session.main_window});
    if (!folder) return;
    const std::optional<PermutationOptions> asked = ask_permutations(session);
    if (!asked) return;
    session.permutation_asked = *asked;
    session.permutation = permutation_test_of(*session.results, *asked);
    if (const std::optional<OutputError> error = export_results(*folder, *session.results, session.permutation)) {
        show_message(session, "Export Failed",
                     "The results could not be written to " + error->path + ":\n" + error->reason + ".");
    } else {
        const std::size_t files = export_file_names(*session.results, session.permutation).size();
        show_message(session, "Results Exported",
                     "The results were written to " + *folder + ":\n" + std::to_string(files) +
                         " files, described in datapackage.json.");
    }
    // An open Results window shows what was exported.
    if (session.results_window != ui::kNoWindow && session.layer.window_exists(session.results_window)) {
        close_results_window(session);
        ShowResults(session);
    }
}

std::string tab_separated(const ResultTable& table, const ui::CellBlock& block) {
    std::string out;
    const bool every_row = block.first_row <= 0 && block.last_row >= table.rows - 1;
    const int last_column = std::min(block.last_column, static_cast<int>(table.columns.size()) - 1);
    auto line = [&](auto&& text_of_column) {
        for (int c = std::max(block.first_column, 0); c <= last_column; ++c) {
            if (c > std::max(block.first_column, 0)) out += '\t';
            append_tab_field(out, text_of_column(c));
        }
        out += '\n';
    };
    if (every_row) line([&](int c) { return std::string_view(table.columns[static_cast<std::size_t>(c)].field.name); });
    for (std::int64_t r = std::max<std::int64_t>(block.first_row, 0); r <= std::min(block.last_row, table.rows - 1); ++r)
        line([&](int c) { return cell_text(table.columns[static_cast<std::size_t>(c)].cell(r)); });
    return out;
}

}  // namespace marvist

// The results of the last job in the desktop program: the Results window
// and File > Export Results, both greyed until a job has results.
#include "app/results_window.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "app/run_job_dialog.h"
#include "scripted_windowing.h"

namespace marvist::test {
namespace {

namespace fs = std::filesystem;

// The File menu's items as the main window gets them.
const ui::MenuItem* menu_command(const std::vector<ui::MenuItem>& menu, int command) {
    for (const ui::MenuItem& item : menu) {
        if (item.command == command && item.items.empty() && !item.separator) return &item;
        if (const ui::MenuItem* found = menu_command(item.items, command)) return found;
    }
    return nullptr;
}

struct Results : UiTest {
    // Runs examples/mobility.set (labels, NSCA, homogenisation, symmetry) as
    // an old job, its set-up file not saved again.
    void run_mobility() {
        for (const char* ext : {".set", ".dat", ".lab"}) {
            fs::copy_file(source_path(std::string("examples/mobility") + ext), dir.file(std::string("mobility") + ext),
                          fs::copy_options::overwrite_existing);
        }
        answer_forms({});
        layer.file_answers = {dir.file("mobility.set"), std::nullopt};
        RunJobDialog(session, JobMode::Old);
        ASSERT_EQ(session.fatal_state, FatalState::None);
    }
    const ui::TableSheet& sheet(const char* title) {
        for (const ui::TableSheet& s : layer.find("Results of Marvist")->sheets) {
            if (s.title == title) return s;
        }
        throw std::logic_error(std::string("no sheet ") + title);
    }
    // Answers the export's question with the number of permutations and seed.
    void answer_permutations(const std::string& count, const std::string& seed) {
        answer_forms({}, {{"Number of permutations for the test of independence (0 for none):", count},
                          {"Seed of the random tables:", seed}});
    }
};

TEST_F(Results, GreyedUntilAJobHasResults) {
    for (int command : {kCommandShowResults, kCommandExportResults}) {
        const ui::MenuItem* item = menu_command(layer.main.menu, command);
        ASSERT_NE(item, nullptr);
        EXPECT_TRUE(item->greyed);
    }
    EXPECT_EQ(layer.main.menu[0].items.back().command, kCommandExit);
    HandleMenuCommand(session, kCommandShowResults);  // chosen anyway: nothing happens
    HandleMenuCommand(session, kCommandExportResults);
    EXPECT_EQ(layer.find("Results of Marvist"), nullptr);
    EXPECT_TRUE(layer.folder_dialogs.empty());

    run_mobility();
    EXPECT_TRUE(layer.enabled.at(kCommandShowResults));
    EXPECT_TRUE(layer.enabled.at(kCommandExportResults));
    EXPECT_NE(layer.find("Output of Marvist"), nullptr);  // the windows of a job as before
    EXPECT_EQ(layer.find("Results of Marvist"), nullptr);  // until asked for

    // A job that fails: no results, both greyed again, the window closed.
    HandleMenuCommand(session, kCommandShowResults);
    ASSERT_NE(layer.find("Results of Marvist"), nullptr);
    fs::remove(dir.file("mobility.dat"));
    answer_forms({});
    layer.file_answers = {dir.file("mobility.set"), std::nullopt};
    RunJobDialog(session, JobMode::Old);
    EXPECT_EQ(session.fatal_state, FatalState::Fatal);
    EXPECT_FALSE(layer.enabled.at(kCommandShowResults));
    EXPECT_FALSE(layer.enabled.at(kCommandExportResults));
    EXPECT_EQ(layer.find("Results of Marvist"), nullptr);
    EXPECT_FALSE(session.results);
}

TEST_F(Results, OneTabPerResultTableWhoseCellsCopyAsTabSeparatedText) {
    run_mobility();
    HandleMenuCommand(session, kCommandShowResults);
    ScriptedWindowing::Window* window = layer.find("Results of Marvist");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->request.parent, session.main_window);
    std::vector<std::string> titles;
    for (const ui::TableSheet& s : window->sheets) titles.push_back(s.title);
    EXPECT_EQ(titles, (std::vector<std::string>{"Table", "Margins", "Profiles", "Dependence", "Contributions to Tau_a",
                                                "Analysis of variance", "NSCA axes", "Row coordinates",
                                                "Column coordinates", "NSCA categories", "NSCA fit",
                                                "Implied profiles and residuals", "Homogenised table",
                                                "Homogenisation sweeps", "Symmetric and skew-symmetric parts",
                                                "Margins of the symmetric part"}));
    const ui::TableSheet& table = sheet("Table");
    EXPECT_EQ(table.headings,
              (std::vector<std::string>{"row", "row_label", "column", "column_label", "count", "supplementary"}));
    EXPECT_EQ(table.right_aligned, (std::vector<bool>{true, false, true, false, true, false}));
    ASSERT_EQ(table.rows, 25);
    EXPECT_EQ(table.cell(0, 1), "Prof");
    EXPECT_EQ(table.cell(0, 4), "48");  // the examples' first count
    EXPECT_EQ(table.cell(1, 1), "Manag");
    EXPECT_EQ(table.cell(0, 5), "FALSE");
    // A block of cells as a spreadsheet pastes it; every row of a column
    // comes with its name.
    EXPECT_EQ(table.copy({.first_row = 0, .last_row = 1, .first_column = 1, .last_column = 4}),
              "Prof\t1\tProf\t48\nManag\t1\tProf\t29\n");
    const std::string whole = table.copy({.first_row = 0, .last_row = 24, .first_column = 4, .last_column = 4});
    EXPECT_EQ(whole.substr(0, 9), "count\n48\n");
    EXPECT_EQ(std::count(whole.begin(), whole.end(), '\n'), 26);

    const ui::TableSheet& dependence = sheet("Dependence");
    EXPECT_EQ(dependence.headings.size(), 5u);  // no permutation test yet
    EXPECT_EQ(dependence.cell(0, 0), "tau_a");
    EXPECT_EQ(dependence.cell(0, 1), "0.10253140406296016");  // the listing's Tau_a 0.103, as it reads back
    EXPECT_EQ(dependence.cell(3, 4), "");                    // the total inertia has no p-value

    // Asked for again: the same window comes to the front.
    const std::size_t windows = layer.windows.size();
    HandleMenuCommand(session, kCommandShowResults);
    EXPECT_EQ(layer.windows.size(), windows);
}

TEST(ResultsWindow, TabSeparatedTextQuotesWhatASpreadsheetWouldSplit) {
    const std::vector<std::string_view> texts = {"plain", "tab\there", "say \"x\"", "two\nlines"};
    ResultTable table{"t", "T", 4, {}};
    table.columns.push_back({{"name", FieldType::String, ""}, [&](std::int64_t r) { return Cell(texts[r]); }});
    table.columns.push_back({{"value", FieldType::Number, ""}, [](std::int64_t r) { return Cell(0.5 * r); }});
    EXPECT_EQ(tab_separated(table, {.first_row = 1, .last_row = 3, .first_column = 0, .last_column = 1}),
              "\"tab\there\"\t0.5\n\"say \"\"x\"\"\"\t1\n\"two\nlines\"\t1.5\n");
    EXPECT_EQ(tab_separated(table, {.first_row = 0, .last_row = 3, .first_column = 1, .last_column = 1}),
              "value\n0\n0.5\n1\n1.5\n");
}

TEST_F(Results, ExportWritesWhatTheRunnerWrites) {
    run_mobility();
    HandleMenuCommand(session, kCommandShowResults);

    // Cancelled at the folder or at the question: nothing is written.
    const int forms = layer.dialogs;
    HandleMenuCommand(session, kCommandExportResults);
    ASSERT_EQ(layer.folder_dialogs.size(), 1u);
    EXPECT_EQ(layer.dialogs, forms);
    layer.folder_answers = {dir.file("gui")};
    layer.answer_dialog = {};
    HandleMenuCommand(session, kCommandExportResults);
    EXPECT_FALSE(fs::exists(dir.file("gui")));

    // A number that is not one is refused and asked for again.
    int asked = 0;
    layer.answer_dialog = [&](std::vector<ui::DialogItem>& items, std::string_view title) {
        EXPECT_EQ(title, "Export Results");
        field_after(items, "Number of permutations for the test of independence (0 for none):") =
            ++asked == 1 ? "many" : "300";
        field_after(items, "Seed of the random tables:") = "77";
        return ui::kDialogOk;
    };
    layer.folder_answers = {dir.file("gui")};
    HandleMenuCommand(session, kCommandExportResults);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(layer.messages[layer.messages.size() - 2].title, "Number Not Accepted");
    EXPECT_EQ(last_message().title, "Results Exported");
    EXPECT_EQ(last_message().text, "The results were written to " + dir.file("gui") +
                                       ":\n17 files, described in datapackage.json.");

    // The runner on the same set-up file with the same test writes the same bytes.
    const std::string command = "'" MARVIST_BINARY_DIR "/marvist-run' --export '" + dir.file("cli") +
                                "' --permutations 300 --seed 77 '" + dir.file("mobility.set") + "' >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    ASSERT_EQ(folder_files(dir.file("gui")), folder_files(dir.file("cli")));
    for (const std::string& name : folder_files(dir.file("cli")))
        EXPECT_EQ(read_file(dir.file("gui/" + name)), read_file(dir.file("cli/" + name))) << name;

    // The open window shows the permutation test now; the next export
    // proposes the same numbers.
    const ui::TableSheet& dependence = sheet("Dependence");
    ASSERT_EQ(dependence.headings.size(), 9u);
    EXPECT_EQ(dependence.headings[5], "permutation_p_value");
    EXPECT_EQ(dependence.cell(0, 7), "300");
    EXPECT_EQ(dependence.cell(0, 8), "77");
    std::string proposed;
    layer.answer_dialog = [&](std::vector<ui::DialogItem>& items, std::string_view) {
        proposed = field_after(items, "Number of permutations for the test of independence (0 for none):") + " " +
                   field_after(items, "Seed of the random tables:");
        return ui::kDialogCancel;
    };
    layer.folder_answers = {dir.file("gui")};
    HandleMenuCommand(session, kCommandExportResults);
    EXPECT_EQ(proposed, "300 77");

    // A folder that cannot be made: the path and the reason.
    answer_permutations("0", "1");
    layer.folder_answers = {dir.file("mobility.set") + "/results"};
    HandleMenuCommand(session, kCommandExportResults);
    EXPECT_EQ(last_message().title, "Export Failed");
    EXPECT_EQ(last_message().text, "The results could not be written to " + dir.file("mobility.set") + "/results:\n" +
                                       std::generic_category().message(ENOTDIR) + ".");
}

}  // namespace
}  // namespace marvist::test

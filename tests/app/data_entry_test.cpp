#include "app/data_entry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "scripted_windowing.h"

namespace marvist::test {
namespace {

namespace fs = std::filesystem;

// Answers the size dialog with rows x cols, then the entry dialog with fill.
void answer_entry(ScriptedWindowing& layer, std::string rows, std::string cols,
                  std::function<void(std::vector<ui::DialogItem>&)> fill) {
    layer.answer_dialog = [=](std::vector<ui::DialogItem>& items, std::string_view title) {
        if (title == "Input Dimensions of the Contingency Table") {
            field_after(items, "Number of Rows") = rows;
            field_after(items, "Number of Columns") = cols;
        } else {
            fill(items);
        }
        return ui::kDialogOk;
    };
}

// The edit fields of the grid, in the order Tab visits them.
std::vector<std::string*> cells_in_order(std::vector<ui::DialogItem>& items) {
    std::vector<std::string*> cells;
    for (ui::DialogItem& item : items) {
        if (item.kind == ui::ItemKind::Edit) cells.push_back(item.buffer);
    }
    return cells;
}

// The static texts of the grid, a row of the grid to a line.
std::string headings(const std::vector<ui::DialogItem>& items) {
    std::string text;
    for (const ui::DialogItem& item : items) {
        if (item.kind != ui::ItemKind::StaticText) continue;
        if (item.place == ui::ItemPlace::Below && !text.empty()) text += "/";
        text += item.text + ",";
    }
    return text;
}

// Typed in Tab order, row 1 left to right, then row 2, the table is stored
// row by row; the grid is headed by row and column numbers and, once a label
// file is chosen, by the labels.
TEST_F(UiTest, TypedTableBecomesADataFile) {
    std::string shown;
    answer_entry(layer, "2", "3", [&](std::vector<ui::DialogItem>& items) {
        const char* typed[] = {"1", "2", "3", "4", " 5", "    6 9"};  // only 6 characters count
        std::vector<std::string*> cells = cells_in_order(items);
        for (std::size_t k = 0; k < cells.size(); ++k) *cells[k] = typed[k];
        shown = headings(items);
    });
    fs::create_directory("typed");
    layer.file_answers = {dir.file("typed/t.dat")};
    HandleMenuCommand(session, kCommandEnterData);
    EXPECT_EQ(shown, ",1,2,3,/1,/2,");
    EXPECT_EQ(read_lines(dir.file("typed/t.dat")), (std::vector<std::string>{" 1 2 3", " 4 5 6"}));
    EXPECT_EQ((std::vector<int>{session.job.n_rows, session.job.n_cols, session.data_selected, session.job_defined}),
              (std::vector<int>{2, 3, 1, 0}));

    write_file(dir.file("t.lab"), "Low   High  \nA     B     \x8Erger \n");
    layer.file_answers = {dir.file("t.lab"), dir.file("t2.dat")};
    HandleMenuCommand(session, kCommandLabelFile);
    HandleMenuCommand(session, kCommandEnterData);
    EXPECT_EQ(shown, ",1\nA,2\nB,3\nÄrger,/1 Low,/2 High,");  // 0x8E in code page 437 is Ä
}

// A cell that is not a count is refused, naming its row and column; the
// grid opens again as typed and nothing is written until it is mended.
// Size fields take digits and blanks only.
TEST_F(UiTest, CellsThatAreNotCountsAreRefused) {
    std::vector<std::string> grids;
    int showing = 0;
    answer_entry(layer, "2", "2", [&](std::vector<ui::DialogItem>& items) {
        std::vector<std::string*> cells = cells_in_order(items);
        std::string seen;
        for (std::string* cell : cells) seen += *cell + ";";
        grids.push_back(seen);
        const std::vector<std::vector<std::string>> typed = {{"1", "a", "-3", "4"}, {"1", "2", "-3", "4"},
                                                             {"1", "2", "3", "4 4"}, {"1", "2", "3", " 4 "}};
        for (std::size_t k = 0; k < cells.size(); ++k) *cells[k] = typed.at(showing)[k];
        ++showing;
    });
    layer.file_answers = {dir.file("t.dat")};
    HandleMenuCommand(session, kCommandEnterData);
    ASSERT_EQ(showing, 4);
    EXPECT_EQ(grids[1], "1;a;-3;4;");
    EXPECT_EQ(layer.messages[1].title + ": " + layer.messages[1].text,
              "Count Not Accepted: Row 1, column 2 holds \"a\".\nPlease type a count (digits only), or leave the cell "
              "empty for 0.");
    EXPECT_EQ(layer.messages[2].text.substr(0, 27), "Row 2, column 1 holds \"-3\".");
    EXPECT_EQ(layer.messages[3].text.substr(0, 28), "Row 2, column 2 holds \"4 4\".");
    EXPECT_EQ(read_lines(dir.file("t.dat")), (std::vector<std::string>{" 1 2", " 3 4"}));
    EXPECT_EQ(layer.file_dialogs.size(), 1u);

    int sizes = 0;
    layer.answer_dialog = [&](std::vector<ui::DialogItem>& items, std::string_view title) {
        if (title != "Input Dimensions of the Contingency Table") return ui::kDialogCancel;
        field_after(items, "Number of Rows") = ++sizes == 1 ? "5x" : "5";
        return ui::kDialogOk;
    };
    HandleMenuCommand(session, kCommandEnterData);
    EXPECT_EQ(sizes, 2);  // refused, accepted; then the grid is cancelled
    EXPECT_EQ(session.job.n_rows, 5);
    EXPECT_NE(std::find_if(layer.messages.begin(), layer.messages.end(),
                           [](const auto& m) { return m.text.find("\"Number of Rows\" holds \"5x\"") == 0; }),
              layer.messages.end());
}

TEST_F(UiTest, DataEntryCancelledAtEachStep) {
    session.data_selected = 1;
    HandleMenuCommand(session, kCommandEnterData);  // the size dialog is cancelled
    EXPECT_EQ(last_message().text, "You have cancelled the Table size specifications");
    EXPECT_EQ(session.data_selected, 0);

    answer_entry(layer, "2", "2", [](auto&) {});
    HandleMenuCommand(session, kCommandEnterData);  // no file name given
    EXPECT_EQ(last_message().text, "No data file has been created");

    answer_entry(layer, "9999999999", "2", [](auto&) {});
    HandleMenuCommand(session, kCommandEnterData);
    EXPECT_EQ(last_message().title, "IRRECOVERABLE FATAL ERROR");
}

TEST_F(UiTest, TwentyRowLabelsInTwoColumnsOfThirteenAndSeven) {
    std::vector<int> columns;  // fields per dialog column
    answer_entry(layer, "20", "3", [&](std::vector<ui::DialogItem>& items) {
        for (const ui::DialogItem& item : items) {
            if (item.place == ui::ItemPlace::NewColumn || columns.empty()) columns.push_back(0);
            if (item.kind == ui::ItemKind::Edit) ++columns.back();
        }
        *items[1].buffer = "Ärmelkanal";  // row 1
        *items[22].buffer = "Col";        // column 1
    });
    layer.file_answers = {dir.file("t.lab")};
    HandleMenuCommand(session, kCommandEnterLabels);
    EXPECT_EQ(columns, (std::vector<int>{13, 7, 3}));
    const std::vector<std::string> lines = read_lines(dir.file("t.lab"));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].substr(0, 12), "\x8ErmelkLab_ 2");
    EXPECT_EQ(lines[1].substr(36), "Lab_20");
    EXPECT_EQ(lines[2], "Col   Lab_ 2Lab_ 3");
    EXPECT_EQ(session.labels_selected, 1);

    session.job_defined = 1;  // a job is defined: the current name proposed
    HandleMenuCommand(session, kCommandEnterLabels);
    EXPECT_EQ(layer.file_dialogs.back().initial_name, "t.lab");
    EXPECT_EQ(session.labels_selected, 0);
}

}  // namespace
}  // namespace marvist::test

#include "app/data_entry.h"

#include <gtest/gtest.h>

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

TEST_F(UiTest, TypedTableBecomesADataFile) {
    answer_entry(layer, "2", "3", [](std::vector<ui::DialogItem>& items) {
        const char* cells[] = {"1", "4", "2", "5", " 3", "    6 9"};  // column by column; only 6 characters count
        for (int k = 0; k < 6; ++k) *items[k].buffer = cells[k];
    });
    fs::create_directory("typed");
    layer.file_answers = {dir.file("typed/t.dat")};
    HandleMenuCommand(session, kCommandEnterData);
    EXPECT_EQ(read_lines(dir.file("typed/t.dat")), (std::vector<std::string>{" 1 2 3", " 4 5 6"}));
    EXPECT_EQ((std::vector<int>{session.job.n_rows, session.job.n_cols, session.data_selected, session.job_defined}),
              (std::vector<int>{2, 3, 1, 0}));
}

TEST_F(UiTest, DataEntryCancelledAtEachStep) {
    session.data_selected = 1;
    HandleMenuCommand(session, kCommandEnterData);  // the size dialog is cancelled
    EXPECT_EQ(last_message().text, "You have cancelled the Table size specifications");
    EXPECT_EQ(session.data_selected, 0);

    answer_entry(layer, "2", "2", [](auto&) {});
    HandleMenuCommand(session, kCommandEnterData);  // no file name given
    EXPECT_EQ(last_message().text, "No data file has been created");

    answer_entry(layer, "-1", "2", [](auto&) {});
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

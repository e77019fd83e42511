#include "app/data_entry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/run_job_dialog.h"
#include "listing/fixed_text.h"
#include "ui_fixture.h"

namespace marvist::test {
namespace {

namespace fs = std::filesystem;

// Answers the size dialog with rows x cols, then the entry dialog with fill.
void answer_entry(ScriptedWindowing& layer, std::string rows, std::string cols,
                  std::function<void(std::vector<ui::DialogItem>&)> fill) {
    layer.answer_dialog = [=](std::vector<ui::DialogItem>& items, std::string_view title) {
        if (title == "Input Dimensions of the Contingency Table") {
            set_field(items, "Number of Rows", rows);
            set_field(items, "Number of Columns", cols);
        } else {
            fill(items);
        }
        return ui::kDialogOk;
    };
}

TEST_F(UiTest, TypedTableBecomesADataFileThatAJobReads) {
    std::vector<ui::ItemPlace> places;
    answer_entry(layer, "2", "3", [&places](std::vector<ui::DialogItem>& items) {
        const char* cells[] = {"1", "4", "2", "5", " 3", "    6 9"};  // column by column; only 6 characters count
        for (int k = 0; k < 6; ++k) {
            places.push_back(items[k].place);
            *items[k].buffer = cells[k];
        }
    });
    fs::create_directory("typed");
    layer.file_answers = {dir.file("typed/t.dat")};
    HandleMenuCommand(session, kCommandEnterData);
    using P = ui::ItemPlace;
    EXPECT_EQ(places, (std::vector<P>{P::Below, P::Below, P::NewColumn, P::Below, P::NewColumn, P::Below}));
    EXPECT_EQ(layer.messages[0].text, "Size of contingency table is  2 by  3");
    EXPECT_EQ(layer.file_dialogs.back().spec.initial_name, ".dat");
    EXPECT_EQ(read_lines(dir.file("typed/t.dat")), (std::vector<std::string>{" 1 2 3", " 4 5 6"}));
    EXPECT_EQ(last_message().title, "Data File Created.");
    EXPECT_EQ(last_message().text,
              "Data file: t.dat has been created.\nPlease proceed to Start New Job to set the parameters for the "
              "job,\nor choose a Label File name or Create a Label File first.");
    EXPECT_EQ(session.data_selected, 1);
    EXPECT_EQ(session.job_defined, 0);

    // The next job proposes the typed size and reads the file in free format.
    std::string rows, cols;
    answer_forms([&](auto& items) {
        rows = *field_after(items, "Number of Rows");
        cols = *field_after(items, "Number of Columns");
    });
    layer.file_answers = {std::nullopt};
    RunJobDialog(session, "new ");
    EXPECT_EQ(rows + "x" + cols, "2x3");
    EXPECT_EQ(session.rs.fatal_state, 0);
    EXPECT_TRUE(fs::exists(dir.file("typed/NewJob.out")));
}

TEST_F(UiTest, DataEntryCancelledAtEachStep) {
    session.data_selected = 1;
    HandleMenuCommand(session, kCommandEnterData);  // the size dialog is cancelled
    EXPECT_EQ(last_message().text, "You have cancelled the Table size specifications");
    EXPECT_EQ(session.data_selected, 0);

    answer_entry(layer, "2", "2", [](auto&) {});
    HandleMenuCommand(session, kCommandEnterData);  // no file name given
    EXPECT_EQ(last_message().text, "No data file has been created");
    EXPECT_EQ(session.data_selected, 0);

    answer_entry(layer, "-1", "2", [](auto&) {});
    HandleMenuCommand(session, kCommandEnterData);
    EXPECT_EQ(last_message().title, "IRRECOVERABLE FATAL ERROR");
    EXPECT_EQ(last_message().text, "Fatal allocation error\n Please contact author of the program");
}

TEST_F(UiTest, TwentyRowLabelsInTwoColumnsOfThirteenAndSeven) {
    std::vector<int> columns;  // fields per dialog column
    std::vector<std::string> first_texts;
    answer_entry(layer, "20", "3", [&](std::vector<ui::DialogItem>& items) {
        for (const ui::DialogItem& item : items) {
            if (item.place == ui::ItemPlace::NewColumn) columns.push_back(0);
            if (item.kind == ui::ItemKind::Edit) {
                if (columns.empty()) columns.push_back(0);
                ++columns.back();
                first_texts.push_back(*item.buffer);
            }
        }
        *items[1].buffer = "Ärmelkanal";  // row 1
        *items[22].buffer = "Col";        // column 1
    });
    layer.file_answers = {dir.file("t.lab")};
    HandleMenuCommand(session, kCommandEnterLabels);
    EXPECT_EQ(columns, (std::vector<int>{13, 7, 3}));
    EXPECT_EQ(first_texts[1], "Lab_ 2    ");
    EXPECT_EQ(first_texts[19], "Lab_20    ");
    const std::vector<std::string> lines = read_lines(dir.file("t.lab"));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].substr(0, 12), "\x8ErmelkLab_ 2");
    EXPECT_EQ(lines[0].size(), 78u);
    EXPECT_EQ(lines[1].substr(36), "Lab_20");
    EXPECT_EQ(lines[2], "Col   Lab_ 2Lab_ 3");
    EXPECT_EQ(session.labels_selected, 1);
    EXPECT_EQ(last_message().text, "Label file: t.lab has been created.\n Now choose or create a Data Set.");

    session.job_defined = 1;  // a job is defined: the short message, the current name proposed
    layer.file_answers = {dir.file("t2.lab")};
    HandleMenuCommand(session, kCommandEnterLabels);
    EXPECT_EQ(layer.file_dialogs.back().spec.initial_name, "t.lab");
    EXPECT_EQ(last_message().text, "Label file: t2.lab has been created.");
}

}  // namespace
}  // namespace marvist::test

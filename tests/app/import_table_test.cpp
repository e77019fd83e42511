// File > Import Table...: the dialog's view of a file, the job files written,
// the job form that follows, and what happens to bad input and to job files
// already there.
#include "app/import_table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "scripted_windowing.h"

namespace marvist::test {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

// The File menu lists the command, which begins with a file dialog.
TEST_F(UiTest, ImportTableIsOnTheFileMenu) {
    const std::vector<ui::MenuItem> file_menu = main_menu().front().items;
    const auto item = std::find_if(file_menu.begin(), file_menu.end(),
                                   [](const ui::MenuItem& m) { return m.command == kCommandImportTable; });
    ASSERT_NE(item, file_menu.end());
    EXPECT_EQ(item->text, "Import &Table...");
    HandleMenuCommand(session, kCommandImportTable);
    ASSERT_EQ(layer.file_dialogs.size(), 1u);
    EXPECT_EQ(layer.file_dialogs[0].default_extension, "csv");
    EXPECT_EQ(last_message().text, "No table has been selected");
    EXPECT_TRUE(layer.import_dialogs.empty());
}

// The view shows the first rows as they are read and what was detected;
// it changes with the choice.
TEST_F(UiTest, TheViewFollowsTheChoice) {
    write_file(dir.file("survey.csv"), "id;\"age; group\";channel\r\n1;18-29;Web\r\n2;65+;Shop\r\n3;18-29;Shop\r\n");
    ui::TableImportChoice choice;
    ui::TableImportView view = table_import_view(dir.file("survey.csv"), choice);
    EXPECT_EQ(view.delimiter, "semicolon (detected)");
    EXPECT_NE(view.shape.find("expected the shape and the columns"), std::string::npos) << view.shape;
    EXPECT_EQ(view.header, "3 columns: \"id\", \"age; group\", \"channel\"; CRLF line ends");
    EXPECT_EQ(view.columns, (Names{"id", "age; group", "channel"}));
    ASSERT_EQ(view.rows.size(), 4u);
    EXPECT_EQ(view.rows[2], (Names{"2", "65+", "Shop"}));
    EXPECT_TRUE(view.columns_wanted && view.count_wanted) << "columns settle a shape not detected";

    choice.read.columns = {"channel", "age; group", ""};
    view = table_import_view(dir.file("survey.csv"), choice);
    EXPECT_EQ(view.shape, "records (by the columns chosen)");
    EXPECT_TRUE(view.columns_wanted);
    EXPECT_FALSE(view.count_wanted);

    EXPECT_TRUE(view.problem.empty());
    choice = {};
    choice.read.delimiter = ',';
    view = table_import_view(dir.file("survey.csv"), choice);
    EXPECT_EQ(view.delimiter, "comma (given)");
    EXPECT_TRUE(view.rows.empty()) << "read as the choice says";
    EXPECT_EQ(view.problem.rfind("survey.csv: line 1, field 1: a double quote inside a field", 0), 0u) << view.problem;

    view = table_import_view(dir.file("none.csv"), {});
    EXPECT_NE(view.delimiter.find("none.csv: cannot be opened"), std::string::npos);
}

// OK writes the job files beside the CSV file, whose folder becomes the
// working folder, and opens the job form filled in; OK there runs the job.
TEST_F(UiTest, AnImportedTableOpensItsJobForm) {
    fs::create_directory(dir.path() / "tables");
    fs::copy_file(source_path("examples/holidays.csv"), dir.path() / "tables/holidays.csv");
    layer.file_answers = {dir.file("tables/holidays.csv"), std::nullopt};  // the CSV; no set-up file saved from the form
    ui::TableImportView seen;
    layer.answer_import = [&](const ui::TableImportRequest& request) {
        seen = request.view(request.initial);
        ui::TableImportChoice choice = request.initial;
        choice.read.order = CategoryOrder::Sorted;
        return std::optional(choice);
    };
    std::vector<std::pair<std::string, std::string>> form;
    int labels_yes = 0, nsca_yes = 0;
    answer_forms([&](std::vector<ui::DialogItem>& items) {
        for (const char* caption : {"Title for Analysis", "Number of Rows", "Row Label (12 positions)",
                                    "Number of Columns", "Column Label (12 positions)",
                                    "Job Name (8 positions) - Used for Filenames", "Name Data File",
                                    "Name Label File", "Integer Input Format; * is Free", "No. of Axes in NSCA"}) {
            form.emplace_back(caption, field_after(items, caption));
        }
        labels_yes = *item_named(items, "Yes", 1)->bound;
        nsca_yes = *item_named(items, "Yes", 2)->bound;
    });
    HandleMenuCommand(session, kCommandImportTable);

    ASSERT_EQ(layer.import_dialogs.size(), 1u);
    EXPECT_EQ(layer.import_dialogs[0].initial.job_name, "holidays");
    EXPECT_EQ(seen.delimiter, "semicolon (detected)");
    EXPECT_EQ(seen.shape, "wide (detected)");
    EXPECT_FALSE(seen.columns_wanted);
    EXPECT_EQ(seen.rows.size(), 5u);
    EXPECT_EQ(seen.rows[0][4], "Côte d'Azur");

    EXPECT_EQ(folder(), fs::canonical(dir.path() / "tables"));
    for (const char* file : {"holidays.dat", "holidays.lab", "holidays.names", "holidays.set", "holidays.out"}) {
        EXPECT_TRUE(fs::exists(dir.path() / "tables" / file)) << file;
    }
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"Title for Analysis", "Table imported from holidays.csv"},
        {"Number of Rows", "4"},
        {"Row Label (12 positions)", "Age"},
        {"Number of Columns", "6"},
        {"Column Label (12 positions)", "Destination"},
        {"Job Name (8 positions) - Used for Filenames", "holidays"},
        {"Name Data File", "holidays.dat"},
        {"Name Label File", "holidays.lab"},
        {"Integer Input Format; * is Free", "*"},
        {"No. of Axes in NSCA", "2"}};
    ASSERT_EQ(form.size(), expected.size());
    for (std::size_t k = 0; k < expected.size(); ++k) {
        EXPECT_EQ(std::string(trimmed(form[k].second)), expected[k].second) << expected[k].first;
    }
    EXPECT_EQ(labels_yes, 1);
    EXPECT_EQ(nsca_yes, 1);
    EXPECT_EQ(read_file(dir.file("tables/holidays.lab")),
              "18-29 30-44 45-64 65 and\nAlps  BalticCity tC\x93te dMedit1Medit2\n")
        << "the order chosen in the dialog";
    ASSERT_NE(layer.find("Output of Marvist"), nullptr);
    EXPECT_EQ(layer.find("Progress of Marvist")->lines.back(), " Succesful End of Marvist");
}

// A table that cannot be read: its message, the dialog again, nothing
// written. Job files already there: asked before they are replaced.
TEST_F(UiTest, BadTablesAndJobFilesInTheWay) {
    write_file(dir.file("t.csv"), ",a,b,c\nx,1,2,3\ny,1,2\nz,1,1,1\n");
    layer.file_answers = {dir.file("t.csv")};
    layer.answer_import = [&](const ui::TableImportRequest& request) -> std::optional<ui::TableImportChoice> {
        if (layer.import_dialogs.size() > 1) return std::nullopt;
        return request.initial;
    };
    HandleMenuCommand(session, kCommandImportTable);
    ASSERT_GE(layer.messages.size(), 2u);
    const auto& refused = layer.messages[layer.messages.size() - 2];
    EXPECT_EQ(refused.title, "Table Not Imported");
    EXPECT_EQ(refused.text.rfind(dir.file("t.csv") + ": line 3, field 4: a row of 3 fields; expected 4", 0), 0u)
        << refused.text;
    EXPECT_EQ(last_message().text, "No table has been imported");
    EXPECT_EQ(layer.import_dialogs.size(), 2u);
    EXPECT_FALSE(fs::exists(dir.file("t.dat")));

    write_file(dir.file("t.csv"), ",a,b,c\nx,1,2,3\ny,1,2,0\n");
    write_file(dir.file("t.lab"), "mine\n");
    layer.import_dialogs.clear();
    layer.file_answers = {dir.file("t.csv")};
    layer.question_answers = {ui::kButtonNo};
    HandleMenuCommand(session, kCommandImportTable);
    EXPECT_EQ(layer.messages[layer.messages.size() - 2].text,
              "The job file t.lab exists already.\nReplace it with the imported table?");
    EXPECT_EQ(read_file(dir.file("t.lab")), "mine\n");
    EXPECT_FALSE(fs::exists(dir.file("t.dat")));

    layer.import_dialogs.clear();
    layer.file_answers = {dir.file("t.csv"), std::nullopt};
    layer.question_answers = {ui::kButtonYes};
    HandleMenuCommand(session, kCommandImportTable);  // the job form is cancelled
    EXPECT_EQ(read_file(dir.file("t.lab")), "x     y     \na     b     c     \n");
    EXPECT_EQ(session.job_defined, 1);
}

}  // namespace
}  // namespace marvist::test

#include "app/run_job_dialog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/main_program.h"
#include "listing/fixed_text.h"
#include "listing/storage.h"
#include "ui_fixture.h"

namespace marvist::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kTable = "10 20 30\n20 10 5\n5 5 40\n";

bool enabled_after(std::vector<ui::DialogItem>& items, std::string_view caption) {
    ui::DialogItem* item = item_named(items, caption);
    return item != nullptr && (item + 1)->kind == ui::ItemKind::Edit && (item + 1)->enabled;
}

TEST_F(UiTest, NewAndSameFollowTheJobStateFlags) {
    RunJobDialog(session, "new ");
    RunJobDialog(session, "same");
    ASSERT_EQ(layer.message_titles(), (std::vector<std::string>{"Incorrect Task Choice", "Incorrect Task Choice"}));
    EXPECT_EQ(layer.messages[0].text, "No Data Set is yet available.\nPlease select or create a Data Set first.");
    EXPECT_EQ(layer.messages[1].text, "No previous Job available");
    EXPECT_TRUE(layer.dialog_titles.empty());

    write_file(dir.file("t.dat"), kTable);
    layer.file_answers = {dir.file("t.dat")};
    HandleMenuCommand(session, kCommandDataFile);
    EXPECT_EQ(last_message().text,
              "Data file t.dat has been selected for analysis.\nPlease proceed to Start New Job or select a Label "
              "File first.");

    // Cancelled: the typed title is kept and named in the message.
    layer.answer_dialog = [](std::vector<ui::DialogItem>& items, std::string_view) {
        set_field(items, "Title for Analysis", "Änderung");
        return ui::kDialogCancel;
    };
    RunJobDialog(session, "new ");
    EXPECT_EQ(last_message().text, "You have cancelled the input specifications for the job with title: Änderung");
    EXPECT_EQ(session.job.title, fixed("\x8Enderung", 70));

    // A job name too long for its listing's name is refused before anything runs.
    session.job_defined = 0;
    answer_forms([](auto& items) {
        set_field(items, "Job Name (8 positions) - Used for Filenames", std::string(78, 'j'));
    });
    RunJobDialog(session, "new ");
    EXPECT_EQ(last_message().title, "Incorrect Job Specification");
    EXPECT_EQ(layer.find("Progress of Marvist"), nullptr);

    session.job_defined = 0;
    std::string shown_rows;
    answer_forms([&shown_rows](auto& items) {
        shown_rows = *field_after(items, "Number of Rows");
        set_field(items, "Number of Rows", " 3");
        set_field(items, "Number of Columns", "3");
        set_field(items, "Job Name (8 positions) - Used for Filenames", "  abc  ");
    });
    layer.file_answers = {std::nullopt};  // the set-up file is not saved
    RunJobDialog(session, "new ");
    EXPECT_EQ(shown_rows, "2");
    EXPECT_EQ(session.rs.fatal_state, 0);
    EXPECT_EQ(trimmed(session.job.output_file), "abc.out");
    EXPECT_FALSE(fs::exists("abc.set"));
    ScriptedWindowing::Window* output = layer.find("Output of Marvist");
    ASSERT_NE(output, nullptr);
    EXPECT_EQ(output->spec.file, "abc.out");
    EXPECT_TRUE(layer.panes_shown);
    ASSERT_NE(layer.find("Save Output File under different name"), nullptr);
    EXPECT_EQ(layer.find("Progress of Marvist")->lines.back(), " Succesful End of Marvist");

    // "new " right after a job: refused, and both selections must be made again.
    session.labels_selected = 1;
    RunJobDialog(session, "new ");
    EXPECT_EQ(last_message().text, "No new Data Set has been specified.\nPlease select or create a Data Set first.");
    EXPECT_EQ(session.data_selected, 0);
    EXPECT_EQ(session.labels_selected, 0);
    EXPECT_EQ(layer.find("Output of Marvist"), nullptr);  // the job's windows closed as the dialog opened
    EXPECT_EQ(layer.find("Save Output File under different name"), nullptr);
    EXPECT_EQ(layer.find("Progress of Marvist"), nullptr);

    // "same" without a data file: the form is shown but ends as cancelled.
    bool data_field_enabled = true;
    answer_forms([&data_field_enabled](auto& items) { data_field_enabled = enabled_after(items, "Name Data File"); });
    RunJobDialog(session, "same");
    EXPECT_FALSE(data_field_enabled);
    EXPECT_EQ(last_message().text,
              "The input specifications for the job with title: Title of your job\nhave been cancelled because no "
              "Data File was available.");
}

TEST_F(UiTest, SetUpFileSavedThenRunAsOldJob) {
    fs::create_directory("data");
    write_file(dir.file("data/t.dat"), kTable);
    write_file(dir.file("data/t.lab"), "Low   Mid   High  \nA     B     C     \n");
    layer.file_answers = {dir.file("data/t.dat"), dir.file("data/t.lab")};
    HandleMenuCommand(session, kCommandDataFile);
    HandleMenuCommand(session, kCommandLabelFile);
    EXPECT_EQ(folder(), fs::canonical(dir.file("data")));
    EXPECT_EQ(trimmed(session.job.label_file), "t.lab");

    answer_forms([](auto& items) {
        set_field(items, "Title for Analysis", "Mobility ÄÖ");
        set_field(items, "Number of Rows", "3");
        set_field(items, "Number of Columns", "3");
        set_field(items, "Job Name (8 positions) - Used for Filenames", "mob");
        set_field(items, "Integer Input Format; * is Free", "");
        *item_named(items, "Yes", 2)->bound = 1;  // NSCA
        *item_named(items, "No", 2)->bound = 0;
    });
    layer.file_answers = {dir.file("data/mob.set")};
    RunJobDialog(session, "new ");
    EXPECT_EQ(layer.messages.back().title, "Creation of Set-Up File");
    EXPECT_EQ(last_message().text, "Input saved in Set-Up File: \n mob.set");
    EXPECT_EQ(read_lines(dir.file("data/mob.set")).size(), 10u);
    ASSERT_EQ(session.rs.fatal_state, 0);

    // Another session state, another folder: the old job comes back whole.
    fs::current_path(dir.path());
    session.job = JobRecord{};
    session.labels_selected = 0;
    std::vector<std::string> shown;
    int labels_yes = 0, nsca_yes = 0;
    answer_forms([&](auto& items) {
        for (const char* caption : {"Title for Analysis", "Job Name (8 positions) - Used for Filenames",
                                    "Name Label File", "Integer Input Format; * is Free"}) {
            shown.push_back(*field_after(items, caption));
        }
        labels_yes = *item_named(items, "Yes", 1)->bound;
        nsca_yes = *item_named(items, "Yes", 2)->bound;
    });
    layer.file_answers = {dir.file("data/mob.set"), std::nullopt};
    RunJobDialog(session, "old ");
    EXPECT_EQ(shown, (std::vector<std::string>{" Mobility ÄÖ", " mob", " t.lab", "*"}));
    EXPECT_EQ(labels_yes, 1);
    EXPECT_EQ(nsca_yes, 1);
    EXPECT_EQ(folder(), fs::canonical(dir.file("data")));
    EXPECT_EQ(session.rs.fatal_state, 0);
    EXPECT_EQ(session.job.title, fixed(" Mobility \x8E\x99", 70));
    EXPECT_EQ(layer.find("Output of Marvist")->spec.file, "mob.out");
    EXPECT_NE(read_file(dir.file("data/mob.out")).find("Mid"), std::string::npos);  // the labels were read
}

TEST_F(UiTest, OldJobCancelledOrUnreadable) {
    const std::size_t forms = layer.dialog_titles.size();
    RunJobDialog(session, "old ");
    EXPECT_EQ(last_message().title, "Cancellation");
    EXPECT_EQ(last_message().text, "No Set-up File has been selected");
    EXPECT_EQ(session.data_selected, 1);
    EXPECT_EQ(session.job_defined, 0);

    fs::create_directory("elsewhere");
    write_file(dir.file("elsewhere/bad.set"), " A title\n 3 Rows\n");
    session.job.title = fixed("Kept", 70);
    session.job.label_file = fixed("kept.lab", 80);
    session.job_defined = 1;
    layer.file_answers = {dir.file("elsewhere/bad.set")};
    RunJobDialog(session, "old ");
    EXPECT_EQ(last_message().title, "Set-Up File Not Read");
    EXPECT_NE(last_message().text.find("bad.set"), std::string::npos);
    EXPECT_NE(last_message().text.find("ends after line 2"), std::string::npos);
    EXPECT_EQ(session.job.title, fixed("Kept", 70));
    EXPECT_EQ(session.job.label_file, fixed("kept.lab", 80));
    EXPECT_EQ(session.job_defined, 0);
    EXPECT_EQ(folder(), fs::canonical(dir.path()));
    EXPECT_EQ(layer.dialog_titles.size(), forms);
}

TEST_F(UiTest, FailedJobFillsTheReportWindowsAndShowsNoListing) {
    session.data_selected = 1;
    session.job.data_file = fixed("missing.dat", 80);
    answer_forms({});
    RunJobDialog(session, "new ");
    EXPECT_EQ(session.rs.fatal_state, 3);
    EXPECT_EQ(layer.find("Output of Marvist"), nullptr);
    EXPECT_EQ(layer.find("Save Output File under different name"), nullptr);

    ScriptedWindowing::Window* errors = layer.find("Errors and Warnings");
    ASSERT_NE(errors, nullptr);
    EXPECT_EQ(errors->spec.font.face, "LotusLineDraw");
    EXPECT_EQ(errors->spec.background.red, 128);
    EXPECT_EQ(errors->spec.text_colour.blue, 255);
    EXPECT_DOUBLE_EQ(errors->spec.placement.width, 0.8);
    EXPECT_EQ(errors->autopaint_starts, 1);
    EXPECT_EQ(errors->autopaint_ends, 1);
    ASSERT_GE(errors->lines.size(), 6u);
    EXPECT_EQ(errors->lines[2], "  While attempting to open the data file an error occurred.");
    std::string rule;
    for (int k = 0; k < 46; ++k) rule += "═";
    EXPECT_EQ(errors->lines[errors->lines.size() - 3], rule);
    EXPECT_EQ(errors->lines.back(), " Marvist ended prematurely due to fatal errors");

    ScriptedWindowing::Window* progress = layer.find("Progress of Marvist");
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(progress->spec.text_colour.red, 128);
    EXPECT_DOUBLE_EQ(progress->spec.placement.left, 0.4);
    EXPECT_EQ(progress->lines.size(), 6u);  // the banner alone
    EXPECT_EQ(progress->autopaint_ends, 1);
}

// The plot's raster is refused by a storage limit the rest of the job fits:
// the stop is shown and ends the program, and no listing is offered.
TEST_F(UiTest, PlotStopIsShownAndEndsTheProgram) {
    for (const char* name : {"mobility.set", "mobility.dat", "mobility.lab"}) {
        write_file(dir.file(name), read_file(source_path(std::string("examples/") + name)));
    }
    layer.file_answers = {dir.file("mobility.set"), std::nullopt};
    answer_forms({});
    set_storage_limit(43 * 78 - 1);
    RunJobDialog(session, "old ");
    set_storage_limit(0);
    EXPECT_TRUE(layer.quitted);
    EXPECT_EQ(last_message().text, "NOT ENOUGH STORAGE FOR PLOT; ABORTING...");
    EXPECT_EQ(layer.find("Output of Marvist"), nullptr);
    EXPECT_EQ(session.rs.reports, nullptr);
}

}  // namespace
}  // namespace marvist::test

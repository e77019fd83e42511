#include "app/run_job_dialog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/storage.h"
#include "scripted_windowing.h"

namespace marvist::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kTable = "10 20 30\n20 10 5\n5 5 40\n";
constexpr const char* kJobName = "Job Name (8 positions) - Used for Filenames";

TEST_F(UiTest, NewAndSameFollowTheJobStateFlags) {
    RunJobDialog(session, JobMode::New);
    RunJobDialog(session, JobMode::Same);
    ASSERT_EQ(layer.messages.size(), 2u);
    EXPECT_EQ(layer.messages[0].text, "No Data Set is yet available.\nPlease select or create a Data Set first.");
    EXPECT_EQ(layer.messages[1].text, "No previous Job available");
    EXPECT_EQ(layer.dialogs, 0);

    write_file(dir.file("t.dat"), kTable);
    layer.file_answers = {dir.file("t.dat")};
    HandleMenuCommand(session, kCommandDataFile);
    // Cancelled: the typed title is kept and named in the message.
    layer.answer_dialog = [](std::vector<ui::DialogItem>& items, std::string_view) {
        field_after(items, "Title for Analysis") = "Änderung";
        return ui::kDialogCancel;
    };
    RunJobDialog(session, JobMode::New);
    EXPECT_EQ(last_message().text, "You have cancelled the input specifications for the job with title: Änderung");
    EXPECT_EQ(session.job.title, fixed("\x8Enderung", 70));

    // A job name too long for its listing's name is refused before anything runs.
    session.job_defined = 0;
    answer_forms({}, {{kJobName, std::string(78, 'j')}});
    RunJobDialog(session, JobMode::New);
    EXPECT_EQ(last_message().title, "Job Name Not Accepted");
    EXPECT_EQ(layer.find("Progress of Marvist"), nullptr);

    session.job_defined = 0;
    answer_forms({}, {{"Number of Rows", " 3"}, {"Number of Columns", "3"}, {kJobName, "  abc  "}});
    layer.file_answers = {std::nullopt};  // the set-up file is not saved
    RunJobDialog(session, JobMode::New);
    EXPECT_FALSE(fs::exists("abc.set"));
    ASSERT_NE(layer.find("Output of Marvist"), nullptr);
    EXPECT_EQ(layer.find("Output of Marvist")->request.file, "abc.out");
    EXPECT_TRUE(layer.panes_shown);
    EXPECT_NE(layer.find("Save Output File under different name"), nullptr);
    EXPECT_EQ(layer.find("Progress of Marvist")->lines.back(), " Succesful End of Marvist");

    // A new job right after a job: refused, and both selections must be made again.
    session.labels_selected = 1;
    RunJobDialog(session, JobMode::New);
    EXPECT_EQ(last_message().text, "No new Data Set has been specified.\nPlease select or create a Data Set first.");
    EXPECT_EQ(session.data_selected + session.labels_selected, 0);
    for (const char* window : {"Output of Marvist", "Save Output File under different name", "Progress of Marvist"}) {
        EXPECT_EQ(layer.find(window), nullptr) << window;  // closed as the dialog opened
    }

    // The same job without a data file: the form is shown but ends as cancelled.
    bool data_field_enabled = true;
    answer_forms([&](auto& items) { data_field_enabled = (item_named(items, "Name Data File") + 1)->enabled; });
    RunJobDialog(session, JobMode::Same);
    EXPECT_FALSE(data_field_enabled);
    EXPECT_NE(last_message().text.find("Title of your job\nhave been cancelled because"), std::string::npos);
}

TEST_F(UiTest, SetUpFileSavedThenRunAsOldJob) {
    fs::create_directory("data");
    write_file(dir.file("data/t.dat"), kTable);
    write_file(dir.file("data/t.lab"), "Low   Mid   High  \nA     B     C     \n");
    layer.file_answers = {dir.file("data/t.dat"), dir.file("data/t.lab")};
    HandleMenuCommand(session, kCommandDataFile);
    HandleMenuCommand(session, kCommandLabelFile);
    answer_forms([](auto& items) { *item_named(items, "Yes", 2)->bound = 1; },  // NSCA
                 {{"Title for Analysis", "Mobility ÄÖ"}, {"Number of Rows", "3"}, {"Number of Columns", "3"},
                  {kJobName, "mob"}, {"Integer Input Format; * is Free", ""}});
    layer.file_answers = {dir.file("data/mob.set")};
    RunJobDialog(session, JobMode::New);

    // Another session state, another folder: the old job comes back whole.
    fs::current_path(dir.path());
    session.job = JobRecord{};
    session.labels_selected = 0;
    std::string shown;  // the title and the labels and NSCA switches
    answer_forms([&](auto& items) {
        shown = field_after(items, "Title for Analysis") + std::to_string(*item_named(items, "Yes", 1)->bound) +
                std::to_string(*item_named(items, "Yes", 2)->bound);
    });
    layer.file_answers = {dir.file("data/mob.set"), std::nullopt};
    RunJobDialog(session, JobMode::Old);
    EXPECT_EQ(shown, " Mobility ÄÖ11");
    EXPECT_EQ(folder(), fs::canonical(dir.file("data")));
    EXPECT_EQ(layer.find("Output of Marvist")->request.file, "mob.out");
    EXPECT_NE(read_file(dir.file("data/mob.out")).find("Mid"), std::string::npos);  // the labels were read
}

TEST_F(UiTest, OldJobCancelledOrUnreadable) {
    RunJobDialog(session, JobMode::Old);
    EXPECT_EQ(last_message().text, "No Set-up File has been selected");
    EXPECT_EQ(session.job_defined, 0);

    fs::create_directory("elsewhere");
    write_file(dir.file("elsewhere/bad.set"), " A title\n 3 Rows\n");
    session.job.title = fixed("Kept", 70);
    session.job.label_file = fixed("kept.lab", 80);
    session.job_defined = 1;
    layer.file_answers = {dir.file("elsewhere/bad.set")};
    RunJobDialog(session, JobMode::Old);
    EXPECT_EQ(last_message().title, "Set-Up File Not Read");
    EXPECT_EQ(session.job.title, fixed("Kept", 70));
    EXPECT_EQ(session.job.label_file, fixed("kept.lab", 80));
    EXPECT_EQ(session.job_defined, 0);
    EXPECT_EQ(folder(), fs::canonical(dir.path()));
    EXPECT_EQ(layer.dialogs, 0);
}

TEST_F(UiTest, FailedJobFillsTheReportWindowsAndShowsNoListing) {
    session.data_selected = 1;
    session.job.data_file = fixed("missing.dat", 80);
    answer_forms({});
    RunJobDialog(session, JobMode::New);
    EXPECT_EQ(session.fatal_state, FatalState::Fatal);
    EXPECT_EQ(layer.find("Output of Marvist"), nullptr);

    ScriptedWindowing::Window* errors = layer.find("Errors and Warnings");
    ASSERT_NE(errors, nullptr);
    ASSERT_GE(errors->lines.size(), 6u);
    EXPECT_EQ(errors->lines[errors->lines.size() - 3].substr(0, 6), "══");  // code page 437 shown as UTF-8
    EXPECT_EQ(errors->lines.back(), " Marvist ended prematurely due to fatal errors");
    EXPECT_EQ(layer.find("Progress of Marvist")->lines.size(), 6u);  // the banner alone
    EXPECT_EQ(errors->autopaints + layer.find("Progress of Marvist")->autopaints, 0);
}

// The plot's raster is refused by a storage limit the rest of the job fits:
// the stop is shown and ends the program, and no listing is offered.
TEST_F(UiTest, PlotStopIsShownAndEndsTheProgram) {
    copy_job_inputs("examples", "mobility");
    write_file(dir.file("mobility.set"), read_file(source_path("examples/mobility.set")));
    layer.file_answers = {dir.file("mobility.set"), std::nullopt};
    answer_forms({});
    set_storage_limit(43 * 78 - 1);
    RunJobDialog(session, JobMode::Old);
    EXPECT_TRUE(layer.quitted);
    EXPECT_EQ(last_message().text, "NOT ENOUGH STORAGE FOR PLOT; ABORTING...");
    EXPECT_EQ(layer.find("Output of Marvist"), nullptr);
    EXPECT_EQ(session.context.reports, nullptr);
}

}  // namespace
}  // namespace marvist::test

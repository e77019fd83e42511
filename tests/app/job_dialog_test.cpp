#include "app/run_job_dialog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "analysis/driver.h"
#include "app/batch/job_form.h"
#include "app/batch/setup_file.h"
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

    // A new job right after a job: refused, and both selections must be made
    // again; the job's windows stay, and so they do when a form is cancelled.
    const char* windows[] = {"Output of Marvist", "Save Output File under different name", "Progress of Marvist"};
    session.labels_selected = 1;
    RunJobDialog(session, JobMode::New);
    EXPECT_EQ(last_message().text, "No new Data Set has been specified.\nPlease select or create a Data Set first.");
    EXPECT_EQ(session.data_selected + session.labels_selected, 0);
    layer.answer_dialog = {};
    session.data_selected = 1;
    RunJobDialog(session, JobMode::Same);
    EXPECT_EQ(last_message().title, "Cancellation");
    for (const char* window : windows) EXPECT_NE(layer.find(window), nullptr) << window;
    session.data_selected = 0;

    // The same job without a data file: the form is shown but ends as cancelled.
    bool data_field_enabled = true;
    answer_forms([&](auto& items) { data_field_enabled = (item_named(items, "Name Data File") + 1)->enabled; });
    RunJobDialog(session, JobMode::Same);
    EXPECT_FALSE(data_field_enabled);
    EXPECT_NE(last_message().text.find("Title of your job\nhave been cancelled because"), std::string::npos);
}

// A form whose content cannot make a job is refused with a message naming
// what is wrong and opens again with everything as typed; nothing runs and
// the windows of the last job stay until a job does.
TEST_F(UiTest, RefusedFormOpensAgainAsTyped) {
    write_file(dir.file("t.dat"), kTable);
    layer.file_answers = {dir.file("t.dat")};
    HandleMenuCommand(session, kCommandDataFile);
    // Each showing of the form gets the next of these entries on top of
    // what it shows; the form's texts are recorded as shown.
    const std::vector<std::vector<std::pair<std::string, std::string>>> entries = {
        {{"Title for Analysis", "Typed title"}, {"Number of Rows", "3"}, {"Number of Columns", "3"}, {kJobName, ""}},
        {{kJobName, std::string(78, 'j')}},
        {{kJobName, "typed"}, {"Number of Columns", "3x"}},
        {{"Number of Columns", " 3"}, {"Name Label File", "  "}},
        {{"Name Label File", "t.lab"}},
    };
    std::vector<std::string> shown;
    std::size_t showing = 0;
    std::string label_field;  // enabled as shown, and whether it follows Labels "Yes"
    std::string preselected;  // the title, so that typing replaces the default
    layer.answer_dialog = [&](std::vector<ui::DialogItem>& items, std::string_view) {
        shown.push_back(field_after(items, "Title for Analysis") + "|" + field_after(items, kJobName) + "|" +
                        field_after(items, "Number of Columns") + "|" + std::to_string(*item_named(items, "Yes", 2)->bound));
        preselected += std::to_string((item_named(items, "Title for Analysis") + 1)->preselected);
        const ui::DialogItem* field = item_named(items, "Name Label File") + 1;
        label_field += std::to_string(field->enabled) + (field->enabled_while == item_named(items, "Yes", 1)->bound ? "f" : "-");
        if (showing == 0) *item_named(items, "Yes", 2)->bound = 1, *item_named(items, "No", 2)->bound = 0;  // NSCA
        if (showing == 3) *item_named(items, "Yes", 1)->bound = 1, *item_named(items, "No", 1)->bound = 0;  // labels
        for (const auto& [caption, value] : entries.at(showing)) field_after(items, caption) = value;
        ++showing;
        return ui::kDialogOk;
    };
    write_file(dir.file("t.lab"), "Low   Mid   High  \nA     B     C     \n");
    layer.file_answers = {std::nullopt};
    RunJobDialog(session, JobMode::New);

    ASSERT_EQ(showing, entries.size());
    std::vector<std::string> refusals;
    for (const auto& message : layer.messages) refusals.push_back(message.title);
    EXPECT_EQ(std::vector<std::string>(refusals.end() - 4, refusals.end()),
              (std::vector<std::string>{"Job Name Not Accepted", "Job Name Not Accepted", "Number Not Accepted",
                                        "Label File Not Named"}));
    EXPECT_NE(layer.messages[layer.messages.size() - 4].text.find("empty"), std::string::npos);
    EXPECT_NE(layer.messages[layer.messages.size() - 2].text.find("\"Number of Columns\" holds \"3x\""),
              std::string::npos);
    EXPECT_EQ(shown[1], "Typed title||3|1");  // as typed, NSCA switched on included
    EXPECT_EQ(shown[4].substr(0, 12), "Typed title|");
    EXPECT_FALSE(fs::exists(".out"));
    EXPECT_FALSE(fs::exists(".set"));
    // The label field follows the Labels choice as the user changes it.
    EXPECT_EQ(label_field, "0f0f0f0f1f");
    EXPECT_EQ(preselected, "10000");

    EXPECT_EQ(layer.find("Output of Marvist")->request.file, "typed.out");
    EXPECT_NE(read_file(dir.file("typed.out")).find("Mid"), std::string::npos);  // the labels were read
    EXPECT_EQ((std::vector<int>{session.job.n_rows, session.job.n_cols, session.job.do_nsca}),
              (std::vector<int>{3, 3, 1}));
}

// A data file chosen in another folder moves the work there: the Save As
// prompt of the last job still copies that job's listing, the next job's
// listing is written beside the new data, and Save As then copies that one,
// not a listing of the same name found there before. When the last listing
// cannot be named from the new folder, its prompt closes rather than copy a
// file of the same name.
TEST_F(UiTest, DataFileElsewhereMovesTheListingThere) {
    const auto run_new_job = [&](const std::string& data, const std::string& title) {
        layer.file_answers = {data};
        HandleMenuCommand(session, kCommandDataFile);
        answer_forms({}, {{"Title for Analysis", title}, {"Number of Rows", "3"}, {"Number of Columns", "3"}});
        layer.file_answers = {std::nullopt};  // no set-up file
        RunJobDialog(session, JobMode::New);
        ASSERT_EQ(session.fatal_state, FatalState::None);
    };
    const auto save_as = [&](const std::string& copy) {
        layer.file_answers = {dir.file(copy)};
        layer.press(session.save_as_prompt, "Save As");
        return read_file(dir.file(copy));
    };
    const std::string deep = "a-folder-with-a-long-name/and-another-one-below-it/and-a-third-to-pass-eighty";
    for (const std::string& first : {std::string("a"), deep}) {
        fs::current_path(dir.path());
        fs::create_directories(first);
        fs::create_directories("b");
        write_file(dir.file(first + "/t.dat"), kTable);
        write_file(dir.file("b/t.dat"), kTable);
        write_file(dir.file("b/NewJob.out"), "a listing left in b\n");
        run_new_job(dir.file(first + "/t.dat"), "Job in " + first);
        const std::string listing_a = read_file(dir.file(first + "/NewJob.out"));

        layer.file_answers = {dir.file("b/t.dat")};
        HandleMenuCommand(session, kCommandDataFile);
        EXPECT_EQ(folder(), fs::canonical(dir.file("b")));
        if (first == "a") {
            EXPECT_EQ(save_as("copy-1.out"), listing_a);
        } else {
            EXPECT_FALSE(layer.window_exists(session.save_as_prompt));
            EXPECT_EQ(trimmed(session.job.output_file), "");
        }

        run_new_job(dir.file("b/t.dat"), "Job in b");
        const std::string listing_b = read_file(dir.file("b/NewJob.out"));
        EXPECT_NE(listing_b.find("Job in b"), std::string::npos);
        EXPECT_EQ(save_as("copy-2.out"), listing_b);
        EXPECT_EQ(read_file(dir.file(first + "/NewJob.out")), listing_a);
        fs::remove_all("b");
    }
}

// Start Old Job names every number field of the set-up file that holds more
// than digits and blanks before the form opens; the field is read by the
// digit rule as before.
TEST_F(UiTest, OldJobWarnsOfNumberFieldsBeforeTheForm) {
    write_file(dir.file("odd.set"), "Odd\n 5x         Row\n 2          Col\n 0\n odd\n odd.dat\n \"*\"\n 0 0 0 0\n1         0\n");
    layer.file_answers = {dir.file("odd.set")};
    std::string shown;
    answer_forms([&](auto& items) {
        shown = last_message().title + ": " + last_message().text + " / " + field_after(items, "Number of Rows");
        *item_named(items, "Yes", 1)->bound = 0;
    });
    layer.answer_dialog = [&, answer = layer.answer_dialog](std::vector<ui::DialogItem>& items, std::string_view t) {
        answer(items, t);
        return ui::kDialogCancel;
    };
    RunJobDialog(session, JobMode::Old);
    EXPECT_EQ(shown, "Set-Up File Warning: " + dir.file("odd.set") +
                         ", line 2: Number of Rows holds \"5x\", not only digits and blanks; it is read as 122 / 5x");
}

// Start Old Job, OK, and saving over the proposed set-up file, twenty times:
// the file stays as the first save wrote it, the form shows the same job
// each time, and the job runs as it did from the file of the examples.
TEST_F(UiTest, OldJobSavedOverItselfAgainAndAgain) {
    copy_job_inputs("examples", "mobility");
    write_file(dir.file("mobility.set"), read_file(source_path("examples/mobility.set")));
    std::string form_shown;
    std::vector<std::string> forms;
    answer_forms([&](std::vector<ui::DialogItem>& items) {
        form_shown.clear();
        for (const ui::DialogItem& item : items) {
            if (item.buffer) form_shown += *item.buffer + "|";
            if (item.bound) form_shown += std::to_string(*item.bound);
        }
        forms.push_back(form_shown);
    });
    std::string first_save, first_listing;
    for (int cycle = 1; cycle <= 20; ++cycle) {
        layer.file_answers = {dir.file("mobility.set"), dir.file("mobility.set")};
        RunJobDialog(session, JobMode::Old);
        ASSERT_EQ(session.fatal_state, FatalState::None) << "cycle " << cycle;
        EXPECT_EQ(layer.find("Errors and Warnings"), nullptr) << "cycle " << cycle;
        const std::string saved = read_file(dir.file("mobility.set"));
        if (cycle == 1) first_save = saved, first_listing = read_file(dir.file("mobility.out"));
        EXPECT_EQ(saved, first_save) << "cycle " << cycle;
        EXPECT_EQ(forms.back(), forms.front()) << "cycle " << cycle;
        EXPECT_EQ(read_file(dir.file("mobility.out")), first_listing) << "cycle " << cycle;
    }
    EXPECT_EQ(forms.size(), 20u);
    EXPECT_NE(forms.front().find(" Class of sons"), std::string::npos);  // the earlier file's title, as it read
    JobRecord job;  // the file of the examples as the runner takes it
    ASSERT_TRUE(read_setup_file(source_path("examples/mobility.set"), job).ok);
    ASSERT_FALSE(read_back_job_form(job).failed);
    run(job);
    EXPECT_EQ(read_file(dir.file("mobility.out")), first_listing);
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
    EXPECT_EQ(shown, "Mobility ÄÖ11");  // the title as typed, no blank before it
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

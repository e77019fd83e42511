#include "app/main_program.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/output_window.h"
#include "app/report_windows.h"
#include "scripted_windowing.h"

namespace marvist::test {
namespace {

namespace fs = std::filesystem;

TEST(MainProgram, RunsTheMenuUntilTheQuitIsConfirmed) {
    ScriptedWindowing layer;
    layer.commands = {kCommandAbout, 99, kCommandExit, kCommandExit, kCommandAbout};
    layer.question_answers = {ui::kButtonNo, ui::kButtonYes};
    MainProgram(layer);
    EXPECT_TRUE(layer.main_closed);
    ASSERT_EQ(layer.messages.size(), 4u);  // nothing runs after the quit
    EXPECT_EQ(layer.messages[1].title + ": " + layer.messages[1].text, "default: Command not recognized");
    EXPECT_EQ(layer.messages[3].title + ": " + layer.messages[3].text, "SHUTDOWN: Do you really want to quit?");
}

// Each File > Open keeps a viewer of its own, owned by the main window;
// Close closes the one last active, then the next, and the line and column
// panes stay while any viewer or the output window is open.
TEST_F(UiTest, EveryViewerCanBeReachedAndClosed) {
    for (const char* name : {"x.txt", "y.txt", "job.out"}) write_file(dir.file(name), "text\n");
    layer.file_answers = {dir.file("x.txt"), dir.file("y.txt")};
    EXPECT_EQ(HandleMenuCommand(session, kCommandOpen), 1);
    HandleMenuCommand(session, kCommandOpen);
    ScriptedWindowing::Window* x = layer.find(dir.file("x.txt"));
    ASSERT_NE(x, nullptr);
    ASSERT_NE(layer.find(dir.file("y.txt")), nullptr);
    EXPECT_EQ(x->request.parent, session.main_window);
    EXPECT_TRUE(layer.panes_shown);
    EXPECT_TRUE(ConfirmQuit(session, session.file_windows.front()));  // closes without asking

    session.job.output_file = fixed("job.out", 80);
    ShowOutput(session);  // the output window goes to the front
    EXPECT_EQ(layer.find("Output of Marvist")->request.parent, session.main_window);
    layer.activate_window(session.file_windows.front());  // the user clicks into x.txt
    HandleMenuCommand(session, kCommandClose);
    EXPECT_EQ(layer.find(dir.file("x.txt")), nullptr);
    EXPECT_NE(layer.find(dir.file("y.txt")), nullptr);
    HandleMenuCommand(session, kCommandClose);
    EXPECT_EQ(layer.find("Output of Marvist"), nullptr);
    EXPECT_TRUE(layer.panes_shown);

    layer.destroy_window(session.file_windows.back());  // closed by its own close button
    HandleMenuCommand(session, kCommandClose);
    EXPECT_FALSE(layer.panes_shown);
    EXPECT_TRUE(layer.messages.empty());
}

// The line and column panes go when the job windows close and no viewer is
// left.
TEST_F(UiTest, PanesFollowTheLastFileWindow) {
    write_file(dir.file("job.out"), "listing\n");
    session.job.output_file = fixed("job.out", 80);
    ShowOutput(session);
    EXPECT_TRUE(layer.panes_shown);
    close_job_windows(session);
    EXPECT_FALSE(layer.panes_shown);

    layer.file_answers = {dir.file("job.out")};
    HandleMenuCommand(session, kCommandOpen);
    ShowOutput(session);
    close_job_windows(session);
    EXPECT_TRUE(layer.panes_shown);  // the viewer is still open
}

TEST_F(UiTest, ChosenFilesKeepShortNamesAndTheWorkingFolderFollowsTheData) {
    fs::create_directories("a/b");
    layer.file_answers = {dir.file("a/b/x.lab")};
    HandleMenuCommand(session, kCommandLabelFile);
    EXPECT_EQ(session.job.label_file, fixed("a/b/x.lab", 80));

    session.job_defined = 1;
    layer.file_answers = {dir.file("a/d.dat")};
    HandleMenuCommand(session, kCommandDataFile);
    EXPECT_EQ(folder(), fs::canonical(dir.file("a")));
    EXPECT_EQ(session.job.data_file, fixed("d.dat", 80));
    EXPECT_EQ(session.job.label_file, fixed("b/x.lab", 80));  // still the same file
    EXPECT_EQ(session.job_defined, 0);
    EXPECT_EQ(session.data_selected, 1);

    layer.file_answers = {dir.file("y.lab")};  // outside the working folder
    HandleMenuCommand(session, kCommandLabelFile);
    EXPECT_EQ(session.job.label_file, fixed((fs::canonical(dir.path()) / "y.lab").string(), 80));

    layer.file_answers = {dir.file(std::string(81, 'd'))};
    HandleMenuCommand(session, kCommandDataFile);
    EXPECT_EQ(layer.messages[layer.messages.size() - 2].title, "File Name Too Long");
    EXPECT_EQ(session.data_selected, 0);
    EXPECT_EQ(folder(), fs::canonical(dir.file("a")));

    HandleMenuCommand(session, kCommandLabelFile);  // cancelled
    EXPECT_EQ(last_message().text, "No label file has been selected");
    EXPECT_EQ(session.labels_selected, 0);
}

}  // namespace
}  // namespace marvist::test

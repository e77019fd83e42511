#include "app/main_program.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

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

TEST_F(UiTest, FileWindowOpensAndCloses) {
    write_file(dir.file("x.txt"), "text\n");
    layer.file_answers = {dir.file("x.txt")};
    EXPECT_EQ(HandleMenuCommand(session, kCommandOpen), 1);
    ASSERT_NE(layer.find(dir.file("x.txt")), nullptr);
    EXPECT_TRUE(layer.panes_shown);
    EXPECT_TRUE(ConfirmQuit(session, session.file_window));  // closes without asking
    HandleMenuCommand(session, kCommandClose);
    EXPECT_EQ(layer.find(dir.file("x.txt")), nullptr);
    EXPECT_FALSE(layer.panes_shown);
    EXPECT_TRUE(layer.messages.empty());
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

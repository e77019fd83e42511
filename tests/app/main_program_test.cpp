#include "app/main_program.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "listing/fixed_text.h"
#include "ui_fixture.h"

namespace marvist::test {
namespace {

namespace fs = std::filesystem;

TEST(MainProgram, RunsTheMenuUntilTheQuitIsConfirmed) {
    ScriptedWindowing layer;
    layer.commands = {20, 21, 22, 23, 99, 257, 257, 20};
    layer.question_answers = {ui::kButtonNo, ui::kButtonYes};
    MainProgram(layer);
    EXPECT_TRUE(layer.main_closed);
    EXPECT_EQ(layer.message_titles(),
              (std::vector<std::string>{"Marvist Information", "Information on Windowing",
                                        "Information on Error Handling", "New in Windows Version 2c", "default",
                                        "SHUTDOWN", "SHUTDOWN"}));
    EXPECT_EQ(layer.messages[2].text,
              "Warning: \nThe error checking in this program is far from complete.\nErrors for which no provision "
              "have been made will cause,\nthe program to crash and the windows will disappear.\nWe are working on "
              "improving the program in this respect.");
    EXPECT_EQ(layer.messages[3].text,
              "New in version 2c: \n1. Supplementary column (predictor) variables;\n2. Loglikelihood-ratio test for "
              "number of components;\n3. Root Mean Square Residuals computed;\n4. Errors with multiple analyses "
              "correctd.");
    EXPECT_EQ(layer.messages[4].text, "Command not recognized");
    EXPECT_EQ(layer.messages[5].text, "Do you really want to quit?");
    EXPECT_EQ(layer.messages[5].style, ui::MessageStyle::YesNoQuestion);

    // The menu tree holds each command once per place it is offered.
    ASSERT_EQ(layer.main.menu.size(), 7u);
    EXPECT_EQ(layer.main.menu[0].items.size(), 13u);
    EXPECT_TRUE(layer.main.menu[0].items[1].greyed);
}

TEST_F(UiTest, OpeningScreenFileWindowAndPageSetup) {
    PaintOpeningScreen(session, session.main_window);
    ASSERT_EQ(layer.drawn.size(), 22u);
    EXPECT_EQ(layer.drawn.front(), "Marvist");
    EXPECT_EQ(layer.drawn[11], "How to run this program.");
    EXPECT_EQ(layer.drawn.back(), "Note: Please read the note about (incomplete) error handling in the Help Menu.");
    EXPECT_TRUE(ConfirmQuit(session, session.main_window + 1));
    EXPECT_TRUE(layer.messages.empty());

    write_file(dir.file("x.txt"), "text\n");
    layer.file_answers = {dir.file("x.txt")};
    EXPECT_EQ(HandleMenuCommand(session, kCommandOpen), 1);
    ASSERT_NE(layer.find(dir.file("x.txt")), nullptr);
    EXPECT_TRUE(layer.panes_shown);
    HandleMenuCommand(session, kCommandClose);
    EXPECT_EQ(layer.find(dir.file("x.txt")), nullptr);
    EXPECT_FALSE(layer.panes_shown);
    HandleMenuCommand(session, kCommandPageSetup);
    EXPECT_EQ(layer.page_setups, 1);
    EXPECT_EQ(HandleMenuCommand(session, kCommandExit), 0);
}

TEST_F(UiTest, ChosenFilesKeepShortNamesAndTheWorkingFolderFollowsTheData) {
    fs::create_directories("a/b");
    layer.file_answers = {dir.file("a/b/x.lab")};
    HandleMenuCommand(session, kCommandLabelFile);
    EXPECT_EQ(session.job.label_file, fixed("a/b/x.lab", 80));
    EXPECT_EQ(last_message().title, "Continuation");
    EXPECT_EQ(last_message().text, "Label file a/b/x.lab has been selected\nNow, please select or create a data file.");

    session.job_defined = 1;
    layer.file_answers = {dir.file("a/d.dat")};
    HandleMenuCommand(session, kCommandDataFile);
    EXPECT_EQ(folder(), fs::canonical(dir.file("a")));
    EXPECT_EQ(session.job.data_file, fixed("d.dat", 80));
    EXPECT_EQ(session.job.label_file, fixed("b/x.lab", 80));  // still the same file
    EXPECT_EQ(session.job_defined, 0);
    EXPECT_EQ(session.data_selected, 1);
    EXPECT_EQ(last_message().text, "Data file d.dat has been selected for analysis.\nPlease proceed to Start New Job.");

    layer.file_answers = {dir.file("y.lab")};  // outside the working folder
    HandleMenuCommand(session, kCommandLabelFile);
    EXPECT_EQ(session.job.label_file, fixed((fs::canonical(dir.path()) / "y.lab").string(), 80));
    EXPECT_EQ(last_message().title, "Label File Name");

    layer.file_answers = {dir.file(std::string(81, 'd'))};
    HandleMenuCommand(session, kCommandDataFile);
    EXPECT_EQ(layer.messages[layer.messages.size() - 2].title, "File Name Too Long");
    EXPECT_EQ(last_message().text, "No data file has been selected");
    EXPECT_EQ(session.data_selected, 0);
    EXPECT_EQ(folder(), fs::canonical(dir.file("a")));

    HandleMenuCommand(session, kCommandLabelFile);  // cancelled
    EXPECT_EQ(last_message().text, "No label file has been selected");
    EXPECT_EQ(session.labels_selected, 0);
}

}  // namespace
}  // namespace marvist::test

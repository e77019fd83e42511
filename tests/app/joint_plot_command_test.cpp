// The Joint Plot window of the desktop program: after a job with an NSCA
// solution of two axes or more, from its menu while the solution is kept,
// and gone when the next job starts.
#include "app/joint_plot_command.h"

#include <gtest/gtest.h>

#include "app/batch/job_form.h"
#include "app/main_program.h"
#include "app/run_job_dialog.h"
#include "scripted_windowing.h"

namespace marvist::test {
namespace {

constexpr const char* kTable = "10 20 30 5\n20 10 5 7\n5 5 40 9\n8 1 2 30\n";

struct JointPlotTest : UiTest {
    // A job on a 4 x 4 table, NSCA switched on or off, with `axes` axes.
    void run_job_with(bool nsca, const std::string& axes) {
        layer.file_answers = {dir.file("t.dat")};
        HandleMenuCommand(session, kCommandDataFile);
        answer_forms(
            [nsca](auto& items) {
                *item_named(items, "Yes", 2)->bound = nsca ? 1 : 0;
                *item_named(items, "No", 2)->bound = nsca ? 0 : 1;
            },
            {{"Number of Rows", "4"}, {"Number of Columns", "4"}, {"Job Name (8 positions) - Used for Filenames", "t"},
             {std::string(kAxesField), axes}, {"Title for Analysis", "Four by four"}});
        layer.file_answers = {std::nullopt};  // the set-up file is not saved
        RunJobDialog(session, JobMode::New);
    }
    int plot_windows() const {
        int n = 0;
        for (const auto& [id, window] : layer.windows) n += window.exists && window.request.title == "Joint Plot";
        return n;
    }
};

TEST_F(JointPlotTest, TheMenuItemStartsGreyedAndExplainsWithoutASolution) {
    const std::vector<ui::MenuItem> menu = main_menu();
    const auto plot = std::find_if(menu.begin(), menu.end(), [](const auto& m) { return m.text == "&Joint Plot"; });
    ASSERT_NE(plot, menu.end());
    ASSERT_EQ(plot->items.size(), 1u);
    EXPECT_EQ(plot->items[0].command, kCommandJointPlot);
    EXPECT_TRUE(plot->items[0].greyed);
    EXPECT_EQ(menu.back().text, "&Help");

    HandleMenuCommand(session, kCommandJointPlot);
    EXPECT_EQ(last_message().title, "Joint Plot");
    EXPECT_EQ(plot_windows(), 0);
}

TEST_F(JointPlotTest, OpensAfterAnNscaJobAndFromTheMenuUntilTheNextJob) {
    write_file(dir.file("t.dat"), kTable);
    run_job_with(true, "3");
    ASSERT_NE(layer.find("Output of Marvist"), nullptr);
    ASSERT_EQ(layer.plotted.size(), 1u);
    EXPECT_EQ(layer.plotted[0].inertia_shares.size(), 3u);
    EXPECT_EQ(layer.plotted[0].title, "Four by four");
    EXPECT_EQ(layer.plotted[0].rows.size(), 4u);
    EXPECT_EQ(plot_windows(), 1);
    EXPECT_TRUE(layer.enabled.at(kCommandJointPlot));
    EXPECT_EQ(layer.windows.at(session.plot_window).request.parent, session.main_window);

    // From the menu: the open window comes to the front; once closed, a new one opens.
    HandleMenuCommand(session, kCommandJointPlot);
    EXPECT_EQ(layer.plotted.size(), 1u);
    layer.destroy_window(session.plot_window);
    HandleMenuCommand(session, kCommandJointPlot);
    EXPECT_EQ(layer.plotted.size(), 2u);
    EXPECT_EQ(plot_windows(), 1);

    // The next job has no NSCA: the window closes, the item greys.
    session.job_defined = 0;
    run_job_with(false, "2");
    EXPECT_EQ(plot_windows(), 0);
    EXPECT_FALSE(layer.enabled.at(kCommandJointPlot));
    EXPECT_EQ(layer.plotted.size(), 2u);
    HandleMenuCommand(session, kCommandJointPlot);
    EXPECT_EQ(last_message().title, "Joint Plot");

    // One axis is not a plot either.
    session.job_defined = 0;
    run_job_with(true, "1");
    EXPECT_EQ(layer.plotted.size(), 2u);
    EXPECT_FALSE(layer.enabled.at(kCommandJointPlot));
}

}  // namespace
}  // namespace marvist::test

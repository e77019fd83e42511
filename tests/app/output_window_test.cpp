#include "app/output_window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scripted_windowing.h"

namespace marvist::test {
namespace {

TEST_F(UiTest, SaveAsCopiesTheListingOrKeepsTheCurrentOne) {
    write_file(dir.file("job.out"), "listing\n");
    session.job.output_file = fixed("job.out", 80);
    ShowOutput(session);
    OfferSaveAs(session);
    const ui::WindowId prompt = session.save_as_prompt;
    EXPECT_EQ(layer.windows.at(prompt).request.parent, session.output_window);

    layer.file_answers = {dir.file("copy.out")};
    layer.press(prompt, "Save As");
    EXPECT_EQ(layer.file_dialogs.back().initial_name, "job.out");
    EXPECT_EQ(session.job.output_file, fixed("copy.out", 80));
    EXPECT_EQ(read_file(dir.file("copy.out")), "listing\n");
    EXPECT_TRUE(layer.messages.empty());
    EXPECT_EQ(layer.status_text, "Output saved in copy.out");  // confirmed in the status bar

    layer.copy_fails = true;
    layer.file_answers = {dir.file("other.out")};
    layer.press(prompt, "Save As");
    EXPECT_EQ(last_message().text,
              " Output was not saved in a different file,\n Output is still available in  copy.out");
    EXPECT_EQ(session.job.output_file, fixed("copy.out", 80));

    layer.press(prompt, "Save As");  // cancelled
    EXPECT_EQ(last_message().text, " No new file name for output.\n Output is now only available in copy.out");

    // The listing's own name: nothing to copy, nothing lost.
    const std::size_t shown = layer.messages.size();
    layer.file_answers = {dir.file("copy.out")};
    layer.press(prompt, "Save As");
    EXPECT_EQ(layer.messages.size(), shown);
    EXPECT_EQ(read_file(dir.file("copy.out")), "listing\n");

    layer.press(prompt, "No/Close");
    EXPECT_FALSE(layer.window_exists(prompt));
}

TEST_F(UiTest, PrintsSixtyLinesAPageEachAfterItsOwnDialog) {
    // Line 1 is 100 characters long, line 2 holds a code-page-437 rule.
    auto print = [&](int lines, std::deque<bool> answers = {}) {
        std::string text = std::string(95, 'x') + "ABCDE\n\xCD\xCD\n";
        for (int k = 3; k <= lines; ++k) text += "line " + std::to_string(k) + "\n";
        write_file(dir.file("a.out"), text);
        layer.pages.clear();
        layer.file_answers = {dir.file("a.out")};
        layer.print_answers = std::move(answers);
        PrintListing(session, session.main_window);
        std::vector<std::size_t> sizes;
        for (const auto& page : layer.pages) sizes.push_back(page.size());
        return sizes;
    };
    session.job.output_file = fixed("job.out", 80);
    layer.chosen_font = ui::FontSpec{"Courier", 12};
    EXPECT_EQ(print(130), (std::vector<std::size_t>{60, 60, 10}));
    EXPECT_EQ(layer.printed_face, "Courier");
    EXPECT_EQ(layer.file_dialogs.back().initial_name, "job.out");
    EXPECT_EQ(session.job.output_file, fixed("a.out", 80));  // the printed file becomes the listing
    EXPECT_EQ(layer.pages[0][0], std::string(80, 'x'));      // cut at 80
    EXPECT_EQ(layer.pages[0][1], "══" + std::string(78, ' '));
    EXPECT_EQ(print(120), (std::vector<std::size_t>{60, 60, 0}));
    EXPECT_EQ(print(130, {true, false}), (std::vector<std::size_t>{60}));

    layer.chosen_font.reset();  // the font dialog cancelled: nothing is printed
    EXPECT_TRUE(print(130).empty());
    layer.chosen_font = ui::FontSpec{"Courier", 12};

    layer.pages.clear();
    layer.file_answers = {dir.file("none.out")};  // a listing that is not there prints nothing
    PrintListing(session, session.main_window);
    EXPECT_TRUE(layer.pages.empty());
    EXPECT_EQ(layer.messages.size(), 4u);
}

}  // namespace
}  // namespace marvist::test

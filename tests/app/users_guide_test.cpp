// Help > User's Guide: a menu item before the Help items that were there,
// one window of the built-in guide brought to the front when chosen again,
// and a message when the program holds no guide.
#include "app/users_guide.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "app/main_program.h"
#include "scripted_windowing.h"

namespace marvist::test {
namespace {

std::vector<std::string> texts(const std::vector<ui::MenuItem>& items) {
    std::vector<std::string> out;
    for (const ui::MenuItem& item : items) out.push_back(item.separator ? "-" : item.text);
    return out;
}

TEST(UsersGuideMenu, TheGuideComesFirstAndTheOtherHelpItemsStayAsTheyWere) {
    const std::vector<ui::MenuItem> menu = main_menu();
    const auto help = std::find_if(menu.begin(), menu.end(), [](const ui::MenuItem& m) { return m.text == "&Help"; });
    ASSERT_NE(help, menu.end());
    EXPECT_EQ(texts(help->items), (std::vector<std::string>{"&User's Guide", "-", "&About", "Ac&knowledgement",
                                                            "&Error handling", "Windows &Version 2c"}));
    EXPECT_EQ(help->items[0].command, kCommandUsersGuide);
    EXPECT_FALSE(help->items[0].greyed);
    // Every access key of the menu is its own.
    std::vector<char> keys;
    for (const ui::MenuItem& item : help->items) {
        if (const auto amp = item.text.find('&'); amp != std::string::npos) keys.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(item.text[amp + 1]))));
    }
    std::sort(keys.begin(), keys.end());
    EXPECT_EQ(std::adjacent_find(keys.begin(), keys.end()), keys.end());
}

TEST_F(UiTest, TheGuideOpensOnceAndComesToTheFrontWhenAskedAgain) {
    EXPECT_EQ(HandleMenuCommand(session, kCommandUsersGuide), 1);
    ASSERT_EQ(layer.documents.size(), 1u);
    EXPECT_EQ(layer.documents[0].document, "docs/guide.md");
    EXPECT_EQ(layer.documents[0].title, "Marvist User's Guide");
    // A window of its own: the main window may come in front of it.
    EXPECT_EQ(layer.documents[0].owner, ui::kNoWindow);
    const ui::WindowId guide = session.guide_window;
    ASSERT_TRUE(layer.window_exists(guide));

    layer.activate_window(session.main_window);      // the main window comes in front...
    HandleMenuCommand(session, kCommandUsersGuide);  // ...and the guide comes back, not a second one
    EXPECT_EQ(layer.documents.size(), 1u);
    EXPECT_EQ(layer.last_active({guide, session.main_window}), guide);

    layer.destroy_window(guide);  // closed by its close button
    HandleMenuCommand(session, kCommandUsersGuide);
    EXPECT_EQ(layer.documents.size(), 2u);
    EXPECT_TRUE(layer.window_exists(session.guide_window));
    EXPECT_TRUE(std::none_of(layer.messages.begin(), layer.messages.end(),
                             [](const auto& m) { return m.title == "User's Guide"; }));
}

TEST_F(UiTest, AProgramWithoutTheGuideSaysSo) {
    layer.built_in.clear();
    HandleMenuCommand(session, kCommandUsersGuide);
    EXPECT_EQ(session.guide_window, ui::kNoWindow);
    EXPECT_EQ(last_message().title, "User's Guide");
    EXPECT_EQ(last_message().text, "The user's guide is not built into this program.");
}

}  // namespace
}  // namespace marvist::test

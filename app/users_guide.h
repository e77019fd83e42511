// Help > User's Guide: the guide (docs/guide.md, built into the desktop
// program with its pictures) in a window of its own, rendered from its
// Markdown.
#pragma once

#include <string_view>

#include "app/session.h"

namespace marvist {

// The built-in document the command shows, and the title of its window.
inline constexpr std::string_view kUsersGuideDocument = "docs/guide.md";
inline constexpr std::string_view kUsersGuideTitle = "Marvist User's Guide";

// Command 24: opens the guide's window, or brings it to the front when it is
// open; says so in a message box when the program holds no guide.
void ShowUsersGuide(Session& session);

}  // namespace marvist

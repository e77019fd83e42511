// Texts of the program's message boxes, made with a layout.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "app/session.h"
#include "base/layout.h"

namespace marvist {

// The line-feed value that a layout's A descriptor places between the lines
// of a message.
inline constexpr std::string_view kLineFeed = "\n";

// The text of a message box: layout written with values into a buffer, then
// without its trailing blanks.
//   layout: the message's layout; its literals are ASCII.
//   values: the values of its descriptors; texts must be UTF-8.
std::string message_text(std::string_view layout, std::initializer_list<Value> values = {});

// A message box with an OK button owned by the main window.
//   title, text: UTF-8.
void show_message(Session& session, std::string_view title, std::string_view text);

}  // namespace marvist

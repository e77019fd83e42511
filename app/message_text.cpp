#include "app/message_text.h"

#include "base/fixed_text.h"

namespace marvist {

namespace {

// Long enough for the longest message with two 80-character file names.
constexpr std::size_t kMessageLength = 1024;

}  // namespace

std::string message_text(std::string_view layout, std::initializer_list<Value> values) {
    return std::string(trimmed(write_to_buffer(layout, values, kMessageLength)));
}

void show_message(Session& session, std::string_view title, std::string_view text) {
    session.layer.message_box(text, title, ui::MessageStyle::Ok, session.main_window);
}

}  // namespace marvist

// Builders of dialog items, so that a dialog reads as the list of its items.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/windowing.h"

namespace marvist::ui {

inline DialogItem static_text(std::string text, ItemPlace place = ItemPlace::Below) {
    DialogItem item;
    item.kind = ItemKind::StaticText;
    item.text = std::move(text);
    item.place = place;
    return item;
}

// buffer: the field's text, edited in place; length: its characters.
inline DialogItem edit_field(std::string& buffer, int length, ItemPlace place = ItemPlace::Below,
                             bool enabled = true) {
    DialogItem item;
    item.kind = ItemKind::Edit;
    item.buffer = &buffer;
    item.length = length;
    item.place = place;
    item.enabled = enabled;
    return item;
}

// The radio buttons that follow form one group.
inline DialogItem group_box(std::string caption, ItemPlace place = ItemPlace::Below) {
    DialogItem item;
    item.kind = ItemKind::GroupBox;
    item.text = std::move(caption);
    item.place = place;
    return item;
}

// bound: 1 while the button is set, else 0.
inline DialogItem radio_button(std::string caption, int& bound) {
    DialogItem item;
    item.kind = ItemKind::Radio;
    item.text = std::move(caption);
    item.bound = &bound;
    return item;
}

inline DialogItem check_box(std::string caption, int& bound) {
    DialogItem item = radio_button(std::move(caption), bound);
    item.kind = ItemKind::CheckBox;
    return item;
}

inline DialogItem push_button(std::string caption, std::function<void()> routine,
                              ItemPlace place = ItemPlace::Below) {
    DialogItem item;
    item.kind = ItemKind::PushButton;
    item.text = std::move(caption);
    item.routine = std::move(routine);
    item.place = place;
    return item;
}

// OK and Cancel side by side.
inline void add_ok_cancel(std::vector<DialogItem>& items, std::optional<FontSpec> font = std::nullopt) {
    DialogItem ok;
    ok.kind = ItemKind::Ok;
    ok.text = "OK";
    ok.font = font;
    items.push_back(std::move(ok));
    DialogItem cancel;
    cancel.kind = ItemKind::Cancel;
    cancel.text = "Cancel";
    cancel.font = std::move(font);
    cancel.place = ItemPlace::Beside;
    items.push_back(std::move(cancel));
}

}  // namespace marvist::ui

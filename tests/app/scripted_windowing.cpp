#include "scripted_windowing.h"

#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace marvist::test {

ScriptedWindowing::Window* ScriptedWindowing::find(std::string_view title) {
    for (auto& [id, window] : windows) {
        if (window.exists && (window.spec.title == title || window.title == title)) return &window;
    }
    return nullptr;
}

void ScriptedWindowing::press(ui::WindowId dialog, std::string_view button) {
    if (ui::DialogItem* item = item_named(windows.at(dialog).items, button)) {
        item->routine();
        return;
    }
    throw std::logic_error("no such button");
}

std::vector<std::string> ScriptedWindowing::message_titles() const {
    std::vector<std::string> titles;
    for (const Message& m : messages) titles.push_back(m.title);
    return titles;
}

ui::WindowId ScriptedWindowing::create_main_window(const ui::MainWindowSpec& spec) {
    main = spec;
    main_id = next_id_++;
    windows[main_id].title = spec.title;
    return main_id;
}

void ScriptedWindowing::event_loop() {
    for (int command : commands) {
        if (quitted) return;
        if (main.command(command) == 0 && main.confirm_close(main_id)) {
            main_closed = true;
            return;
        }
    }
}

void ScriptedWindowing::quit_program() { quitted = true; }

int ScriptedWindowing::dialog_box(std::vector<ui::DialogItem>& items, std::string_view title, const ui::FontSpec&) {
    dialog_titles.emplace_back(title);
    return answer_dialog ? answer_dialog(items, title) : ui::kDialogCancel;
}

ui::WindowId ScriptedWindowing::modeless_dialog(std::vector<ui::DialogItem> items, std::string_view title,
                                                ui::WindowId owner, double, double) {
    Window& window = windows[next_id_];
    window.items = std::move(items);
    window.title = title;
    window.owner = owner;
    return next_id_++;
}

int ScriptedWindowing::message_box(std::string_view text, std::string_view title, ui::MessageStyle style,
                                   ui::WindowId) {
    messages.push_back(Message{std::string(title), std::string(text), style});
    if (style != ui::MessageStyle::YesNoQuestion) return ui::kButtonOk;
    if (question_answers.empty()) return ui::kButtonYes;
    const int answer = question_answers.front();
    question_answers.pop_front();
    return answer;
}

std::optional<std::string> ScriptedWindowing::next_file(bool save, const ui::FileDialogSpec& spec) {
    file_dialogs.push_back(FileDialog{save, spec});
    if (file_answers.empty()) return std::nullopt;
    std::optional<std::string> answer = file_answers.front();
    file_answers.pop_front();
    return answer;
}

std::optional<std::string> ScriptedWindowing::open_file_dialog(const ui::FileDialogSpec& spec) {
    return next_file(false, spec);
}

std::optional<std::string> ScriptedWindowing::save_file_dialog(const ui::FileDialogSpec& spec) {
    return next_file(true, spec);
}

std::optional<ui::FontSpec> ScriptedWindowing::choose_font(std::string_view prompt) {
    font_prompts.emplace_back(prompt);
    return chosen_font;
}

ui::WindowId ScriptedWindowing::create_scroll_window(const ui::ScrollWindowSpec& spec) {
    windows[next_id_].spec = spec;
    return next_id_++;
}

void ScriptedWindowing::write_text(ui::WindowId window, std::string_view line) {
    windows.at(window).lines.emplace_back(line);
}

bool ScriptedWindowing::window_exists(ui::WindowId window) {
    const auto it = windows.find(window);
    return it != windows.end() && it->second.exists;
}

void ScriptedWindowing::destroy_window(ui::WindowId window) { windows.at(window).exists = false; }

bool ScriptedWindowing::print_page_begin(ui::WindowId, std::string_view) {
    bool go = true;
    if (!print_answers.empty()) {
        go = print_answers.front();
        print_answers.pop_front();
    }
    if (go) pages.emplace_back();
    return go;
}

void ScriptedWindowing::print_line(std::string_view line, const ui::FontSpec& font) {
    pages.back().emplace_back(line);
    page_fonts.push_back(font);
}

bool ScriptedWindowing::copy_file(const std::string& from, const std::string& to, bool replace) {
    if (copy_fails) return false;
    std::error_code ec;
    const auto options = replace ? std::filesystem::copy_options::overwrite_existing
                                 : std::filesystem::copy_options::none;
    return std::filesystem::copy_file(from, to, options, ec) && !ec;
}

ui::DialogItem* item_named(std::vector<ui::DialogItem>& items, std::string_view caption, int n) {
    for (ui::DialogItem& item : items) {
        if (item.text == caption && --n == 0) return &item;
    }
    return nullptr;
}

std::string* field_after(std::vector<ui::DialogItem>& items, std::string_view caption, int n) {
    ui::DialogItem* item = item_named(items, caption, n);
    if (item == nullptr) return nullptr;
    for (auto it = items.begin() + (item - items.data()) + 1; it != items.end(); ++it) {
        if (it->kind == ui::ItemKind::Edit) return it->buffer;
    }
    return nullptr;
}

void set_field(std::vector<ui::DialogItem>& items, std::string_view caption, std::string value) {
    std::string* field = field_after(items, caption);
    if (field == nullptr) throw std::logic_error("no edit field after " + std::string(caption));
    *field = std::move(value);
}

}  // namespace marvist::test

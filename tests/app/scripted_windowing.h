// A windowing layer for tests: file dialogs answered from a queue, modal
// dialogs by a scripted function, message boxes, windows, drawn text and
// printed pages recorded in memory.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/windowing.h"

namespace marvist::test {

class ScriptedWindowing : public ui::Windowing {
public:
    struct Message {
        std::string title, text;
        ui::MessageStyle style = ui::MessageStyle::Ok;
    };
    struct Window {
        ui::ScrollWindowSpec spec;           // scroll windows
        std::vector<ui::DialogItem> items;   // modeless dialogs
        std::string title;
        ui::WindowId owner = ui::kNoWindow;
        std::vector<std::string> lines;      // written with write_text
        bool exists = true;
        int activations = 0, autopaint_starts = 0, autopaint_ends = 0;
    };
    struct FileDialog {
        bool save = false;
        ui::FileDialogSpec spec;
    };
    using Page = std::vector<std::string>;

    // ---- Script --------------------------------------------------------
    std::deque<std::optional<std::string>> file_answers;  // empty queue: cancelled
    // Answers each modal dialog; may edit buffers and bound integers.
    // Unset: every dialog is cancelled.
    std::function<int(std::vector<ui::DialogItem>& items, std::string_view title)> answer_dialog;
    std::deque<int> question_answers;  // Yes/No questions; empty queue: Yes
    std::deque<bool> print_answers;  // empty queue: every print dialog confirmed
    std::optional<ui::FontSpec> chosen_font;
    bool copy_fails = false;
    std::vector<int> commands;  // sent by event_loop, in order

    // ---- Record --------------------------------------------------------
    ui::MainWindowSpec main;
    ui::WindowId main_id = ui::kNoWindow;
    bool main_closed = false, quitted = false;
    std::vector<Message> messages;
    std::vector<FileDialog> file_dialogs;
    std::vector<std::string> dialog_titles;
    std::vector<std::string> drawn;
    std::vector<std::string> font_prompts;
    std::map<ui::WindowId, Window> windows;
    std::vector<Page> pages;
    std::vector<ui::FontSpec> page_fonts;
    bool panes_shown = false;
    int page_setups = 0;

    // The window of the given title that exists, or nullptr.
    Window* find(std::string_view title);
    // Presses a push button of a modeless dialog.
    void press(ui::WindowId dialog, std::string_view button);
    // Message titles in order.
    std::vector<std::string> message_titles() const;

    // ---- The layer -----------------------------------------------------
    ui::WindowId create_main_window(const ui::MainWindowSpec& spec) override;
    void event_loop() override;
    void quit_program() override;
    void show_line_column_panes(bool shown) override { panes_shown = shown; }
    void draw_text(ui::WindowId, std::string_view text, const ui::TextStyle&) override { drawn.emplace_back(text); }
    int dialog_box(std::vector<ui::DialogItem>& items, std::string_view title, const ui::FontSpec& font) override;
    ui::WindowId modeless_dialog(std::vector<ui::DialogItem> items, std::string_view title, ui::WindowId owner,
                                 double left, double top) override;
    int message_box(std::string_view text, std::string_view title, ui::MessageStyle style,
                    ui::WindowId owner) override;
    std::optional<std::string> open_file_dialog(const ui::FileDialogSpec& spec) override;
    std::optional<std::string> save_file_dialog(const ui::FileDialogSpec& spec) override;
    std::optional<ui::FontSpec> choose_font(std::string_view prompt) override;
    ui::WindowId create_scroll_window(const ui::ScrollWindowSpec& spec) override;
    void write_text(ui::WindowId window, std::string_view line) override;
    void start_autopaint(ui::WindowId window) override { ++windows.at(window).autopaint_starts; }
    void end_autopaint(ui::WindowId window) override { ++windows.at(window).autopaint_ends; }
    bool window_exists(ui::WindowId window) override;
    void destroy_window(ui::WindowId window) override;
    void activate_window(ui::WindowId window) override { ++windows.at(window).activations; }
    bool print_page_begin(ui::WindowId owner, std::string_view title) override;
    void print_line(std::string_view line, const ui::FontSpec& font) override;
    void print_page_end() override {}
    void page_setup_dialog() override { ++page_setups; }
    bool copy_file(const std::string& from, const std::string& to, bool replace) override;

private:
    std::optional<std::string> next_file(bool save, const ui::FileDialogSpec& spec);
    ui::WindowId next_id_ = 100;
};

// The item of a dialog whose text is caption (the n-th such, from 1), or the
// edit field that follows that caption; nullptr when there is none.
ui::DialogItem* item_named(std::vector<ui::DialogItem>& items, std::string_view caption, int n = 1);
std::string* field_after(std::vector<ui::DialogItem>& items, std::string_view caption, int n = 1);
// Types value into the edit field after caption; throws when there is none.
void set_field(std::vector<ui::DialogItem>& items, std::string_view caption, std::string value);

}  // namespace marvist::test

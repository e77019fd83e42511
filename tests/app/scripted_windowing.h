// A windowing layer for tests: file dialogs answered from a queue, modal
// dialogs by a scripted function, message boxes, windows and printed pages
// recorded in memory; and a desktop session over it.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "app/main_program.h"
#include "app/session.h"
#include "app/windowing.h"
#include "base/fixed_text.h"
#include "support/test_support.h"

namespace marvist::test {

// The item of a dialog whose text is caption (the n-th such, from 1).
inline ui::DialogItem* item_named(std::vector<ui::DialogItem>& items, std::string_view caption, int n = 1) {
    for (ui::DialogItem& item : items) {
        if (item.text == caption && --n == 0) return &item;
    }
    return nullptr;
}

// The buffer of the edit field that follows caption; throws when there is none.
inline std::string& field_after(std::vector<ui::DialogItem>& items, std::string_view caption) {
    auto it = std::find_if(items.begin(), items.end(), [&](const ui::DialogItem& i) { return i.text == caption; });
    it = std::find_if(it, items.end(), [](const ui::DialogItem& item) { return item.kind == ui::ItemKind::Edit; });
    if (it == items.end()) throw std::logic_error("no edit field after " + std::string(caption));
    return *it->buffer;
}

class ScriptedWindowing : public ui::Windowing {
public:
    struct Message {
        std::string title, text;
    };
    // A window: request.title and request.parent stand for the title and owner
    // of the main window and of modeless dialogs too.
    struct Window {
        ui::ScrollWindowSpec request;
        std::vector<ui::DialogItem> items;  // modeless dialogs
        std::vector<std::string> lines;     // written with write_text
        std::vector<ui::TableSheet> sheets;  // table windows
        bool exists = true;
        int autopaints = 0;  // started and not yet ended
        int activated = 0;   // when it was last made or activated
    };

    // ---- Script --------------------------------------------------------
    std::deque<std::optional<std::string>> file_answers;    // empty queue: cancelled
    std::deque<std::optional<std::string>> folder_answers;  // empty queue: cancelled
    // Answers each modal dialog; may edit buffers and bound integers.
    // Unset: every dialog is cancelled.
    std::function<int(std::vector<ui::DialogItem>& items, std::string_view title)> answer_dialog;
    std::deque<int> question_answers;  // Yes/No questions; empty queue: Yes
    std::deque<bool> print_answers;    // empty queue: every print dialog confirmed
    // Answers each table import dialog. Unset: every one is cancelled.
    std::function<std::optional<ui::TableImportChoice>(const ui::TableImportRequest& request)> answer_import;
    std::optional<ui::FontSpec> chosen_font;
    bool copy_fails = false;
    std::vector<int> commands;  // sent by event_loop, in order

    // ---- Record --------------------------------------------------------
    ui::MainWindowSpec main;
    ui::WindowId main_id = ui::kNoWindow;
    bool main_closed = false, quitted = false, panes_shown = false;
    std::string status_text;
    std::vector<Message> messages;
    std::vector<ui::FileDialogSpec> file_dialogs;
    std::vector<ui::FolderDialogSpec> folder_dialogs;
    int dialogs = 0;  // modal dialogs shown
    std::vector<ui::TableImportRequest> import_dialogs;
    std::vector<std::string> titles;  // of the modal dialogs, in order
    std::map<ui::WindowId, Window> windows;
    std::vector<std::vector<std::string>> pages;
    std::map<int, bool> enabled;               // commands enabled (true) or greyed since the start
    std::vector<BiplotSolution> plotted;       // the solutions of the Joint Plot windows made, in order
    std::vector<ui::DocumentWindowSpec> documents;  // the document windows made, in order
    std::vector<std::string> built_in = {"docs/guide.md"};  // the documents the layer holds
    std::string printed_face;  // of the last line printed

    // The window of the given title that exists, or nullptr.
    Window* find(std::string_view title) {
        for (auto& [id, window] : windows) {
            if (window.exists && window.request.title == title) return &window;
        }
        return nullptr;
    }
    // Presses a push button of a modeless dialog.
    void press(ui::WindowId dialog, std::string_view button) { item_named(windows.at(dialog).items, button)->routine(); }

    // ---- The layer -----------------------------------------------------
    ui::WindowId create_main_window(const ui::MainWindowSpec& request) override {
        main = request;
        windows[main_id = next_id_++].request.title = request.title;
        return main_id;
    }
    void event_loop() override {
        for (int command : commands) {
            if (quitted) return;
            if (main.command(command) == 0 && main.confirm_close(main_id)) {
                main_closed = true;
                return;
            }
        }
    }
    void quit_program() override { quitted = true; }
    void show_line_column_panes(bool shown) override { panes_shown = shown; }
    void show_status_text(std::string_view text) override { status_text = text; }
    void draw_text(ui::WindowId, std::string_view, const ui::TextStyle&) override {}
    // A program that shows a refused dialog again and again to a script that
    // answers it the same way would never end: after kMostDialogs every
    // dialog is cancelled, which a test then sees.
    static constexpr int kMostDialogs = 100;
    int dialog_box(std::vector<ui::DialogItem>& items, std::string_view title, const ui::FontSpec&) override {
        ++dialogs;
        titles.emplace_back(title);
        if (dialogs > kMostDialogs) return ui::kDialogCancel;
        return answer_dialog ? answer_dialog(items, title) : ui::kDialogCancel;
    }
    ui::WindowId modeless_dialog(std::vector<ui::DialogItem> items, std::string_view title, ui::WindowId owner,
                                 double, double) override {
        Window& window = windows[next_id_];
        window.items = std::move(items);
        window.request.title = title;
        window.request.parent = owner;
        return next_id_++;
    }
    int message_box(std::string_view text, std::string_view title, ui::MessageStyle style, ui::WindowId) override {
        messages.push_back(Message{std::string(title), std::string(text)});
        return style == ui::MessageStyle::YesNoQuestion ? pop(question_answers, ui::kButtonYes) : ui::kButtonOk;
    }
    std::optional<std::string> open_file_dialog(const ui::FileDialogSpec& request) override { return next_file(request); }
    std::optional<std::string> save_file_dialog(const ui::FileDialogSpec& request) override { return next_file(request); }
    std::optional<ui::FontSpec> choose_font(std::string_view) override { return chosen_font; }
    std::optional<std::string> choose_folder(const ui::FolderDialogSpec& request) override {
        folder_dialogs.push_back(request);
        return pop<std::optional<std::string>>(folder_answers, std::nullopt);
    }
    ui::WindowId create_scroll_window(const ui::ScrollWindowSpec& request) override {
        windows[next_id_].request = request;
        windows[next_id_].activated = ++activations_;
        return next_id_++;
    }
    void write_text(ui::WindowId window, std::string_view line) override { windows.at(window).lines.emplace_back(line); }
    void start_autopaint(ui::WindowId window) override { ++windows.at(window).autopaints; }
    void end_autopaint(ui::WindowId window) override { --windows.at(window).autopaints; }
    bool window_exists(ui::WindowId window) override { return windows.count(window) && windows[window].exists; }
    void destroy_window(ui::WindowId window) override { windows.at(window).exists = false; }
    // The user enters a window (or the program brings it to the front).
    void activate_window(ui::WindowId window) override { windows.at(window).activated = ++activations_; }
    ui::WindowId last_active(const std::vector<ui::WindowId>& among) override {
        ui::WindowId last = ui::kNoWindow;
        for (ui::WindowId window : among) {
            if (window_exists(window) && (last == ui::kNoWindow || windows[window].activated > windows[last].activated)) {
                last = window;
            }
        }
        return last;
    }
    ui::WindowId create_table_window(const ui::TableWindowSpec& request) override {
        Window& window = windows[next_id_];
        window.request.title = request.title;
        window.request.parent = request.owner;
        window.sheets = request.sheets;
        window.activated = ++activations_;
        return next_id_++;
    }
    ui::WindowId create_document_window(const ui::DocumentWindowSpec& request) override {
        if (std::find(built_in.begin(), built_in.end(), request.document) == built_in.end()) return ui::kNoWindow;
        documents.push_back(request);
        Window& window = windows[next_id_];
        window.request.title = request.title;
        window.request.parent = request.owner;
        window.activated = ++activations_;
        return next_id_++;
    }
    bool print_page_begin(ui::WindowId, std::string_view) override {
        const bool go = pop(print_answers, true);
        if (go) pages.emplace_back();
        return go;
    }
    void print_line(std::string_view line, const ui::FontSpec& font) override {
        pages.back().emplace_back(line);
        printed_face = font.face;
    }
    void print_page_end() override {}
    void page_setup_dialog() override {}
    std::optional<ui::TableImportChoice> table_import_dialog(const ui::TableImportRequest& request) override {
        import_dialogs.push_back(request);
        if (import_dialogs.size() > kMostDialogs || !answer_import) return std::nullopt;
        return answer_import(request);
    }
    void enable_command(int command, bool on) override { enabled[command] = on; }
    ui::WindowId joint_plot_window(const BiplotSolution& solution, ui::WindowId owner) override {
        plotted.push_back(solution);
        windows[next_id_].request.title = "Joint Plot";
        windows[next_id_].request.parent = owner;
        windows[next_id_].activated = ++activations_;
        return next_id_++;
    }
    bool copy_file(const std::string& from, const std::string& to, bool replace) override {
        std::error_code ec;
        const auto how = replace ? std::filesystem::copy_options::overwrite_existing
                                 : std::filesystem::copy_options::none;
        return !copy_fails && std::filesystem::copy_file(from, to, how, ec);
    }

private:
    // The front of queue, taken off; otherwise when it is empty.
    template <class T>
    static T pop(std::deque<T>& queue, T otherwise) {
        if (queue.empty()) return otherwise;
        T front = std::move(queue.front());
        queue.pop_front();
        return front;
    }
    std::optional<std::string> next_file(const ui::FileDialogSpec& request) {
        file_dialogs.push_back(request);
        return pop<std::optional<std::string>>(file_answers, std::nullopt);
    }
    ui::WindowId next_id_ = 100;
    int activations_ = 0;
};

// A desktop session over the scripted layer, working in a fresh folder.
class UiTest : public ::testing::Test, public JobFolder {
protected:
    UiTest() {
        session.main_window = layer.create_main_window(main_window_spec(session));
        session.context.clock = fixed_time;
        session.console = console_;
    }
    ~UiTest() override { std::fclose(console_); }

    // Every modal dialog answered with OK: edit sees it first, then the
    // fields after the captions of typed get their values.
    void answer_forms(std::function<void(std::vector<ui::DialogItem>&)> edit,
                      std::vector<std::pair<std::string, std::string>> typed = {}) {
        layer.answer_dialog = [=](std::vector<ui::DialogItem>& items, std::string_view) {
            if (edit) edit(items);
            for (const auto& [caption, value] : typed) field_after(items, caption) = value;
            return ui::kDialogOk;
        };
    }
    const ScriptedWindowing::Message& last_message() const { return layer.messages.back(); }
    // The working folder, resolved.
    static std::filesystem::path folder() { return std::filesystem::canonical(std::filesystem::current_path()); }

    ScriptedWindowing layer;
    Session session{layer};

private:
    std::FILE* console_ = std::tmpfile();
};

}  // namespace marvist::test

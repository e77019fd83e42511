// The windowing layer on Qt 6 Widgets: the main window, dialogs, message
// boxes, file and font dialogs, scroll windows and printing through which
// the user interface works. A QApplication must exist before the layer.
#pragma once

#include <QElapsedTimer>
#include <QEventLoop>
#include <QPointer>
#include <QWidget>

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/qt/main_window.h"
#include "app/qt/page_printer.h"
#include "app/qt/scroll_window.h"
#include "app/windowing.h"

namespace marvist::qt {

struct QtWindowingOptions {
    // Empty: pages go to the system's printers after a print dialog each.
    // A folder: no print or page set-up dialogs; page k of the run is
    // written to <print_folder>/page-<k>.pdf.
    std::string print_folder;
};

class QtWindowing : public ui::Windowing {
public:
    explicit QtWindowing(QtWindowingOptions options = {});
    ~QtWindowing() override;
    QtWindowing(const QtWindowing&) = delete;
    QtWindowing& operator=(const QtWindowing&) = delete;

    // Main window and event loop.
    ui::WindowId create_main_window(const ui::MainWindowSpec& request) override;
    void event_loop() override;
    void quit_program() override;
    void show_line_column_panes(bool shown) override;
    void show_status_text(std::string_view text) override;
    void draw_text(ui::WindowId window, std::string_view text, const ui::TextStyle& style) override;

    // Dialogs and message boxes.
    int dialog_box(std::vector<ui::DialogItem>& items, std::string_view title, const ui::FontSpec& font) override;
    ui::WindowId modeless_dialog(std::vector<ui::DialogItem> items, std::string_view title, ui::WindowId owner,
                                 double left, double top) override;
    int message_box(std::string_view text, std::string_view title, ui::MessageStyle style,
                    ui::WindowId owner = ui::kNoWindow) override;
    std::optional<std::string> open_file_dialog(const ui::FileDialogSpec& request) override;
    std::optional<std::string> save_file_dialog(const ui::FileDialogSpec& request) override;
    std::optional<ui::FontSpec> choose_font(std::string_view prompt) override;
    std::optional<std::string> choose_folder(const ui::FolderDialogSpec& request) override;

    // Scroll windows.
    ui::WindowId create_scroll_window(const ui::ScrollWindowSpec& request) override;
    void write_text(ui::WindowId window, std::string_view line) override;
    void start_autopaint(ui::WindowId window) override;
    void end_autopaint(ui::WindowId window) override;
    bool window_exists(ui::WindowId window) override;
    void destroy_window(ui::WindowId window) override;
    void activate_window(ui::WindowId window) override;
    ui::WindowId last_active(const std::vector<ui::WindowId>& among) override;
    ui::WindowId create_table_window(const ui::TableWindowSpec& request) override;
    ui::WindowId create_document_window(const ui::DocumentWindowSpec& request) override;
    void enable_command(int command, bool enabled) override;
    ui::WindowId joint_plot_window(const BiplotSolution& solution, ui::WindowId owner) override;

    // Printing.
    bool print_page_begin(ui::WindowId owner, std::string_view title) override;
    void print_line(std::string_view line, const ui::FontSpec& font) override;
    void print_page_end() override;
    void page_setup_dialog() override;

    std::optional<ui::TableImportChoice> table_import_dialog(const ui::TableImportRequest& request) override;
    bool copy_file(const std::string& from, const std::string& to, bool replace) override;

    // The widget of a window or modeless dialog; nullptr when there is none.
    QWidget* widget(ui::WindowId window) const;
    MainWindow* main_window() const { return main_; }
    // Pages printed so far.
    int pages_printed() const { return printer_.pages_printed(); }

private:
    ui::WindowId add_window(QWidget* widget);
    QWidget* owner_widget(ui::WindowId owner) const;
    ScrollWindow* scroll_window(ui::WindowId window) const;
    bool ask_close(ui::WindowId window);
    void main_window_closed();
    void close_all_but_main();
    void follow_cursor(ScrollWindow* window);
    // A window showing a file has gone: the panes follow the last active of
    // those left, or are hidden when none is left.
    void file_window_gone();
    // The main window's menu bar and toolbar, in screen coordinates.
    QRect main_bars() const;
    // The decorations the window manager puts around windows (those of the
    // main window once it is shown).
    QMargins expected_margins() const;
    void let_windows_paint();

    QtWindowingOptions options_;
    std::map<ui::WindowId, QPointer<QWidget>> windows_;
    ui::WindowId next_id_ = 1;
    QPointer<MainWindow> main_;
    ui::WindowId main_id_ = ui::kNoWindow;
    std::function<bool(ui::WindowId)> confirm_close_;
    QPointer<ScrollWindow> followed_;  // the file window whose cursor the status bar shows
    QEventLoop* loop_ = nullptr;
    bool main_closed_ = false;
    bool quitting_ = false;
    bool closing_down_ = false;
    PagePrinter printer_;
    QElapsedTimer since_paint_;
};

}  // namespace marvist::qt

// The main window: menu bar with status-bar hints, toolbar, status-bar
// panes, and a client area drawn by the program's paint routine.
#pragma once

#include <QIcon>
#include <QLabel>
#include <QMainWindow>
#include <QPainter>
#include <QWidget>

#include <functional>
#include <map>
#include <string_view>
#include <vector>

#include "app/windowing.h"

namespace marvist::qt {

// The program's icon, drawn rather than loaded so the program needs no
// resource files.
QIcon application_icon();
// The picture of a toolbar button: 1 open, 2 close, 3 print; other numbers
// get a plain numbered tile.
QIcon toolbar_picture(int picture);

// The client area. While it is painted, the paint routine draws lines of
// text into it with draw_text; each line starts below the previous one
// unless its style gives a vertical position (a fraction of the visible
// height). It grows to hold the text drawn, so that a scroll area around it
// scrolls when the window is small.
class ClientArea : public QWidget {
public:
    ClientArea(std::function<void()> paint, const ui::Rgb& background, QWidget* parent);
    // Draws one line, word-wrapped between the margins (in pixels); ignored
    // outside painting.
    void draw_text(std::string_view text, const ui::TextStyle& style);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int reference_height() const;

    std::function<void()> paint_;
    QPainter* painter_ = nullptr;
    int next_top_ = 0;
};

// The panes of the status bar, side by side with widths in proportion to
// their fractions. Date and time follow the clock; NUM and CAPS are greyed
// while their key is off or its state unknown; Line and Column start hidden.
class StatusPanes : public QWidget {
public:
    StatusPanes(const std::vector<ui::StatusPane>& panes, QWidget* parent);
    void refresh_clock_and_keys();
    void show_line_column(bool shown);
    void set_line_column(int line, int column);
    // The text of the Text pane.
    void set_text(const QString& text);
    // The label of the first pane of a kind, or nullptr.
    QLabel* pane(ui::PaneKind kind) const;

private:
    struct Pane {
        ui::PaneKind kind;
        QLabel* label;
    };
    std::vector<Pane> panes_;
    bool line_column_shown_ = false;
};

class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    // on_closed: called once the window has agreed to close.
    MainWindow(ui::MainWindowSpec request, ui::WindowId id, std::function<void()> on_closed);

    ui::WindowId id() const { return id_; }
    ClientArea* client_area() const { return client_; }
    StatusPanes* status_panes() const { return panes_; }
    // Runs a menu or toolbar command: the program's routine first; Exit left
    // to the layer closes the window (which asks first).
    void run_command(int command);
    // The next close does not ask (the program is being ended).
    void close_without_asking() { ask_before_closing_ = false; }
    // Greys or enables the menu items and toolbar buttons of a command.
    void enable_command(int command, bool enabled);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void add_menu_items(QMenu* menu, const std::vector<ui::MenuItem>& items);
    // An action that sends command when triggered.
    void bind(QAction* action, int command);

    ui::MainWindowSpec spec_;
    ui::WindowId id_;
    std::function<void()> on_closed_;
    ClientArea* client_ = nullptr;
    StatusPanes* panes_ = nullptr;
    bool ask_before_closing_ = true;
    std::multimap<int, QAction*> actions_;  // by command
};

}  // namespace marvist::qt

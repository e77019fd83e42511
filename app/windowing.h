// The windowing layer: the window, menu, dialog, message-box, file-dialog,
// scroll-window, font and printing operations on which the user interface
// stands. The desktop program implements it on Qt 6 (app/qt/); the tests
// implement it with a scripted layer that answers dialogs and records what
// is shown.
//
// Texts crossing this interface are UTF-8. File names are passed as they
// stand (bytes of the file system). Lines written to report windows come as
// UTF-8 too: the callers convert code-page-437 text before writing it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "biplot/biplot_input.h"
#include "import/table_options.h"

namespace marvist::ui {

// A window or modeless dialog made by the layer; 0 is no window.
using WindowId = int;
inline constexpr WindowId kNoWindow = 0;

struct Rgb {
    int red = 0, green = 0, blue = 0;
};

// A font: face name (empty: the layer's default), size in points, style.
struct FontSpec {
    std::string face;
    int points = 9;
    bool italic = false;
    bool underline = false;
    bool strike_out = false;
    bool bold = false;
};

// Position and size as fractions of the screen. They place a window's outer
// frame (title bar and borders included), so that a window placed at a
// corner or an edge has its title bar and close button on the screen.
struct Placement {
    double left = 0.0, top = 0.0, width = 0.5, height = 0.5;
};

// ---- Main window --------------------------------------------------------

// One menu item: a submenu (items not empty), a command, or a separator.
struct MenuItem {
    std::string text;  // '&' before the access key
    std::string hint;  // shown in the status bar while the item is highlighted
    int command = 0;
    bool separator = false;
    bool greyed = false;
    std::vector<MenuItem> items;
};

struct ToolbarItem {
    int command = 0;
    int picture = 0;  // the layer's picture number
    std::string tooltip;
};

// Status-bar panes, in order.
enum class PaneKind { Hidden, Date, Time, NumLock, CapsLock, Line, Column, Text };
struct StatusPane {
    PaneKind kind = PaneKind::Hidden;
    double width = 0.1;  // fraction of the bar
    std::string text;
};

struct MainWindowSpec {
    std::string title;
    Placement placement;
    FontSpec font;
    Rgb background;
    std::vector<MenuItem> menu;
    std::vector<ToolbarItem> toolbar;
    std::vector<StatusPane> panes;
    // Handles a menu or toolbar command; returns 0 to leave it to the layer
    // (only Exit, 257: the layer then asks the main window to close).
    std::function<int(int command)> command;
    // Draws the client area (called whenever it is painted).
    std::function<void(WindowId window)> paint;
    // Asked before a window closes; returns true to let it close.
    std::function<bool(WindowId window)> confirm_close;
};

// ---- Dialogs ------------------------------------------------------------

enum class ItemKind { StaticText, Edit, GroupBox, Radio, CheckBox, Ok, Cancel, PushButton };
// Where an item stands relative to the previous one.
enum class ItemPlace { Below, NewColumn, Beside };

// One item of a dialog. Edit fields edit *buffer (at most `length`
// characters); radio buttons and check boxes are bound to *bound (0 or 1):
// radio buttons that follow one group box form one group. When a modal
// dialog closes, with OK or otherwise, buffers and bound integers hold the
// user's values (a cancelled job form still reports the title as typed);
// the buffer of an edit field is blank-padded to its length. Tab moves
// through the items in their order. A dialog is at least as wide as its
// title, so the title shows in full.
struct DialogItem {
    ItemKind kind = ItemKind::StaticText;
    std::string text;  // lines separated by line feeds for a static text
    bool enabled = true;
    std::optional<FontSpec> font;
    ItemPlace place = ItemPlace::Below;
    std::string* buffer = nullptr;  // Edit
    int length = 0;                 // Edit; a static text: as wide as an edit field of this length
    int* bound = nullptr;           // Radio, CheckBox
    std::function<void()> routine;  // PushButton
    bool wide = false;              // a static text drawn across the dialog
    // Enabled while the radio button or check box bound to this integer is
    // set, following it as the user changes it (nullptr: `enabled` holds).
    const int* enabled_while = nullptr;
    bool preselected = false;  // an edit field that has the focus with its text selected
};

inline constexpr int kDialogOk = 1;
inline constexpr int kDialogCancel = 2;

// ---- Message boxes and file dialogs ---------------------------------------

enum class MessageStyle { Ok, YesNoQuestion };
inline constexpr int kButtonOk = 1;
inline constexpr int kButtonYes = 6;
inline constexpr int kButtonNo = 7;

struct FileFilter {
    std::string description;  // "Set-Up files (*.set)"
    std::string pattern;      // "*.set"
};

struct FileDialogSpec {
    std::string title;                // empty: the layer's default
    std::vector<FileFilter> filters;  // empty: all files
    std::string default_extension;    // without the dot
    std::string initial_name;
    WindowId owner = kNoWindow;
};

// ---- Scroll windows ---------------------------------------------------------

struct ScrollWindowSpec {
    std::string title;
    Placement placement;
    std::string file;  // a file to show; empty: a window that collects written lines
    Rgb text_colour;
    Rgb background{255, 255, 255};
    FontSpec font;
    // The owner: the window stays in front of it (kNoWindow: none).
    WindowId parent = kNoWindow;
    // Moved down, where its placement would cover them, to stand below the
    // main window's menu bar and toolbar, which stay within reach.
    bool below_main_bars = false;
};

// ---- Table windows ------------------------------------------------------------

// A block of cells of a sheet, numbered from 0: rows first_row ... last_row,
// columns first_column ... last_column.
struct CellBlock {
    std::int64_t first_row = 0, last_row = -1;
    int first_column = 0, last_column = -1;
};

// One tab of a table window: column headings over rows of text, asked for as
// they come into view.
struct TableSheet {
    std::string title;
    std::vector<std::string> headings;
    std::vector<bool> right_aligned;  // per column: numbers stand right-aligned
    std::int64_t rows = 0;
    std::function<std::string(std::int64_t row, int column)> cell;
    // The text the clipboard gets when a block of cells is copied.
    std::function<std::string(const CellBlock& block)> copy;
};

struct TableWindowSpec {
    std::string title;
    Placement placement;
    std::vector<TableSheet> sheets;
    WindowId owner = kNoWindow;  // the window stays in front of it (kNoWindow: none)
};

struct FolderDialogSpec {
    std::string title;
    std::string initial_folder;  // empty: the working folder
    WindowId owner = kNoWindow;
};

// A line of text drawn into a window (the opening screen), word-wrapped
// between the margins.
struct TextStyle {
    FontSpec font;
    Rgb colour;
    std::optional<double> top;  // fraction of the window's height; none: below the previous line
    int left_margin = 10;
    int right_margin = 10;
};

// ---- Document windows ----------------------------------------------------------

// A document of the program's own, built into it and named by its path in
// the source tree ("docs/guide.md"): Markdown text, shown formatted, with the
// images it names by paths relative to its own folder, which are built in
// beside it.
struct DocumentWindowSpec {
    std::string title;
    std::string document;
    Placement placement;
    WindowId owner = kNoWindow;  // the window stays in front of it (kNoWindow: none)
};

// ---- Table import dialog ------------------------------------------------------

// What the user chooses for a CSV table: how it is read and the job name.
struct TableImportChoice {
    TableReadOptions read;  // shape and delimiter unset: detected
    std::string job_name;
};

// What the dialog shows for a choice: the first rows as they will be read
// and what was detected.
struct TableImportView {
    std::vector<std::vector<std::string>> rows;  // the header first; fields as read (quotes undone)
    std::string delimiter;                       // "semicolon (detected)", or why none
    std::string shape;                           // "wide (detected)", or why none
    std::string header;                          // the header's fields, and a byte-order mark and CRLF if any
    std::string problem;                         // bad input within the rows shown: line, field
                                                 // and what was expected; empty when none
    std::vector<std::string> columns;            // the header's names, to choose from
    bool columns_wanted = false;                 // row and column columns apply (not wide)
    bool count_wanted = false;                   // the count column applies (long, or not yet known)
};

struct TableImportRequest {
    std::string title;
    std::string file;  // the CSV file, as chosen
    TableImportChoice initial;
    // The view for a choice; called when the dialog opens and whenever a
    // choice changes.
    std::function<TableImportView(const TableImportChoice&)> view;
    WindowId owner = kNoWindow;
};

// ---- The layer ----------------------------------------------------------------

class Windowing {
public:
    virtual ~Windowing() = default;

    // Main window and event loop. event_loop returns when the main window
    // has closed.
    virtual WindowId create_main_window(const MainWindowSpec& request) = 0;
    virtual void event_loop() = 0;
    // Ends the program at once (after a stop of the printer plots): every
    // window closes without asking and event_loop returns.
    virtual void quit_program() = 0;
    // Shows or hides the line and column panes of the status bar. They
    // follow the window showing a file that was last active; the layer hides
    // them itself when the last window showing a file closes.
    virtual void show_line_column_panes(bool shown) = 0;
    // Shows text in the status bar's text pane (a confirmation).
    virtual void show_status_text(std::string_view text) = 0;
    // Draws one line of the opening text (called from the paint routine).
    virtual void draw_text(WindowId window, std::string_view text, const TextStyle& style) = 0;

    // Modal dialog: kDialogOk when closed with OK, another value otherwise.
    virtual int dialog_box(std::vector<DialogItem>& items, std::string_view title, const FontSpec& font) = 0;
    // Modeless dialog owned by owner at the given position; its push buttons
    // call their routines.
    virtual WindowId modeless_dialog(std::vector<DialogItem> items, std::string_view title, WindowId owner,
                                     double left, double top) = 0;

    // Returns the button pressed (kButtonOk, kButtonYes, kButtonNo).
    virtual int message_box(std::string_view text, std::string_view title, MessageStyle style,
                            WindowId owner = kNoWindow) = 0;

    // The chosen path, or nothing when the dialog was cancelled.
    virtual std::optional<std::string> open_file_dialog(const FileDialogSpec& request) = 0;
    virtual std::optional<std::string> save_file_dialog(const FileDialogSpec& request) = 0;
    // The chosen font, or nothing when cancelled.
    virtual std::optional<FontSpec> choose_font(std::string_view prompt) = 0;
    // The chosen folder (file-system bytes), or nothing when cancelled.
    virtual std::optional<std::string> choose_folder(const FolderDialogSpec& request) = 0;

    // Greys or enables every menu item and toolbar button of a command.
    virtual void enable_command(int command, bool enabled) = 0;
    // The "Joint Plot" window of an NSCA solution (two axes or more), owned
    // by owner; the user closes it when done.
    virtual WindowId joint_plot_window(const BiplotSolution& solution, WindowId owner) = 0;

    // Scroll windows: a file shown, or lines collected with write_text.
    virtual WindowId create_scroll_window(const ScrollWindowSpec& request) = 0;
    virtual void write_text(WindowId window, std::string_view line) = 0;
    virtual void start_autopaint(WindowId window) = 0;
    virtual void end_autopaint(WindowId window) = 0;
    virtual bool window_exists(WindowId window) = 0;
    virtual void destroy_window(WindowId window) = 0;
    virtual void activate_window(WindowId window) = 0;
    // Of the given windows, the existing one that was active last (made or
    // brought to the front, or entered by the user); kNoWindow when none of
    // them exists.
    virtual WindowId last_active(const std::vector<WindowId>& windows) = 0;
    // A window of tables, one tab per sheet, whose cells can be selected and
    // copied (the sheet's copy routine makes the clipboard's text). It is
    // closed with destroy_window like the others.
    virtual WindowId create_table_window(const TableWindowSpec& request) = 0;
    // A window showing a built-in document; kNoWindow when the program holds
    // no document of that name. Closed with destroy_window like the others.
    virtual WindowId create_document_window(const DocumentWindowSpec& request) = 0;

    // Printing, page by page: print_page_begin shows a print dialog and
    // returns false when it is cancelled; the lines printed until
    // print_page_end make up that page.
    virtual bool print_page_begin(WindowId owner, std::string_view title) = 0;
    virtual void print_line(std::string_view line, const FontSpec& font) = 0;
    virtual void print_page_end() = 0;
    virtual void page_setup_dialog() = 0;

    // The table import dialog; the choice made, or nothing when cancelled.
    virtual std::optional<TableImportChoice> table_import_dialog(const TableImportRequest& request) = 0;

    // Copies a file, replacing a file of the new name when replace is set;
    // false on failure.
    virtual bool copy_file(const std::string& from, const std::string& to, bool replace) = 0;
};

}  // namespace marvist::ui

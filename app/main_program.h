// The desktop program: main window, menus, toolbar, status bar, opening
// screen and the dispatch of menu commands.
#pragma once

#include <vector>

#include "app/session.h"
#include "app/windowing.h"

namespace marvist {

// Menu and toolbar command numbers.
inline constexpr int kCommandOpen = 1;
inline constexpr int kCommandClose = 2;
inline constexpr int kCommandEnterLabels = 3;
inline constexpr int kCommandEnterData = 4;
inline constexpr int kCommandPrint = 6;
inline constexpr int kCommandPageSetup = 7;
inline constexpr int kCommandAbout = 20;
inline constexpr int kCommandAcknowledgement = 21;
inline constexpr int kCommandErrorHandling = 22;
inline constexpr int kCommandVersion = 23;
inline constexpr int kCommandUsersGuide = 24;
inline constexpr int kCommandNewJob = 30;
inline constexpr int kCommandOldJob = 31;
inline constexpr int kCommandSameJob = 32;
inline constexpr int kCommandDataFile = 33;
inline constexpr int kCommandLabelFile = 34;
inline constexpr int kCommandImportTable = 35;
inline constexpr int kCommandJointPlot = 40;
inline constexpr int kCommandShowResults = 41;
inline constexpr int kCommandExportResults = 42;
inline constexpr int kCommandExit = 257;

// Picture numbers of the toolbar buttons (the layer draws them).
inline constexpr int kPictureOpen = 1;
inline constexpr int kPictureClose = 2;
inline constexpr int kPicturePrint = 3;

// Runs the program: clears the job state, creates the main window and runs
// the event loop until the main window has closed.
//   layer: the windowing layer the program stands on.
void MainProgram(ui::Windowing& layer);

// The menu bar, the toolbar and the status-bar panes of the main window.
// The Line and Column panes start hidden; show_line_column_panes shows them
// while a file or output window is open.
std::vector<ui::MenuItem> main_menu();
std::vector<ui::ToolbarItem> main_toolbar();
std::vector<ui::StatusPane> main_status_panes();

// The main window as MainProgram creates it, its routines bound to session.
ui::MainWindowSpec main_window_spec(Session& session);

// One menu or toolbar command. Returns 1 when handled, 0 for Exit (257),
// which the layer then turns into a request to close the main window.
int HandleMenuCommand(Session& session, int command);

// Draws the opening text into the main window's client area.
void PaintOpeningScreen(Session& session, ui::WindowId window);

// Asked before a window closes: the main window asks "Do you really want to
// quit?"; true lets the window close.
bool ConfirmQuit(Session& session, ui::WindowId window);

}  // namespace marvist

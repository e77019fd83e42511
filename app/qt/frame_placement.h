// Placing top-level windows by their outer frame. Qt places a window's
// client area when given a rectangle; the window manager then adds its title
// bar and borders outside it, so a window placed at the top of the screen
// would have its title bar and close button above the screen. Here the
// frame is placed, and placed again once the window manager has told the
// size of its decorations.
#pragma once

#include <QMargins>
#include <QRect>
#include <QWidget>

#include <optional>

namespace marvist::qt {

// The frame of a window placed at frame, moved down where it would cover
// keep_clear (the main window's menu bar and toolbar) so that its top stands
// just below it, and kept within screen (shortened if need be).
QRect frame_clear_of(QRect frame, const std::optional<QRect>& keep_clear, const QRect& screen);

// Places window so that its outer frame fills frame: now with the
// decorations guessed from `guess`, and again whenever the window manager
// reports other decorations while the window is first shown. A move or
// resize by the user afterwards is left alone.
//   window: a top-level widget, shown or not yet.
//   frame:  the frame in screen coordinates.
//   guess:  the decorations around the client area expected.
void place_frame(QWidget* window, const QRect& frame, const QMargins& guess);

// The decorations the window manager put around a shown top-level window
// (zero before it is shown, or on platforms without decorations).
QMargins frame_margins(const QWidget* window);

}  // namespace marvist::qt

// The viewers of File > Open and the status bar's line and column panes that
// go with the windows showing files (the viewers and the output window).
#pragma once

#include "app/session.h"

namespace marvist {

// Command 1: asks for a font and a file and shows the file in a viewer of
// its own, owned by the main window; the line and column panes appear.
// Earlier viewers stay open.
void open_file_window(Session& session);

// Command 2: closes the viewer or output window that was active last; the
// line and column panes are hidden when no window showing a file is left.
void close_file_window(Session& session);

// Shows the line and column panes while a viewer or the output window is
// open, hides them otherwise. Viewers closed by the user are forgotten.
void update_line_column_panes(Session& session);

}  // namespace marvist

// The listing after a job: shown in the output window, saved under another
// name from the Save As prompt, printed page by page.
#pragma once

#include "app/session.h"
#include "app/windowing.h"

namespace marvist {

inline constexpr int kLinesPerPage = 60;
inline constexpr int kMaxPrintedPages = 1000;
inline constexpr std::size_t kPrintedLineLength = 80;

// Shows the listing session.job.output_file in the output window (made when
// none exists; nothing is shown when the listing cannot be opened), shows the
// line and column panes and brings the window to the front.
void ShowOutput(Session& session);

// Opens the Save As prompt ("Save As" and "No/Close") over the output window.
void OfferSaveAs(Session& session);

// The prompt's "Save As": copies the listing to a file the user names, which
// then becomes output_file (the status bar confirms it); a cancelled dialog
// or a failed copy keeps the current listing and says so.
void SaveOutputAs(Session& session);

// The prompt's "No/Close": closes the prompt.
void CloseSaveAsPrompt(Session& session);

// The Print command: asks for the listing (output_file proposed; the choice
// becomes output_file) and prints it, 60 lines of at most 80 characters a
// page, each page after its own print dialog; a cancelled font choice or
// print dialog ends the printing.
//   window: the window that owns the print dialogs.
void PrintListing(Session& session, ui::WindowId window);

}  // namespace marvist

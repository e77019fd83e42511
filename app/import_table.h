// File > Import Table...: a table of counts in a CSV file made into a job
// (import/import_job.h), whose form then opens filled in.
#pragma once

#include <string>

#include "app/session.h"
#include "app/windowing.h"

namespace marvist {

// Rows after the header that the import dialog shows.
inline constexpr std::size_t kImportPreviewRows = 20;

// Asks for a CSV file, then for how to read it (the import dialog, with a
// preview); writes the job files beside it (asking before it replaces job
// files of that name) and opens the job form with the imported job, as
// Continue Same Job does; OK there runs it. The CSV file's folder becomes
// the working folder. A table that cannot be read is reported in a message
// box naming the line and field, and the dialog opens again.
void ImportTable(Session& session);

// What the import dialog shows for file under choice: the first rows as the
// import reads them, the delimiter and shape (given or detected, or why
// not), the header, and which column choices apply.
ui::TableImportView table_import_view(const std::string& file, const ui::TableImportChoice& choice);

}  // namespace marvist

// On-screen entry of a table of counts or of category labels, written to a
// data file or a label file in the forms a job reads.
#pragma once

#include "app/session.h"

namespace marvist {

// Within each list of label fields, every 14th field starts a new column of
// the dialog.
inline constexpr int kLabelFieldsPerColumn = 14;

// Asks for the table size, then for the row and column labels, and writes
// them to a label file the user names (the first 6 characters of each, with
// "(13A6)"). Sets labels_selected to 1 when the file has been written, to 0
// otherwise; the size becomes n_rows and n_cols of the job record.
void EnterLabels(Session& session);

// Asks for the table size, then for the counts, and writes them to a data
// file the user names, one table row a line in free form. Sets
// data_selected to 1 and job_defined to 0 when the file has been written;
// data_selected is 0 otherwise. The size becomes n_rows and n_cols.
void EnterData(Session& session);

}  // namespace marvist

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

// Asks for the table size, then for the counts in a grid typed row by row
// (headed by the row and column numbers, and by the labels of the label
// file when one is selected), and writes them to a data file the user
// names, one table row a line in free form. A cell that is not empty and not
// a whole number of digits is refused with a message naming its row and
// column, and the grid opens again as typed; nothing is written until every
// cell holds a count. Sets data_selected to 1 and job_defined to 0 when the
// file has been written; data_selected is 0 otherwise. The size becomes
// n_rows and n_cols. A size field holding more than digits and blanks is
// refused like a number field of the job form.
void EnterData(Session& session);

}  // namespace marvist

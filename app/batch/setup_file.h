// Set-up files (.set): the parameters of one job as nine or ten text lines,
// so that a job can be run again later.
//
//   line 1   title (70), from column 1           read "(A)": the first 70
//                                                characters of the line
//   line 2   n_rows_text (10), ' ', row_variable   free form: two values; the
//   line 3   n_cols_text (10), ' ', col_variable   name ends at a blank or comma
//   line 4   has_labels                          free form: one integer
//   line 5   job_name, trimmed, from column 1    read "(A)" into 80 characters
//   line 6   data_file, trimmed, from column 1   read "(A)"
//   line 7   label_file, likewise (only when has_labels is positive)
//   next     "data_format"                       free form: one quoted value
//   next     dependence do_nsca do_homogenise do_symmetry   free form
//   last     n_axes_text (10) n_supp_text (10),  read "(A,A)": columns 1-10
//            from column 1                       and 11-20
//
// Free-form lines begin with one blank; their values are those of
// app/setup_values.h. Files of earlier versions began every line with a
// blank: they read as they always did (the title and the names with a
// leading blank, the last line's fields shifted by one column), and the form
// carries those blanks along, so such a job keeps its meaning when it is
// saved again. Leading blanks that reading leaves on names and numbers are
// removed by the job form's read-back (app/job_form.h). The file dialogs and
// message boxes around these operations belong to the desktop program.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "analysis/job_record.h"
#include "base/layout.h"

namespace marvist {

// Outcome of reading or writing a set-up file.
struct SetupFileStatus {
    bool ok = true;
    std::string message;  // on failure: names the file and says what is wrong
    // After a read: one line for each number field that holds more than
    // digits and blanks, naming the file (read_setup_file), the line, the
    // field, what it holds and the number it is read as.
    std::vector<std::string> warnings;
};

// The lines of the set-up file of a job, written in free form to out.
//   out: destination of the records (code-page-437 bytes).
//   job: the fields as the user entered them.
void write_setup_records(RecordSink& out, const JobRecord& job);

// Reads the lines of a set-up file into job. Only title, n_rows_text,
// row_variable, n_cols_text, col_variable, has_labels, job_name, data_file,
// label_file (when has_labels is positive), data_format, dependence, do_nsca,
// do_homogenise, do_symmetry, n_axes_text and n_supp_text are set.
// A source that ends early, or a line whose values cannot be read, is a
// failure whose message names the line and what it should hold; job is then
// left unchanged (reading goes into a copy).
//   in:  the records of the file, from its first line.
//   job: the record to fill.
SetupFileStatus read_setup_records(RecordSource& in, JobRecord& job);

// Writes the set-up file of job to file_name (created, or overwritten from
// its start). Trailing blanks of file_name do not belong to the name.
SetupFileStatus write_setup_file(std::string_view file_name, const JobRecord& job);

// Reads the set-up file file_name into job; on any failure (no such file, an
// empty, short or garbled file) job is unchanged and the message names the
// file and the problem.
SetupFileStatus read_setup_file(std::string_view file_name, JobRecord& job);

}  // namespace marvist

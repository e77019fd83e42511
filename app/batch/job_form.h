// The job form's read-back rules: how the texts typed into the form become
// the job record that the driver runs (numbers, trimmed names, file names).
// Shared by the desktop dialog and the batch runner.
#pragma once

#include <string>
#include <string_view>

#include "analysis/job_record.h"

namespace marvist {

// The number fields by the captions the form shows them under.
inline constexpr std::string_view kRowsField = "Number of Rows";
inline constexpr std::string_view kColsField = "Number of Columns";
inline constexpr std::string_view kAxesField = "No. of Axes in NSCA";
inline constexpr std::string_view kSuppField = "No. of Supplementary Predictors";

// True when text holds nothing but digits and blanks (a blank text too): the
// texts that the digit rule reads as what they show.
bool holds_digits_and_blanks_only(std::string_view text);

// The number held by a number field, by the form's digit rule: the text
// without its trailing blanks is taken from the right; the character at
// position k from the right adds (its code - the code of '0') * 10^(k-1), a
// blank adds nothing but keeps its place. No other check is made, so " 12"
// is 12, "1 2" is 102 and "-1" is -29.
//   text: the field as typed; only its first 10 characters count.
// Characters are taken as unsigned bytes and summed in 64 bits; the result is
// clamped into the 32-bit range, so no text can overflow.
int read_number_field(std::string_view text);

// Failure of the read-back: what the caller shows to the user.
struct FormError {
    bool failed = false;
    std::string title;    // of the message box: "Job Name Not Accepted", ...
    std::string message;
};

// Reads the form back into the job record, as OK does. On entry the record's
// text fields hold the texts as typed; on return:
//   title, row_variable, col_variable   cut or padded to 70, 12, 12;
//   n_rows_text ... n_supp_text         cut or padded to 10, with n_rows,
//                                       n_cols, n_axes, n_supp read from them;
//   job_name                            without leading and trailing blanks;
//   output_file, setup_file             the job name + ".out" / ".set";
//   data_file, label_file, data_format  without leading blanks; an empty
//                                       data_format becomes "*" (free format).
// A job name that is empty (it would name the hidden files ".out" and
// ".set") or too long to take its extension within the 80-character
// file-name field is refused: the record is left unchanged and the error
// says why.
//   job: the job record to convert in place.
FormError read_back_job_form(JobRecord& job);

// The checks the job form makes before OK reads it back, beyond those of
// read_back_job_form (set-up files are not held to them): each number field
// holds only digits and blanks, and a job with labels names its label file.
// The first failure found, naming the field.
//   job:        the texts as typed.
//   has_labels: the state of the form's Labels "Yes".
FormError check_form_entries(const JobRecord& job, bool has_labels);

}  // namespace marvist


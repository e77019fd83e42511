// The full names of a job's categories, kept beside its label file when the
// labels were made from longer names (an imported table).
//
// File: the label file's name with the extension ".names" (mobility.lab ->
// mobility.names). UTF-8 text, lines ended by LF:
//   # ...                      comment lines, skipped (also empty lines)
//   row<TAB>LABEL<TAB>NAME     one line per row category, in table order
//   col<TAB>LABEL<TAB>NAME     one line per column category, after the rows
// LABEL is the six-character label as the label file holds it (converted to
// UTF-8), NAME the full name. In both a backslash, tab, line feed and
// carriage return are written as \\, \t, \n and \r.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/job_results.h"

namespace marvist {

struct NamedCategory {
    std::string label;  // six code-page-437 characters, as in the label file
    std::string name;   // the full name, UTF-8
};

struct FullNames {
    std::vector<NamedCategory> rows;
    std::vector<NamedCategory> cols;
};

// The full-names file of label_file (the extension replaced by ".names").
std::string category_names_path(std::string_view label_file);

// The text of a full-names file; about_file names the label file in the
// opening comment.
std::string format_category_names(const FullNames& names, std::string_view about_file);

struct FullNamesRead {
    bool ok = false;
    FullNames names;
    std::string error;  // when not ok: the line and what was expected
};

// Reads the text of a full-names file. Text that is not UTF-8, a line not
// of the form above, a label that is not six characters of code page 437,
// or a row line after a column line is an error.
FullNamesRead parse_category_names(std::string_view text);

// Reads the full-names file at path (error naming the path when it cannot).
FullNamesRead read_category_names(const std::string& path);

// The full names for the labels a job has read, by position, when the file
// agrees with them (as many rows and columns, each with the same label);
// otherwise empty lists: the label file was changed after the names were
// written, and the names no longer belong to it.
//   row_labels, col_labels: as read from the label file (six characters).
FullNames names_for_labels(const FullNames& names, std::span<const std::string> row_labels,
                               std::span<const std::string> col_labels);

// The full names for the labels just read from the label file at
// label_path, from the full-names file beside it; empty lists when there is
// none, it cannot be read, or it does not agree with the labels.
FullNames names_beside(const std::string& label_path, std::span<const std::string> row_labels,
                           std::span<const std::string> col_labels);

// The name of row i (from 1) or column j of a job's table as outputs show
// it: the full name when the job has full names, else the label (code page
// 437 as UTF-8, without its trailing blanks).
std::string row_name(const JobTable& table, int i);
std::string col_name(const JobTable& table, int j);

}  // namespace marvist

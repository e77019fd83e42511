// The parameters of one job, as the job form fills them, the set-up file
// keeps them and the driver consumes them.
#pragma once

#include <cstddef>
#include <string>

namespace marvist {

// Lengths of the record's text fields, blank-padded to these.
inline constexpr std::size_t kTitleLength = 70;         // title
inline constexpr std::size_t kNumberTextLength = 10;    // sizes, axes and predictors as typed
inline constexpr std::size_t kVariableNameLength = 12;  // row_variable, col_variable
inline constexpr std::size_t kFileNameLength = 80;      // job name and every file name
inline constexpr std::size_t kDataFormatLength = 70;    // data_format
// Length of a category label (label file, "(13A6)").
inline constexpr std::size_t kLabelLength = 6;

struct JobRecord {
    std::string title = std::string(kTitleLength, ' ');
    std::string n_rows_text = std::string(kNumberTextLength, ' ');  // as typed
    int n_rows = 0;
    std::string row_variable = std::string(kVariableNameLength, ' ');
    std::string n_cols_text = std::string(kNumberTextLength, ' ');  // as typed
    int n_cols = 0;
    std::string col_variable = std::string(kVariableNameLength, ' ');
    int has_labels = 0;  // 1: a label file is read
    std::string job_name = std::string(kFileNameLength, ' ');
    std::string data_file = std::string(kFileNameLength, ' ');
    std::string label_file = std::string(kFileNameLength, ' ');
    std::string data_format = std::string(kDataFormatLength, ' ');  // '*' first: free format
    int save_setup = 0;
    int dependence = 0;  // 0 rows dependent, 1 columns dependent
    int do_nsca = 0;
    int do_homogenise = 0;
    int do_symmetry = 0;
    std::string n_axes_text = std::string(kNumberTextLength, ' ');  // as typed
    int n_axes = 0;
    std::string n_supp_text = std::string(kNumberTextLength, ' ');  // as typed
    int n_supp = 0;
    std::string output_file = std::string(kFileNameLength, ' ');
    std::string setup_file = std::string(kFileNameLength, ' ');
};

}  // namespace marvist

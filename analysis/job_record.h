// The parameters of one job, as the job form fills them, the set-up file
// keeps them and the driver consumes them.
#pragma once

#include <string>

namespace marvist {

struct JobRecord {
    std::string title = std::string(70, ' ');         // 70
    std::string n_rows_text = std::string(10, ' ');   // 10, as typed
    int n_rows = 0;
    std::string row_variable = std::string(12, ' ');  // 12
    std::string n_cols_text = std::string(10, ' ');   // 10, as typed
    int n_cols = 0;
    std::string col_variable = std::string(12, ' ');  // 12
    int has_labels = 0;                                // 1: a label file is read
    std::string job_name = std::string(80, ' ');      // 80
    std::string data_file = std::string(80, ' ');     // 80
    std::string label_file = std::string(80, ' ');    // 80
    std::string data_format = std::string(70, ' ');   // 70; '*' first: free format
    int save_setup = 0;
    int dependence = 0;  // 0 rows dependent, 1 columns dependent
    int do_nsca = 0;
    int do_homogenise = 0;
    int do_symmetry = 0;
    std::string n_axes_text = std::string(10, ' ');   // 10, as typed
    int n_axes = 0;
    std::string n_supp_text = std::string(10, ' ');   // 10, as typed
    int n_supp = 0;
    std::string output_file = std::string(80, ' ');   // 80
    std::string setup_file = std::string(80, ' ');    // 80
};

}  // namespace marvist

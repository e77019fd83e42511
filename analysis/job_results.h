// The result model of one job: the parameters as run, the table as analysed,
// and the plain result of every analysis that ran. Writers (the listing,
// exports) read it; nothing in it refers to how it will be shown.
#pragma once

#include <cstdint>
#include <algorithm>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "analysis/job_record.h"
#include "analysis/local_time.h"
#include "base/matrix.h"
#include "nsca/nsca.h"
#include "stats/dependence.h"
#include "stats/homogenise.h"
#include "stats/marginals.h"
#include "stats/symmetry.h"

namespace marvist {

// How a job ended.
enum class FatalState {
    None = 0,      // without a fatal error
    SkipNsca = 1,  // tau was 0: NSCA was skipped, the job ended without a fatal error
    Fatal = 3,     // a fatal error ended the job
};

// The table as the analyses take it: with the columns dependent, rows and
// columns are exchanged, so that the dependent variable is always the rows.
struct JobTable {
    int I = 0;                 // rows (after the exchange)
    int J = 0;                 // columns
    bool transposed = false;   // the columns were dependent: rows and columns exchanged
    std::string row_variable;  // the names of the row and column variables (12
    std::string col_variable;  // characters each), exchanged with the table
    // Six-character labels, blank when no label file was read; the first I
    // (J) entries label the table's rows (columns).
    Vector<std::string> row_labels, col_labels;
    // Full names of the I rows and J columns (UTF-8), when the label file has
    // a full-names file that agrees with it (analysis/category_names.h: a
    // table imported from CSV); empty otherwise. Exchanged with the labels.
    std::vector<std::string> row_names, col_names;
    Matrix<std::int32_t> counts;       // I x J
    int n_supp = 0;                    // supplementary predictor columns
    Matrix<std::int32_t> supp_counts;  // I x max(n_supp, 1)
};

// The first I row labels and the first J column labels.
inline std::span<const std::string> row_labels(const JobTable& t) {
    return {t.row_labels.data(), static_cast<std::size_t>(std::min<std::int64_t>(t.I, t.row_labels.size()))};
}
inline std::span<const std::string> col_labels(const JobTable& t) {
    return {t.col_labels.data(), static_cast<std::size_t>(std::min<std::int64_t>(t.J, t.col_labels.size()))};
}

struct JobResults {
    FatalState fatal_state = FatalState::None;
    // The parameters as the listing echoes them: sizes and variable names as
    // in the data file, the number of axes brought into range.
    JobRecord job;
    LocalTime started;  // the date and time of the listing header
    JobTable table;
    Marginals marginals;  // set once the table has been read
    std::optional<DependenceResult> dependence;
    std::optional<NscaResult> nsca;
    std::optional<HomogenisationResult> homogenisation;
    std::optional<SymmetryResult> symmetry;
};

}  // namespace marvist

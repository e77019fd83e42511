// The solution a joint plot is drawn from, as plain values: every category
// with its coordinates on all computed axes, and the axes' inertia shares.
#pragma once

#include <string>
#include <vector>

namespace marvist {

// One category of the solution.
struct PlotCategory {
    std::string name;                   // full name, or the trimmed six-character label (UTF-8)
    std::vector<double> coordinates;    // one per computed axis
    std::vector<double> contributions;  // share of each axis's inertia (0..1); empty for supplementary
};

struct BiplotSolution {
    std::string title;                        // the job's title, trimmed
    std::string row_variable;                 // response variable (rows after any transposition)
    std::string column_variable;              // predictor variable
    std::vector<double> inertia_shares;       // each computed axis's share of the total inertia (0..1)
    std::vector<PlotCategory> rows;           // response categories in standard coordinates
    std::vector<PlotCategory> columns;        // predictor categories in principal coordinates
    std::vector<PlotCategory> supplementary;  // supplementary predictors in principal coordinates
};

}  // namespace marvist

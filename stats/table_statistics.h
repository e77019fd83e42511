// Tau_a, Tau_b and Pearson's chi-square of many tables that share their
// margins, as the permutation test needs them. Each figure is formed with the
// same operations in the same order as the job's dependence measures
// (stats/dependence.cpp), so the observed table gives the job's values to the
// bit; what depends on the margins alone is worked out once.
#pragma once

#include <cstdint>
#include <vector>

#include "base/matrix.h"

namespace marvist {

struct TableStatistics {
    double tau_a = 0.0;    // rows dependent
    double tau_b = 0.0;    // columns dependent
    double pearson = 0.0;  // X^2
};

// What the three statistics need of the margins.
struct MarginTerms {
    std::int64_t rows = 0, cols = 0;
    std::vector<double> row_totals, col_totals;    // as reals
    std::vector<double> row_margins, col_margins;  // r(i), c(j): proportions of N
    std::vector<double> expected;                  // c(j) r(i) N, row by row
    double s_r = 0.0, s_c = 0.0;                   // 1 - sum r(i)^2, 1 - sum c(j)^2
};

// row_totals, col_totals  the margins: every total positive, sum N < 2^53
MarginTerms margin_terms(const std::vector<std::int64_t>& row_totals, const std::vector<std::int64_t>& col_totals);

// table  I x J counts with the margins of `terms`
TableStatistics table_statistics(const MarginTerms& terms, const Matrix<std::int64_t>& table);

}  // namespace marvist

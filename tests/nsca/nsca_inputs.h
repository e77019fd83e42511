// The inputs of the NSCA routines for a table of counts, formed here from
// their definitions rather than by the dependence statistics.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "listing/cp437.h"
#include "listing/fixed_text.h"
#include "listing/matrix.h"
#include "support/test_support.h"

namespace marvist::test {

struct TableInputs {
    int I = 0, J = 0;
    std::int64_t N = 0;
    Matrix<double> counts;       // I x J
    Matrix<double> work_matrix;  // (n_ij / n_.j - p_i.) * sqrt(p_.j)
    Vector<double> row_margins, col_margins;
    Vector<double> work_rows, work_cols;  // row and column parts of sum p_.j * pi_ij^2
};

// by_rows: the I x J counts row after row.
inline TableInputs table_inputs(int I, int J, const std::vector<int>& by_rows) {
    TableInputs t;
    t.I = I;
    t.J = J;
    t.counts = t.work_matrix = Matrix<double>(I, J);
    t.row_margins = t.work_rows = Vector<double>(I);
    t.col_margins = t.work_cols = Vector<double>(J);
    std::vector<double> row_total(static_cast<std::size_t>(I)), col_total(static_cast<std::size_t>(J));
    for (int i = 1; i <= I; ++i)
        for (int j = 1; j <= J; ++j) {
            const int n = by_rows[static_cast<std::size_t>((i - 1) * J + j - 1)];
            t.counts(i, j) = n;
            t.N += n;
            row_total[static_cast<std::size_t>(i - 1)] += n;
            col_total[static_cast<std::size_t>(j - 1)] += n;
        }
    const double N = static_cast<double>(t.N);
    for (int i = 1; i <= I; ++i) t.row_margins(i) = row_total[static_cast<std::size_t>(i - 1)] / N;
    for (int j = 1; j <= J; ++j) t.col_margins(j) = col_total[static_cast<std::size_t>(j - 1)] / N;
    for (int i = 1; i <= I; ++i)
        for (int j = 1; j <= J; ++j) {
            const double pi = t.counts(i, j) / col_total[static_cast<std::size_t>(j - 1)] - t.row_margins(i);
            t.work_matrix(i, j) = pi * std::sqrt(t.col_margins(j));
            t.work_rows(i) += t.col_margins(j) * pi * pi;
            t.work_cols(j) += t.col_margins(j) * pi * pi;
        }
    return t;
}

// Six-character labels prefix1, prefix2, ...
inline std::vector<std::string> numbered_labels(const std::string& prefix, int n) {
    std::vector<std::string> labels;
    for (int k = 1; k <= n; ++k) labels.push_back(fixed(prefix + std::to_string(k), 6));
    return labels;
}

inline std::vector<std::string> as_utf8(const std::vector<std::string>& lines) {
    std::vector<std::string> out;
    for (const std::string& line : lines) out.push_back(cp437_to_utf8(line));
    return out;
}

}  // namespace marvist::test

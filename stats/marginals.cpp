#include "stats/marginals.h"

#include <algorithm>

#include "base/storage.h"

namespace marvist {

bool obtain_marginals(Marginals& m, std::int64_t I, std::int64_t J) {
    return obtain(m.col_margins, J) && obtain(m.row_profiles, I, J) && obtain(m.col_profiles, I, J) &&
           obtain(m.col_totals, J) && obtain(m.row_totals, I) && obtain(m.row_margins, I);
}

void compute_marginals(const Matrix<std::int32_t>& counts, std::int64_t I, std::int64_t J, Marginals& m) {
    std::fill(m.row_margins.begin(), m.row_margins.end(), 0.0);
    std::fill(m.row_totals.begin(), m.row_totals.end(), std::int64_t{0});
    std::fill(m.col_margins.begin(), m.col_margins.end(), 0.0);
    std::fill(m.col_totals.begin(), m.col_totals.end(), std::int64_t{0});
    m.total_n = 0;
    // Column by column, as the table is stored: each total still adds its
    // terms in the order of rows (of a column) or columns (of a row).
    for (std::int64_t j = 1; j <= J; ++j) {
        for (std::int64_t i = 1; i <= I; ++i) {
            const std::int32_t f = counts(i, j);
            m.total_n += f;
            m.row_totals(i) += f;
            m.col_totals(j) += f;
            m.row_margins(i) += static_cast<double>(f);
            m.col_margins(j) += static_cast<double>(f);
        }
    }
}

void compute_profiles(const Matrix<std::int32_t>& counts, std::int64_t I, std::int64_t J, Marginals& m) {
    const double N = static_cast<double>(m.total_n);
    for (std::int64_t j = 1; j <= J; ++j) {
        for (std::int64_t i = 1; i <= I; ++i) {
            const double f = static_cast<double>(counts(i, j));
            m.row_profiles(i, j) = f / m.row_margins(i);
            m.col_profiles(i, j) = f / m.col_margins(j);
        }
    }
    for (std::int64_t i = 1; i <= I; ++i) m.row_margins(i) /= N;
    for (std::int64_t j = 1; j <= J; ++j) m.col_margins(j) /= N;
}

}  // namespace marvist

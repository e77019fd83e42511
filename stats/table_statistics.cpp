#include "stats/table_statistics.h"

#include <cmath>

namespace marvist {
namespace {

// Absolute values below this count as zero, as in the dependence measures.
constexpr double kZero = 1e-06;

}  // namespace

MarginTerms margin_terms(const std::vector<std::int64_t>& row_totals, const std::vector<std::int64_t>& col_totals) {
    MarginTerms t;
    t.rows = static_cast<std::int64_t>(row_totals.size());
    t.cols = static_cast<std::int64_t>(col_totals.size());
    std::int64_t total = 0;
    for (const std::int64_t r : row_totals) total += r;
    const double n = static_cast<double>(total);
    for (const std::int64_t r : row_totals) {
        t.row_totals.push_back(static_cast<double>(r));
        t.row_margins.push_back(static_cast<double>(r) / n);
    }
    for (const std::int64_t c : col_totals) {
        t.col_totals.push_back(static_cast<double>(c));
        t.col_margins.push_back(static_cast<double>(c) / n);
    }
    t.s_c = 1.0;
    for (const double c : t.col_margins) t.s_c -= c * c;
    t.s_r = 1.0;
    for (const double r : t.row_margins) t.s_r -= r * r;
    t.expected.reserve(row_totals.size() * col_totals.size());
    for (const double r : t.row_margins)
        for (const double c : t.col_margins) t.expected.push_back(c * r * n);
    return t;
}

TableStatistics table_statistics(const MarginTerms& terms, const Matrix<std::int64_t>& table) {
    const std::int64_t I = terms.rows, J = terms.cols;
    // Contributions of the columns to Tau_a's numerator, summed in row order
    // as the job sums them.
    std::vector<double> columns(static_cast<std::size_t>(J), 0.0);
    double chi_square = 0.0;
    double b_b = 0.0;
    const double* expected = terms.expected.data();
    for (std::int64_t i = 0; i < I; ++i) {
        const double r = terms.row_margins[static_cast<std::size_t>(i)];
        const double row_total = terms.row_totals[static_cast<std::size_t>(i)];
        for (std::int64_t j = 0; j < J; ++j) {
            const double f = static_cast<double>(table(i + 1, j + 1));
            const double c = terms.col_margins[static_cast<std::size_t>(j)];
            const double e = *expected++;
            const double d = f - e;
            chi_square += d * d / e;
            const double pi = f / terms.col_totals[static_cast<std::size_t>(j)] - r;
            columns[static_cast<std::size_t>(j)] += pi * pi * c;
            const double dev = f / row_total - c;
            b_b += dev * dev * r;
        }
    }
    double b_a = 0.0;
    for (const double w : columns) b_a += w;
    TableStatistics s;
    s.tau_a = std::fabs(terms.s_r) < kZero ? 0.0 : b_a / terms.s_r;
    s.tau_b = std::fabs(terms.s_c) < kZero ? 0.0 : b_b / terms.s_c;
    s.pearson = chi_square;
    return s;
}

}  // namespace marvist

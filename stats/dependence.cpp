#include "stats/dependence.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "base/storage.h"

namespace marvist {
namespace {

constexpr double kZero = kDependenceZero;

// Rows worked on together: their elements of a column fill a few cache lines.
constexpr int kTileRows = 32;

// The integer product (N - 1) * (k - 1) as a real, formed in 64 bits so that
// tables of more than 2^31 observations keep their figures.
double count_product(std::int64_t total_n, int k) {
    std::int64_t product = 0;
    if (!__builtin_mul_overflow(total_n - 1, static_cast<std::int64_t>(k - 1), &product))
        return static_cast<double>(product);
    return static_cast<double>(total_n - 1) * static_cast<double>(k - 1);
}

// Raw contributions to proportions of Tau_a in shares, and back again in
// parts (the round trip is what the correspondence analysis takes).
void share_out(const Vector<double>& raw, int n, double s_r, double tau_a, Vector<double>& shares,
               Vector<double>& parts) {
    for (int k = 1; k <= n; ++k) {
        double w = std::fabs(s_r) < kZero ? 0.0 : raw(k) / s_r;
        w = std::fabs(tau_a) < kZero ? 0.0 : w / tau_a;
        shares(k) = w;
        parts(k) = w * tau_a * s_r;
    }
}

}  // namespace

std::optional<DependenceResult> compute_dependence(const Matrix<std::int32_t>& counts, const Marginals& marginals,
                                                   int I, int J) {
    DependenceResult r;
    Vector<double> raw_rows, raw_cols;  // raw contributions to Tau_a's numerator
    // A tile's terms of chi-square and B_b, row after row: no larger than the
    // I x J matrices, so that they fit wherever those do.
    Vector<double> chi_terms, b_terms;
    if (!obtain(r.centred_profiles, I, J) || !obtain(r.weighted_profiles, I, J) || !obtain(r.col_shares, J) ||
        !obtain(r.row_shares, I) || !obtain(r.col_parts, J) || !obtain(r.row_parts, I) || !obtain(raw_rows, I) ||
        !obtain(raw_cols, J) || !obtain(chi_terms, std::int64_t{std::min(kTileRows, I)} * J) ||
        !obtain(b_terms, std::int64_t{std::min(kTileRows, I)} * J))
        return std::nullopt;

    const Vector<double>& row_margins = marginals.row_margins;
    const Vector<double>& col_margins = marginals.col_margins;
    const Matrix<double>& row_profiles = marginals.row_profiles;
    const Matrix<double>& col_profiles = marginals.col_profiles;
    Matrix<double>& centred = r.centred_profiles;
    const double n = static_cast<double>(marginals.total_n);

    double s_c = 1.0;
    for (int j = 1; j <= J; ++j) {
        s_c -= col_margins(j) * col_margins(j);
        raw_cols(j) = 0.0;
    }

    // Pearson's chi-square, the centred column profiles, the raw contributions
    // to Tau_a's numerator and Tau_b's numerator. The matrices are stored by
    // column, so a tile of rows is worked on column by column, the terms of
    // the two sums over the whole table kept by row; the sums then run over
    // the tile's rows one after the other, so that every sum adds its terms
    // in the order of the rows, and within a row of the columns.
    double chi_square = 0.0;
    double b_b = 0.0;
    double s_r = 1.0;
    for (int i = 1; i <= I; ++i) {
        raw_rows(i) = 0.0;
        s_r -= row_margins(i) * row_margins(i);
    }
    for (int top = 1; top <= I; top += kTileRows) {
        const int bottom = std::min(top + kTileRows - 1, I);
        for (int j = 1; j <= J; ++j) {
            for (int i = top; i <= bottom; ++i) {
                const double pi = col_profiles(i, j) - row_margins(i);
                centred(i, j) = pi;
                const double contribution = pi * pi * col_margins(j);
                raw_cols(j) += contribution;
                raw_rows(i) += contribution;

                const double expected = col_margins(j) * row_margins(i) * n;
                const double d = static_cast<double>(counts(i, j)) - expected;
                const double dev = row_profiles(i, j) - col_margins(j);
                const std::int64_t at = std::int64_t{i - top} * J + (j - 1);
                chi_terms.data()[at] = d * d / expected;
                b_terms.data()[at] = dev * dev * row_margins(i);
            }
        }
        for (std::int64_t at = 0; at < std::int64_t{bottom - top + 1} * J; ++at) {
            chi_square += chi_terms.data()[at];
            b_b += b_terms.data()[at];
        }
    }

    // The matrix that the correspondence analysis decomposes.
    for (int j = 1; j <= J; ++j) {
        const double weight = std::sqrt(col_margins(j));
        for (int i = 1; i <= I; ++i) r.weighted_profiles(i, j) = centred(i, j) * weight;
    }

    // Columns dependent.
    r.numerator_b = b_b;
    r.cols_dependent.ms_between = b_b * 0.5;
    r.cols_dependent.ms_total = s_c * 0.5;
    r.cols_dependent.ms_within = r.cols_dependent.ms_total - r.cols_dependent.ms_between;
    r.tau_b = std::fabs(s_c) < kZero ? 0.0 : b_b / s_c;
    r.cols_dependent.tau = r.tau_b;
    r.chi_tau_b = count_product(marginals.total_n, J) * r.tau_b;

    // Rows dependent.
    double b_a = 0.0;
    for (int j = 1; j <= J; ++j) b_a += raw_cols(j);
    r.numerator_a = b_a;
    r.rows_dependent.ms_between = b_a * 0.5;
    r.rows_dependent.ms_total = s_r * 0.5;
    r.rows_dependent.ms_within = r.rows_dependent.ms_total - r.rows_dependent.ms_between;
    r.tau_a = std::fabs(s_r) < kZero ? 0.0 : b_a / s_r;
    r.rows_dependent.tau = r.tau_a;
    r.chi_tau_a = count_product(marginals.total_n, I) * r.tau_a;

    r.s_r = s_r;
    r.s_c = s_c;
    r.chi_square = chi_square;
    r.total_inertia = chi_square / n;
    r.df = static_cast<long long>(J - 1) * (I - 1);

    share_out(raw_cols, J, s_r, r.tau_a, r.col_shares, r.col_parts);
    share_out(raw_rows, I, s_r, r.tau_a, r.row_shares, r.row_parts);
    r.tau_a_zero = std::fabs(r.tau_a) < kZero;
    return r;
}

}  // namespace marvist

// The analyses walk their tables in the order the tables are stored, in
// tiles; every figure must still be the one of adding the terms row by row
// as the formulas are written. Each is compared bit for bit with a plain
// row-by-row evaluation here, on tables of many shapes (tile edges included)
// and of small and large counts, where the order of a sum shows in its last
// bits.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "stats/dependence.h"
#include "stats/homogenise.h"
#include "stats/marginals.h"
#include "stats/symmetry.h"

namespace marvist {
namespace {

template <class T>
bool same_bits(const T* a, const T* b, std::int64_t n) {
    return std::memcmp(a, b, static_cast<std::size_t>(n) * sizeof(T)) == 0;
}
bool same_bits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

Matrix<std::int32_t> random_counts(int I, int J, std::int32_t most, std::mt19937_64& random) {
    Matrix<std::int32_t> f(I, J);
    std::uniform_int_distribution<std::int32_t> draw(0, most);
    for (int j = 1; j <= J; ++j)
        for (int i = 1; i <= I; ++i) f(i, j) = draw(random);
    for (int i = 1; i <= I; ++i) f(i, 1 + (i - 1) % J) += 1;  // every row and column total positive
    for (int j = 1; j <= J; ++j) f(1 + (j - 1) % I, j) += 1;
    return f;
}

// Marginals and profiles, row by row.
struct RowOrderMarginals {
    std::vector<double> row_margins, col_margins;
};
RowOrderMarginals marginals_by_rows(const Matrix<std::int32_t>& f, int I, int J) {
    RowOrderMarginals m{std::vector<double>(I), std::vector<double>(J)};
    std::int64_t n = 0;
    for (int i = 1; i <= I; ++i) {
        for (int j = 1; j <= J; ++j) {
            n += f(i, j);
            m.row_margins[i - 1] += f(i, j);
            m.col_margins[j - 1] += f(i, j);
        }
    }
    for (double& r : m.row_margins) r /= static_cast<double>(n);
    for (double& c : m.col_margins) c /= static_cast<double>(n);
    return m;
}

// Chi-square and the numerators of both Tau, row by row.
struct RowOrderDependence {
    double chi_square = 0, b_a = 0, b_b = 0, s_r = 1;
    std::vector<double> raw_rows, raw_cols;
};
RowOrderDependence dependence_by_rows(const Matrix<std::int32_t>& f, const Marginals& m, int I, int J) {
    RowOrderDependence d{0, 0, 0, 1, std::vector<double>(I), std::vector<double>(J)};
    const double n = static_cast<double>(m.total_n);
    for (int i = 1; i <= I; ++i) {
        d.s_r -= m.row_margins(i) * m.row_margins(i);
        for (int j = 1; j <= J; ++j) {
            const double expected = m.col_margins(j) * m.row_margins(i) * n;
            const double dev = static_cast<double>(f(i, j)) - expected;
            d.chi_square += dev * dev / expected;
            const double pi = m.col_profiles(i, j) - m.row_margins(i);
            const double contribution = pi * pi * m.col_margins(j);
            d.raw_cols[j - 1] += contribution;
            d.raw_rows[i - 1] += contribution;
            const double row_dev = m.row_profiles(i, j) - m.col_margins(j);
            d.b_b += row_dev * row_dev * m.row_margins(i);
        }
    }
    for (const double c : d.raw_cols) d.b_a += c;
    return d;
}

// The fitted table and each sweep's deviations, every step row by row.
struct RowOrderFit {
    std::vector<double> fitted;  // by columns, as Matrix stores it
    std::vector<HomogenisationSweep> sweeps;
};
RowOrderFit homogenise_by_rows(const Matrix<std::int32_t>& f, int I, int J) {
    Matrix<double> t(I, J);
    std::vector<double> rows(I), cols(J);
    double n = 0;
    for (int i = 1; i <= I; ++i) {
        for (int j = 1; j <= J; ++j) {
            t(i, j) = f(i, j);
            n += t(i, j);
            rows[i - 1] += t(i, j);
            cols[j - 1] += t(i, j);
        }
    }
    const double row_target = n / I, col_target = n / J;
    for (double& r : rows) r = r * n;
    for (double& c : cols) c = c * n;
    RowOrderFit fit;
    for (int k = 1;; ++k) {
        for (double& c : cols) c = 0;
        for (int i = 1; i <= I; ++i) {
            for (int j = 1; j <= J; ++j) {
                t(i, j) = t(i, j) * row_target / rows[i - 1];
                cols[j - 1] += t(i, j);
            }
        }
        for (double& r : rows) r = 0;
        for (int j = 1; j <= J; ++j) {
            for (int i = 1; i <= I; ++i) {
                t(i, j) = t(i, j) * col_target / cols[j - 1];
                rows[i - 1] += t(i, j);
            }
        }
        HomogenisationSweep sweep;
        for (const double r : rows) sweep.row_deviation += std::fabs(r - row_target);
        for (const double c : cols) sweep.col_deviation += std::fabs(c - col_target);
        fit.sweeps.push_back(sweep);
        if ((sweep.row_deviation < kHomogeniseTolerance && sweep.col_deviation < kHomogeniseTolerance) ||
            k > kHomogeniseIterationLimit)
            break;
    }
    fit.fitted.assign(t.data(), t.data() + std::int64_t{I} * J);
    return fit;
}

// Row totals of the symmetric part, row by row.
std::vector<double> symmetric_totals_by_rows(const Matrix<std::int32_t>& f, int I) {
    std::vector<double> m(I);
    for (int i = 1; i <= I; ++i)
        for (int j = 1; j <= I; ++j) m[i - 1] += (static_cast<double>(f(j, i)) + static_cast<double>(f(i, j))) / 2.0;
    return m;
}

struct Shape {
    int I, J;
};
constexpr Shape kShapes[] = {{1, 1}, {1, 6}, {6, 1},  {7, 9},   {8, 8},   {9, 17},  {16, 3},
                             {33, 33}, {65, 40}, {3, 100}, {100, 3}, {150, 150}, {257, 31}};

TEST(SummationOrder, MarginalsDependenceHomogenisationAndSymmetryAsRowByRow) {
    std::mt19937_64 random(15);
    for (const Shape shape : kShapes) {
        for (const std::int32_t most : {3, 50, 1000000}) {
            const int I = shape.I, J = shape.J;
            const std::string where = std::to_string(I) + " x " + std::to_string(J) + ", counts to " + std::to_string(most);
            const Matrix<std::int32_t> f = random_counts(I, J, most, random);

            Marginals m;
            ASSERT_TRUE(obtain_marginals(m, I, J));
            compute_marginals(f, I, J, m);
            compute_profiles(f, I, J, m);
            const RowOrderMarginals m_rows = marginals_by_rows(f, I, J);
            EXPECT_TRUE(same_bits(m.row_margins.data(), m_rows.row_margins.data(), I)) << where;
            EXPECT_TRUE(same_bits(m.col_margins.data(), m_rows.col_margins.data(), J)) << where;

            const auto d = compute_dependence(f, m, I, J);
            ASSERT_TRUE(d);
            const RowOrderDependence d_rows = dependence_by_rows(f, m, I, J);
            EXPECT_TRUE(same_bits(d->chi_square, d_rows.chi_square)) << where;
            EXPECT_TRUE(same_bits(d->numerator_a, d_rows.b_a)) << where;
            EXPECT_TRUE(same_bits(d->numerator_b, d_rows.b_b)) << where;
            EXPECT_TRUE(same_bits(d->s_r, d_rows.s_r)) << where;
            for (int i = 1; i <= I; ++i) {
                const double share = std::fabs(d->s_r) < kDependenceZero || d->tau_a_zero
                                         ? 0.0
                                         : d_rows.raw_rows[i - 1] / d->s_r / d->tau_a;
                EXPECT_TRUE(same_bits(d->row_shares(i), share)) << where << ", row " << i;
            }
            for (int j = 1; j <= J; ++j) {
                for (int i = 1; i <= I; ++i) {
                    const double pi = m.col_profiles(i, j) - m.row_margins(i);
                    EXPECT_TRUE(same_bits(d->centred_profiles(i, j), pi));
                    EXPECT_TRUE(same_bits(d->weighted_profiles(i, j), pi * std::sqrt(m.col_margins(j))));
                }
            }

            const auto h = homogenise_margins(f, I, J);
            ASSERT_TRUE(h);
            const RowOrderFit h_rows = homogenise_by_rows(f, I, J);
            EXPECT_TRUE(same_bits(h->fitted.data(), h_rows.fitted.data(), std::int64_t{I} * J)) << where;
            ASSERT_EQ(h->sweeps.size(), h_rows.sweeps.size()) << where;
            for (std::size_t k = 0; k < h->sweeps.size(); ++k) {
                EXPECT_TRUE(same_bits(h->sweeps[k].row_deviation, h_rows.sweeps[k].row_deviation)) << where;
                EXPECT_TRUE(same_bits(h->sweeps[k].col_deviation, h_rows.sweeps[k].col_deviation)) << where;
            }

            if (I == J) {
                const auto s = analyse_symmetry(f, I, J);
                ASSERT_TRUE(s);
                EXPECT_TRUE(same_bits(s->marginals.data(), symmetric_totals_by_rows(f, I).data(), I)) << where;
                for (int j = 1; j <= J; ++j) {
                    for (int i = 1; i <= I; ++i) {
                        const double fij = f(i, j), fji = f(j, i);
                        EXPECT_TRUE(same_bits(s->symmetric(i, j), (fji + fij) / 2.0));
                        EXPECT_TRUE(same_bits(s->skew(i, j), (fij - fji) / 2.0));
                    }
                }
            }
        }
    }
}

}  // namespace
}  // namespace marvist

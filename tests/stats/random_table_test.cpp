// Random tables with given margins: margins kept exactly, the exact
// distribution of tables reached, bit-for-bit reproducible draws.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <map>
#include <stdexcept>
#include <vector>

#include "stats/chi_square_tail.h"
#include "stats/random_table.h"

namespace marvist {
namespace {

using Totals = std::vector<std::int64_t>;

// n split into k random parts, some of them 0.
Totals random_split(RandomStream& stream, std::int64_t n, int k) {
    Totals parts(static_cast<std::size_t>(k), 0);
    std::vector<double> weights;
    double sum = 0.0;
    for (int p = 0; p < k; ++p) {
        const double u = uniform_real(stream);
        weights.push_back(u < 0.25 ? 0.0 : u * u * u);  // a quarter empty, the rest uneven
        sum += weights.back();
    }
    std::int64_t given = 0;
    for (int p = 0; p + 1 < k && sum > 0.0; ++p) {
        const auto share = static_cast<std::int64_t>(std::floor(static_cast<double>(n) * weights[static_cast<std::size_t>(p)] / sum));
        parts[static_cast<std::size_t>(p)] = std::min(share, n - given);
        given += parts[static_cast<std::size_t>(p)];
    }
    parts.back() += n - given;
    return parts;
}

TEST(RandomTable, KeepsBothMarginsOnRandomMarginsUpToTrillions) {
    RandomStream margins(2024);
    RandomStream draws(7);
    const std::vector<std::int64_t> sizes = {0, 1, 5, 37, 1000, 99999, std::int64_t{1} << 31, 3000000000,
                                             (std::int64_t{1} << 31) + 12345, 1000000000000};
    for (int trial = 0; trial < 400; ++trial) {
        const std::int64_t n = sizes[static_cast<std::size_t>(trial) % sizes.size()];
        const int I = 1 + static_cast<int>(margins.next() % 9), J = 1 + static_cast<int>(margins.next() % 12);
        const Totals rows = random_split(margins, n, I), cols = random_split(margins, n, J);
        Matrix<std::int64_t> table(I, J);
        draw_random_table(draws, rows, cols, table);
        for (int i = 1; i <= I; ++i) {
            std::int64_t sum = 0;
            for (int j = 1; j <= J; ++j) {
                ASSERT_GE(table(i, j), 0);
                sum += table(i, j);
            }
            ASSERT_EQ(sum, rows[static_cast<std::size_t>(i - 1)]) << "trial " << trial << " row " << i;
        }
        for (int j = 1; j <= J; ++j) {
            std::int64_t sum = 0;
            for (int i = 1; i <= I; ++i) sum += table(i, j);
            ASSERT_EQ(sum, cols[static_cast<std::size_t>(j - 1)]) << "trial " << trial << " column " << j;
        }
    }
}

TEST(RandomTable, InconsistentMarginsAreRefused) {
    RandomStream stream(1);
    Matrix<std::int64_t> table(2, 2);
    EXPECT_THROW(draw_random_table(stream, Totals{3, 4}, Totals{3, 3}, table), std::invalid_argument);
    EXPECT_THROW(draw_random_table(stream, Totals{5, -1}, Totals{2, 2}, table), std::invalid_argument);
}

// Draws of tests/stats/reference_draws.py with seed 7.
TEST(RandomTable, DrawsAreTheSameInAnIndependentImplementation) {
    RandomStream stream(7);
    Matrix<std::int64_t> large(3, 4);
    draw_random_table(stream, Totals{500000000, 250000000, 250000000}, Totals{100000000, 200000000, 300000000, 400000000},
                      large);
    const std::vector<std::vector<std::int64_t>> expected_large = {{49997430, 100009799, 150001712, 199991059},
                                                                   {25002061, 49993934, 74992299, 100011706},
                                                                   {25000509, 49996267, 75005989, 99997235}};
    RandomStream again(7);
    Matrix<std::int64_t> small(4, 2);
    draw_random_table(again, Totals{3, 0, 5, 2}, Totals{4, 6}, small);
    const std::vector<std::vector<std::int64_t>> expected_small = {{2, 1}, {0, 0}, {2, 3}, {0, 2}};
    for (int i = 1; i <= 3; ++i)
        for (int j = 1; j <= 4; ++j) EXPECT_EQ(large(i, j), expected_large[i - 1][j - 1]) << i << "," << j;
    for (int i = 1; i <= 4; ++i)
        for (int j = 1; j <= 2; ++j) EXPECT_EQ(small(i, j), expected_small[i - 1][j - 1]) << i << "," << j;
}

// Every 3 x 3 table with the given margins and its probability under
// independence: prod r_i! prod c_j! / (N! prod x_ij!).
std::map<std::vector<std::int64_t>, double> all_tables(const Totals& rows, const Totals& cols) {
    std::map<std::vector<std::int64_t>, double> tables;
    const std::int64_t n = rows[0] + rows[1] + rows[2];
    double log_margins = -std::lgamma(static_cast<double>(n) + 1);
    for (const std::int64_t t : rows) log_margins += std::lgamma(static_cast<double>(t) + 1);
    for (const std::int64_t t : cols) log_margins += std::lgamma(static_cast<double>(t) + 1);
    for (std::int64_t a = 0; a <= rows[0]; ++a)
        for (std::int64_t b = 0; a + b <= rows[0]; ++b)
            for (std::int64_t d = 0; d <= rows[1]; ++d)
                for (std::int64_t e = 0; d + e <= rows[1]; ++e) {
                    const std::vector<std::int64_t> x = {a, b, rows[0] - a - b, d, e, rows[1] - d - e,
                                                         cols[0] - a - d, cols[1] - b - e, cols[2] - (rows[0] - a - b) - (rows[1] - d - e)};
                    if (x[6] < 0 || x[7] < 0 || x[8] < 0) continue;
                    double log_p = log_margins;
                    for (const std::int64_t v : x) log_p -= std::lgamma(static_cast<double>(v) + 1);
                    tables[x] = std::exp(log_p);
                }
    return tables;
}

TEST(RandomTable, TablesComeWithTheirProbabilitiesUnderIndependence) {
    const Totals rows = {4, 7, 5}, cols = {6, 3, 7};
    const auto tables = all_tables(rows, cols);
    double total_probability = 0.0;
    for (const auto& [table, p] : tables) total_probability += p;
    ASSERT_NEAR(total_probability, 1.0, 1e-12);

    constexpr int kDraws = 100000;
    std::map<std::vector<std::int64_t>, int> counts;
    RandomStream stream(31);
    Matrix<std::int64_t> drawn(3, 3);
    for (int d = 0; d < kDraws; ++d) {
        draw_random_table(stream, rows, cols, drawn);
        ++counts[{drawn(1, 1), drawn(1, 2), drawn(1, 3), drawn(2, 1), drawn(2, 2), drawn(2, 3), drawn(3, 1),
                  drawn(3, 2), drawn(3, 3)}];
    }
    // Pearson's fit over the tables, those expected fewer than 5 times pooled.
    double x2 = 0.0, pooled_expected = 0.0, pooled_observed = 0.0;
    int classes = 0;
    for (const auto& [table, p] : tables) {
        const double expected = kDraws * p;
        const auto found = counts.find(table);
        const double observed = found == counts.end() ? 0.0 : found->second;
        if (expected < 5.0) {
            pooled_expected += expected;
            pooled_observed += observed;
            continue;
        }
        x2 += (observed - expected) * (observed - expected) / expected;
        ++classes;
    }
    x2 += (pooled_observed - pooled_expected) * (pooled_observed - pooled_expected) / pooled_expected;
    ++classes;
    int drawn_tables = 0;
    for (const auto& entry : counts) drawn_tables += tables.count(entry.first) == 1 ? entry.second : 0;
    EXPECT_EQ(drawn_tables, kDraws);  // nothing outside the set of tables
    EXPECT_GT(chi_square_upper_tail(x2, classes - 1).value(), 1e-3) << x2 << " on " << classes - 1 << " df";
}

}  // namespace
}  // namespace marvist

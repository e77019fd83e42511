// The permutation test: the statistics of a table, Monte-Carlo p-values
// against exact p-values from every table with the margins, reproducibility.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <vector>

#include "stats/dependence.h"
#include "stats/marginals.h"
#include "stats/permutation_test.h"
#include "stats/table_statistics.h"

namespace marvist {
namespace {

Matrix<std::int64_t> table_of(int I, int J, const std::vector<std::int64_t>& by_rows) {
    Matrix<std::int64_t> t(I, J);
    for (int i = 1; i <= I; ++i)
        for (int j = 1; j <= J; ++j) t(i, j) = by_rows[static_cast<std::size_t>((i - 1) * J + j - 1)];
    return t;
}

// The three statistics from their textbook forms (Goodman & Kruskal's tau
// as the proportional reduction in prediction error, Pearson's X^2 from the
// squares of the counts), in long double.
TableStatistics textbook_statistics(const Matrix<std::int64_t>& t) {
    const std::int64_t I = t.rows(), J = t.cols();
    std::vector<long double> R(static_cast<std::size_t>(I), 0), C(static_cast<std::size_t>(J), 0);
    long double n = 0;
    for (std::int64_t i = 1; i <= I; ++i)
        for (std::int64_t j = 1; j <= J; ++j) {
            R[static_cast<std::size_t>(i - 1)] += t(i, j);
            C[static_cast<std::size_t>(j - 1)] += t(i, j);
            n += t(i, j);
        }
    long double by_cols = 0, by_rows = 0, by_both = 0, rows_sq = 0, cols_sq = 0;
    for (std::int64_t i = 1; i <= I; ++i)
        for (std::int64_t j = 1; j <= J; ++j) {
            const long double f2 = static_cast<long double>(t(i, j)) * t(i, j);
            by_cols += f2 / (n * C[static_cast<std::size_t>(j - 1)]);
            by_rows += f2 / (n * R[static_cast<std::size_t>(i - 1)]);
            by_both += f2 / (R[static_cast<std::size_t>(i - 1)] * C[static_cast<std::size_t>(j - 1)]);
        }
    for (const long double r : R) rows_sq += (r / n) * (r / n);
    for (const long double c : C) cols_sq += (c / n) * (c / n);
    return {static_cast<double>((by_cols - rows_sq) / (1 - rows_sq)), static_cast<double>((by_rows - cols_sq) / (1 - cols_sq)),
            static_cast<double>(n * (by_both - 1))};
}

TableStatistics statistics_of(const Matrix<std::int64_t>& t) {
    std::vector<std::int64_t> rows(static_cast<std::size_t>(t.rows()), 0), cols(static_cast<std::size_t>(t.cols()), 0);
    for (std::int64_t i = 1; i <= t.rows(); ++i)
        for (std::int64_t j = 1; j <= t.cols(); ++j) {
            rows[static_cast<std::size_t>(i - 1)] += t(i, j);
            cols[static_cast<std::size_t>(j - 1)] += t(i, j);
        }
    return table_statistics(margin_terms(rows, cols), t);
}

TEST(TableStatistics, AgreeWithTheTextbookForms) {
    // The worked 2 x 2 table: Tau_a = Tau_b = X^2 / N = 0.79365.../100.
    const auto worked = table_of(2, 2, {10, 20, 30, 40});
    EXPECT_NEAR(statistics_of(worked).pearson, 50.0 / 63.0, 1e-14);
    EXPECT_NEAR(statistics_of(worked).tau_a, 50.0 / 6300.0, 1e-16);
    EXPECT_NEAR(statistics_of(worked).tau_b, 50.0 / 6300.0, 1e-16);
    const std::vector<Matrix<std::int64_t>> tables = {
        table_of(3, 4, {12, 0, 7, 3, 5, 9, 1, 14, 2, 2, 30, 1}),
        table_of(2, 5, {1, 2, 3, 4, 5, 5, 4, 3, 2, 1}),
        table_of(3, 2, {400000000, 100000000, 1000, 299999000, 123456789, 76543211}),
    };
    for (const auto& t : tables) {
        const TableStatistics fast = statistics_of(t), textbook = textbook_statistics(t);
        EXPECT_NEAR(fast.tau_a, textbook.tau_a, 1e-12 * textbook.tau_a + 1e-15);
        EXPECT_NEAR(fast.tau_b, textbook.tau_b, 1e-12 * textbook.tau_b + 1e-15);
        EXPECT_NEAR(fast.pearson, textbook.pearson, 1e-9 * textbook.pearson);
    }
    // Columns with one profile: no dependence at all.
    const TableStatistics flat = statistics_of(table_of(2, 3, {1, 2, 3, 2, 4, 6}));
    EXPECT_NEAR(flat.tau_a, 0.0, 1e-16);
    EXPECT_NEAR(flat.tau_b, 0.0, 1e-16);
    EXPECT_NEAR(flat.pearson, 0.0, 1e-14);
}

// The observed table's statistics are the job's dependence measures to the
// bit, so the observed table ties with itself and with its copies.
TEST(TableStatistics, AreTheJobsFiguresToTheBit) {
    RandomStream stream(8);
    for (int trial = 0; trial < 50; ++trial) {
        const int I = 2 + static_cast<int>(stream.next() % 12), J = 2 + static_cast<int>(stream.next() % 9);
        const std::int64_t scale = trial % 3 == 0 ? 5 : trial % 3 == 1 ? 1000 : 20000000;
        Matrix<std::int32_t> counts(I, J);
        Matrix<std::int64_t> table(I, J);
        for (int i = 1; i <= I; ++i)
            for (int j = 1; j <= J; ++j)
                table(i, j) = counts(i, j) = 1 + static_cast<std::int32_t>(stream.next() % static_cast<std::uint64_t>(scale));
        Marginals marginals;
        ASSERT_TRUE(obtain_marginals(marginals, I, J));
        compute_marginals(counts, I, J, marginals);
        compute_profiles(counts, I, J, marginals);
        const std::optional<DependenceResult> job = compute_dependence(counts, marginals, I, J);
        ASSERT_TRUE(job);
        const TableStatistics fast = statistics_of(table);
        EXPECT_EQ(fast.tau_a, job->tau_a) << trial;
        EXPECT_EQ(fast.tau_b, job->tau_b) << trial;
        EXPECT_EQ(fast.pearson, job->chi_square) << trial;
    }
}

// Calls visit(table) for every 2 x J table with the margins.
void for_each_table(const std::vector<std::int64_t>& rows, const std::vector<std::int64_t>& cols,
                    const std::function<void(const Matrix<std::int64_t>&)>& visit) {
    const int J = static_cast<int>(cols.size());
    Matrix<std::int64_t> t(2, J);
    std::function<void(int, std::int64_t)> fill = [&](int j, std::int64_t left) {
        if (j == J) {
            if (left != 0) return;
            visit(t);
            return;
        }
        for (std::int64_t x = 0; x <= std::min(left, cols[static_cast<std::size_t>(j)]); ++x) {
            t(1, j + 1) = x;
            t(2, j + 1) = cols[static_cast<std::size_t>(j)] - x;
            fill(j + 1, left - x);
        }
    };
    fill(0, rows[0]);
}

// Exact p-values: the probability under independence (multiple
// hypergeometric) of the tables whose statistic is at least the observed
// one, ties judged on the textbook statistics to 1e-9.
TableStatistics exact_p_values(const Matrix<std::int64_t>& observed) {
    std::vector<std::int64_t> rows = {0, 0}, cols(static_cast<std::size_t>(observed.cols()), 0);
    for (int i = 1; i <= 2; ++i)
        for (std::int64_t j = 1; j <= observed.cols(); ++j) {
            rows[static_cast<std::size_t>(i - 1)] += observed(i, j);
            cols[static_cast<std::size_t>(j - 1)] += observed(i, j);
        }
    const std::int64_t n = rows[0] + rows[1];
    double log_margins = std::lgamma(rows[0] + 1.0) + std::lgamma(rows[1] + 1.0) - std::lgamma(n + 1.0);
    for (const std::int64_t c : cols) log_margins += std::lgamma(c + 1.0);
    const TableStatistics o = textbook_statistics(observed);
    TableStatistics p{0, 0, 0};
    for_each_table(rows, cols, [&](const Matrix<std::int64_t>& t) {
        double log_p = log_margins;
        for (std::int64_t j = 1; j <= t.cols(); ++j) log_p -= std::lgamma(t(1, j) + 1.0) + std::lgamma(t(2, j) + 1.0);
        const double prob = std::exp(log_p);
        const TableStatistics s = textbook_statistics(t);
        if (s.tau_a >= o.tau_a * (1 - 1e-9)) p.tau_a += prob;
        if (s.tau_b >= o.tau_b * (1 - 1e-9)) p.tau_b += prob;
        if (s.pearson >= o.pearson * (1 - 1e-9)) p.pearson += prob;
    });
    return p;
}

void expect_within_monte_carlo_error(double estimate, double exact, std::int64_t draws, const char* what) {
    const double se = std::sqrt(exact * (1 - exact) / static_cast<double>(draws));
    EXPECT_NEAR(estimate, exact, 4.0 * se + 1.0 / static_cast<double>(draws)) << what;
}

TEST(PermutationTest, SmallTablesAgreeWithTheExactPValues) {
    // 2 x 2 with margins 10, 10 / 10, 10: tables 3 and 7 in the first cell
    // tie with the observed 7 in theory; 2 x 2 with uneven margins; 2 x 4
    // where the three statistics order the tables differently.
    const std::vector<Matrix<std::int64_t>> tables = {table_of(2, 2, {7, 3, 3, 7}), table_of(2, 2, {5, 1, 4, 10}),
                                                      table_of(2, 4, {3, 1, 4, 0, 2, 5, 1, 3})};
    constexpr std::int64_t kDraws = 20000;
    for (const auto& t : tables) {
        const TableStatistics exact = exact_p_values(t);
        const PermutationResult mc = permutation_test(t, {.permutations = kDraws, .seed = 17});
        EXPECT_EQ(mc.permutations, kDraws);
        EXPECT_EQ(mc.seed, 17u);
        expect_within_monte_carlo_error(mc.tau_a.p_value, exact.tau_a, kDraws, "Tau_a");
        expect_within_monte_carlo_error(mc.tau_b.p_value, exact.tau_b, kDraws, "Tau_b");
        expect_within_monte_carlo_error(mc.pearson.p_value, exact.pearson, kDraws, "X2");
        EXPECT_DOUBLE_EQ(mc.tau_a.p_value, (1.0 + static_cast<double>(mc.tau_a.at_least_as_extreme)) / (kDraws + 1));
    }
    // The symmetric 2 x 2 case in figures: P(|x - 5| >= 2) for x ~ H(10; 10, 10).
    EXPECT_NEAR(exact_p_values(tables[0]).tau_a, 8263.0 / 46189.0, 1e-12);
}

TEST(PermutationTest, TablesThatTieInTheoryCountAlike) {
    // With columns of 5, 5 and 7, the tables (3 0 0) and (0 3 0) in the first
    // row have the same statistics in theory; X^2 of the second comes out one
    // unit in the last place higher.
    const auto first = table_of(2, 3, {3, 0, 0, 2, 5, 7});
    const auto second = table_of(2, 3, {0, 3, 0, 5, 2, 7});
    ASSERT_NE(statistics_of(first).pearson, statistics_of(second).pearson);
    const PermutationResult a = permutation_test(first, {.permutations = 2000});
    const PermutationResult b = permutation_test(second, {.permutations = 2000});
    EXPECT_GT(a.pearson.at_least_as_extreme, 20);  // about 2000 * 20 / 680 of them
    EXPECT_EQ(a.pearson.at_least_as_extreme, b.pearson.at_least_as_extreme);
    EXPECT_EQ(a.tau_a.at_least_as_extreme, b.tau_a.at_least_as_extreme);
    EXPECT_EQ(a.tau_b.at_least_as_extreme, b.tau_b.at_least_as_extreme);
}

TEST(PermutationTest, TheSameSeedGivesTheSameResult) {
    const auto t = table_of(3, 4, {12, 0, 7, 3, 5, 9, 1, 14, 2, 2, 30, 1});
    const PermutationResult a = permutation_test(t, {.permutations = 3000, .seed = 123});
    const PermutationResult b = permutation_test(t, {.permutations = 3000, .seed = 123});
    EXPECT_EQ(a.tau_a.at_least_as_extreme, b.tau_a.at_least_as_extreme);
    EXPECT_EQ(a.tau_b.at_least_as_extreme, b.tau_b.at_least_as_extreme);
    EXPECT_EQ(a.pearson.at_least_as_extreme, b.pearson.at_least_as_extreme);
    EXPECT_EQ(a.tau_a.p_value, b.tau_a.p_value);
    EXPECT_EQ(permutation_test(t, {.permutations = 10}).seed, kDefaultSeed);
    EXPECT_THROW(permutation_test(t, {.permutations = 0}), std::invalid_argument);
}

TEST(PermutationTest, BillionsOfObservations) {
    // Strong dependence: no random table comes near it.
    const auto strong = table_of(3, 3, {300000000, 20000000, 10000000, 30000000, 250000000, 40000000, 5000000,
                                        15000000, 330000000});
    const PermutationResult s = permutation_test(strong, {.permutations = 200});
    EXPECT_EQ(s.tau_a.p_value, 1.0 / 201);
    EXPECT_EQ(s.pearson.p_value, 1.0 / 201);
    // Exactly independent counts: every random table is at least as extreme.
    const auto flat = table_of(2, 3, {100000000, 300000000, 600000000, 200000000, 600000000, 1200000000});
    const PermutationResult f = permutation_test(flat, {.permutations = 200});
    EXPECT_EQ(f.tau_a.p_value, 1.0);
    EXPECT_EQ(f.tau_b.p_value, 1.0);
    EXPECT_EQ(f.pearson.p_value, 1.0);
}

}  // namespace
}  // namespace marvist

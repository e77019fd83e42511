#include "stats/permutation_test.h"

#include <stdexcept>
#include <vector>

#include "stats/random_table.h"
#include "stats/table_statistics.h"

namespace marvist {
namespace {

bool at_least_as_extreme(double drawn, double observed) { return drawn >= observed * (1.0 - kTieTolerance); }

void finish(MonteCarloPValue& test, std::int64_t permutations) {
    test.p_value = static_cast<double>(1 + test.at_least_as_extreme) / static_cast<double>(permutations + 1);
}

}  // namespace

PermutationResult permutation_test(const Matrix<std::int64_t>& table, const PermutationOptions& options) {
    if (options.permutations < 1) throw std::invalid_argument("permutation_test: no permutations asked for");
    const std::int64_t I = table.rows(), J = table.cols();
    std::vector<std::int64_t> row_totals(static_cast<std::size_t>(I), 0), col_totals(static_cast<std::size_t>(J), 0);
    for (std::int64_t j = 1; j <= J; ++j)
        for (std::int64_t i = 1; i <= I; ++i) {
            row_totals[static_cast<std::size_t>(i - 1)] += table(i, j);
            col_totals[static_cast<std::size_t>(j - 1)] += table(i, j);
        }
    const MarginTerms terms = margin_terms(row_totals, col_totals);
    const TableStatistics observed = table_statistics(terms, table);

    PermutationResult result;
    result.permutations = options.permutations;
    result.seed = options.seed;
    result.tau_a.observed = observed.tau_a;
    result.tau_b.observed = observed.tau_b;
    result.pearson.observed = observed.pearson;

    RandomStream stream(options.seed);
    Matrix<std::int64_t> drawn(I, J);
    for (std::int64_t r = 0; r < options.permutations; ++r) {
        draw_random_table(stream, row_totals, col_totals, drawn);
        const TableStatistics s = table_statistics(terms, drawn);
        if (at_least_as_extreme(s.tau_a, observed.tau_a)) ++result.tau_a.at_least_as_extreme;
        if (at_least_as_extreme(s.tau_b, observed.tau_b)) ++result.tau_b.at_least_as_extreme;
        if (at_least_as_extreme(s.pearson, observed.pearson)) ++result.pearson.at_least_as_extreme;
    }
    finish(result.tau_a, options.permutations);
    finish(result.tau_b, options.permutations);
    finish(result.pearson, options.permutations);
    return result;
}

}  // namespace marvist

// Time of the permutation test: 10 000 random tables with the margins of a
// 30 x 20 table of N = 10 000 and of N = 1e9 observations, each with its
// Tau_a, Tau_b and X^2.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "stats/permutation_test.h"

namespace {

using marvist::Matrix;

// A 30 x 20 table of uneven counts (Park-Miller weights 1 to 50) scaled to
// about n observations, every row and column positive.
Matrix<std::int64_t> bench_table(std::int64_t n) {
    Matrix<std::int64_t> t(30, 20);
    std::int64_t x = 30 * 7919 + 20, weights = 0;
    for (int i = 1; i <= 30; ++i)
        for (int j = 1; j <= 20; ++j) {
            x = (x * 16807) % 2147483647;
            t(i, j) = 1 + x % 50;
            weights += t(i, j);
        }
    for (int i = 1; i <= 30; ++i)
        for (int j = 1; j <= 20; ++j) t(i, j) = 1 + t(i, j) * (n - 600) / weights;
    return t;
}

void BM_Permutations(benchmark::State& state) {
    const Matrix<std::int64_t> table = bench_table(state.range(0));
    for (auto _ : state) {
        const auto result = marvist::permutation_test(table, {.permutations = 10000});
        benchmark::DoNotOptimize(result.tau_a.p_value);
    }
}
BENCHMARK(BM_Permutations)->Arg(10000)->Arg(1000000000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

// Monte-Carlo permutation test of independence for Tau_a, Tau_b and
// Pearson's chi-square: random tables with the observed margins
// (stats/random_table.h), each statistic compared with its observed value.
#pragma once

#include <cstdint>

#include "base/matrix.h"
#include "stats/random_stream.h"

namespace marvist {

struct PermutationOptions {
    std::int64_t permutations = 0;      // R, the number of random tables (>= 1)
    std::uint64_t seed = kDefaultSeed;  // seed of the random stream (stats/random_stream.h)
};

struct MonteCarloPValue {
    double observed = 0.0;                 // the statistic of the table itself
    std::int64_t at_least_as_extreme = 0;  // random tables whose statistic is >= observed (within ties)
    double p_value = 1.0;                  // (1 + at_least_as_extreme) / (R + 1)
};

struct PermutationResult {
    std::int64_t permutations = 0;
    std::uint64_t seed = 0;
    MonteCarloPValue tau_a, tau_b, pearson;
};

// Statistics within this fraction of the observed value below it count as
// ties. Rounding moves a computed statistic by a relative amount of order
// (I J) 2^-53, plus what the cancellation in f - e and in the centred
// profiles costs: of order 2^-50 sqrt(N / X^2) for X^2 and 2^-51 / sqrt(B) for
// a tau numerator B. That is below 1e-9 for tables up to 1000 x 1000 and N
// up to 1e9 unless the statistic is practically zero, so tables that equal
// the observed one in theory but are summed in another order (rows or
// columns exchanged) count as ties, as they must. Tables that truly differ
// by less than 1e-7 of the value count as ties too, which errs on the
// conservative side by a negligible amount.
inline constexpr double kTieTolerance = 1e-7;

// table    I x J observed counts, every row and column total positive, N < 2^53
// options  R and the seed
// The same table, R and seed give the same result on every platform.
PermutationResult permutation_test(const Matrix<std::int64_t>& table, const PermutationOptions& options);

}  // namespace marvist

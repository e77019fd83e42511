// Hypergeometric draws, reproducible to the bit for a given random stream:
// integer arithmetic, IEEE + - * / and sqrt, and the logarithms of
// stats/log_factorial.h only.
#pragma once

#include <cstdint>

#include "stats/random_stream.h"

namespace marvist {

// The number of marked items in a sample of `sample` items taken without
// replacement from `marked` marked and `unmarked` unmarked ones.
//   marked, unmarked  >= 0, marked + unmarked < 2^53
//   sample            0 ... marked + unmarked
// Expected time O(1) for any size: inversion when the sample or the marked
// items number at most 32 (after the symmetries of the distribution),
// otherwise Stadlober's ratio-of-uniforms method with a table-mountain hat
// (HRUA). Draws that are certain take nothing from the stream.
std::int64_t draw_hypergeometric(RandomStream& stream, std::int64_t marked, std::int64_t unmarked,
                                 std::int64_t sample);

}  // namespace marvist

// Pairs of axes of a solution, and the pairs the listing's joint plots show.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace marvist {

struct AxisPair {
    int horizontal = 1;  // axis number, from 1
    int vertical = 2;
    friend bool operator==(const AxisPair&, const AxisPair&) = default;
};

// The pairs of the listing's joint plots for a solution of n_axes axes:
// every pair (i, j), i < j, of the first four axes in the order (1,2),
// (1,3), (1,4), (2,3), (2,4), (3,4), then (1, k) for k = 5 .. n_axes.
// None for fewer than two axes.
std::vector<AxisPair> listing_axis_pairs(int n_axes);

// "i,j" with two different axis numbers from 1; nothing for any other text.
std::optional<AxisPair> parse_axis_pair(std::string_view text);

}  // namespace marvist

#include "biplot/axis_pair.h"

#include <algorithm>
#include <charconv>

namespace marvist {

std::vector<AxisPair> listing_axis_pairs(int n_axes) {
    std::vector<AxisPair> pairs;
    if (n_axes < 2) return pairs;
    const int first = std::min(n_axes, 4);
    for (int i = 1; i < first; ++i) {
        for (int j = i + 1; j <= first; ++j) pairs.push_back({i, j});
    }
    for (int k = 5; k <= n_axes; ++k) pairs.push_back({1, k});
    return pairs;
}

std::optional<AxisPair> parse_axis_pair(std::string_view text) {
    const auto comma = text.find(',');
    if (comma == std::string_view::npos) return std::nullopt;
    const auto number = [](std::string_view part) -> std::optional<int> {
        int value = 0;
        const auto end = part.data() + part.size();
        const auto [ptr, ec] = std::from_chars(part.data(), end, value);
        if (part.empty() || ec != std::errc() || ptr != end || value < 1) return std::nullopt;
        return value;
    };
    const auto i = number(text.substr(0, comma));
    const auto j = number(text.substr(comma + 1));
    if (!i || !j || *i == *j) return std::nullopt;
    return AxisPair{*i, *j};
}

}  // namespace marvist

#include "app/runner/output_options.h"

#include <charconv>

#include "biplot/axis_pair.h"

namespace marvist {
namespace {

// A whole decimal number without sign into value; false when it is not one
// or does not fit.
template <class T>
bool read_number(std::string_view text, T& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && text.front() != '-' && ec == std::errc() && end == text.data() + text.size();
}

}  // namespace

bool is_output_option(std::string_view name) {
    return name == "--plots" || name == "--plot-axes" || name == "--export" || name == "--permutations" ||
           name == "--seed";
}

std::string set_output_option(std::string_view name, std::string_view value, BatchOptions& options) {
    const std::string shown(value);
    if (name == "--plots") {
        options.plots.folder = shown;
    } else if (name == "--plot-axes") {
        const std::optional<AxisPair> pair = parse_axis_pair(value);
        if (!pair) return "--plot-axes takes two different axis numbers as I,J, not \"" + shown + "\"";
        options.plots.pairs.push_back(*pair);
    } else if (name == "--export") {
        if (value.empty()) return "--export " + shown + ": an empty folder name";
        options.export_folder = shown;
    } else if (name == "--permutations") {
        if (!read_number(value, options.permutation.permutations))
            return "--permutations " + shown + ": not a whole number in range";
    } else if (name == "--seed") {
        if (!read_number(value, options.permutation.seed)) return "--seed " + shown + ": not a whole number in range";
    }
    return {};
}

std::string check_output_options(const BatchOptions& options) {
    if (options.plots.folder.empty() && !options.plots.pairs.empty()) return "--plot-axes needs --plots DIR";
    if (options.permutation.permutations > 0 && !options.export_folder) return "--permutations needs --export DIR";
    return {};
}

}  // namespace marvist

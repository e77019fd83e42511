#include "import/category_index.h"

#include <algorithm>
#include <numeric>

namespace marvist {
namespace {

// a < b for two whole numbers, compared by value without converting them
// (they may have any number of digits).
bool number_less(std::string_view a, std::string_view b) {
    const bool neg_a = a.front() == '-', neg_b = b.front() == '-';
    if (neg_a) a.remove_prefix(1);
    if (neg_b) b.remove_prefix(1);
    while (a.size() > 1 && a.front() == '0') a.remove_prefix(1);
    while (b.size() > 1 && b.front() == '0') b.remove_prefix(1);
    const bool zero_a = a == "0", zero_b = b == "0";
    const bool minus_a = neg_a && !zero_a, minus_b = neg_b && !zero_b;
    if (minus_a != minus_b) return minus_a;
    // Same sign: compare magnitudes, reversed for negatives.
    if (a == b) return false;
    const bool magnitude_less = a.size() != b.size() ? a.size() < b.size() : a < b;
    return minus_a ? !magnitude_less : magnitude_less;
}

}  // namespace

std::size_t CategoryIndex::find_or_add(std::string_view name, std::int64_t line) {
    if (has_last_ && name == last_name_) return last_index_;
    auto found = index_.find(name);
    std::size_t index;
    if (found != index_.end()) {
        index = found->second;
    } else {
        index = names_.size();
        index_.emplace(std::string(name), index);
        names_.emplace_back(name);
        first_lines_.push_back(line);
    }
    last_name_.assign(name);
    last_index_ = index;
    has_last_ = true;
    return index;
}

std::ptrdiff_t CategoryIndex::find(std::string_view name) const {
    auto found = index_.find(name);
    return found == index_.end() ? -1 : static_cast<std::ptrdiff_t>(found->second);
}

bool is_whole_number(std::string_view name) {
    if (!name.empty() && name.front() == '-') name.remove_prefix(1);
    return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::vector<std::size_t> category_order(const std::vector<std::string>& names, CategoryOrder order) {
    std::vector<std::size_t> positions(names.size());
    std::iota(positions.begin(), positions.end(), std::size_t{0});
    if (order == CategoryOrder::FirstAppearance) return positions;
    std::stable_sort(positions.begin(), positions.end(), [&](std::size_t x, std::size_t y) {
        const std::string& a = names[x];
        const std::string& b = names[y];
        const bool num_a = is_whole_number(a), num_b = is_whole_number(b);
        if (num_a != num_b) return num_a;
        if (num_a) {
            if (number_less(a, b)) return true;
            if (number_less(b, a)) return false;
        }
        return a < b;
    });
    return positions;
}

}  // namespace marvist

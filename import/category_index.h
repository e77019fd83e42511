// The categories of one variable as they turn up in a file: each distinct
// name gets the next index, and can be found again by its name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "import/table_options.h"

namespace marvist {

class CategoryIndex {
public:
    // The index of name (from 0), adding name when it is new. `line` is
    // kept as the line where a new name first appears.
    std::size_t find_or_add(std::string_view name, std::int64_t line);
    // The index of name, or -1 when it has not been added.
    std::ptrdiff_t find(std::string_view name) const;

    std::size_t size() const { return names_.size(); }
    const std::vector<std::string>& names() const { return names_; }
    std::int64_t first_line(std::size_t index) const { return first_lines_[index]; }

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    std::unordered_map<std::string, std::size_t, Hash, std::equal_to<>> index_;
    std::vector<std::string> names_;
    std::vector<std::int64_t> first_lines_;
    // The name found last, tried first: files often hold runs of one name.
    std::string last_name_;
    std::size_t last_index_ = 0;
    bool has_last_ = false;
};

// True when name is a whole number: optional '-', then digits only.
bool is_whole_number(std::string_view name);

// The indexes of names in the given order: position k of the result holds
// the index of the k-th category. First appearance keeps them as they are;
// sorted puts whole numbers first by value (equal values byte by byte),
// then the other names byte by byte (that is, by Unicode code point).
std::vector<std::size_t> category_order(const std::vector<std::string>& names, CategoryOrder order);

}  // namespace marvist

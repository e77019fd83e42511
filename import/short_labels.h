// Six-character labels for the categories of a table, made from their full
// names so that no two categories of one variable share a label.
//
// The rule, applied to the row names and to the column names separately:
//  1. A name's own label is its first six characters in code page 437
//     (characters the code page lacks become '?', control characters such
//     as tabs and line breaks blanks), padded with blanks.
//  2. A name whose own label no other name of the list has keeps it.
//  3. Names that share their own label are numbered 1, 2, ... in the order
//     of the list: label k is the own label without its trailing blanks,
//     cut to 6 - (digits of k) characters, followed by k (and blanks). A
//     label some other name already holds (by step 2 or an earlier number)
//     is passed over for the next number, so every label is unique.
//     "Professional" and "Profession" become "Profe1" and "Profe2".
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace marvist {

inline constexpr std::size_t kShortLabelLength = 6;

// A name's own label (step 1): six code-page-437 characters.
std::string own_label(std::string_view name);

// The labels of names (UTF-8), in order; none only when more than a million
// names share a label and the numbers run out.
std::optional<std::vector<std::string>> short_labels(const std::vector<std::string>& names);

}  // namespace marvist

// Fixed-length, blank-padded text fields (title 70, names 12, labels 6, ...).
#pragma once

#include <string>
#include <string_view>

namespace marvist {

// value cut or padded with blanks to exactly n characters.
inline std::string fixed(std::string_view value, std::size_t n) {
    std::string s(value.substr(0, n));
    s.resize(n, ' ');
    return s;
}

// value without its trailing blanks.
inline std::string_view trimmed(std::string_view value) {
    std::size_t n = value.size();
    while (n > 0 && value[n - 1] == ' ') --n;
    return value.substr(0, n);
}

// value without its leading blanks.
inline std::string_view without_leading_blanks(std::string_view value) {
    std::size_t k = 0;
    while (k < value.size() && value[k] == ' ') ++k;
    return value.substr(k);
}

}  // namespace marvist

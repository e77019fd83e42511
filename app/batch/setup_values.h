// Values of the free-form lines of a set-up file. Values are separated by
// blanks, tabs, commas or the line end; two commas with nothing but blanks
// between them give an empty value. A value that begins with a double quote
// runs to the closing double quote and may hold blanks and commas; two double
// quotes inside it stand for one. Nothing else is special: an apostrophe, a
// '*' (no repeat counts) and a '/' are ordinary characters of a value.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace marvist {

struct SetupValue {
    std::string text;
    bool quoted = false;
};

enum class SplitStatus {
    Ok,
    Unclosed,  // a value opens a double quote that the line does not close
    Garbled,   // a closing double quote is followed by more than a separator
};

// The first `count` values of line (fewer when the line holds fewer); what
// follows them is not looked at. On failure, values holds those before the
// value that failed.
//   line:   one line of the file, without its line end.
//   count:  the values wanted.
//   values: the values found, in order (replaced).
SplitStatus split_setup_values(std::string_view line, std::size_t count, std::vector<SetupValue>& values);

// A value as the writer puts it on a line so that split_setup_values gives
// it back whole: as it stands, or in double quotes (inner ones doubled) when
// it is empty, holds a blank, tab or comma, or begins with a double quote.
std::string setup_value_text(std::string_view value);

// value in double quotes, inner double quotes doubled.
std::string quoted_setup_value(std::string_view value);

}  // namespace marvist

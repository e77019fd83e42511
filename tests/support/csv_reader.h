// A strict reader of RFC 4180 CSV text for the tests of the export.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace marvist::test {

// The records of `text`, each a list of fields with quotes removed.
// Throws std::runtime_error on what RFC 4180 does not allow: a quote inside
// an unquoted field, anything but a comma or CRLF after a closing quote, an
// unclosed quote, a CR or LF outside quotes that is not part of CRLF, a
// last record without its CRLF, records with different numbers of fields.
std::vector<std::vector<std::string>> read_csv(std::string_view text);

}  // namespace marvist::test

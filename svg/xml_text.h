// Text made safe for XML character data and attribute values.
#pragma once

#include <string>
#include <string_view>

namespace marvist {

// utf8 with &, <, >, " and ' as entities, bytes that are not well-formed
// UTF-8 and the characters XML 1.0 forbids (controls other than tab, line
// feed and carriage return; U+FFFE, U+FFFF) replaced by U+FFFD, and line
// feeds, carriage returns and tabs kept as character references so that
// attribute values keep them.
std::string xml_text(std::string_view utf8);

}  // namespace marvist

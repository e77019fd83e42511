// Code page 437, the character set of the listing file.
#pragma once

#include <string>
#include <string_view>

namespace marvist {

// Each byte to its Unicode character, as UTF-8 (0x00-0x7F pass unchanged).
std::string cp437_to_utf8(std::string_view bytes);
// UTF-8 text to code-page-437 bytes; characters the code page lacks become '?'.
// Bytes that are not valid UTF-8 are kept as they stand.
std::string utf8_to_cp437(std::string_view text);

}  // namespace marvist

#include "svg/xml_text.h"

#include "biplot/utf8.h"

namespace marvist {

std::string xml_text(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const std::uint32_t c = next_code_point(utf8, i);
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&apos;"; break;
            case '\t': out += "&#9;"; break;
            case '\n': out += "&#10;"; break;
            case '\r': out += "&#13;"; break;
            default:
                if (c < 0x20 || c == 0xFFFE || c == 0xFFFF)
                    append_utf8(out, kReplacementCharacter);
                else
                    append_utf8(out, c);
        }
    }
    return out;
}

}  // namespace marvist

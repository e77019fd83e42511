#include "biplot/text_metrics.h"

#include <cstdint>

#include "biplot/utf8.h"

namespace marvist {
namespace {

// DejaVu Sans advance widths of the printable ASCII characters (space to
// '~'), in thousandths of the font size.
constexpr std::uint16_t kAsciiWidths[95] = {
    318, 401, 460, 838, 636, 950, 780, 275, 390, 390, 500, 838, 318, 361, 318, 337,   //  !"#$%&'()*+,-./
    636, 636, 636, 636, 636, 636, 636, 636, 636, 636, 337, 337, 838, 838, 838, 531,   // 0-9 :;<=>?
    1000, 684, 686, 698, 770, 632, 575, 775, 752, 295, 295, 656, 557, 863, 748, 787,  // @A-O
    603, 787, 695, 635, 611, 732, 684, 989, 685, 611, 685, 390, 337, 390, 838, 500,   // P-Z [\]^_
    500, 613, 635, 550, 635, 615, 352, 635, 634, 278, 278, 579, 278, 974, 634, 612,   // `a-o
    635, 635, 411, 521, 392, 634, 592, 818, 592, 592, 525, 636, 337, 636, 838};       // p-z {|}~

constexpr double kAscent = 0.928;
constexpr double kDescent = 0.236;
constexpr double kOtherLetter = 0.65;  // accented Latin, Greek, Cyrillic, symbols
constexpr double kWideLetter = 1.0;    // East Asian wide characters
constexpr double kBoldWidening = 1.12; // DejaVu Sans Bold against the book face

bool east_asian_wide(std::uint32_t c) {
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
           (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

}  // namespace

double text_width(std::string_view utf8, double size, bool bold) {
    double em = 0.0;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::uint32_t c = next_code_point(utf8, i);
        if (c >= 0x20 && c <= 0x7E)
            em += kAsciiWidths[c - 0x20] / 1000.0;
        else if (c < 0x20 || c == 0x7F)
            em += 0.0;
        else
            em += east_asian_wide(c) ? kWideLetter : kOtherLetter;
    }
    return (bold ? kBoldWidening : 1.0) * em * size;
}

std::string fit_text(std::string_view utf8, double size, double max_width, bool bold) {
    if (text_width(utf8, size, bold) <= max_width) return std::string(utf8);
    const std::string_view ellipsis = "\u2026";
    double width = text_width(ellipsis, size, bold);
    std::size_t end = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t start = i;
        next_code_point(utf8, i);
        width += text_width(utf8.substr(start, i - start), size, bold);
        if (width > max_width) break;
        end = i;
    }
    return std::string(utf8.substr(0, end)) + std::string(ellipsis);
}

double text_height(double size) { return (kAscent + kDescent) * size; }

double text_ascent(double size) { return kAscent * size; }

}  // namespace marvist

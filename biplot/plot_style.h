// The look of the joint plot, shared by every renderer: sizes in points and
// colours (a palette that colour-blind readers tell apart; the three kinds
// of points also differ in shape).
#pragma once

#include <cstdint>

#include "biplot/joint_plot.h"

namespace marvist::plot_style {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
};

inline constexpr double kPageWidth = 425.2;  // 15 cm
inline constexpr double kTitleSize = 11.0;
inline constexpr double kSubtitleSize = 9.0;
inline constexpr double kAxisTitleSize = 9.0;
inline constexpr double kTickSize = 7.5;
inline constexpr double kLabelSize = 8.0;
inline constexpr double kLegendSize = 8.0;
inline constexpr double kNoteSize = 7.5;

inline constexpr double kColumnRadius = 2.6;         // filled disc
inline constexpr double kSupplementaryRadius = 3.6;  // open triangle, circumradius
inline constexpr double kArrowHeadLength = 6.0;
inline constexpr double kArrowHeadHalfWidth = 2.4;
inline constexpr double kTickLength = 3.0;

inline constexpr double kFrameWidth = 0.6;
inline constexpr double kAxisWidth = 0.5;
inline constexpr double kArrowWidth = 0.8;
inline constexpr double kLeaderWidth = 0.4;
inline constexpr double kMarkerOutlineWidth = 0.8;

inline constexpr Rgb kBackground{255, 255, 255};
inline constexpr Rgb kFrame{68, 68, 68};
inline constexpr Rgb kAxis{150, 150, 150};
inline constexpr Rgb kText{34, 34, 34};
inline constexpr Rgb kLeader{120, 120, 120};

// Blue, vermilion and bluish green of the Okabe-Ito palette.
inline constexpr Rgb marker_colour(PointKind kind) {
    switch (kind) {
        case PointKind::Row: return {0, 114, 178};
        case PointKind::Column: return {213, 94, 0};
        case PointKind::Supplementary: return {0, 158, 115};
    }
    return {};
}

// Darker shades of the marker colours, for label text on white.
inline constexpr Rgb label_colour(PointKind kind) {
    switch (kind) {
        case PointKind::Row: return {0, 84, 140};
        case PointKind::Column: return {166, 66, 0};
        case PointKind::Supplementary: return {0, 110, 80};
    }
    return {};
}

}  // namespace marvist::plot_style

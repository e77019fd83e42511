// The printer plot: a scatter of labelled points drawn as a framed
// character raster in the listing, with tick marks and values on both axes,
// dotted lines through the origin, and a list of the points that share a
// character cell.
#pragma once

#include <span>
#include <string_view>

#include "base/layout.h"

namespace marvist {

// How the points are marked.
enum class LabelMode {
    GivenLabels,     // point i by labels[i - 1]
    SequenceLabels,  // point i by the key character of i (1..9, A..Z, 1, ...)
};

// Drawing characters of the raster, as code-page-437 bytes.
inline constexpr char kPlotBlank = ' ';
inline constexpr char kPlotVertical = '\xB3';     // │
inline constexpr char kPlotHorizontal = '\xC4';   // ─
inline constexpr char kPlotTopLeft = '\xDA';      // ┌
inline constexpr char kPlotTopRight = '\xBF';     // ┐
inline constexpr char kPlotBottomLeft = '\xC0';   // └
inline constexpr char kPlotBottomRight = '\xD9';  // ┘
inline constexpr char kPlotTickAcross = '+';      // ticks of the horizontal axis
inline constexpr char kPlotTickDown = '\xC5';     // ┼ ticks of the vertical axis
inline constexpr char kPlotOrigin = '\xF9';       // ∙ lines through the origin
inline constexpr char kPlotShared = '\xFE';       // ■ a cell of several points

// Draws one plot into the listing, then the list of coincident points.
//   xs, ys        horizontal and vertical coordinates (at least nPoints each)
//   labels        one character per point; read with GivenLabels only
//   nPoints       number of points
//   labelMode     GivenLabels or SequenceLabels
//   xLow, xHigh   in: horizontal range to show; out: the range drawn
//   yLow, yHigh   in: vertical range to show; out: the range drawn
//   nLines        raster lines, edges and tick values included (43)
//   nColumns      raster columns, edges and tick values included (78)
//   listing       destination of the records
// A range that cannot be scaled (see ScalableRange) gives no picture: the
// record " NO PLOT. THE RANGE OF THE COORDINATES CANNOT BE SCALED." and an
// empty record are written and the ranges are left as they are.
// Throws ProgramStop("NOT ENOUGH STORAGE FOR PLOT; ABORTING...") when the
// raster cannot be obtained, and ProgramStop("Illegal format specified")
// when a tick value has no legal layout (see FormatTickValue): down, where
// values are 7 wide, whenever the step needs more than 5 decimals.
void DrawPrinterPlot(std::span<const double> xs, std::span<const double> ys, std::string_view labels, int nPoints,
                     LabelMode labelMode, double& xLow, double& xHigh, double& yLow, double& yHigh, int nLines,
                     int nColumns, RecordSink& listing);

}  // namespace marvist

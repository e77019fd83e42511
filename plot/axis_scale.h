// Axis scales of the printer plots: the range drawn along one axis, where
// its ticks fall, how wide and with how many decimals their values print.
#pragma once

#include <string>

namespace marvist {

// How the tick values of an axis stand.
enum class TickValues {
    SideBySide,  // along a horizontal axis: the values need room for their width
    Stacked,     // along a vertical axis: each on a line of its own
};

// The scale of one axis, as ChooseAxisScale leaves it.
struct AxisScale {
    double start = 0.0;  // a tick value near the adjusted low end
    double step = 0.0;   // distance between tick values
    double cell = 0.0;   // the value one character position represents
    int labelWidth = 0;  // width of a horizontal tick value
    int decimals = 0;    // decimals of the tick values
};

// Nearest integer, halves away from zero (q >= 0: trunc(q + 0.5); q < 0:
// trunc(q - 0.5)). Values beyond +-1e9 are clamped there and NaN gives
// -1e9, so that a wild coordinate lands far outside any raster instead of
// overflowing the integer.
int NearestInteger(double q);

// The position of v along an axis: NearestInteger((v - low) / cell).
//   v     value to place
//   low   adjusted low end of the axis
//   cell  value of one character position
int AxisCell(double v, double low, double cell);

// v truncated toward zero, less one when that lies above v by more than
// 1e-9 * |v| (a floor that forgives rounding noise just below an integer).
double TolerantFloor(double v);

// Decimals that s needs: s written with F15.7, digits after the point
// counted up to the last one that is not 0 (0 to 7).
int StepDecimals(double s);

// A 15-character text whose first w characters are v written with Fw.d.
// Throws ProgramStop("Illegal format specified") unless 1 <= w <= 15,
// 0 <= d <= 9 and d <= w - 2.
std::string FormatTickValue(double v, int w, int d);

// True when [low, high] can be given a scale: both ends finite and the
// width positive, between 1e-290 and 1e290, and not lost in rounding
// against the size of the ends (so that adding a step always advances).
bool ScalableRange(double low, double high);

// Chooses the scale of an axis and widens its range.
//   low, high    in: the range to show; out: the range actually drawn
//   positions    character positions of the axis (69 across, 40 down)
//   tick_values  how the axis' tick values stand: side by side (horizontal
//                axis) or one above the other (vertical axis)
// A range that fails ScalableRange, or no positions, is a programming
// error (std::invalid_argument).
AxisScale ChooseAxisScale(double& low, double& high, int positions, TickValues tick_values);

}  // namespace marvist

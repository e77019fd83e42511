#include "plot/axis_scale.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "base/layout.h"
#include "base/program_stop.h"

namespace marvist {
namespace {

constexpr double kNearestLimit = 1e9;

// v written with F15.7, as the scale measures it.
std::string AsF15_7(double v) { return write_to_buffer("(F15.7)", {v}, 15); }

// Characters of v under F15.7 from its first non-blank up to and including
// the decimal point: sign, integer digits and the point (W(-0.5) = 3,
// W(12.0) = 3). A field of asterisks counts in full.
int IntegerPartWidth(double v) {
    const std::string text = AsF15_7(v);
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return 0;
    const std::size_t point = text.find('.', first);
    if (point == std::string::npos) return static_cast<int>(text.size() - first);
    return static_cast<int>(point - first + 1);
}

// The larger of W(low) and W(high), with room for the decimals and the
// point when there are decimals.
int TickLabelWidth(double low, double high, int decimals) {
    int width = std::max(IntegerPartWidth(low), IntegerPartWidth(high));
    if (decimals > 0) width = width + decimals + 1;
    return width;
}

}  // namespace

int NearestInteger(double q) {
    if (std::isnan(q)) return static_cast<int>(-kNearestLimit);
    q = std::clamp(q, -kNearestLimit, kNearestLimit);
    return static_cast<int>(q >= 0.0 ? std::trunc(q + 0.5) : std::trunc(q - 0.5));
}

int AxisCell(double v, double low, double cell) { return NearestInteger((v - low) / cell); }

double TolerantFloor(double v) {
    double f = std::trunc(v);
    if (f - v > 1e-9 * std::fabs(v)) f = f - 1.0;
    return f;
}

int StepDecimals(double s) {
    const std::string text = AsF15_7(s);
    const std::size_t point = text.find('.');
    if (point == std::string::npos) return 0;
    int decimals = 0;
    for (std::size_t k = point + 1; k < text.size(); ++k) {
        if (text[k] >= '1' && text[k] <= '9') decimals = static_cast<int>(k - point);
    }
    return decimals;
}

std::string FormatTickValue(double v, int w, int d) {
    if (w < 1 || w > 15 || d < 0 || d > 9 || d > w - 2) throw ProgramStop("Illegal format specified");
    // The layout text is the template "(F  . )" with w in characters 3-4
    // and d in character 6.
    std::string text = "(F  . )";
    text.replace(2, 2, write_to_buffer("(I2)", {w}, 2));
    text.replace(5, 1, write_to_buffer("(I1)", {d}, 1));
    const Value value[] = {v};
    return write_to_buffer(cached_layout(text), value, 15);
}

bool ScalableRange(double low, double high) {
    if (!std::isfinite(low) || !std::isfinite(high)) return false;
    const double width = high - low;
    if (!(width >= 1e-290 && width <= 1e290)) return false;
    return width > 1e-12 * std::max(std::fabs(low), std::fabs(high));
}

AxisScale ChooseAxisScale(double& low, double& high, int positions, TickValues tick_values) {
    // Without a usable range or positions the step searches below never end.
    if (!ScalableRange(low, high) || positions < 1)
        throw std::invalid_argument("ChooseAxisScale: no scale for this range");
    const int n = positions;
    AxisScale scale;

    const double R = (high - low) * (n + 1) / n;
    double s = std::pow(10.0, TolerantFloor(std::log10(R)));
    if (NearestInteger(R / s) < 2) s = s / 10.0;
    while (NearestInteger(R / s) < n / 2) s = s / 2.0;

    int decimals = StepDecimals(s);
    int labelWidth = TickLabelWidth(low, high, decimals);

    // Double the step until the tick values have room. The decimals follow
    // the doubled step itself (0.1 -> 0.2 keeps one decimal). A count of 0
    // steps also ends the search: it is reached whenever the limit is at
    // least 1, and it keeps a limit of 0 (too few positions) from looping.
    for (;;) {
        s = 2.0 * s;
        decimals = StepDecimals(s);
        labelWidth = TickLabelWidth(low, high, decimals);
        const int steps = NearestInteger(R / s);
        const int limit = tick_values == TickValues::SideBySide ? n / labelWidth : n / 2;
        if (limit > steps || steps == 0) break;
    }

    scale.step = s;
    const int m = static_cast<int>(s * n / R);  // whole positions per step
    scale.cell = s / m;
    scale.decimals = decimals;
    scale.labelWidth = labelWidth;

    const double E = n * scale.cell - R;
    high = high + E / 2.0;
    low = low - E / 2.0;

    scale.start = low - std::fmod(low, s);
    double t = scale.start < low ? std::fmod(scale.start + s - low, scale.cell)
                                 : std::fmod(scale.start - low, scale.cell);
    t = static_cast<double>(static_cast<float>(t));
    low = low + t - scale.cell / 2.0;
    return scale;
}

}  // namespace marvist

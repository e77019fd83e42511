// Tick values for the axes of a picture: round steps of 1, 2 or 5 times a
// power of ten.
#pragma once

#include <vector>

namespace marvist {

struct TickStep {
    double step = 1.0;  // distance between ticks
    int decimals = 0;   // decimals that the tick values need
};

// The smallest round step not below `at_least` (positive and finite; a
// step of 1 otherwise).
TickStep round_step(double at_least);

// The multiples of step that lie in [low, high], ascending (at most 200).
std::vector<double> tick_values(double low, double high, double step);

}  // namespace marvist

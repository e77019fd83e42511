// Distances between label boxes and the things they must keep clear of:
// points (discs) and lines (segments with a width), both taken as capsules,
// the set of places within a radius of a segment (of a single place, for a
// point).
#pragma once

#include <cmath>

#include "biplot/label_placement.h"

namespace marvist {

// The length of (dx, dy), by a square root alone so that it is the same on
// every IEEE machine.
inline double length_of(double dx, double dy) { return std::sqrt(dx * dx + dy * dy); }

struct Capsule {
    double ax = 0.0, ay = 0.0, bx = 0.0, by = 0.0;  // the segment (a == b for a point)
    double radius = 0.0;
};

// The nearest places of the box and of the segment to each other.
struct Closest {
    double distance = 0.0;       // 0 when the segment touches or crosses the box
    double box_x = 0.0, box_y = 0.0;
    double segment_x = 0.0, segment_y = 0.0;
};

Closest closest(const Rect& box, const Capsule& c);

// Whether the box comes no nearer than `reach` to the segment.
bool keeps_clear(const Rect& box, const Capsule& c, double reach);

// How far, and which way, to move the box so that it keeps `reach` from the
// segment; (0, 0) when it does already.
void push_away(const Rect& box, const Capsule& c, double reach, double& dx, double& dy);

}  // namespace marvist

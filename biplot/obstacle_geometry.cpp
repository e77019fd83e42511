#include "biplot/obstacle_geometry.h"

#include <algorithm>
#include <cmath>

namespace marvist {
namespace {

double squared(double v) { return v * v; }

// Whether the segment meets the box (Liang-Barsky clipping).
bool meets(const Rect& r, const Capsule& c) {
    const double dx = c.bx - c.ax, dy = c.by - c.ay;
    double t0 = 0.0, t1 = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {c.ax - r.left, r.right - c.ax, c.ay - r.top, r.bottom - c.ay};
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0.0) {
            if (q[k] < 0.0) return false;
            continue;
        }
        const double t = q[k] / p[k];
        if (p[k] < 0.0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    return true;
}

// The place of the segment nearest to (x, y).
void nearest_on_segment(const Capsule& c, double x, double y, double& sx, double& sy) {
    const double dx = c.bx - c.ax, dy = c.by - c.ay;
    const double length2 = dx * dx + dy * dy;
    double t = length2 > 0.0 ? ((x - c.ax) * dx + (y - c.ay) * dy) / length2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    sx = c.ax + t * dx;
    sy = c.ay + t * dy;
}

}  // namespace

Closest closest(const Rect& box, const Capsule& c) {
    Closest best;
    if (c.ax == c.bx && c.ay == c.by) {
        best.segment_x = c.ax, best.segment_y = c.ay;
        best.box_x = std::clamp(c.ax, box.left, box.right);
        best.box_y = std::clamp(c.ay, box.top, box.bottom);
        best.distance = std::sqrt(squared(best.box_x - c.ax) + squared(best.box_y - c.ay));
        return best;
    }
    if (meets(box, c)) {
        best.box_x = best.segment_x = std::clamp(c.ax, box.left, box.right);
        best.box_y = best.segment_y = std::clamp(c.ay, box.top, box.bottom);
        return best;
    }
    // Apart, the nearest pair joins an end of the segment to the box or a
    // corner of the box to the segment.
    double least = HUGE_VAL;
    const auto consider = [&](double bx, double by, double sx, double sy) {
        const double d2 = squared(bx - sx) + squared(by - sy);
        if (d2 < least) least = d2, best.box_x = bx, best.box_y = by, best.segment_x = sx, best.segment_y = sy;
    };
    for (const auto& [x, y] : {std::pair{c.ax, c.ay}, std::pair{c.bx, c.by}})
        consider(std::clamp(x, box.left, box.right), std::clamp(y, box.top, box.bottom), x, y);
    if (c.ax != c.bx || c.ay != c.by) {
        for (const auto& [x, y] : {std::pair{box.left, box.top}, std::pair{box.right, box.top},
                                   std::pair{box.left, box.bottom}, std::pair{box.right, box.bottom}}) {
            double sx, sy;
            nearest_on_segment(c, x, y, sx, sy);
            consider(x, y, sx, sy);
        }
    }
    best.distance = std::sqrt(least);
    return best;
}

bool within_reach_of_bounds(const Rect& box, const Capsule& c, double reach) {
    return std::min(c.ax, c.bx) - reach < box.right && box.left < std::max(c.ax, c.bx) + reach &&
           std::min(c.ay, c.by) - reach < box.bottom && box.top < std::max(c.ay, c.by) + reach;
}

bool keeps_clear(const Rect& box, const Capsule& c, double reach) {
    return !within_reach_of_bounds(box, c, reach) || closest(box, c).distance >= reach;
}

void push_away(const Rect& box, const Capsule& c, double reach, double& dx, double& dy) {
    dx = dy = 0.0;
    if (!within_reach_of_bounds(box, c, reach)) return;
    const Closest near = closest(box, c);
    if (near.distance >= reach) return;
    if (near.distance > 0.0) {
        const double scale = (reach - near.distance) / near.distance;
        dx = (near.box_x - near.segment_x) * scale;
        dy = (near.box_y - near.segment_y) * scale;
        return;
    }
    const double sx = c.bx - c.ax, sy = c.by - c.ay;
    const double length = std::sqrt(sx * sx + sy * sy);
    if (length == 0.0) {
        // A point inside the box: out by the nearest side.
        const double left = c.ax - box.left, right = box.right - c.ax, up = c.ay - box.top, down = box.bottom - c.ay;
        const double least = std::min({left, right, up, down});
        if (least == left)
            dx = left + reach;
        else if (least == right)
            dx = -(right + reach);
        else if (least == up)
            dy = up + reach;
        else
            dy = -(down + reach);
        return;
    }
    // A segment across the box: off it sideways, toward the side of the
    // box's centre, until every corner keeps the reach from the line.
    double nx = -sy / length, ny = sx / length;
    const double cx = (box.left + box.right) / 2.0, cy = (box.top + box.bottom) / 2.0;
    if ((cx - c.ax) * nx + (cy - c.ay) * ny < 0.0) nx = -nx, ny = -ny;
    double lowest = HUGE_VAL;
    for (const auto& [x, y] : {std::pair{box.left, box.top}, std::pair{box.right, box.top},
                               std::pair{box.left, box.bottom}, std::pair{box.right, box.bottom}})
        lowest = std::min(lowest, (x - c.ax) * nx + (y - c.ay) * ny);
    dx = (reach - lowest) * nx;
    dy = (reach - lowest) * ny;
}

}  // namespace marvist

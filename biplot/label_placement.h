// Placement of point labels without overlaps, in page units (points, y
// downward). Label boxes start on their point's preferred side, push each
// other and the points and lines away and are pulled back by a weakening spring, for
// a bounded number of iterations; then, in order of priority, each label
// keeps its place if it is clear of every label kept before it, of every
// point and of the area's edges, or takes the nearest clear place on a ring
// of candidate places around its point, or is left out; no label stands far
// from its point. When the labels
// would cover too much of the area, the ones of least priority are left out
// from the start. Same input and options, same result: nothing depends on
// the time it takes.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace marvist {

struct Rect {
    double left = 0.0, top = 0.0, right = 0.0, bottom = 0.0;
    double width() const { return right - left; }
    double height() const { return bottom - top; }
};

struct LabelRequest {
    double anchor_x = 0.0, anchor_y = 0.0;          // the point labelled
    double anchor_radius = 0.0;                     // its marker's radius
    double width = 0.0, height = 0.0;               // the label's box
    double direction_x = 0.0, direction_y = -1.0;   // preferred side of the point (need not be unit length)
    double priority = 0.0;                          // higher keeps its label longer when room runs out
};

// A drawn point that no label may cover.
struct PointObstacle {
    double x = 0.0, y = 0.0, radius = 0.0;
};

// A drawn line (an arrow's shaft) that no label may cover.
struct LineObstacle {
    double x0 = 0.0, y0 = 0.0, x1 = 0.0, y1 = 0.0;
    double half_width = 0.0;
};

struct PlacementOptions {
    int max_iterations = 300;        // force iterations at most
    std::uint64_t seed = 0x4D61727669737431;  // seeds the tiny jitter that separates coincident boxes
    double gap = 1.5;                // clearance between labels, and between labels and points
    double spring = 0.05;            // pull toward the preferred place per iteration, weakening to 0
    double fill_limit = 0.4;         // labels beyond this share of the free area are left out at once
    double leader_distance = 4.0;    // a label further than this beyond its point's clearance gets a leader line
    double max_distance = 30.0;      // and none stands further than this beyond it
};

struct PlacedLabel {
    bool shown = false;
    Rect box;                        // where the label stands
    bool leader = false;             // a line joins the label to its point
    double leader_x0 = 0.0, leader_y0 = 0.0;  // on the edge of the point's marker
    double leader_x1 = 0.0, leader_y1 = 0.0;  // the nearest point of the box
};

struct LabelPlacement {
    std::vector<PlacedLabel> labels;  // one per request, in the order of the requests
    int left_out = 0;                 // requests whose label is not shown
};

// Places the labels of `requests` inside `area`, clear of each other, of
// `points` (normally every drawn point, the labelled ones included) and of
// `lines`.
LabelPlacement place_labels(std::span<const LabelRequest> requests, std::span<const PointObstacle> points,
                            std::span<const LineObstacle> lines, const Rect& area, const PlacementOptions& options);

}  // namespace marvist

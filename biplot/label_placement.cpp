#include "biplot/label_placement.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "biplot/box_grid.h"
#include "biplot/obstacle_geometry.h"

namespace marvist {
namespace {

// Sixteen directions, a sixteenth of a turn apart, starting to the right
// and turning toward +y.
constexpr double kDirections[16][2] = {
    {1.0, 0.0},           {0.9238795325, 0.3826834324},   {0.7071067812, 0.7071067812},
    {0.3826834324, 0.9238795325}, {0.0, 1.0},             {-0.3826834324, 0.9238795325},
    {-0.7071067812, 0.7071067812}, {-0.9238795325, 0.3826834324}, {-1.0, 0.0},
    {-0.9238795325, -0.3826834324}, {-0.7071067812, -0.7071067812}, {-0.3826834324, -0.9238795325},
    {0.0, -1.0},          {0.3826834324, -0.9238795325},  {0.7071067812, -0.7071067812},
    {0.9238795325, -0.3826834324}};

// Rounding allowance: a box placed against an edge or at a clearance keeps
// that place although its computed edges may differ in the last bits.
constexpr double kSlack = 1e-6;

// Distances of the candidate rings beyond a point's clearance, in label heights.
constexpr double kRings[] = {0.0, 0.5, 1.0, 1.5, 2.0, 3.0, 4.0, 6.0, 8.0, 12.0};

// A small generator with a fully specified sequence (splitmix64), so the
// jitter is the same on every platform.
class Jitter {
public:
    explicit Jitter(std::uint64_t seed) : state_(seed) {}
    // Uniform in [-0.5, 0.5).
    double next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        z ^= z >> 31;
        return static_cast<double>(z >> 11) * 0x1.0p-53 - 0.5;
    }

private:
    std::uint64_t state_;
};

struct Box {
    double cx, cy, half_w, half_h;
    Rect rect() const { return {cx - half_w, cy - half_h, cx + half_w, cy + half_h}; }
};

bool finite(const LabelRequest& r) {
    return std::isfinite(r.anchor_x) && std::isfinite(r.anchor_y) && std::isfinite(r.width) &&
           std::isfinite(r.height) && r.width >= 0.0 && r.height >= 0.0 && std::isfinite(r.anchor_radius);
}

// Unit vector of (x, y); straight up for a vector of no length.
void unit(double x, double y, double& ux, double& uy) {
    const double length = std::sqrt(x * x + y * y);
    if (!(length > 0.0) || !std::isfinite(length)) {
        ux = 0.0, uy = -1.0;
        return;
    }
    ux = x / length, uy = y / length;
}

// The box of a label hung on the side u of its anchor, its nearest corner
// or edge at distance reach from the anchor.
Box hang(const LabelRequest& r, double ux, double uy, double reach) {
    return {r.anchor_x + ux * reach + ux * r.width / 2.0, r.anchor_y + uy * reach + uy * r.height / 2.0,
            r.width / 2.0, r.height / 2.0};
}

// Moves the box inside the area (centred on it when it is too large).
void keep_inside(Box& b, const Rect& area) {
    const auto fit = [](double c, double half, double low, double high) {
        if (high - low < 2.0 * half) return (low + high) / 2.0;
        return std::clamp(c, low + half, high - half);
    };
    b.cx = fit(b.cx, b.half_w, area.left, area.right);
    b.cy = fit(b.cy, b.half_h, area.top, area.bottom);
}

// Squared distance from (x, y) to the nearest point of the rectangle, and
// that point.
double distance2(const Rect& r, double x, double y, double& qx, double& qy) {
    qx = std::clamp(x, r.left, r.right);
    qy = std::clamp(y, r.top, r.bottom);
    return (qx - x) * (qx - x) + (qy - y) * (qy - y);
}

Rect grow(const Rect& r, double by) { return {r.left - by, r.top - by, r.right + by, r.bottom + by}; }

// The ranks of the requests by priority, highest first; ties keep the order
// of the requests.
std::vector<int> by_priority(std::span<const LabelRequest> requests) {
    std::vector<int> order(requests.size());
    std::iota(order.begin(), order.end(), 0);
    const auto key = [&](int i) {
        const double p = requests[i].priority;
        return std::isnan(p) ? -HUGE_VAL : p;
    };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return key(a) > key(b); });
    return order;
}

class Placer {
public:
    Placer(std::span<const LabelRequest> requests, std::span<const PointObstacle> points,
           std::span<const LineObstacle> lines, const Rect& area, const PlacementOptions& options)
        : requests_(requests), area_(area), options_(options),
          obstacle_grid_(area, smallest_label() + options.gap, static_cast<int>(points.size() + lines.size())),
          label_grid_(area, largest_label() + options.gap, static_cast<int>(requests.size())),
          dropped_grid_(area, options.max_distance, static_cast<int>(requests.size())) {
        for (const PointObstacle& p : points) obstacles_.push_back({p.x, p.y, p.x, p.y, p.radius});
        for (const LineObstacle& l : lines) obstacles_.push_back({l.x0, l.y0, l.x1, l.y1, l.half_width});
        for (std::size_t k = 0; k < obstacles_.size(); ++k) {
            const Capsule& c = obstacles_[k];
            if (!std::isfinite(c.ax) || !std::isfinite(c.ay) || !std::isfinite(c.bx) || !std::isfinite(c.by) ||
                !std::isfinite(c.radius))
                continue;
            max_radius_ = std::max(max_radius_, c.radius);
            obstacle_grid_.insert_along(static_cast<int>(k), c.ax, c.ay, c.bx, c.by, c.radius);
        }
    }

    LabelPlacement run() {
        LabelPlacement result;
        result.labels.resize(requests_.size());
        const std::vector<int> order = by_priority(requests_);
        const std::vector<int> active = within_fill_limit(order);
        std::vector<Box> boxes = starting_boxes(active);
        repel(boxes);
        settle(active, boxes, result);
        result.left_out = static_cast<int>(
            std::count_if(result.labels.begin(), result.labels.end(), [](const PlacedLabel& l) { return !l.shown; }));
        return result;
    }

private:
    double largest_label() const {
        double size = 1.0;
        for (const LabelRequest& r : requests_)
            if (finite(r)) size = std::max({size, r.width, r.height});
        return size;
    }

    double smallest_label() const {
        double size = HUGE_VAL;
        for (const LabelRequest& r : requests_)
            if (finite(r)) size = std::min({size, r.width, r.height});
        return std::isfinite(size) ? std::max(size, 1.0) : 1.0;
    }

    // The requests that can be placed, highest priority first, as many as
    // fill the area's free part (what the points and lines leave, at least a
    // fifth of it) up to the fill limit.
    std::vector<int> within_fill_limit(const std::vector<int>& order) const {
        double free = area_.width() * area_.height();
        for (const Capsule& c : obstacles_) {
            const double r = c.radius + options_.gap / 2.0;
            const double length = length_of(c.bx - c.ax, c.by - c.ay);
            if (std::isfinite(r) && std::isfinite(length)) free -= 3.14159265358979 * r * r + 2.0 * r * length;
        }
        free = std::max(free, 0.2 * area_.width() * area_.height());
        std::vector<int> active;
        double filled = 0.0;
        for (int i : order) {
            const LabelRequest& r = requests_[i];
            if (!finite(r)) continue;
            filled += (r.width + options_.gap) * (r.height + options_.gap);
            if (filled > options_.fill_limit * free) break;
            active.push_back(i);
        }
        return active;
    }

    // Each label on its preferred side, just clear of its point, moved by
    // a jitter of a hundredth of a point so that no two boxes coincide.
    std::vector<Box> starting_boxes(const std::vector<int>& active) const {
        Jitter jitter(options_.seed);
        std::vector<Box> boxes;
        boxes.reserve(active.size());
        for (int i : active) {
            const LabelRequest& r = requests_[i];
            double ux, uy;
            unit(r.direction_x, r.direction_y, ux, uy);
            Box b = hang(r, ux, uy, r.anchor_radius + options_.gap + kSlack);
            b.cx += 0.01 * jitter.next();
            b.cy += 0.01 * jitter.next();
            keep_inside(b, area_);
            boxes.push_back(b);
        }
        return boxes;
    }

    // The force iterations: overlapping labels are pushed apart along the
    // axis of least overlap, half each; a label over a point or a line is
    // pushed off it; every label is pulled toward its starting place by a spring that
    // weakens to nothing over the iterations. Ends early once nothing
    // overlaps.
    void repel(std::vector<Box>& boxes) {
        const std::size_t n = boxes.size();
        const std::vector<Box> home = boxes;
        const double half_gap = options_.gap / 2.0;
        std::vector<double> fx(n), fy(n);
        BoxGrid grid(area_, largest_label() + options_.gap, static_cast<int>(n));
        for (int iteration = 0; iteration < options_.max_iterations; ++iteration) {
            std::fill(fx.begin(), fx.end(), 0.0);
            std::fill(fy.begin(), fy.end(), 0.0);
            bool overlap = false;
            grid.clear();
            for (std::size_t a = 0; a < n; ++a) grid.insert(static_cast<int>(a), grow(boxes[a].rect(), half_gap));
            for (std::size_t a = 0; a < n; ++a) {
                const Box& A = boxes[a];
                grid.visit(grow(A.rect(), half_gap), [&](int b_id) {
                    const std::size_t b = static_cast<std::size_t>(b_id);
                    if (b <= a) return;
                    const Box& B = boxes[b];
                    const double dx = A.cx - B.cx, dy = A.cy - B.cy;
                    const double ox = A.half_w + B.half_w + options_.gap - std::fabs(dx);
                    const double oy = A.half_h + B.half_h + options_.gap - std::fabs(dy);
                    if (ox <= 0.0 || oy <= 0.0) return;
                    overlap = true;
                    if (ox <= oy) {
                        const double push = (dx > 0.0 ? 1.0 : -1.0) * (ox / 2.0 + 0.01);
                        fx[a] += push, fx[b] -= push;
                    } else {
                        const double push = (dy > 0.0 ? 1.0 : -1.0) * (oy / 2.0 + 0.01);
                        fy[a] += push, fy[b] -= push;
                    }
                });
                push_off_obstacles(A, fx[a], fy[a], overlap);
            }
            if (!overlap) break;
            const double spring = options_.spring * (1.0 - static_cast<double>(iteration) / options_.max_iterations);
            for (std::size_t a = 0; a < n; ++a) {
                boxes[a].cx += fx[a] + spring * (home[a].cx - boxes[a].cx);
                boxes[a].cy += fy[a] + spring * (home[a].cy - boxes[a].cy);
                keep_inside(boxes[a], area_);
            }
        }
    }

    void push_off_obstacles(const Box& box, double& fx, double& fy, bool& overlap) {
        const Rect r = box.rect();
        obstacle_grid_.visit(grow(r, options_.gap + max_radius_), [&](int k) {
            const Capsule& c = obstacles_[k];
            double dx, dy;
            push_away(r, c, c.radius + options_.gap, dx, dy);
            if (dx == 0.0 && dy == 0.0) return;
            overlap = true;
            // A little beyond, so that the next iteration finds it clear.
            const double length = length_of(dx, dy);
            fx += dx + dx / length * 0.01;
            fy += dy + dy / length * 0.01;
        });
    }

    bool clear_of_obstacles(const Rect& r) {
        return obstacle_grid_.all_of(grow(r, options_.gap + max_radius_), [&](int k) {
            return keeps_clear(r, obstacles_[k], obstacles_[k].radius + options_.gap);
        });
    }

    bool clear_of_labels(const Rect& r, const std::vector<Rect>& kept) {
        return label_grid_.all_of(grow(r, options_.gap), [&](int k) {
            const Rect& o = kept[k];
            return !(r.left < o.right + options_.gap && o.left < r.right + options_.gap &&
                     r.top < o.bottom + options_.gap && o.top < r.bottom + options_.gap);
        });
    }

    bool fits(const Rect& r, const std::vector<Rect>& kept) {
        return r.left >= area_.left - kSlack && r.right <= area_.right + kSlack && r.top >= area_.top - kSlack &&
               r.bottom <= area_.bottom + kSlack &&
               clear_of_labels(r, kept) && clear_of_obstacles(r);
    }

    // In order of priority: the label keeps its place from the iterations if
    // that is clear and near, else takes the first clear candidate place;
    // else it is left out, and so are the labels of lower priority near its
    // point, so that where room runs out the least important go first.
    void settle(const std::vector<int>& active, const std::vector<Box>& boxes, LabelPlacement& result) {
        std::vector<Rect> kept(requests_.size());
        for (std::size_t a = 0; a < active.size(); ++a) {
            const int i = active[a];
            const LabelRequest& r = requests_[i];
            if (crowded_out(r)) continue;
            Rect place = boxes[a].rect();
            bool found = near(r, place) && fits(place, kept);
            // A clear place that needs a leader line yields to a clear
            // candidate close enough to need none.
            if (found && needs_leader(r, place)) candidate(r, kept, place, options_.leader_distance);
            if (!found) found = candidate(r, kept, place, options_.max_distance);
            if (!found) {
                dropped_grid_.insert(i, {r.anchor_x, r.anchor_y, r.anchor_x, r.anchor_y});
                continue;
            }
            kept[i] = place;
            label_grid_.insert(i, place);
            PlacedLabel& label = result.labels[i];
            label.shown = true;
            label.box = place;
            add_leader(r, label);
        }
    }

    // The first clear candidate place at most `within` beyond the point's
    // clearance, nearest rings first and, within a ring, the directions
    // nearest the preferred side first.
    bool candidate(const LabelRequest& r, const std::vector<Rect>& kept, Rect& place, double within) {
        double ux, uy;
        unit(r.direction_x, r.direction_y, ux, uy);
        int start = 0;
        double best = -2.0;
        for (int d = 0; d < 16; ++d) {
            const double dot = kDirections[d][0] * ux + kDirections[d][1] * uy;
            if (dot > best) best = dot, start = d;
        }
        for (double ring : kRings) {
            if (ring * r.height > within) break;
            const double reach = r.anchor_radius + options_.gap + ring * r.height + kSlack;
            for (int step = 0; step < 16; ++step) {
                // start, start+1, start-1, start+2, start-2, ...
                const int offset = (step + 1) / 2 * (step % 2 == 1 ? 1 : -1);
                const int d = ((start + offset) % 16 + 16) % 16;
                Box b = hang(r, kDirections[d][0], kDirections[d][1], reach);
                keep_inside(b, area_);
                const Rect rect = b.rect();
                if (near(r, rect) && fits(rect, kept)) {
                    place = rect;
                    return true;
                }
            }
        }
        return false;
    }

    // Whether a label of higher priority was left out within the longest
    // distance of this label's point.
    bool crowded_out(const LabelRequest& r) {
        const double d = options_.max_distance;
        bool crowded = false;
        dropped_grid_.visit({r.anchor_x - d, r.anchor_y - d, r.anchor_x + d, r.anchor_y + d}, [&](int k) {
            const LabelRequest& o = requests_[k];
            if (length_of(o.anchor_x - r.anchor_x, o.anchor_y - r.anchor_y) <= d) crowded = true;
        });
        return crowded;
    }

    // Whether the box stands within the longest distance of its point.
    bool near(const LabelRequest& r, const Rect& box) const {
        double qx, qy;
        const double reach = r.anchor_radius + options_.gap + options_.max_distance + kSlack;
        return distance2(box, r.anchor_x, r.anchor_y, qx, qy) <= reach * reach;
    }

    bool needs_leader(const LabelRequest& r, const Rect& box) const {
        double qx, qy;
        const double reach = r.anchor_radius + options_.gap + options_.leader_distance;
        return distance2(box, r.anchor_x, r.anchor_y, qx, qy) > reach * reach;
    }

    void add_leader(const LabelRequest& r, PlacedLabel& label) const {
        if (!needs_leader(r, label.box)) return;
        double qx, qy;
        const double d = std::sqrt(distance2(label.box, r.anchor_x, r.anchor_y, qx, qy));
        label.leader = true;
        label.leader_x0 = r.anchor_x + (qx - r.anchor_x) / d * r.anchor_radius;
        label.leader_y0 = r.anchor_y + (qy - r.anchor_y) / d * r.anchor_radius;
        label.leader_x1 = qx;
        label.leader_y1 = qy;
    }

    std::span<const LabelRequest> requests_;
    Rect area_;
    PlacementOptions options_;
    std::vector<Capsule> obstacles_;  // the points, then the lines
    BoxGrid obstacle_grid_;
    BoxGrid label_grid_;
    BoxGrid dropped_grid_;  // anchors of the labels left out in the final pass
    double max_radius_ = 0.0;
};

}  // namespace

LabelPlacement place_labels(std::span<const LabelRequest> requests, std::span<const PointObstacle> points,
                            std::span<const LineObstacle> lines, const Rect& area, const PlacementOptions& options) {
    return Placer(requests, points, lines, area, options).run();
}

}  // namespace marvist

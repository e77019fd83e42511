// Label placement: clouds with room to spare get every label, clear of each
// other, of the points and of the edges; crowded clouds lose the labels of
// least priority and count them; the same input gives the same layout.
#include "biplot/label_placement.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include <gtest/gtest.h>

namespace marvist {
namespace {

const Rect kArea{30.0, 40.0, 430.0, 340.0};  // 400 x 300 points

struct Cloud {
    std::vector<LabelRequest> requests;
    std::vector<PointObstacle> points;
};

// Uniform in [0, 1) from the generator's raw output, the same everywhere.
double uniform(std::mt19937& g) { return g() / 4294967296.0; }

// n labelled points spread over the area (a margin kept), labels 12 to 48
// points wide and 10 high, priorities all different; `extra` unlabelled
// points besides.
Cloud random_cloud(std::uint32_t seed, int n, int extra = 0) {
    std::mt19937 g(seed);
    Cloud c;
    const auto x = [&] { return kArea.left + 20.0 + uniform(g) * (kArea.width() - 40.0); };
    const auto y = [&] { return kArea.top + 15.0 + uniform(g) * (kArea.height() - 30.0); };
    for (int i = 0; i < n; ++i) {
        const double px = x(), py = y();
        c.points.push_back({px, py, 2.6});
        c.requests.push_back({.anchor_x = px, .anchor_y = py, .anchor_radius = 2.6,
                              .width = 12.0 + 36.0 * uniform(g), .height = 10.0,
                              .direction_x = px - 230.0, .direction_y = py - 190.0,
                              .priority = uniform(g)});
    }
    for (int i = 0; i < extra; ++i) c.points.push_back({x(), y(), 2.0});
    return c;
}

bool boxes_overlap(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool covers_point(const Rect& r, const PointObstacle& p) {
    const double qx = std::clamp(p.x, r.left, r.right), qy = std::clamp(p.y, r.top, r.bottom);
    return std::hypot(qx - p.x, qy - p.y) < p.radius;
}

bool inside(const Rect& r, const Rect& area) {
    const double slack = 1e-6;
    return r.left >= area.left - slack && r.right <= area.right + slack && r.top >= area.top - slack &&
           r.bottom <= area.bottom + slack;
}

// Every shown label keeps its size, stays in the area and clear of the
// other labels and of every point; left_out counts the rest.
void expect_clean(const Cloud& c, const LabelPlacement& p) {
    ASSERT_EQ(p.labels.size(), c.requests.size());
    int hidden = 0;
    for (std::size_t i = 0; i < p.labels.size(); ++i) {
        const PlacedLabel& a = p.labels[i];
        if (!a.shown) {
            ++hidden;
            continue;
        }
        EXPECT_NEAR(a.box.width(), c.requests[i].width, 1e-9);
        EXPECT_NEAR(a.box.height(), c.requests[i].height, 1e-9);
        EXPECT_TRUE(inside(a.box, kArea)) << "label " << i;
        for (std::size_t j = i + 1; j < p.labels.size(); ++j) {
            if (p.labels[j].shown) {
                EXPECT_FALSE(boxes_overlap(a.box, p.labels[j].box)) << i << " and " << j;
            }
        }
        for (std::size_t k = 0; k < c.points.size(); ++k)
            EXPECT_FALSE(covers_point(a.box, c.points[k])) << "label " << i << " over point " << k;
    }
    EXPECT_EQ(p.left_out, hidden);
}

TEST(LabelPlacement, RandomCloudsWithRoomGetEveryLabelCleanly) {
    for (std::uint32_t seed = 1; seed <= 24; ++seed) {
        const int n = 5 + static_cast<int>(seed * 7 % 56);  // 5 .. 60 labels
        SCOPED_TRACE(testing::Message() << "cloud " << seed << " with " << n << " labels");
        const Cloud c = random_cloud(seed, n, 10);
        const LabelPlacement p = place_labels(c.requests, c.points, {}, kArea, {});
        expect_clean(c, p);
        EXPECT_EQ(p.left_out, 0);
    }
}

TEST(LabelPlacement, SameInputSameLayoutAndEverySeedIsClean) {
    const Cloud c = random_cloud(99, 60, 20);
    const LabelPlacement first = place_labels(c.requests, c.points, {}, kArea, {});
    const LabelPlacement again = place_labels(c.requests, c.points, {}, kArea, {});
    for (std::size_t i = 0; i < first.labels.size(); ++i) {
        EXPECT_EQ(first.labels[i].shown, again.labels[i].shown);
        EXPECT_EQ(first.labels[i].box.left, again.labels[i].box.left);
        EXPECT_EQ(first.labels[i].box.top, again.labels[i].box.top);
        EXPECT_EQ(first.labels[i].leader, again.labels[i].leader);
    }
    for (std::uint64_t seed : {0ull, 7ull, 123456789ull}) {
        PlacementOptions options;
        options.seed = seed;
        expect_clean(c, place_labels(c.requests, c.points, {}, kArea, options));
    }
}

// Fewer iterations (none at all) leave the guarantee to the final pass.
TEST(LabelPlacement, CleanWhateverTheNumberOfIterations) {
    const Cloud c = random_cloud(5, 60, 30);
    for (int iterations : {0, 1, 10, 1000}) {
        PlacementOptions options;
        options.max_iterations = iterations;
        SCOPED_TRACE(iterations);
        expect_clean(c, place_labels(c.requests, c.points, {}, kArea, options));
    }
}

// 150 points within a few points of one spot: only a ring of labels fits
// around them, and those are the ones of highest priority.
TEST(LabelPlacement, CrowdedSpotKeepsTheLabelsOfHighestPriority) {
    std::mt19937 g(3);
    Cloud c;
    for (int i = 0; i < 150; ++i) {
        const double px = 230.0 + 6.0 * uniform(g), py = 190.0 + 6.0 * uniform(g);
        c.points.push_back({px, py, 1.0});
        c.requests.push_back({.anchor_x = px, .anchor_y = py, .anchor_radius = 1.0, .width = 30.0, .height = 10.0,
                              .direction_x = px - 233.0, .direction_y = py - 193.0, .priority = uniform(g)});
    }
    const LabelPlacement p = place_labels(c.requests, c.points, {}, kArea, {});
    expect_clean(c, p);
    EXPECT_GT(p.left_out, 100);
    EXPECT_LT(p.left_out, 150);
    double lowest_shown = 2.0, highest_hidden = -1.0;
    for (std::size_t i = 0; i < p.labels.size(); ++i) {
        if (p.labels[i].shown)
            lowest_shown = std::min(lowest_shown, c.requests[i].priority);
        else
            highest_hidden = std::max(highest_hidden, c.requests[i].priority);
    }
    EXPECT_GT(lowest_shown, highest_hidden);
}

// Labels that together would cover the area are cut before any is placed,
// least priority first: 600 labels of 40 x 10 points over 400 x 300.
TEST(LabelPlacement, LabelsBeyondTheRoomAreLeftOutLeastPriorityFirst) {
    Cloud c = random_cloud(11, 600);
    for (auto& r : c.requests) r.width = 40.0;
    const LabelPlacement p = place_labels(c.requests, c.points, {}, kArea, {});
    expect_clean(c, p);
    EXPECT_GT(p.left_out, 400);
    std::vector<double> shown;
    for (std::size_t i = 0; i < p.labels.size(); ++i) {
        if (p.labels[i].shown) shown.push_back(c.requests[i].priority);
    }
    // Every shown label is among the labels that fit the fill limit, which
    // are the ones of highest priority.
    std::vector<double> all;
    for (const auto& r : c.requests) all.push_back(r.priority);
    std::sort(all.begin(), all.end(), std::greater<>());
    const double share = PlacementOptions{}.fill_limit * kArea.width() * kArea.height();
    const auto admitted = static_cast<std::size_t>(share / (41.5 * 11.5));
    for (double priority : shown) EXPECT_GE(priority, all[admitted]);
}

// Arrows from the middle of the area to half of the points: no label lies
// across a shaft (checked by points every twentieth of a point along it).
TEST(LabelPlacement, LabelsKeepOffLines) {
    for (std::uint32_t seed : {21u, 22u, 23u}) {
        const Cloud c = random_cloud(seed, 40);
        std::vector<LineObstacle> lines;
        for (std::size_t i = 0; i < c.requests.size(); i += 2)
            lines.push_back({230.0, 190.0, c.requests[i].anchor_x, c.requests[i].anchor_y, 0.4});
        const LabelPlacement p = place_labels(c.requests, c.points, lines, kArea, {});
        expect_clean(c, p);
        for (const PlacedLabel& label : p.labels) {
            if (!label.shown) continue;
            for (const LineObstacle& l : lines) {
                const double length = std::hypot(l.x1 - l.x0, l.y1 - l.y0);
                for (double t = 0.0; t <= length; t += 0.05) {
                    const PointObstacle on{l.x0 + (l.x1 - l.x0) * t / length, l.y0 + (l.y1 - l.y0) * t / length,
                                           l.half_width};
                    ASSERT_FALSE(covers_point(label.box, on)) << "seed " << seed;
                }
            }
        }
        EXPECT_LT(p.left_out, 20);
    }
}

// A point hemmed in by others: its label stands further off, joined by a
// leader line from the edge of its marker to the nearest point of the box.
TEST(LabelPlacement, ALabelMovedFarGetsALeaderLine) {
    Cloud c;
    c.requests.push_back({.anchor_x = 230.0, .anchor_y = 190.0, .anchor_radius = 2.0, .width = 30.0,
                          .height = 10.0, .priority = 1.0});
    c.points.push_back({230.0, 190.0, 2.0});
    for (double angle = 0.0; angle < 6.28; angle += 0.2)
        c.points.push_back({230.0 + 14.0 * std::cos(angle), 190.0 + 14.0 * std::sin(angle), 3.0});
    const LabelPlacement p = place_labels(c.requests, c.points, {}, kArea, {});
    expect_clean(c, p);
    ASSERT_TRUE(p.labels[0].shown);
    const PlacedLabel& l = p.labels[0];
    ASSERT_TRUE(l.leader);
    EXPECT_NEAR(std::hypot(l.leader_x0 - 230.0, l.leader_y0 - 190.0), 2.0, 1e-9);
    const bool on_edge = std::fabs(l.leader_x1 - l.box.left) < 1e-9 || std::fabs(l.leader_x1 - l.box.right) < 1e-9 ||
                         std::fabs(l.leader_y1 - l.box.top) < 1e-9 || std::fabs(l.leader_y1 - l.box.bottom) < 1e-9;
    EXPECT_TRUE(on_edge);
    EXPECT_LE(std::hypot(l.leader_x1 - 230.0, l.leader_y1 - 190.0),
              2.0 + PlacementOptions{}.gap + PlacementOptions{}.max_distance + 1e-6);
}

// A label wider than the area, and one at a point that is not a number,
// are left out; the others are placed as usual.
TEST(LabelPlacement, ImpossibleLabelsAreLeftOutAlone) {
    Cloud c = random_cloud(4, 10);
    c.requests[2].width = 500.0;
    c.requests[5].anchor_x = std::nan("");
    const LabelPlacement p = place_labels(c.requests, c.points, {}, kArea, {});
    EXPECT_FALSE(p.labels[2].shown);
    EXPECT_FALSE(p.labels[5].shown);
    EXPECT_EQ(p.left_out, 2);
    expect_clean(c, p);
}

}  // namespace
}  // namespace marvist

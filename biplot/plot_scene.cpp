#include "biplot/plot_scene.h"

#include <algorithm>
#include <cmath>

#include "biplot/axis_ticks.h"
#include "biplot/fixed_number.h"
#include "biplot/plot_style.h"
#include "biplot/text_metrics.h"

namespace marvist {
namespace {

using namespace plot_style;

constexpr double kOuterMargin = 10.0;
constexpr double kPadding = 0.07;            // room around the points, as a share of the larger range
constexpr double kLowestArea = 0.6;          // plotting area height as a share of its width, at least
constexpr double kHighestArea = 1.1;         // and at most
constexpr double kTicksWanted = 8.0;         // about this many steps along the longer axis
constexpr double kLegendSymbolWidth = 16.0;
constexpr double kLabelPadding = 1.0;        // around the text inside a label's box
constexpr double kLongestLabel = 0.35;       // labels are cut to this share of the area's width

bool finite_point(const PlotPoint& p) { return std::isfinite(p.x) && std::isfinite(p.y); }

struct Range {
    double low = 0.0, high = 0.0;
    double width() const { return high - low; }
    double middle() const { return low + (high - low) / 2.0; }
    void widen_to(double w) {
        const double m = middle();
        low = m - w / 2.0;
        high = m + w / 2.0;
    }
};

// The ranges of the solution's units that the area shows, the origin always
// included, padded, and a step for the ticks of both axes.
struct Extent {
    Range x, y;
    TickStep ticks;
};

Extent data_extent(const JointPlot& plot) {
    Extent e;
    for (const PlotPoint& p : plot.points) {
        if (!finite_point(p)) continue;
        e.x.low = std::min(e.x.low, p.x), e.x.high = std::max(e.x.high, p.x);
        e.y.low = std::min(e.y.low, p.y), e.y.high = std::max(e.y.high, p.y);
    }
    double span = std::max(e.x.width(), e.y.width());
    if (!(span > 0.0) || !std::isfinite(span)) {
        span = 1.0;
        e.x = {-0.5, 0.5}, e.y = {-0.5, 0.5};
    }
    const double pad = kPadding * span;
    e.x.low -= pad, e.x.high += pad, e.y.low -= pad, e.y.high += pad;
    e.ticks = round_step((span + 2.0 * pad) / kTicksWanted);
    return e;
}

double widest_tick(const Range& r, const TickStep& step) {
    double widest = 0.0;
    for (double t : tick_values(r.low, r.high, step.step))
        widest = std::max(widest, text_width(fixed_number(t, step.decimals), kTickSize));
    return widest;
}

// Adds a line of text that fits the width, shrunk down to 7 points and cut
// with an ellipsis if need be; returns its baseline.
double add_fitted(std::vector<SceneText>& texts, const std::string& text, double x, double top, double size,
                  double max_width, bool bold) {
    const double natural = text_width(text, size, bold);
    if (natural > max_width) size = std::max(7.0, size * max_width / natural);
    const double baseline = top + text_ascent(size);
    texts.push_back({.text = fit_text(text, size, max_width, bold), .x = x, .y = baseline, .size = size,
                     .anchor = TextAnchor::Middle, .bold = bold});
    return baseline;
}

std::string legend_text(PointKind kind, const JointPlot& plot) {
    switch (kind) {
        case PointKind::Row:
            return (plot.row_variable.empty() ? std::string("Rows") : plot.row_variable + " (rows)") +
                   ", standard coordinates";
        case PointKind::Column:
            return (plot.column_variable.empty() ? std::string("Columns") : plot.column_variable + " (columns)") +
                   ", principal coordinates";
        case PointKind::Supplementary: return "Supplementary columns, principal coordinates";
    }
    return {};
}

class SceneBuilder {
public:
    SceneBuilder(const JointPlot& plot, const SceneOptions& options) : plot_(plot), options_(options) {}

    JointPlotScene build() {
        scene_.width = options_.width;
        frame();
        decorations();
        points();
        labels();
        notes();
        return scene_;
    }

private:
    // Margins, the area with one scale for both axes, and the page height.
    void frame() {
        extent_ = data_extent(plot_);
        const double tick_line = text_height(kTickSize);
        const double axis_title_line = text_height(kAxisTitleSize);
        top_ = kOuterMargin + text_height(kTitleSize) + 2.0 + text_height(kSubtitleSize) + 8.0;
        if (plot_.title.empty()) top_ = kOuterMargin + text_height(kTitleSize) + 8.0;
        double tick_width = widest_tick(extent_.y, extent_.ticks);
        for (int pass = 0; pass < 2; ++pass) {
            const double left = kOuterMargin + axis_title_line + 6.0 + tick_width + 2.0 + kTickLength;
            const double right = std::max(kOuterMargin + 4.0, widest_tick(extent_.x, extent_.ticks) / 2.0 + 4.0);
            const double area_width = std::max(options_.width - left - right, 40.0);
            Range x = extent_.x, y = extent_.y;
            double scale = area_width / x.width();
            double area_height = y.width() * scale;
            if (area_height > kHighestArea * area_width) {
                area_height = kHighestArea * area_width;
                scale = area_height / y.width();
                x.widen_to(area_width / scale);
            } else if (area_height < kLowestArea * area_width) {
                area_height = kLowestArea * area_width;
                y.widen_to(area_height / scale);
            }
            scene_.area = {left, top_, left + area_width, top_ + area_height};
            scene_.scale = scale;
            x_ = x, y_ = y;
            const double needed = widest_tick(y_, extent_.ticks);
            if (needed <= tick_width) break;
            tick_width = needed;
        }
        scene_.origin_x = page_x(0.0);
        scene_.origin_y = page_y(0.0);
        bottom_ = scene_.area.bottom + kTickLength + 2.0 + tick_line + 5.0 + axis_title_line + 10.0;
    }

    double page_x(double x) const { return scene_.area.left + (x - x_.low) * scene_.scale; }
    double page_y(double y) const { return scene_.area.top + (y_.high - y) * scene_.scale; }

    // Titles, axes through the origin, ticks and their values, axis titles.
    void decorations() {
        const Rect& a = scene_.area;
        const double text_width_max = options_.width - 2.0 * kOuterMargin;
        const std::string pair = "axes " + std::to_string(plot_.axes.horizontal) + " and " +
                                 std::to_string(plot_.axes.vertical);
        if (plot_.title.empty()) {
            add_fitted(scene_.texts, "Joint plot of " + pair, options_.width / 2.0, kOuterMargin, kTitleSize,
                       text_width_max, true);
        } else {
            add_fitted(scene_.texts, plot_.title, options_.width / 2.0, kOuterMargin, kTitleSize, text_width_max,
                       true);
            add_fitted(scene_.texts, "Joint plot of " + pair, options_.width / 2.0,
                       kOuterMargin + text_height(kTitleSize) + 2.0, kSubtitleSize, text_width_max, false);
        }

        scene_.lines.push_back({a.left, scene_.origin_y, a.right, scene_.origin_y, LineRole::Axis});
        scene_.lines.push_back({scene_.origin_x, a.top, scene_.origin_x, a.bottom, LineRole::Axis});
        const int decimals = extent_.ticks.decimals;
        for (double t : tick_values(x_.low, x_.high, extent_.ticks.step)) {
            const double px = page_x(t);
            scene_.lines.push_back({px, a.bottom, px, a.bottom + kTickLength, LineRole::Tick});
            scene_.lines.push_back({px, scene_.origin_y - 1.5, px, scene_.origin_y + 1.5, LineRole::Tick});
            scene_.texts.push_back({.text = fixed_number(t, decimals), .x = px,
                                    .y = a.bottom + kTickLength + 2.0 + text_ascent(kTickSize), .size = kTickSize,
                                    .anchor = TextAnchor::Middle});
        }
        for (double t : tick_values(y_.low, y_.high, extent_.ticks.step)) {
            const double py = page_y(t);
            scene_.lines.push_back({a.left - kTickLength, py, a.left, py, LineRole::Tick});
            scene_.lines.push_back({scene_.origin_x - 1.5, py, scene_.origin_x + 1.5, py, LineRole::Tick});
            scene_.texts.push_back({.text = fixed_number(t, decimals), .x = a.left - kTickLength - 2.0,
                                    .y = py + text_ascent(kTickSize) / 2.0 - 0.5, .size = kTickSize,
                                    .anchor = TextAnchor::End});
        }
        const double tick_line = text_height(kTickSize);
        scene_.texts.push_back({.text = plot_.horizontal_title, .x = a.left + a.width() / 2.0,
                                .y = a.bottom + kTickLength + 2.0 + tick_line + 5.0 + text_ascent(kAxisTitleSize),
                                .size = kAxisTitleSize, .anchor = TextAnchor::Middle});
        scene_.texts.push_back({.text = plot_.vertical_title, .x = kOuterMargin + text_ascent(kAxisTitleSize),
                                .y = a.top + a.height() / 2.0, .size = kAxisTitleSize, .anchor = TextAnchor::Middle,
                                .vertical = true});
    }

    void points() {
        for (std::size_t i = 0; i < plot_.points.size(); ++i) {
            const PlotPoint& p = plot_.points[i];
            if (!finite_point(p)) continue;
            const double px = page_x(p.x), py = page_y(p.y);
            const int index = static_cast<int>(i);
            if (p.kind != PointKind::Row) {
                scene_.markers.push_back({index, p.kind, px, py});
                const double radius = p.kind == PointKind::Column ? kColumnRadius : kSupplementaryRadius;
                obstacles_.push_back({px, py, radius});
                continue;
            }
            const double dx = px - scene_.origin_x, dy = py - scene_.origin_y;
            const double length = std::sqrt(dx * dx + dy * dy);
            if (!(length > 0.0)) continue;
            const double ux = dx / length, uy = dy / length;
            const double head = std::min(kArrowHeadLength, length);
            const double half = kArrowHeadHalfWidth * head / kArrowHeadLength;
            const double bx = px - ux * head, by = py - uy * head;
            scene_.arrows.push_back({.point = index, .x0 = scene_.origin_x, .y0 = scene_.origin_y, .base_x = bx,
                                     .base_y = by, .tip_x = px, .tip_y = py, .left_x = bx + uy * half,
                                     .left_y = by - ux * half, .right_x = bx - uy * half, .right_y = by + ux * half});
            obstacles_.push_back({px, py, kArrowHeadHalfWidth});
            obstacles_.push_back({px - ux * head * 0.75, py - uy * head * 0.75, kArrowHeadHalfWidth});
            lines_.push_back({scene_.origin_x, scene_.origin_y, bx, by, kArrowWidth / 2.0});
        }
    }

    double anchor_radius(PointKind kind) const {
        switch (kind) {
            case PointKind::Row: return kArrowHeadHalfWidth;
            case PointKind::Column: return kColumnRadius;
            case PointKind::Supplementary: return kSupplementaryRadius;
        }
        return 0.0;
    }

    void labels() {
        if (!options_.show_labels) return;
        std::vector<LabelRequest> requests;
        std::vector<int> labelled;
        const double longest = kLongestLabel * scene_.area.width();
        const double height = text_height(kLabelSize) + 2.0 * kLabelPadding;
        std::vector<std::string> texts;
        for (std::size_t i = 0; i < plot_.points.size(); ++i) {
            const PlotPoint& p = plot_.points[i];
            if (!finite_point(p) || p.name.empty()) continue;
            const bool supplementary = p.kind == PointKind::Supplementary;
            if (!supplementary && p.plane_contribution < options_.label_threshold) continue;
            if (p.kind == PointKind::Row && !(p.x != 0.0 || p.y != 0.0)) continue;
            std::string text = fit_text(p.name, kLabelSize, longest);
            const double px = page_x(p.x), py = page_y(p.y);
            requests.push_back({.anchor_x = px, .anchor_y = py, .anchor_radius = anchor_radius(p.kind),
                                .width = text_width(text, kLabelSize) + 2.0 * kLabelPadding, .height = height,
                                .direction_x = px - scene_.origin_x, .direction_y = py - scene_.origin_y,
                                // Supplementary points carry no inertia; they were added to be seen.
                                .priority = supplementary ? 2.0 : p.plane_contribution});
            labelled.push_back(static_cast<int>(i));
            texts.push_back(std::move(text));
        }
        const LabelPlacement placement = place_labels(requests, obstacles_, lines_, scene_.area, options_.placement);
        for (std::size_t k = 0; k < requests.size(); ++k) {
            const PlacedLabel& placed = placement.labels[k];
            if (!placed.shown) continue;
            const int point = labelled[k];
            scene_.labels.push_back(
                {.point = point,
                 .kind = plot_.points[point].kind,
                 .text = {.text = texts[k], .x = placed.box.left + kLabelPadding,
                          .y = placed.box.top + kLabelPadding + text_ascent(kLabelSize), .size = kLabelSize},
                 .box = placed.box,
                 .leader = placed.leader,
                 .leader_x0 = placed.leader_x0, .leader_y0 = placed.leader_y0,
                 .leader_x1 = placed.leader_x1, .leader_y1 = placed.leader_y1});
        }
        scene_.labels_left_out = placement.left_out;
    }

    // The legend (kinds present), then a line on labels left out or below
    // the threshold; the page ends below them.
    void notes() {
        bool present[3] = {false, false, false};
        for (const PlotPoint& p : plot_.points) present[static_cast<int>(p.kind)] = true;
        const double line = text_height(kLegendSize) + 4.0;
        double x = scene_.area.left, y = bottom_;
        bool any = false;
        for (PointKind kind : {PointKind::Row, PointKind::Column, PointKind::Supplementary}) {
            if (!present[static_cast<int>(kind)]) continue;
            const std::string text = legend_text(kind, plot_);
            const double w = kLegendSymbolWidth + 4.0 + text_width(text, kLegendSize) + 14.0;
            if (any && x + w > options_.width - kOuterMargin) x = scene_.area.left, y += line;
            const double middle = y + line / 2.0 - 2.0;
            scene_.legend.push_back({.kind = kind, .symbol_x = x + kLegendSymbolWidth / 2.0, .symbol_y = middle,
                                     .text = {.text = text, .x = x + kLegendSymbolWidth + 4.0,
                                              .y = middle + text_ascent(kLegendSize) / 2.0 - 0.5,
                                              .size = kLegendSize}});
            x += w;
            any = true;
        }
        if (any) y += line;
        for (const std::string& note : note_lines()) {
            scene_.texts.push_back({.text = note, .x = scene_.area.left, .y = y + text_ascent(kNoteSize),
                                    .size = kNoteSize, .italic = true});
            y += text_height(kNoteSize) + 2.0;
        }
        scene_.height = y + kOuterMargin;
    }

    std::vector<std::string> note_lines() const {
        std::vector<std::string> lines;
        const int n = scene_.labels_left_out;
        if (n == 1) lines.push_back("The label of 1 point contributing least is left out for lack of room.");
        if (n > 1)
            lines.push_back("The labels of " + std::to_string(n) +
                            " points contributing least are left out for lack of room.");
        if (options_.show_labels && options_.label_threshold > 0.0)
            lines.push_back("Points contributing less than " + fixed_number(100.0 * options_.label_threshold, 1) +
                            " % to the plane are not labelled.");
        return lines;
    }

    const JointPlot& plot_;
    const SceneOptions& options_;
    JointPlotScene scene_;
    Extent extent_;
    Range x_, y_;
    double top_ = 0.0, bottom_ = 0.0;
    std::vector<PointObstacle> obstacles_;
    std::vector<LineObstacle> lines_;  // the arrows' shafts
};

}  // namespace

JointPlotScene layout_joint_plot(const JointPlot& plot, const SceneOptions& options) {
    return SceneBuilder(plot, options).build();
}

}  // namespace marvist

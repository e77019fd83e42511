#include "svg/svg_writer.h"

#include <cstdio>

#include "biplot/fixed_number.h"
#include "biplot/plot_style.h"
#include "svg/xml_text.h"

namespace marvist {
namespace {

using namespace plot_style;

std::string num(double v) { return fixed_number(v, 2); }

std::string colour(Rgb c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", c.r, c.g, c.b);
    return text;
}

class Document {
public:
    void raw(std::string_view text) { out_ += text; }
    void attribute(std::string_view name, double value) { attribute(name, num(value)); }
    void attribute(std::string_view name, std::string_view value) {
        out_ += ' ';
        out_ += name;
        out_ += "=\"";
        out_ += value;
        out_ += '"';
    }
    void line(double x0, double y0, double x1, double y1) {
        raw("<line");
        attribute("x1", x0), attribute("y1", y0), attribute("x2", x1), attribute("y2", y1);
        raw("/>\n");
    }
    void polygon(std::initializer_list<double> xy, const std::string& tooltip = {}) {
        raw("<polygon points=\"");
        bool first = true;
        for (auto it = xy.begin(); it != xy.end(); it += 2) {
            if (!first) raw(" ");
            out_ += num(*it) + "," + num(*(it + 1));
            first = false;
        }
        raw("\"");
        close("polygon", tooltip);
    }
    void circle(double x, double y, double r, const std::string& tooltip = {}) {
        raw("<circle");
        attribute("cx", x), attribute("cy", y), attribute("r", r);
        close("circle", tooltip);
    }
    void text(const SceneText& t, const std::string& fill = {}) {
        raw("<text");
        attribute("x", t.x), attribute("y", t.y), attribute("font-size", t.size);
        if (t.anchor == TextAnchor::Middle) attribute("text-anchor", "middle");
        if (t.anchor == TextAnchor::End) attribute("text-anchor", "end");
        if (t.bold) attribute("font-weight", "bold");
        if (t.italic) attribute("font-style", "italic");
        if (t.vertical) attribute("transform", "rotate(-90 " + num(t.x) + " " + num(t.y) + ")");
        if (!fill.empty()) attribute("fill", fill);
        raw(">");
        raw(xml_text(t.text));
        raw("</text>\n");
    }
    // Ends the element opened last, with a <title> child (a tooltip in
    // viewers) when the text is not empty.
    void close(std::string_view element, const std::string& tooltip) {
        if (tooltip.empty()) {
            raw("/>\n");
            return;
        }
        raw("><title>");
        raw(xml_text(tooltip));
        raw("</title></");
        raw(element);
        raw(">\n");
    }
    std::string take() { return std::move(out_); }

private:
    std::string out_;
};

void arrow(Document& d, const SceneArrow& a, const std::string& tooltip) {
    d.raw("<g>");
    if (!tooltip.empty()) d.raw("<title>" + xml_text(tooltip) + "</title>");
    d.line(a.x0, a.y0, a.base_x, a.base_y);
    d.polygon({a.tip_x, a.tip_y, a.left_x, a.left_y, a.right_x, a.right_y});
    d.raw("</g>\n");
}

void triangle(Document& d, double x, double y, double r, const std::string& tooltip = {}) {
    const double half = 0.8660254037844386 * r;
    d.polygon({x, y - r, x + half, y + r / 2.0, x - half, y + r / 2.0}, tooltip);
}

void open_group(Document& d, std::string_view attributes) {
    d.raw("<g ");
    d.raw(attributes);
    d.raw(">\n");
}

std::string marker_group(PointKind kind) {
    const std::string c = colour(marker_colour(kind));
    const std::string width = num(kMarkerOutlineWidth);
    switch (kind) {
        case PointKind::Row: return "fill=\"" + c + "\" stroke=\"" + c + "\" stroke-width=\"" + num(kArrowWidth) + "\"";
        case PointKind::Column: return "fill=\"" + c + "\" stroke=\"none\"";
        case PointKind::Supplementary:
            return "fill=\"" + colour(kBackground) + "\" stroke=\"" + c + "\" stroke-width=\"" + width + "\"";
    }
    return {};
}

}  // namespace

std::string joint_plot_svg(const JointPlot& plot, const JointPlotScene& scene) {
    Document d;
    const Rect& a = scene.area;
    d.raw("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n");
    d.raw("<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\"");
    d.attribute("width", num(scene.width) + "pt");
    d.attribute("height", num(scene.height) + "pt");
    d.attribute("viewBox", "0 0 " + num(scene.width) + " " + num(scene.height));
    d.raw(">\n");
    const std::string pair =
        "axes " + std::to_string(plot.axes.horizontal) + " and " + std::to_string(plot.axes.vertical);
    d.raw("<title>" + xml_text(plot.title.empty() ? "Joint plot of " + pair : plot.title + ": joint plot of " + pair) +
          "</title>\n");
    d.raw("<rect x=\"0\" y=\"0\"");
    d.attribute("width", scene.width), d.attribute("height", scene.height);
    d.attribute("fill", colour(kBackground));
    d.raw("/>\n");

    open_group(d, "fill=\"none\" stroke=\"" + colour(kAxis) + "\" stroke-width=\"" + num(kAxisWidth) + "\"");
    for (const SceneLine& l : scene.lines)
        if (l.role == LineRole::Axis) d.line(l.x0, l.y0, l.x1, l.y1);
    d.raw("</g>\n");
    open_group(d, "fill=\"none\" stroke=\"" + colour(kFrame) + "\" stroke-width=\"" + num(kFrameWidth) + "\"");
    for (const SceneLine& l : scene.lines)
        if (l.role == LineRole::Tick) d.line(l.x0, l.y0, l.x1, l.y1);
    d.raw("<rect");
    d.attribute("x", a.left), d.attribute("y", a.top), d.attribute("width", a.width());
    d.attribute("height", a.height());
    d.raw("/>\n</g>\n");

    open_group(d, "fill=\"none\" stroke=\"" + colour(kLeader) + "\" stroke-width=\"" + num(kLeaderWidth) + "\"");
    for (const SceneLabel& l : scene.labels)
        if (l.leader) d.line(l.leader_x0, l.leader_y0, l.leader_x1, l.leader_y1);
    d.raw("</g>\n");

    open_group(d, marker_group(PointKind::Row));
    for (const SceneArrow& arrow_shape : scene.arrows)
        arrow(d, arrow_shape, point_description(plot, plot.points[arrow_shape.point]));
    d.raw("</g>\n");
    for (PointKind kind : {PointKind::Column, PointKind::Supplementary}) {
        open_group(d, marker_group(kind));
        for (const SceneMarker& m : scene.markers) {
            if (m.kind != kind) continue;
            const std::string tooltip = point_description(plot, plot.points[m.point]);
            if (kind == PointKind::Column)
                d.circle(m.x, m.y, kColumnRadius, tooltip);
            else
                triangle(d, m.x, m.y, kSupplementaryRadius, tooltip);
        }
        d.raw("</g>\n");
    }

    open_group(d, "font-family=\"sans-serif\" fill=\"" + colour(kText) + "\"");
    for (const SceneLabel& l : scene.labels) d.text(l.text, colour(label_colour(l.kind)));
    for (const SceneText& t : scene.texts) d.text(t);
    for (const LegendEntry& e : scene.legend) d.text(e.text);
    d.raw("</g>\n");

    for (const LegendEntry& e : scene.legend) {
        open_group(d, marker_group(e.kind));
        const double x = e.symbol_x, y = e.symbol_y;
        if (e.kind == PointKind::Row) {
            d.line(x - 7.0, y, x + 7.0 - kArrowHeadLength, y);
            d.polygon({x + 7.0, y, x + 7.0 - kArrowHeadLength, y - kArrowHeadHalfWidth, x + 7.0 - kArrowHeadLength,
                       y + kArrowHeadHalfWidth});
        } else if (e.kind == PointKind::Column) {
            d.circle(x, y, kColumnRadius);
        } else {
            triangle(d, x, y, kSupplementaryRadius);
        }
        d.raw("</g>\n");
    }
    d.raw("</svg>\n");
    return d.take();
}

}  // namespace marvist

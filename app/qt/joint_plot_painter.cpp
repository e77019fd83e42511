#include "app/qt/joint_plot_painter.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <QPolygonF>

#include "biplot/plot_style.h"

namespace marvist::qt {
namespace {

using namespace plot_style;

// Text is drawn with a font of this many pixels, scaled to its size in
// points, so that sizes are page units on every device whatever its
// resolution.
constexpr int kFontPixels = 100;

QColor colour(Rgb c) { return QColor(c.r, c.g, c.b); }

QFont plot_font(const SceneText& text) {
    QFont font(QStringLiteral("sans-serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(kFontPixels);
    font.setBold(text.bold);
    font.setItalic(text.italic);
    return font;
}

void draw_text(QPainter& painter, const SceneText& text, const QColor& colour) {
    const QFont font = plot_font(text);
    const QString string = QString::fromUtf8(text.text.data(), static_cast<qsizetype>(text.text.size()));
    const double width = QFontMetricsF(font).horizontalAdvance(string);
    double shift = 0.0;
    if (text.anchor == TextAnchor::Middle) shift = -width / 2.0;
    if (text.anchor == TextAnchor::End) shift = -width;
    painter.save();
    painter.translate(text.x, text.y);
    if (text.vertical) painter.rotate(-90.0);
    painter.scale(text.size / kFontPixels, text.size / kFontPixels);
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(QPointF(shift, 0.0), string);
    painter.restore();
}

QPen pen(Rgb c, double width) {
    QPen p(colour(c), width);
    p.setCapStyle(Qt::FlatCap);
    p.setJoinStyle(Qt::MiterJoin);
    return p;
}

void arrow(QPainter& painter, double x0, double y0, double base_x, double base_y, const QPolygonF& head) {
    painter.drawLine(QPointF(x0, y0), QPointF(base_x, base_y));
    painter.drawPolygon(head);
}

QPolygonF triangle(double x, double y, double r) {
    const double half = 0.8660254037844386 * r;
    return QPolygonF({QPointF(x, y - r), QPointF(x + half, y + r / 2.0), QPointF(x - half, y + r / 2.0)});
}

void marker(QPainter& painter, PointKind kind, double x, double y) {
    const QColor c = colour(marker_colour(kind));
    if (kind == PointKind::Column) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(c);
        painter.drawEllipse(QPointF(x, y), kColumnRadius, kColumnRadius);
    } else {
        painter.setPen(pen(marker_colour(kind), kMarkerOutlineWidth));
        painter.setBrush(colour(kBackground));
        painter.drawPolygon(triangle(x, y, kSupplementaryRadius));
    }
}

}  // namespace

void paint_joint_plot(QPainter& painter, const JointPlotScene& scene) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.fillRect(QRectF(0.0, 0.0, scene.width, scene.height), colour(kBackground));

    painter.setBrush(Qt::NoBrush);
    painter.setPen(pen(kAxis, kAxisWidth));
    for (const SceneLine& l : scene.lines)
        if (l.role == LineRole::Axis) painter.drawLine(QPointF(l.x0, l.y0), QPointF(l.x1, l.y1));
    painter.setPen(pen(kFrame, kFrameWidth));
    for (const SceneLine& l : scene.lines)
        if (l.role == LineRole::Tick) painter.drawLine(QPointF(l.x0, l.y0), QPointF(l.x1, l.y1));
    const Rect& a = scene.area;
    painter.drawRect(QRectF(a.left, a.top, a.width(), a.height()));

    painter.setPen(pen(kLeader, kLeaderWidth));
    for (const SceneLabel& l : scene.labels)
        if (l.leader) painter.drawLine(QPointF(l.leader_x0, l.leader_y0), QPointF(l.leader_x1, l.leader_y1));

    painter.setPen(pen(marker_colour(PointKind::Row), kArrowWidth));
    painter.setBrush(colour(marker_colour(PointKind::Row)));
    for (const SceneArrow& s : scene.arrows) {
        arrow(painter, s.x0, s.y0, s.base_x, s.base_y,
              QPolygonF({QPointF(s.tip_x, s.tip_y), QPointF(s.left_x, s.left_y), QPointF(s.right_x, s.right_y)}));
    }
    for (PointKind kind : {PointKind::Column, PointKind::Supplementary})
        for (const SceneMarker& m : scene.markers)
            if (m.kind == kind) marker(painter, kind, m.x, m.y);

    for (const SceneLabel& l : scene.labels) draw_text(painter, l.text, colour(label_colour(l.kind)));
    for (const SceneText& t : scene.texts) draw_text(painter, t, colour(kText));
    for (const LegendEntry& e : scene.legend) {
        draw_text(painter, e.text, colour(kText));
        const double x = e.symbol_x, y = e.symbol_y;
        if (e.kind == PointKind::Row) {
            painter.setPen(pen(marker_colour(PointKind::Row), kArrowWidth));
            painter.setBrush(colour(marker_colour(PointKind::Row)));
            const double base = x + 7.0 - kArrowHeadLength;
            arrow(painter, x - 7.0, y, base, y,
                  QPolygonF({QPointF(x + 7.0, y), QPointF(base, y - kArrowHeadHalfWidth),
                             QPointF(base, y + kArrowHeadHalfWidth)}));
        } else {
            marker(painter, e.kind, x, y);
        }
    }
    painter.restore();
}

QImage joint_plot_image(const JointPlotScene& scene, double dpi) {
    const double scale = dpi / 72.0;
    QImage image(std::max(1, static_cast<int>(std::ceil(scene.width * scale))),
                 std::max(1, static_cast<int>(std::ceil(scene.height * scale))), QImage::Format_ARGB32_Premultiplied);
    const int dots_per_metre = static_cast<int>(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dots_per_metre);
    image.setDotsPerMeterY(dots_per_metre);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(scale, scale);
    paint_joint_plot(painter, scene);
    painter.end();
    return image;
}

}  // namespace marvist::qt

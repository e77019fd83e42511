#include "app/qt/joint_plot_view.h"

#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QHelpEvent>
#include <QToolTip>
#include <QWheelEvent>

#include <cmath>

#include "app/qt/joint_plot_painter.h"

namespace marvist::qt {

// The whole plot as one item, painted from the layout.
class JointPlotItem : public QGraphicsItem {
public:
    QRectF boundingRect() const override { return QRectF(0.0, 0.0, scene_.width, scene_.height); }
    void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override {
        paint_joint_plot(*painter, scene_);
    }
    void set(JointPlot plot, JointPlotScene scene) {
        prepareGeometryChange();
        plot_ = std::move(plot);
        scene_ = std::move(scene);
        update();
    }
    const JointPlot& plot() const { return plot_; }
    const JointPlotScene& layout() const { return scene_; }

private:
    JointPlot plot_;
    JointPlotScene scene_;
};

JointPlotView::JointPlotView(QWidget* parent)
    : QGraphicsView(parent), graphics_(new QGraphicsScene(this)), item_(new JointPlotItem) {
    graphics_->addItem(item_);
    setScene(graphics_);
    setDragMode(QGraphicsView::ScrollHandDrag);
    setTransformationAnchor(QGraphicsView::AnchorUnderMouse);
    setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    setBackgroundBrush(QColor(235, 235, 235));
}

void JointPlotView::show_plot(JointPlot plot, JointPlotScene scene) {
    item_->set(std::move(plot), std::move(scene));
    graphics_->setSceneRect(item_->boundingRect());
}

void JointPlotView::fit_to_window() { fitInView(item_->boundingRect(), Qt::KeepAspectRatio); }

void JointPlotView::zoom(double factor) {
    const auto anchor = transformationAnchor();
    setTransformationAnchor(QGraphicsView::AnchorViewCenter);
    scale(factor, factor);
    setTransformationAnchor(anchor);
}

void JointPlotView::wheelEvent(QWheelEvent* event) {
    const double steps = event->angleDelta().y() / 120.0;
    if (steps == 0.0) return QGraphicsView::wheelEvent(event);
    const double factor = std::pow(1.2, steps);
    const double now = transform().m11();
    // Between a twentieth and forty times the page's size in points.
    if ((factor > 1.0 && now * factor > 40.0) || (factor < 1.0 && now * factor < 0.05)) return;
    scale(factor, factor);
    event->accept();
}

int JointPlotView::point_at(QPointF page, double reach) const {
    const JointPlotScene& s = item_->layout();
    int best = -1;
    double best_d2 = reach * reach;
    const auto consider = [&](int point, double x, double y) {
        const double d2 = (x - page.x()) * (x - page.x()) + (y - page.y()) * (y - page.y());
        if (d2 <= best_d2) best_d2 = d2, best = point;
    };
    for (const SceneLabel& l : s.labels) {
        if (page.x() >= l.box.left && page.x() <= l.box.right && page.y() >= l.box.top && page.y() <= l.box.bottom)
            return l.point;
    }
    for (const SceneArrow& a : s.arrows) consider(a.point, a.tip_x, a.tip_y);
    for (const SceneMarker& m : s.markers) consider(m.point, m.x, m.y);
    return best;
}

bool JointPlotView::viewportEvent(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QGraphicsView::viewportEvent(event);
    auto* help = static_cast<QHelpEvent*>(event);
    const QPointF page = mapToScene(help->pos());
    // Six screen pixels, in page units at the present zoom.
    const double reach = 6.0 / std::max(transform().m11(), 1e-6);
    const int point = point_at(page, reach);
    if (point < 0) {
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    const JointPlot& plot = item_->plot();
    const std::string text = point_description(plot, plot.points[point]);
    QToolTip::showText(help->globalPos(), QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                       viewport());
    return true;
}

}  // namespace marvist::qt

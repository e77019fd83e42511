// The view of a joint plot in its window: the laid-out plot drawn as one
// item, zoomed with the wheel, panned by dragging, fitted to the window on
// request, with the name, coordinates and contributions of the point under
// the mouse as its tooltip.
#pragma once

#include <QGraphicsView>

#include "biplot/joint_plot.h"
#include "biplot/plot_scene.h"

class QGraphicsScene;

namespace marvist::qt {

class JointPlotItem;

class JointPlotView : public QGraphicsView {
    Q_OBJECT

public:
    explicit JointPlotView(QWidget* parent = nullptr);

    // Shows a new layout of the plot (the view keeps its zoom).
    void show_plot(JointPlot plot, JointPlotScene scene);
    // Scales the view so that the whole page fits, keeping its proportions.
    void fit_to_window();
    // Multiplies the zoom by factor about the centre of the view.
    void zoom(double factor);
    // The point whose label holds a place of the page, else the point nearest
    // to it within `reach` points, else -1.
    int point_at(QPointF page, double reach) const;

protected:
    void wheelEvent(QWheelEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    QGraphicsScene* graphics_;
    JointPlotItem* item_;
};

}  // namespace marvist::qt

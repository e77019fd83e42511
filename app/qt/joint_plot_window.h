// The "Joint Plot" window: the NSCA solution of a job as a labelled biplot.
// The user chooses the two axes among all computed ones, shows or hides
// rows, columns, supplementary points and labels, sets the contribution
// below which points are not labelled, reflects either axis, zooms and
// pans, and exports the picture as SVG, PNG or PDF or copies it.
#pragma once

#include <QMainWindow>

#include <optional>

#include "biplot/biplot_input.h"
#include "biplot/joint_plot.h"
#include "biplot/plot_scene.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;

namespace marvist::qt {

class JointPlotView;

class JointPlotWindow : public QMainWindow {
    Q_OBJECT

public:
    // solution: at least two computed axes; the plot opens on axes 1 and 2.
    explicit JointPlotWindow(BiplotSolution solution, QWidget* parent = nullptr);

    // Shows another pair of axes (both among the computed ones).
    void set_axes(AxisPair axes);
    AxisPair axes() const;
    // The plot and its layout as shown now.
    const JointPlot& plot() const { return plot_; }
    const JointPlotScene& layout() const { return layout_; }
    // How often the plot has been laid out and drawn anew.
    int redraws() const { return redraws_; }
    JointPlotView* view() const { return view_; }

    // The picture as shown, written to a file; an error message on failure.
    std::optional<QString> save_svg(const QString& path) const;
    std::optional<QString> save_png(const QString& path, int dpi) const;
    std::optional<QString> save_pdf(const QString& path) const;

public slots:
    // Lays the plot out again from the controls and shows it.
    void redraw();

private slots:
    void export_svg();
    void export_png();
    void export_pdf();
    void copy_image();

private:
    QWidget* make_controls();
    void make_menus();
    void axis_chosen(QComboBox* changed, QComboBox* other, int& previous);
    QString ask_file(const QString& title, const QString& filter, const QString& extension);
    void report(const std::optional<QString>& error, const QString& path);
    QString title() const;

    BiplotSolution solution_;
    JointPlot plot_;
    JointPlotScene layout_;
    int redraws_ = 0;
    int horizontal_ = 1, vertical_ = 2;
    QString folder_;

    JointPlotView* view_ = nullptr;
    QComboBox* horizontal_box_ = nullptr;
    QComboBox* vertical_box_ = nullptr;
    QCheckBox* rows_ = nullptr;
    QCheckBox* columns_ = nullptr;
    QCheckBox* supplementary_ = nullptr;
    QCheckBox* labels_ = nullptr;
    QCheckBox* reflect_horizontal_ = nullptr;
    QCheckBox* reflect_vertical_ = nullptr;
    QDoubleSpinBox* threshold_ = nullptr;
};

}  // namespace marvist::qt

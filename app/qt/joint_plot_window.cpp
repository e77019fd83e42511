#include "app/qt/joint_plot_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include <stdexcept>

#include "app/qt/joint_plot_export.h"
#include "app/qt/joint_plot_view.h"

namespace marvist::qt {
namespace {

QString from_utf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QCheckBox* check_box(const QString& text, bool checked, QWidget* parent) {
    auto* box = new QCheckBox(text, parent);
    box->setChecked(checked);
    return box;
}

}  // namespace

JointPlotWindow::JointPlotWindow(BiplotSolution solution, QWidget* parent)
    : QMainWindow(parent), solution_(std::move(solution)), folder_(QDir::currentPath()) {
    if (solution_.inertia_shares.size() < 2) throw std::invalid_argument("a joint plot needs two axes");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Joint Plot - ") + title());
    view_ = new JointPlotView(this);
    auto* central = new QWidget(this);
    auto* layout = new QHBoxLayout(central);
    layout->addWidget(make_controls());
    layout->addWidget(view_, 1);
    setCentralWidget(central);
    make_menus();
    resize(980, 720);
    redraw();
    // Fit once the window has its size.
    QTimer::singleShot(0, view_, [view = view_] { view->fit_to_window(); });
}

QString JointPlotWindow::title() const {
    return solution_.title.empty() ? QStringLiteral("NSCA solution") : from_utf8(solution_.title);
}

QWidget* JointPlotWindow::make_controls() {
    auto* panel = new QWidget(this);
    auto* form = new QFormLayout;
    horizontal_box_ = new QComboBox(panel);
    vertical_box_ = new QComboBox(panel);
    for (std::size_t k = 0; k < solution_.inertia_shares.size(); ++k) {
        const QString text = from_utf8(axis_title(static_cast<int>(k) + 1, solution_.inertia_shares[k], false));
        horizontal_box_->addItem(text);
        vertical_box_->addItem(text);
    }
    horizontal_box_->setCurrentIndex(0);
    vertical_box_->setCurrentIndex(1);
    form->addRow(QStringLiteral("&Horizontal:"), horizontal_box_);
    form->addRow(QStringLiteral("&Vertical:"), vertical_box_);

    rows_ = check_box(QStringLiteral("&Rows (arrows)"), true, panel);
    columns_ = check_box(QStringLiteral("&Columns (points)"), true, panel);
    const bool any_supplementary = !solution_.supplementary.empty();
    supplementary_ = check_box(QStringLiteral("&Supplementary points"), any_supplementary, panel);
    supplementary_->setEnabled(any_supplementary);
    labels_ = check_box(QStringLiteral("&Labels"), true, panel);
    reflect_horizontal_ = check_box(QStringLiteral("Reflect hori&zontal axis"), false, panel);
    reflect_vertical_ = check_box(QStringLiteral("Reflect ver&tical axis"), false, panel);
    threshold_ = new QDoubleSpinBox(panel);
    threshold_->setRange(0.0, 100.0);
    threshold_->setDecimals(1);
    threshold_->setSingleStep(0.5);
    threshold_->setSuffix(QStringLiteral(" %"));
    threshold_->setToolTip(QStringLiteral("Points contributing less than this to the plane are not labelled"));

    auto* column = new QVBoxLayout(panel);
    column->addLayout(form);
    for (QCheckBox* box : {rows_, columns_, supplementary_, labels_}) column->addWidget(box);
    auto* threshold_form = new QFormLayout;
    threshold_form->addRow(QStringLiteral("Label &from:"), threshold_);
    column->addLayout(threshold_form);
    column->addWidget(reflect_horizontal_);
    column->addWidget(reflect_vertical_);
    column->addStretch(1);
    panel->setMaximumWidth(260);

    connect(horizontal_box_, &QComboBox::currentIndexChanged, this,
            [this] { axis_chosen(horizontal_box_, vertical_box_, horizontal_); });
    connect(vertical_box_, &QComboBox::currentIndexChanged, this,
            [this] { axis_chosen(vertical_box_, horizontal_box_, vertical_); });
    for (QCheckBox* box : {rows_, columns_, supplementary_, labels_, reflect_horizontal_, reflect_vertical_})
        connect(box, &QCheckBox::toggled, this, &JointPlotWindow::redraw);
    connect(threshold_, &QDoubleSpinBox::valueChanged, this, &JointPlotWindow::redraw);
    return panel;
}

void JointPlotWindow::make_menus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("Export &SVG..."), this, &JointPlotWindow::export_svg);
    file->addAction(QStringLiteral("Export &PNG..."), this, &JointPlotWindow::export_png);
    file->addAction(QStringLiteral("Export P&DF..."), this, &JointPlotWindow::export_pdf);
    file->addAction(QStringLiteral("&Copy as Image"), QKeySequence::Copy, this, &JointPlotWindow::copy_image);
    file->addSeparator();
    file->addAction(QStringLiteral("&Close"), QKeySequence::Close, this, &QWidget::close);
    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->addAction(QStringLiteral("&Fit to Window"), QKeySequence(Qt::CTRL | Qt::Key_0), view_,
                    &JointPlotView::fit_to_window);
    view->addAction(QStringLiteral("Zoom &In"), QKeySequence::ZoomIn, this, [this] { view_->zoom(1.25); });
    view->addAction(QStringLiteral("Zoom &Out"), QKeySequence::ZoomOut, this, [this] { view_->zoom(0.8); });
}

// The same axis on both sides is not a plot: the other box takes the axis
// the changed one had before.
void JointPlotWindow::axis_chosen(QComboBox* changed, QComboBox* other, int& previous) {
    const int chosen = changed->currentIndex() + 1;
    if (chosen == other->currentIndex() + 1) {
        const QSignalBlocker block(other);
        other->setCurrentIndex(previous - 1);
    }
    horizontal_ = horizontal_box_->currentIndex() + 1;
    vertical_ = vertical_box_->currentIndex() + 1;
    redraw();
}

void JointPlotWindow::set_axes(AxisPair axes) {
    const int n = static_cast<int>(solution_.inertia_shares.size());
    if (axes.horizontal < 1 || axes.horizontal > n || axes.vertical < 1 || axes.vertical > n ||
        axes.horizontal == axes.vertical)
        throw std::invalid_argument("set_axes: not a pair of computed axes");
    {
        const QSignalBlocker block_h(horizontal_box_), block_v(vertical_box_);
        horizontal_box_->setCurrentIndex(axes.horizontal - 1);
        vertical_box_->setCurrentIndex(axes.vertical - 1);
    }
    horizontal_ = axes.horizontal;
    vertical_ = axes.vertical;
    redraw();
}

AxisPair JointPlotWindow::axes() const { return {horizontal_, vertical_}; }

void JointPlotWindow::redraw() {
    const JointPlotOptions options{.reflect_horizontal = reflect_horizontal_->isChecked(),
                                   .reflect_vertical = reflect_vertical_->isChecked(),
                                   .show_rows = rows_->isChecked(),
                                   .show_columns = columns_->isChecked(),
                                   .show_supplementary = supplementary_->isChecked()};
    plot_ = build_joint_plot(solution_, axes(), options);
    layout_ = layout_joint_plot(plot_, {.show_labels = labels_->isChecked(),
                                        .label_threshold = threshold_->value() / 100.0});
    view_->show_plot(plot_, layout_);
    ++redraws_;
    const int shown = static_cast<int>(layout_.labels.size());
    statusBar()->showMessage(QStringLiteral("%1 points, %2 labelled, %3 labels left out for lack of room")
                                 .arg(plot_.points.size())
                                 .arg(shown)
                                 .arg(layout_.labels_left_out));
}

std::optional<QString> JointPlotWindow::save_svg(const QString& path) const {
    return export_plot_svg(path, layout_, windowTitle());
}

std::optional<QString> JointPlotWindow::save_png(const QString& path, int dpi) const {
    return export_plot_png(path, layout_, dpi);
}

std::optional<QString> JointPlotWindow::save_pdf(const QString& path) const {
    return export_plot_pdf(path, layout_, windowTitle());
}

QString JointPlotWindow::ask_file(const QString& title, const QString& filter, const QString& extension) {
    const QString name = QStringLiteral("joint-%1-%2.%3").arg(horizontal_).arg(vertical_).arg(extension);
    QString path = QFileDialog::getSaveFileName(this, title, QDir(folder_).filePath(name), filter);
    if (path.isEmpty()) return path;
    if (!path.endsWith(QLatin1Char('.') + extension, Qt::CaseInsensitive)) path += QLatin1Char('.') + extension;
    folder_ = QFileInfo(path).absolutePath();
    return path;
}

void JointPlotWindow::report(const std::optional<QString>& error, const QString& path) {
    if (error)
        QMessageBox::warning(this, QStringLiteral("Export Failed"),
                             QStringLiteral("%1 could not be written:\n%2").arg(path, *error));
    else
        statusBar()->showMessage(QStringLiteral("Written: %1").arg(path), 5000);
}

void JointPlotWindow::export_svg() {
    const QString path = ask_file(QStringLiteral("Export SVG"), QStringLiteral("SVG pictures (*.svg)"), "svg");
    if (!path.isEmpty()) report(save_svg(path), path);
}

void JointPlotWindow::export_png() {
    bool ok = false;
    const int dpi = QInputDialog::getInt(this, QStringLiteral("Export PNG"), QStringLiteral("Resolution (dots per inch):"),
                                         300, 72, 1200, 50, &ok);
    if (!ok) return;
    const QString path = ask_file(QStringLiteral("Export PNG"), QStringLiteral("PNG images (*.png)"), "png");
    if (!path.isEmpty()) report(save_png(path, dpi), path);
}

void JointPlotWindow::export_pdf() {
    const QString path = ask_file(QStringLiteral("Export PDF"), QStringLiteral("PDF documents (*.pdf)"), "pdf");
    if (!path.isEmpty()) report(save_pdf(path), path);
}

void JointPlotWindow::copy_image() {
    copy_plot_image(layout_);
    statusBar()->showMessage(QStringLiteral("The plot is on the clipboard"), 5000);
}

}  // namespace marvist::qt

#include "app/qt/joint_plot_export.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

#include <cmath>

#include "app/qt/joint_plot_painter.h"

namespace marvist::qt {
namespace {

constexpr int kPdfResolution = 1200;
constexpr double kClipboardDpi = 192.0;

std::optional<QString> open(QSaveFile& file) {
    if (!file.open(QIODevice::WriteOnly)) return file.errorString();
    return std::nullopt;
}

std::optional<QString> commit(QSaveFile& file) {
    if (!file.commit()) return file.errorString();
    return std::nullopt;
}

}  // namespace

std::optional<QString> export_plot_svg(const QString& path, const JointPlotScene& scene, const QString& title) {
    QSaveFile file(path);
    if (auto error = open(file)) return error;
    QSvgGenerator svg;
    svg.setOutputDevice(&file);
    svg.setResolution(72);  // one pixel of the generator to the point
    svg.setSize(QSize(static_cast<int>(std::ceil(scene.width)), static_cast<int>(std::ceil(scene.height))));
    svg.setViewBox(QRectF(0.0, 0.0, scene.width, scene.height));
    svg.setTitle(title);
    QPainter painter;
    if (!painter.begin(&svg)) return QStringLiteral("cannot draw the SVG");
    paint_joint_plot(painter, scene);
    painter.end();
    return commit(file);
}

std::optional<QString> export_plot_png(const QString& path, const JointPlotScene& scene, int dpi) {
    QSaveFile file(path);
    if (auto error = open(file)) return error;
    if (!joint_plot_image(scene, dpi).save(&file, "PNG")) {
        file.cancelWriting();
        return QStringLiteral("cannot write the PNG image");
    }
    return commit(file);
}

std::optional<QString> export_plot_pdf(const QString& path, const JointPlotScene& scene, const QString& title) {
    QSaveFile file(path);
    if (auto error = open(file)) return error;
    {
        QPdfWriter pdf(&file);
        pdf.setTitle(title);
        pdf.setCreator(QStringLiteral("Marvist"));
        pdf.setResolution(kPdfResolution);
        pdf.setPageLayout(QPageLayout(QPageSize(QSizeF(scene.width, scene.height), QPageSize::Point),
                                      QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Point));
        QPainter painter;
        if (!painter.begin(&pdf)) {
            file.cancelWriting();
            return QStringLiteral("cannot draw the PDF");
        }
        painter.scale(kPdfResolution / 72.0, kPdfResolution / 72.0);
        paint_joint_plot(painter, scene);
        painter.end();
    }
    return commit(file);
}

void copy_plot_image(const JointPlotScene& scene) {
    QGuiApplication::clipboard()->setImage(joint_plot_image(scene, kClipboardDpi));
}

}  // namespace marvist::qt

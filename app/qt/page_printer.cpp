#include "app/qt/page_printer.h"

#include <QDir>
#include <QFontMetricsF>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QRegularExpression>

#include "app/qt/qt_conversions.h"

namespace marvist::qt {

PagePrinter::PagePrinter(std::string pdf_folder)
    : pdf_folder_(std::move(pdf_folder)), printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    if (!pdf_folder_.empty()) printer_->setOutputFormat(QPrinter::PdfFormat);
}

PagePrinter::~PagePrinter() = default;

bool PagePrinter::begin_page(QWidget* owner, const QString& title) {
    lines_.clear();
    in_page_ = false;
    if (pdf_folder_.empty()) {
        if (printer_->outputFormat() == QPrinter::PdfFormat && !last_file_.isEmpty() &&
            printer_->outputFileName() == last_file_) {
            printer_->setOutputFileName(next_page_file(last_file_));
        }
        QPrintDialog dialog(printer_.get(), owner);
        dialog.setWindowTitle(title);
        if (dialog.exec() != QDialog::Accepted) return false;
    } else {
        const QString name = QStringLiteral("page-%1.pdf").arg(pages_printed_ + 1);
        printer_->setOutputFileName(QDir(path_to_qstring(pdf_folder_)).filePath(name));
    }
    printer_->setDocName(title);
    in_page_ = true;
    return true;
}

void PagePrinter::add_line(std::string_view line, const ui::FontSpec& font) {
    if (!in_page_) return;
    ui::FontSpec request = font;
    if (request.face.empty()) request.face = "LotusLineDraw";
    font_ = to_qfont(request);
    font_.setStyleHint(QFont::TypeWriter);
    lines_.push_back(display_text(line));
}

bool PagePrinter::end_page() {
    if (!in_page_) return false;
    in_page_ = false;
    QPainter painter;
    if (!painter.begin(printer_.get())) return false;
    if (lines_.empty()) font_ = to_qfont(ui::FontSpec{"LotusLineDraw", 9});
    draw_page(painter, QSize(printer_->width(), printer_->height()), lines_, font_);
    const bool printed = painter.end();
    lines_.clear();
    last_file_ = printer_->outputFormat() == QPrinter::PdfFormat ? printer_->outputFileName() : QString();
    if (printed) ++pages_printed_;
    return printed;
}

void PagePrinter::page_setup(QWidget* owner) {
    if (!pdf_folder_.empty()) return;
    QPageSetupDialog dialog(printer_.get(), owner);
    dialog.exec();
}

QString next_page_file(const QString& printed) {
    static const QRegularExpression numbered(QStringLiteral("^(.*?)(?:-(\\d+))?(\\.pdf)?$"),
                                             QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = numbered.match(printed);
    const int page = match.captured(2).isEmpty() ? 1 : match.captured(2).toInt();
    const QString extension = match.captured(3).isEmpty() ? QStringLiteral(".pdf") : match.captured(3);
    return QStringLiteral("%1-%2%3").arg(match.captured(1)).arg(page + 1).arg(extension);
}

void draw_page(QPainter& painter, const QSize& area, const std::vector<QString>& lines, const QFont& font) {
    painter.save();
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QFontMetricsF metrics(painter.font(), painter.device());
    const double line_height = metrics.lineSpacing();
    double widest = 0.0;
    for (const QString& line : lines) widest = qMax(widest, metrics.horizontalAdvance(line));
    const double tallest = line_height * static_cast<double>(lines.size());
    double scale = 1.0;
    if (tallest > area.height()) scale = qMin(scale, area.height() / tallest);
    if (widest > area.width()) scale = qMin(scale, area.width() / widest);
    painter.scale(scale, scale);
    double baseline = metrics.ascent();
    for (const QString& line : lines) {
        painter.drawText(QPointF(0.0, baseline), line);
        baseline += line_height;
    }
    painter.restore();
}

}  // namespace marvist::qt

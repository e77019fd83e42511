#include "app/qt/qt_conversions.h"

#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>
#include <QStringDecoder>

#include <initializer_list>

#include "base/cp437.h"

namespace marvist::qt {

QString to_qstring(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string to_utf8(const QString& text) {
    return text.toStdString();
}

QString path_to_qstring(const std::string& bytes) {
    return QFile::decodeName(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string path_to_bytes(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

bool is_valid_utf8(std::string_view bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString ignored = decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return !decoder.hasError();
}

QString display_text(std::string_view bytes) {
    if (is_valid_utf8(bytes)) return to_qstring(bytes);
    return to_qstring(cp437_to_utf8(bytes));
}

QColor to_qcolor(const ui::Rgb& colour) {
    return QColor(colour.red, colour.green, colour.blue);
}

namespace {

// The first of the families that is installed; empty when none is. The
// list of installed families is read once: the opening screen asks on
// every repaint.
QString first_installed(std::initializer_list<const char*> families) {
    static const QStringList installed = QFontDatabase::families();
    for (const char* family : families) {
        if (installed.contains(QString::fromLatin1(family), Qt::CaseInsensitive)) return QString::fromLatin1(family);
    }
    return {};
}

}  // namespace

QString line_draw_family() {
    QString family = first_installed({"DejaVu Sans Mono", "Liberation Mono", "Noto Sans Mono", "FreeMono"});
    if (family.isEmpty()) family = QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
    return family;
}

QFont to_qfont(const ui::FontSpec& request) {
    const QString face = to_qstring(request.face).trimmed();
    const QString key = face.toLower();
    QFont font = QGuiApplication::font();
    if (key.contains(QLatin1String("linedraw")) || key.contains(QLatin1String("courier"))) {
        font.setFamily(line_draw_family());
        font.setStyleHint(QFont::TypeWriter);
        font.setFixedPitch(true);
    } else if (key == QLatin1String("arial") || key == QLatin1String("helvetica")) {
        const QString family = first_installed({"Arial", "Liberation Sans", "DejaVu Sans", "FreeSans"});
        font.setFamily(family.isEmpty() ? face : family);
        font.setStyleHint(QFont::SansSerif);
    } else if (key.startsWith(QLatin1String("times"))) {
        const QString family = first_installed({"Times New Roman", "Liberation Serif", "DejaVu Serif", "FreeSerif"});
        font.setFamily(family.isEmpty() ? face : family);
        font.setStyleHint(QFont::Serif);
    } else if (!face.isEmpty()) {
        font.setFamily(face);
    }
    if (request.points > 0) font.setPointSize(request.points);
    font.setItalic(request.italic);
    font.setUnderline(request.underline);
    font.setStrikeOut(request.strike_out);
    font.setBold(request.bold);
    return font;
}

ui::FontSpec to_font_spec(const QFont& font) {
    ui::FontSpec request;
    request.face = to_utf8(font.family());
    request.points = font.pointSize() > 0 ? font.pointSize() : qRound(font.pointSizeF());
    request.italic = font.italic();
    request.underline = font.underline();
    request.strike_out = font.strikeOut();
    request.bold = font.bold();
    return request;
}

QRect screen_rect(const ui::Placement& placement) {
    QRect area(0, 0, 1024, 768);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) area = screen->availableGeometry();
    const int left = area.left() + qRound(placement.left * area.width());
    const int top = area.top() + qRound(placement.top * area.height());
    const int width = qMax(1, qRound(placement.width * area.width()));
    const int height = qMax(1, qRound(placement.height * area.height()));
    return QRect(left, top, width, height);
}

void set_up_top_level(QWidget& window, bool owned, std::string_view title) {
    if (owned) {
        window.setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    } else {
        window.setWindowFlag(Qt::Window);
    }
    window.setAttribute(Qt::WA_DeleteOnClose);
    window.setWindowTitle(to_qstring(title));
}

}  // namespace marvist::qt

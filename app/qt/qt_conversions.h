// Conversions between the layer's plain types and Qt's: texts, file names,
// colours, fonts and screen placements, and the decoding of file bytes for
// display.
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <QWidget>

#include <string>
#include <string_view>

#include "app/windowing.h"

namespace marvist::qt {

QString to_qstring(std::string_view utf8);
std::string to_utf8(const QString& text);

// File names cross the layer as the bytes of the file system.
QString path_to_qstring(const std::string& bytes);
std::string path_to_bytes(const QString& path);

// True when bytes are well-formed UTF-8.
bool is_valid_utf8(std::string_view bytes);
// Bytes of a listing or of a line, as text to show: UTF-8 when they are
// valid UTF-8, else code-page-437 bytes (the listing's box characters).
QString display_text(std::string_view bytes);

QColor to_qcolor(const ui::Rgb& colour);

// A monospaced family that holds the box-drawing characters; it stands in
// for the line-drawing face, which does not exist here.
QString line_draw_family();
// The Qt font of a FontSpec. An empty face is the application's font;
// "LotusLineDraw" (any line-draw face) becomes line_draw_family(); "arial"
// and "Times Roman" become whatever sans-serif and serif faces are installed.
QFont to_qfont(const ui::FontSpec& request);
ui::FontSpec to_font_spec(const QFont& font);

// Makes window a top-level window of its own, deleted when closed, with
// the title given. With an owner it is a dialog-type window: X11 window
// managers keep a window in front of its owner only when it is marked
// transient for it, which Qt does for dialog-type windows.
void set_up_top_level(QWidget& window, bool owned, std::string_view title);

// A placement (fractions of the screen) in pixels of the primary screen's
// available area.
QRect screen_rect(const ui::Placement& placement);

}  // namespace marvist::qt

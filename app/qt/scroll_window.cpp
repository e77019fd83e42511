#include "app/qt/scroll_window.h"

#include <QCloseEvent>
#include <QFile>
#include <QScrollBar>
#include <QTextBlock>

#include "app/qt/qt_conversions.h"

namespace marvist::qt {

std::optional<QString> file_display_text(const std::string& path) {
    QFile file(path_to_qstring(path));
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return std::nullopt;
    QString text = display_text(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (text.endsWith(QLatin1Char('\n'))) text.chop(1);
    return text;
}

namespace {

quint64 activations = 0;

}  // namespace

ScrollWindow::ScrollWindow(const ui::ScrollWindowSpec& request, QWidget* parent, std::function<bool()> ask_close)
    : QPlainTextEdit(parent), ask_close_(std::move(ask_close)) {
    set_up_top_level(*this, parent != nullptr, request.title);
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setUndoRedoEnabled(false);
    setFont(to_qfont(request.font));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Base, to_qcolor(request.background));
    palette.setColor(QPalette::Text, to_qcolor(request.text_colour));
    setPalette(palette);
    mark_active();
    if (!request.file.empty()) {
        shows_file_ = true;
        load_file(request.file);
    }
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, [this] {
        if (notify_) notify_(this);
    });
}

bool ScrollWindow::load_file(const std::string& path) {
    const std::optional<QString> text = file_display_text(path);
    if (!text) return false;
    setPlainText(*text);
    moveCursor(QTextCursor::Start);
    return true;
}

void ScrollWindow::append_line(std::string_view line) {
    appendPlainText(display_text(line));
}

void ScrollWindow::show_last_line() {
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

int ScrollWindow::cursor_line() const {
    return textCursor().blockNumber() + 1;
}

int ScrollWindow::cursor_column() const {
    return textCursor().positionInBlock() + 1;
}

void ScrollWindow::on_cursor(std::function<void(ScrollWindow*)> notify) {
    notify_ = std::move(notify);
}

void ScrollWindow::closeEvent(QCloseEvent* event) {
    if (ask_close_ && !ask_close_()) {
        event->ignore();
        return;
    }
    event->accept();
}

void ScrollWindow::mark_active() { activated_ = ++activations; }

void ScrollWindow::changeEvent(QEvent* event) {
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) mark_active();
}

void ScrollWindow::focusInEvent(QFocusEvent* event) {
    QPlainTextEdit::focusInEvent(event);
    if (notify_) notify_(this);
}

}  // namespace marvist::qt

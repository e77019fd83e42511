// Scroll windows: read-only text windows with scroll bars and no wrapping,
// standing on their own, that show a file or collect the lines written to
// them.
#pragma once

#include <QPlainTextEdit>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "app/windowing.h"

namespace marvist::qt {

class ScrollWindow : public QPlainTextEdit {
    Q_OBJECT

public:
    // request:   title, colours, font, and the file to show (if any); the
    //            layer places the window.
    // parent:    the owning window (nullptr: none). An owned window is a
    //            dialog-type window of its owner (transient for it), so that
    //            window managers keep it in front of the owner.
    // ask_close: asked when the user closes the window; true lets it close.
    ScrollWindow(const ui::ScrollWindowSpec& request, QWidget* parent, std::function<bool()> ask_close);

    // True for a window that shows a file.
    bool shows_file() const { return shows_file_; }
    // Appends one line (UTF-8, or code-page-437 bytes that are not UTF-8).
    void append_line(std::string_view line);
    // Brings the last line into view.
    void show_last_line();
    // The line and column of the text cursor, counted from 1.
    int cursor_line() const;
    int cursor_column() const;
    // Called whenever the window gains the focus or its cursor moves.
    void on_cursor(std::function<void(ScrollWindow*)> notify);
    // When the window was last active: a count that grows with every
    // activation of any scroll window.
    quint64 activated() const { return activated_; }
    // Counts as active now (brought to the front by the program).
    void mark_active();

protected:
    void closeEvent(QCloseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool load_file(const std::string& path);

    std::function<bool()> ask_close_;
    std::function<void(ScrollWindow*)> notify_;
    bool shows_file_ = false;
    quint64 activated_ = 0;
};

// The text of a file as a scroll window shows it: UTF-8 when the bytes are
// valid UTF-8, else code page 437; line ends CR LF or LF, without the last
// one. Nothing when the file cannot be read.
std::optional<QString> file_display_text(const std::string& path);

}  // namespace marvist::qt

#include "app/qt/frame_placement.h"

#include <QEvent>
#include <QPointer>
#include <QTimer>

namespace marvist::qt {

namespace {

// The margins are reported asynchronously by the window manager after the
// window is mapped: the placement is checked at these times (ms) after it
// is first shown.
constexpr int kChecks[] = {50, 200, 600, 1500};

// Keeps a window's frame where it was placed until the decorations are known.
class FrameKeeper : public QObject {
public:
    FrameKeeper(QWidget* window, const QRect& frame, const QMargins& guess)
        : QObject(window), window_(window), frame_(frame), applied_(guess) {
        window->installEventFilter(this);
        apply(guess);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ && event->type() == QEvent::Show && !shown_) {
            shown_ = true;
            for (int delay : kChecks) {
                QTimer::singleShot(delay, this, [this] { check(); });
            }
        }
        return false;
    }

private:
    void check() {
        if (!window_ || !window_->isVisible()) return;
        const QMargins margins = frame_margins(window_);
        if (margins == applied_ || margins.isNull()) return;
        // Left alone once it has been moved or resized since it was placed.
        const QPoint expected = frame_.topLeft() + QPoint(applied_.left(), applied_.top());
        if (window_->size() != client_ ||
            ((window_->geometry().topLeft() - expected).manhattanLength() > 4 &&
             (window_->frameGeometry().topLeft() - frame_.topLeft()).manhattanLength() > 4)) {
            return;
        }
        apply(margins);
    }

    void apply(const QMargins& margins) {
        applied_ = margins;
        client_ = QSize(qMax(1, frame_.width() - margins.left() - margins.right()),
                        qMax(1, frame_.height() - margins.top() - margins.bottom()));
        window_->resize(client_);
        // move() places the frame of a top-level window, setGeometry() its client area.
        window_->move(frame_.topLeft());
    }

    QPointer<QWidget> window_;
    QRect frame_;
    QMargins applied_;
    QSize client_;
    bool shown_ = false;
};

}  // namespace

QRect frame_clear_of(QRect frame, const std::optional<QRect>& keep_clear, const QRect& screen) {
    if (keep_clear && frame.intersects(*keep_clear)) frame.moveTop(keep_clear->bottom() + 1);
    if (frame.bottom() > screen.bottom()) frame.setBottom(screen.bottom());
    if (frame.right() > screen.right()) frame.setRight(screen.right());
    return frame;
}

QMargins frame_margins(const QWidget* window) {
    const QRect frame = window->frameGeometry();
    const QRect client = window->geometry();
    const QMargins margins(client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                           frame.bottom() - client.bottom());
    // Nonsense before the window manager has answered: nothing known.
    if (margins.left() < 0 || margins.top() < 0 || margins.right() < 0 || margins.bottom() < 0) return {};
    return margins;
}

void place_frame(QWidget* window, const QRect& frame, const QMargins& guess) {
    for (QObject* child : window->children()) {
        if (auto* keeper = dynamic_cast<FrameKeeper*>(child)) delete keeper;
    }
    new FrameKeeper(window, frame, guess);
}

}  // namespace marvist::qt

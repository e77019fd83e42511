// Helpers of the Qt layer's tests: files made and read back, and modal
// dialogs answered like a user would.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

namespace marvist::test {

inline void write_bytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
}

inline QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Polls every 10 ms for a modal widget of type T, for up to five seconds
// (then the pending dialog stays open and the test times out rather than
// passing). It is kept alive by its pending timer only.
template <class T>
class ModalPoller : public std::enable_shared_from_this<ModalPoller<T>> {
public:
    explicit ModalPoller(std::function<void(T*)> action) : action_(std::move(action)) { clock_.start(); }

    void schedule(int milliseconds) {
        QTimer::singleShot(milliseconds, [self = this->shared_from_this()] { self->poll(); });
    }

private:
    void poll() {
        if (T* modal = qobject_cast<T*>(QApplication::activeModalWidget())) {
            action_(modal);
            return;
        }
        if (clock_.elapsed() < 5000) schedule(10);
    }

    std::function<void(T*)> action_;
    QElapsedTimer clock_;
};

// Runs action on the first modal widget of type T that shows.
template <class T>
void when_modal(std::function<void(T*)> action) {
    std::make_shared<ModalPoller<T>>(std::move(action))->schedule(0);
}

}  // namespace marvist::test

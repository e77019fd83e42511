// Helpers of the Qt layer's tests: files made and read back, and modal
// dialogs answered like a user would.
#pragma once

#include <QApplication>
#include <QFile>
#include <QTimer>

#include <functional>

namespace marvist::test {

inline void write_bytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
}

inline QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs action on the first modal widget of type T that shows, polling every
// 10 ms up to `polls` times (then the dialog stays open and the test times
// out rather than passing).
template <class T>
void when_modal(std::function<void(T*)> action, int polls = 500) {
    QTimer::singleShot(polls == 500 ? 0 : 10, [action = std::move(action), polls] {
        if (T* modal = qobject_cast<T*>(QApplication::activeModalWidget())) {
            action(modal);
        } else if (polls > 0) {
            when_modal<T>(action, polls - 1);
        }
    });
}

}  // namespace marvist::test

// Helpers of the Qt layer's tests: files made and read back, pictures
// searched for a colour, and modal dialogs answered like a user would.
#pragma once

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QImage>
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

// The action of a menu or the toolbar of the window with this text.
inline QAction* find_action(QWidget* window, const QString& text) {
    for (QAction* action : window->findChildren<QAction*>()) {
        if (action->text() == text) return action;
    }
    return nullptr;
}

// The box of the pixels of the colour.
inline QRect ink(const QImage& picture, QColor colour) {
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == colour) box |= QRect(x, y, 1, 1);
        }
    }
    return box;
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

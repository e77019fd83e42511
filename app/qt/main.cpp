// The desktop program: the Qt windowing layer under the program's user
// interface. It runs until the main window has closed.
#include <QApplication>

#include "app/main_program.h"
#include "app/qt/qt_windowing.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Marvist"));
    marvist::qt::QtWindowing layer;
    marvist::MainProgram(layer);
    return 0;
}

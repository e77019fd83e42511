// The main window as the program describes it: menus, toolbar and panes;
// commands; closing through the program's routine; the opening text drawn
// where its styles put it; ending the program. Scroll windows: files in
// code page 437 or UTF-8, written lines, window life, and the status bar's
// line and column panes.
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

#include "app/main_program.h"
#include "app/qt/qt_windowing.h"
#include "qt_test_support.h"

using marvist::qt::QtWindowing;
using marvist::qt::ScrollWindow;
using namespace marvist::test;
namespace ui = marvist::ui;

namespace {

QAction* find_action(QMenuBar* bar, const QString& menu, const QString& item) {
    for (QAction* top : bar->actions()) {
        for (QAction* action : top->text() == menu ? top->menu()->actions() : QList<QAction*>()) {
            if (action->text() == item) return action;
        }
    }
    return nullptr;
}

// The box of the pixels of the colour.
QRect ink(const QImage& image, QColor colour) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == colour) box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

ui::ScrollWindowSpec file_window(const QString& file, ui::Rgb text = {}, ui::Rgb background = {}) {
    ui::ScrollWindowSpec request;
    request.title = "Output of Marvist";
    request.file = file.toStdString();
    request.text_colour = text;
    request.background = background;
    request.font = ui::FontSpec{"LotusLineDraw", 9};
    return request;
}

ScrollWindow* shown(QtWindowing& layer, ui::WindowId window) { return qobject_cast<ScrollWindow*>(layer.widget(window)); }

}  // namespace

class WindowTest : public QObject {
    Q_OBJECT

private slots:
    // The program's menus with their separators, hints and greyed items;
    // commands from menus and toolbar.
    void programMenusAndToolbar() {
        QtWindowing layer;
        marvist::Session session(layer);
        ui::MainWindowSpec request = marvist::main_window_spec(session);
        std::vector<int> commands;
        request.command = [&commands](int number) {
            commands.push_back(number);
            return 1;
        };
        layer.create_main_window(request);
        QMenuBar* bar = layer.main_window()->menuBar();
        QCOMPARE(bar->actions().size(), 7);
        QCOMPARE(bar->actions()[2]->statusTip(), QString("Provide parameters for running a new job"));
        const QList<QAction*> file = bar->actions()[0]->menu()->actions();
        QVERIFY(file.size() == 13 && file[2]->isSeparator() && file[12]->text() == "E&xit");
        QVERIFY(!find_action(bar, "&File", "&Close")->isEnabled());
        QCOMPARE(find_action(bar, "&File", "&Open")->statusTip(), QString("Open an arbitrary file"));
        auto* toolbar = layer.main_window()->findChild<QToolBar*>();
        QCOMPARE(toolbar->actions()[2]->toolTip(), QString("Print the contents of the current Main Window"));
        find_action(bar, "Start &Old Job", "&Read Old Set-up File")->trigger();
        toolbar->actions()[2]->trigger();
        QCOMPARE(commands, std::vector<int>({31, 6}));
    }

    // quit_program: every window closes without asking, a message box that
    // is open ends, and the event loop returns.
    void quitEndsEverything() {
        QtWindowing layer;
        ui::MainWindowSpec request;
        int asked = 0;
        request.confirm_close = [&asked](ui::WindowId) { return ++asked, false; };
        const ui::WindowId main = layer.create_main_window(request);
        const ui::WindowId progress = layer.create_scroll_window(ui::ScrollWindowSpec{});
        int answer = 0;
        QTimer::singleShot(0, [&] {
            when_modal<QMessageBox>([&layer](QMessageBox*) { layer.quit_program(); });
            answer = layer.message_box("Stop", "Marvist Stopped", ui::MessageStyle::YesNoQuestion);
        });
        layer.event_loop();
        QCOMPARE(asked, 0);
        QCOMPARE(answer, ui::kButtonNo);
        QVERIFY(!layer.window_exists(main) && !layer.window_exists(progress));
        layer.event_loop();  // returns at once
    }

    // Lines at their fraction of the height, else below the one before,
    // word-wrapped between the margins.
    void drawnTextStandsWhereItsStyleSays() {
        QtWindowing layer;
        ui::MainWindowSpec request;
        request.background = ui::Rgb{151, 204, 247};
        request.paint = [&layer](ui::WindowId window) {
            ui::TextStyle style{ui::FontSpec{"Times Roman", 30, false, false, false, true}, ui::Rgb{200, 0, 0}, 0.5, 40, 10};
            layer.draw_text(window, "HHHH", style);
            style.top.reset();
            style.colour = ui::Rgb{0, 0, 200};
            style.left_margin = 10;
            layer.draw_text(window, "HHHH HHHH HHHH HHHH HHHH HHHH HHHH HHHH", style);
        };
        layer.create_main_window(request);
        layer.main_window()->resize(420, 500);
        QWidget* client = layer.main_window()->client_area();
        const QImage image = client->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(image.pixelColor(2, 2), QColor(151, 204, 247));
        const QRect top = ink(image, QColor(200, 0, 0)), below = ink(image, QColor(0, 0, 200));
        QVERIFY(top.top() >= client->height() / 2 && top.top() < client->height() / 2 + 20);
        QVERIFY(top.left() >= 40);
        QVERIFY(below.top() > top.bottom() && below.left() >= 10);
        QVERIFY(below.height() > 2 * QFontMetrics(QFont("serif", 30)).height());  // wrapped
    }

    // The listing's bytes 0xCD, 0xB3, 0xC4 and 0xC5 are ═ │ ─ ┼; its lines
    // end in CR LF or LF; the face stands in for the line-drawing font and
    // has the glyphs. A file of UTF-8 text shows as such.
    void filesShowTheirCharacters() {
        QtWindowing layer;
        QTemporaryDir folder;
        write_bytes(folder.filePath("NewJob.out"), "\xCD\xCD\xCD\r\n \xB3 Tau \xB3\n\xC4\xC5\xC4\n");
        ScrollWindow* window = shown(layer, layer.create_scroll_window(file_window(folder.filePath("NewJob.out"), {0, 0, 255})));
        QCOMPARE(window->toPlainText(), QString::fromUtf8("═══\n │ Tau │\n─┼─"));
        QCOMPARE(window->palette().color(QPalette::Text), QColor(0, 0, 255));
        QVERIFY(QFontInfo(window->font()).fixedPitch());
        QVERIFY(QFontMetrics(window->font()).inFont(QChar(0x2550)) && QFontMetrics(window->font()).inFont(QChar(0x253C)));

        write_bytes(folder.filePath("notes.txt"), QString::fromUtf8("Café │ naïve\n").toUtf8());
        const ui::WindowId notes = layer.create_scroll_window(file_window(folder.filePath("notes.txt")));
        QCOMPARE(shown(layer, notes)->toPlainText(), QString::fromUtf8("Café │ naïve"));
    }

    // A window that collects lines keeps every line written to it, in or
    // out of the auto-painted stretch; raw code-page-437 lines are converted.
    void writtenLinesStay() {
        QtWindowing layer;
        const ui::WindowId id = layer.create_scroll_window(file_window("", {255, 255, 255}, {128, 0, 0}));
        layer.write_text(id, "  W A R N I N G ");
        layer.start_autopaint(id);
        layer.write_text(id, "══════");
        layer.write_text(id, "\xCD\xCD");
        layer.end_autopaint(id);
        layer.write_text(id, " Marvist ended prematurely due to fatal errors");
        QCOMPARE(shown(layer, id)->toPlainText(),
                 QString::fromUtf8("  W A R N I N G \n══════\n══\n Marvist ended prematurely due to fatal errors"));
        QCOMPARE(shown(layer, id)->palette().color(QPalette::Base), QColor(128, 0, 0));
    }

    // Windows by id: destroyed ones no longer exist. Closing a window, or
    // Exit left to the layer, asks the program's close routine first; once
    // it agrees the main window closes and the event loop returns.
    void windowsCloseOnceTheProgramAgrees() {
        QtWindowing layer;
        marvist::Session session(layer);
        ui::MainWindowSpec request = marvist::main_window_spec(session);
        request.command = [](int) { return 0; };
        bool allow = false;
        std::vector<ui::WindowId> asked;
        request.confirm_close = [&](ui::WindowId window) { return asked.push_back(window), allow; };
        const ui::WindowId main = layer.create_main_window(request);
        const ui::WindowId progress = layer.create_scroll_window(ui::ScrollWindowSpec{});
        const ui::WindowId errors = layer.create_scroll_window(ui::ScrollWindowSpec{});
        layer.destroy_window(errors);
        QVERIFY(!layer.window_exists(errors));
        layer.write_text(errors, "ignored");  // a destroyed window takes no lines

        QPointer<QWidget> window = layer.widget(progress);
        window->close();
        QAction* exit = find_action(layer.main_window()->menuBar(), "&File", "E&xit");
        exit->trigger();
        QCOMPARE(asked, (std::vector<ui::WindowId>{progress, main}));
        QVERIFY(layer.window_exists(progress) && layer.window_exists(main));
        allow = true;
        window->close();
        QTRY_VERIFY(window.isNull());
        QVERIFY(!layer.window_exists(progress));
        QTimer::singleShot(0, exit, &QAction::trigger);
        layer.event_loop();
        QVERIFY(!layer.window_exists(main));
    }

    // The line and column panes appear on request and follow the cursor of
    // the file window.
    void statusBarFollowsTheFileCursor() {
        QtWindowing layer;
        ui::MainWindowSpec main;
        main.panes = {{ui::PaneKind::Line, 0.1, ""}, {ui::PaneKind::Column, 0.1, ""}};
        layer.create_main_window(main);
        QLabel* line = layer.main_window()->status_panes()->pane(ui::PaneKind::Line);
        QLabel* column = layer.main_window()->status_panes()->pane(ui::PaneKind::Column);
        QVERIFY(!line->isVisibleTo(layer.main_window()));
        QTemporaryDir folder;
        write_bytes(folder.filePath("table.dat"), "1 2 3\n4 5 6\n7 8 9\n");
        const ui::WindowId id = layer.create_scroll_window(file_window(folder.filePath("table.dat")));
        layer.show_line_column_panes(true);
        QVERIFY(line->isVisibleTo(layer.main_window()) && column->isVisibleTo(layer.main_window()));
        QTextCursor cursor = shown(layer, id)->textCursor();
        cursor.movePosition(QTextCursor::Down, QTextCursor::MoveAnchor, 2);
        cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 4);
        shown(layer, id)->setTextCursor(cursor);
        QCOMPARE(line->text() + " " + column->text(), QString("Line 3 Col 5"));
        layer.show_line_column_panes(false);
        QVERIFY(!line->isVisibleTo(layer.main_window()));
    }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"

// The main window as the program describes it: menus, toolbar and panes;
// commands; closing through the program's routine; ending the program.
// Scroll windows: files in code page 437 or UTF-8, written lines, and the
// status bar's line and column panes; ownership, closing and placement of
// the windows; the opening text in a small window.
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QWindow>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

#include "app/main_program.h"
#include "app/output_window.h"
#include "app/qt/frame_placement.h"
#include "app/qt/qt_conversions.h"
#include "app/qt/qt_windowing.h"
#include "app/report_windows.h"
#include "qt_test_support.h"

using marvist::qt::QtWindowing;
using marvist::qt::ScrollWindow;
using namespace marvist::test;
namespace ui = marvist::ui;

namespace {

ui::ScrollWindowSpec file_window(const QString& file) {
    ui::ScrollWindowSpec request;
    request.file = file.toStdString();
    request.font = ui::FontSpec{"LotusLineDraw", 9};
    return request;
}

ScrollWindow* shown(QtWindowing& layer, ui::WindowId window) { return qobject_cast<ScrollWindow*>(layer.widget(window)); }

}  // namespace

class WindowTest : public QObject {
    Q_OBJECT

private slots:
    // The program's menus with their greyed items; commands from menus and
    // toolbar. Destroyed windows no longer exist. Closing a window, or Exit
    // left to the layer, asks the program's close routine first; once it
    // agrees the main window closes and the event loop returns.
    void programMenusCommandsAndClosing() {
        QtWindowing layer;
        marvist::Session session(layer);
        ui::MainWindowSpec request = marvist::main_window_spec(session);
        std::vector<int> commands;
        request.command = [&commands](int number) { return commands.push_back(number), 0; };
        bool allow = false;
        std::vector<ui::WindowId> asked;
        request.confirm_close = [&](ui::WindowId window) { return asked.push_back(window), allow; };
        const ui::WindowId main = layer.create_main_window(request);
        QMenuBar* bar = layer.main_window()->menuBar();
        QVERIFY(!find_action(bar, "&Close")->isEnabled());
        find_action(bar, "&Read Old Set-up File")->trigger();
        layer.main_window()->findChild<QToolBar*>()->actions()[2]->trigger();

        const ui::WindowId progress = layer.create_scroll_window(ui::ScrollWindowSpec{});
        const ui::WindowId errors = layer.create_scroll_window(ui::ScrollWindowSpec{});
        layer.destroy_window(errors);
        QVERIFY(!layer.window_exists(errors));
        layer.write_text(errors, "ignored");  // a destroyed window takes no lines
        QPointer<QWidget> window = layer.widget(progress);
        window->close();
        QAction* exit = find_action(bar, "E&xit");
        exit->trigger();
        QCOMPARE(commands, std::vector<int>({31, 6, 257}));
        QCOMPARE(asked, (std::vector<ui::WindowId>{progress, main}));
        QVERIFY(layer.window_exists(progress) && layer.window_exists(main));
        allow = true;
        window->close();
        QTRY_VERIFY(window.isNull());
        QTimer::singleShot(0, exit, &QAction::trigger);
        layer.event_loop();
        QVERIFY(!layer.window_exists(main));
    }

    // quit_program: every window closes without asking, a message box that
    // is open ends, the event loop returns and no window opens after.
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
        QCOMPARE(layer.create_scroll_window(ui::ScrollWindowSpec{}), ui::kNoWindow);  // nothing opens any more
        layer.event_loop();  // returns at once
    }

    // The listing's bytes 0xCD, 0xB3, 0xC4 and 0xC5 are ═ │ ─ ┼, read from a
    // file whose lines end in CR LF or LF, or written as lines; UTF-8 text
    // shows as such. The face stands in for the line-drawing font and has
    // the glyphs. The line and column panes appear on request and follow
    // the cursor of the file window.
    void fileWindowsShowTheirCharactersAndCursor() {
        QtWindowing layer;
        ui::MainWindowSpec main;
        main.panes = {{ui::PaneKind::Line, 0.1, ""}, {ui::PaneKind::Column, 0.1, ""}};
        layer.create_main_window(main);
        QLabel* line = layer.main_window()->status_panes()->pane(ui::PaneKind::Line);
        QLabel* column = layer.main_window()->status_panes()->pane(ui::PaneKind::Column);
        QVERIFY(!line->isVisibleTo(layer.main_window()));
        QTemporaryDir folder;
        write_bytes(folder.filePath("NewJob.out"), "\xCD\xCD\xCD\r\n \xB3 Tau \xB3\n\xC4\xC5\xC4\n");
        const ui::WindowId id = layer.create_scroll_window(file_window(folder.filePath("NewJob.out")));
        layer.write_text(id, "══ Marvist");
        layer.write_text(id, "\xCD\xCD");
        ScrollWindow* window = shown(layer, id);
        QCOMPARE(window->toPlainText(), QString::fromUtf8("═══\n │ Tau │\n─┼─\n══ Marvist\n══"));
        QVERIFY(QFontInfo(window->font()).fixedPitch() && QFontMetrics(window->font()).inFont(QChar(0x253C)));

        layer.show_line_column_panes(true);
        QVERIFY(line->isVisibleTo(layer.main_window()) && column->isVisibleTo(layer.main_window()));
        QTextCursor cursor = window->textCursor();
        cursor.movePosition(QTextCursor::Down, QTextCursor::MoveAnchor, 1);
        cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 4);
        window->setTextCursor(cursor);
        QCOMPARE(line->text() + " " + column->text(), QString("Line 2 Col 5"));
    }

    // The output window and the viewers of File > Open are owned by the main
    // window: dialog-type windows transient for it, which window managers
    // keep in front of it. A window without an owner is a window of its own.
    void fileWindowsAreOwnedByTheMainWindow() {
        QtWindowing layer;
        marvist::Session session(layer);
        session.main_window = layer.create_main_window(marvist::main_window_spec(session));
        QTemporaryDir folder;
        write_bytes(folder.filePath("job.out"), "listing\n");
        session.job.output_file = folder.filePath("job.out").toStdString();
        marvist::ShowOutput(session);
        QWidget* output = layer.widget(session.output_window);
        QVERIFY(output && output->isWindow());
        QCOMPARE(output->windowType(), Qt::Dialog);
        QCOMPARE(output->windowHandle()->transientParent(), layer.main_window()->windowHandle());
        QVERIFY(output->windowFlags() & Qt::WindowMinMaxButtonsHint);
        QWidget* free = layer.widget(layer.create_scroll_window(ui::ScrollWindowSpec{}));
        QCOMPARE(free->windowType(), Qt::Window);
        QCOMPARE(free->windowHandle()->transientParent(), nullptr);
    }

    // Close closes the viewer or output window last active, one after the
    // other. The line and column panes follow the file window last active
    // and go with the last one, however it is closed.
    void viewersCloseOneByOneAndThePanesGoWithTheLast() {
        QtWindowing layer;
        marvist::Session session(layer);
        session.main_window = layer.create_main_window(marvist::main_window_spec(session));
        QLabel* line = layer.main_window()->status_panes()->pane(ui::PaneKind::Line);
        QTemporaryDir folder;
        write_bytes(folder.filePath("a.txt"), "a\n");
        write_bytes(folder.filePath("b.txt"), "b1\nb2\nb3\n");
        const ui::WindowId a = layer.create_scroll_window(file_window(folder.filePath("a.txt")));
        const ui::WindowId b = layer.create_scroll_window(file_window(folder.filePath("b.txt")));
        const ui::WindowId c = layer.create_scroll_window(file_window(folder.filePath("a.txt")));
        session.file_windows = {a, b, c};
        layer.show_line_column_panes(true);
        QTextCursor cursor = shown(layer, b)->textCursor();
        cursor.movePosition(QTextCursor::End);
        shown(layer, b)->setTextCursor(cursor);
        layer.activate_window(a);
        QCOMPARE(layer.last_active({a, b, c}), a);
        marvist::HandleMenuCommand(session, marvist::kCommandClose);
        QVERIFY(!layer.window_exists(a) && layer.window_exists(b) && layer.window_exists(c));
        QCOMPARE(layer.last_active({a, b, c}), c);

        QPointer<QWidget> closing = layer.widget(c);
        closing->close();  // by its own close button
        QTRY_VERIFY(closing.isNull());
        QVERIFY(line->isVisibleTo(layer.main_window()));
        QCOMPARE(line->text(), QString("Line 3"));  // now following b
        QPointer<QWidget> last = layer.widget(b);
        last->close();
        QTRY_VERIFY(last.isNull());
        QVERIFY(!line->isVisibleTo(layer.main_window()));
        marvist::HandleMenuCommand(session, marvist::kCommandClose);  // nothing left to close
        QVERIFY(!line->isVisibleTo(layer.main_window()));
    }

    // Windows are placed by their outer frame; the job's report windows,
    // placed at the top of the screen, stand below the main window's menu
    // bar and toolbar instead of covering them.
    void reportWindowsLeaveTheMenuBarFree() {
        const QRect screen(0, 0, 1000, 800), bars(0, 100, 1000, 60);
        QCOMPARE(marvist::qt::frame_clear_of(QRect(0, 0, 800, 320), bars, screen), QRect(0, 160, 800, 320));
        QCOMPARE(marvist::qt::frame_clear_of(QRect(0, 600, 800, 320), bars, screen), QRect(0, 600, 800, 200));
        QCOMPARE(marvist::qt::frame_clear_of(QRect(0, 200, 800, 320), std::nullopt, screen), QRect(0, 200, 800, 320));

        QtWindowing layer;
        marvist::Session session(layer);
        session.main_window = layer.create_main_window(marvist::main_window_spec(session));
        QMainWindow* main = layer.main_window();
        const int bars_bottom = main->mapToGlobal(QPoint(0, main->centralWidget()->geometry().top())).y();
        for (const ui::ScrollWindowSpec& request :
             {marvist::error_window_spec(session.main_window), marvist::progress_window_spec(session.main_window)}) {
            QWidget* window = layer.widget(layer.create_scroll_window(request));
            QVERIFY2(window->frameGeometry().top() >= bars_bottom, request.title.c_str());
            QCOMPARE(window->frameGeometry().left(), marvist::qt::screen_rect(request.placement).left());
            QCOMPARE(window->windowHandle()->transientParent(), main->windowHandle());
        }
    }

    // The opening text scrolls when the main window is too small for it.
    void openingTextScrollsInASmallWindow() {
        QtWindowing layer;
        marvist::Session session(layer);
        session.main_window = layer.create_main_window(marvist::main_window_spec(session));
        QMainWindow* main = layer.main_window();
        main->resize(500, 260);
        auto* area = main->findChild<QScrollArea*>("opening_text");
        QVERIFY(area);
        area->widget()->repaint();
        QTRY_VERIFY(area->verticalScrollBar()->maximum() > 0);
        main->resize(1200, 1000);
        area->widget()->repaint();
        QTRY_COMPARE(area->verticalScrollBar()->maximum(), 0);
    }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"

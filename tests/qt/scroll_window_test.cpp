// Scroll windows: a listing in code page 437 shows its box characters, a
// UTF-8 file shows as UTF-8, written lines stay; colours, fonts, window
// life, and the status bar's line and column panes.
#include <QFontMetrics>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

#include "app/qt/qt_windowing.h"
#include "qt_test_support.h"

using marvist::qt::QtWindowing;
using marvist::qt::ScrollWindow;
using namespace marvist::test;
namespace ui = marvist::ui;

namespace {

ui::ScrollWindowSpec window_spec(const QString& file, ui::Rgb text, ui::Rgb background) {
    ui::ScrollWindowSpec spec;
    spec.title = "Output of Marvist";
    spec.placement = ui::Placement{0.0, 0.2, 1.0, 0.7};
    spec.file = file.toStdString();
    spec.text_colour = text;
    spec.background = background;
    spec.font = ui::FontSpec{"LotusLineDraw", 9};
    return spec;
}

ScrollWindow* shown(QtWindowing& layer, ui::WindowId window) {
    return qobject_cast<ScrollWindow*>(layer.widget(window));
}

}  // namespace

class ScrollWindowTest : public QObject {
    Q_OBJECT

private slots:
    // The listing's bytes 0xCD, 0xB3, 0xC4 and 0xC5 are ═ │ ─ ┼; its lines
    // end in CR LF or LF; the face stands in for the line-drawing font and
    // has the glyphs. A file of UTF-8 text shows as such.
    void filesShowTheirCharacters() {
        QtWindowing layer;
        QTemporaryDir folder;
        write_bytes(folder.filePath("NewJob.out"), "\xCD\xCD\xCD\r\n \xB3 Tau \xB3\n\xC4\xC5\xC4\n");
        const ui::WindowId id = layer.create_scroll_window(
            window_spec(folder.filePath("NewJob.out"), ui::Rgb{0, 0, 255}, ui::Rgb{255, 255, 255}));
        ScrollWindow* window = shown(layer, id);
        QCOMPARE(window->toPlainText(), QString::fromUtf8("═══\n │ Tau │\n─┼─"));
        QVERIFY(window->isReadOnly());
        QCOMPARE(window->palette().color(QPalette::Text), QColor(0, 0, 255));
        QVERIFY(QFontInfo(window->font()).fixedPitch());
        QVERIFY(QFontMetrics(window->font()).inFont(QChar(0x2550)));
        QVERIFY(QFontMetrics(window->font()).inFont(QChar(0x253C)));

        write_bytes(folder.filePath("notes.txt"), QString::fromUtf8("Café │ naïve\n").toUtf8());
        const ui::WindowId notes = layer.create_scroll_window(window_spec(folder.filePath("notes.txt"), {}, {}));
        QCOMPARE(shown(layer, notes)->toPlainText(), QString::fromUtf8("Café │ naïve"));
    }

    // A window that collects lines keeps every line written to it, in or
    // out of the auto-painted stretch; raw code-page-437 lines are converted.
    void writtenLinesStay() {
        QtWindowing layer;
        const ui::WindowId id = layer.create_scroll_window(window_spec("", {255, 255, 255}, {128, 0, 0}));
        layer.write_text(id, "  W A R N I N G ");
        layer.start_autopaint(id);
        layer.write_text(id, " ");
        layer.write_text(id, "══════");
        layer.write_text(id, "\xCD\xCD");
        layer.end_autopaint(id);
        layer.write_text(id, " Marvist ended prematurely due to fatal errors");
        QCOMPARE(shown(layer, id)->toPlainText(),
                 QString::fromUtf8("  W A R N I N G \n \n══════\n══\n Marvist ended prematurely due to fatal errors"));
        QCOMPARE(shown(layer, id)->palette().color(QPalette::Base), QColor(128, 0, 0));
    }

    // Windows by id: destroyed ones no longer exist; closing by the user
    // asks the program's close routine first.
    void windowsLiveUntilClosed() {
        QtWindowing layer;
        bool allow = false;
        std::vector<ui::WindowId> asked;
        ui::MainWindowSpec main;
        main.confirm_close = [&](ui::WindowId window) { return asked.push_back(window), allow; };
        layer.create_main_window(main);
        const ui::WindowId progress = layer.create_scroll_window(ui::ScrollWindowSpec{});
        const ui::WindowId errors = layer.create_scroll_window(ui::ScrollWindowSpec{});
        layer.activate_window(progress);
        QVERIFY(layer.widget(progress)->isVisible());
        layer.destroy_window(errors);
        QVERIFY(!layer.window_exists(errors));
        layer.write_text(errors, "ignored");  // a destroyed window takes no lines

        QPointer<QWidget> window = layer.widget(progress);
        window->close();
        QCOMPARE(asked, std::vector<ui::WindowId>{progress});
        QVERIFY(layer.window_exists(progress));
        allow = true;
        window->close();
        QTRY_VERIFY(window.isNull());
        QVERIFY(!layer.window_exists(progress));
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
        const ui::WindowId id = layer.create_scroll_window(window_spec(folder.filePath("table.dat"), {}, {}));
        layer.show_line_column_panes(true);
        QVERIFY(line->isVisibleTo(layer.main_window()));
        QVERIFY(column->isVisibleTo(layer.main_window()));
        QTextCursor cursor = shown(layer, id)->textCursor();
        cursor.movePosition(QTextCursor::Down, QTextCursor::MoveAnchor, 2);
        cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 4);
        shown(layer, id)->setTextCursor(cursor);
        QCOMPARE(line->text(), QString("Line 3"));
        QCOMPARE(column->text(), QString("Col 5"));
        layer.show_line_column_panes(false);
        QVERIFY(!line->isVisibleTo(layer.main_window()));
    }
};

QTEST_MAIN(ScrollWindowTest)
#include "scroll_window_test.moc"

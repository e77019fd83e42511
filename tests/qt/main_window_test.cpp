// The main window as the program describes it: menus, hints, toolbar
// and panes; commands; closing through the program's routine; the opening
// text drawn where its styles put it; ending the program.
#include <QImage>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QToolBar>
#include <QtTest>

#include "app/main_program.h"
#include "app/qt/qt_windowing.h"
#include "qt_test_support.h"

using marvist::qt::MainWindow;
using marvist::qt::QtWindowing;
using marvist::test::when_modal;
namespace ui = marvist::ui;

namespace {

QStringList texts(const QList<QAction*>& actions) {
    QStringList list;
    for (const QAction* action : actions) list << (action->isSeparator() ? QString("-") : action->text());
    return list;
}

QAction* find_action(QMenuBar* bar, const QString& menu, const QString& item) {
    for (QAction* top : bar->actions()) {
        if (top->text() != menu) continue;
        for (QAction* action : top->menu()->actions()) {
            if (action->text() == item) return action;
        }
    }
    return nullptr;
}

// First and last row, and leftmost column, holding a pixel of the colour.
QRect ink(const QImage& image, QColor colour) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == colour) box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void programMenusHintsToolbarAndPanes() {
        QtWindowing layer;
        marvist::Session session(layer);
        ui::MainWindowSpec spec = marvist::main_window_spec(session);
        std::vector<int> commands;
        spec.command = [&commands](int number) {
            commands.push_back(number);
            return 1;
        };
        layer.create_main_window(spec);
        MainWindow* window = layer.main_window();
        QMenuBar* bar = window->menuBar();
        QCOMPARE(texts(bar->actions()), QStringList({"&File", "&Input File Names", "Start &New Job",
                                                     "&Continue Same Job", "Start &Old Job", "In&put Data and Labels",
                                                     "&Help"}));
        QCOMPARE(bar->actions()[2]->statusTip(), QString("Provide parameters for running a new job"));
        QCOMPARE(texts(bar->actions()[0]->menu()->actions()),
                 QStringList({"&Open", "&Close", "-", "Get File Name of &Data Set", "Get Name of &Label File", "-",
                              "&Input New Data", "Input New La&bels", "-", "&Print", "Pa&ge Setup", "-", "E&xit"}));
        QVERIFY(!find_action(bar, "&File", "&Close")->isEnabled());
        QVERIFY(find_action(bar, "&File", "&Open")->isEnabled());
        QCOMPARE(find_action(bar, "&Continue Same Job", "&Reuse Parameters")->statusTip(),
                 QString("Reuse parameters of the  previous analysis"));

        // A highlighted item puts its hint in the status bar.
        window->show();
        QMenu* file = bar->actions()[0]->menu();
        bar->setActiveAction(file->menuAction());
        QVERIFY(QTest::qWaitForWindowExposed(file));
        QTest::mouseMove(file, file->actionGeometry(find_action(bar, "&File", "&Open")).center());
        QTRY_COMPARE(window->statusBar()->currentMessage(), QString("Open an arbitrary file"));
        file->hide();

        auto* toolbar = window->findChild<QToolBar*>();
        QCOMPARE(toolbar->actions()[0]->toolTip(), QString("This button will open a file in a scrolling window"));
        QCOMPARE(toolbar->actions()[1]->toolTip(), QString("This button will close a file"));
        QCOMPARE(toolbar->actions()[2]->toolTip(), QString("Print the contents of the current Main Window"));
        QVERIFY(!toolbar->actions()[2]->icon().isNull());

        find_action(bar, "Start &Old Job", "&Read Old Set-up File")->trigger();
        toolbar->actions()[2]->trigger();
        find_action(bar, "&Help", "Ac&knowledgement")->trigger();
        QCOMPARE(commands, std::vector<int>({31, 6, 21}));

        auto* panes = window->status_panes();
        QCOMPARE(panes->pane(ui::PaneKind::Date)->text(), QDate::currentDate().toString("dd-MM-yyyy"));
        QVERIFY(QTime::fromString(panes->pane(ui::PaneKind::Time)->text(), "hh:mm").isValid());
        QCOMPARE(panes->pane(ui::PaneKind::CapsLock)->text(), QString("CAPS"));
        QVERIFY(!panes->pane(ui::PaneKind::Line)->isVisibleTo(window));
        QVERIFY(!panes->pane(ui::PaneKind::Column)->isVisibleTo(window));
    }

    // Exit left to the layer closes the main window once the program's
    // close routine agrees; the event loop then returns.
    void exitClosesAfterConfirmation() {
        QtWindowing layer;
        marvist::Session session(layer);
        ui::MainWindowSpec spec = marvist::main_window_spec(session);
        spec.command = [](int) { return 0; };
        int asked = 0;
        bool allow = false;
        spec.confirm_close = [&](ui::WindowId) { return ++asked, allow; };
        const ui::WindowId main = layer.create_main_window(spec);
        QAction* exit = find_action(layer.main_window()->menuBar(), "&File", "E&xit");
        exit->trigger();
        QCOMPARE(asked, 1);
        QVERIFY(layer.window_exists(main));

        allow = true;
        QTimer::singleShot(0, exit, &QAction::trigger);
        layer.event_loop();
        QCOMPARE(asked, 2);
        QVERIFY(!layer.window_exists(main));
    }

    // quit_program: every window closes without asking, a message box that
    // is open ends, and the event loop returns.
    void quitEndsEverything() {
        QtWindowing layer;
        ui::MainWindowSpec spec;
        int asked = 0;
        spec.confirm_close = [&asked](ui::WindowId) { return ++asked, false; };
        const ui::WindowId main = layer.create_main_window(spec);
        const ui::WindowId progress = layer.create_scroll_window(ui::ScrollWindowSpec{});
        int answer = 0;
        QTimer::singleShot(0, [&] {
            when_modal<QMessageBox>([&layer](QMessageBox*) { layer.quit_program(); });
            answer = layer.message_box("Stop", "Marvist Stopped", ui::MessageStyle::YesNoQuestion);
        });
        layer.event_loop();
        QCOMPARE(asked, 0);
        QCOMPARE(answer, ui::kButtonNo);
        QVERIFY(!layer.window_exists(main));
        QVERIFY(!layer.window_exists(progress));
        layer.event_loop();  // returns at once
    }

    // Lines at their fraction of the height, else below the one before,
    // word-wrapped between the margins.
    void drawnTextStandsWhereItsStyleSays() {
        QtWindowing layer;
        const QColor red(200, 0, 0), blue(0, 0, 200);
        ui::MainWindowSpec spec;
        spec.background = ui::Rgb{151, 204, 247};
        spec.paint = [&layer](ui::WindowId window) {
            ui::TextStyle style;
            style.font = ui::FontSpec{"Times Roman", 30, false, false, false, true};
            style.colour = ui::Rgb{200, 0, 0};
            style.top = 0.5;
            style.left_margin = 40;
            layer.draw_text(window, "HHHH", style);
            style.top.reset();
            style.colour = ui::Rgb{0, 0, 200};
            style.left_margin = 10;
            layer.draw_text(window, "HHHH HHHH HHHH HHHH HHHH HHHH HHHH HHHH", style);
        };
        layer.create_main_window(spec);
        layer.main_window()->resize(420, 500);
        QWidget* client = layer.main_window()->client_area();
        const QImage image = client->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(image.pixelColor(2, 2), QColor(151, 204, 247));
        const QRect top = ink(image, red), below = ink(image, blue);
        QVERIFY(top.top() >= client->height() / 2 && top.top() < client->height() / 2 + 20);
        QVERIFY(top.left() >= 40);
        QVERIFY(below.top() > top.bottom());
        QVERIFY(below.left() >= 10);
        QVERIFY(below.height() > 2 * QFontMetrics(QFont("serif", 30)).height());  // wrapped
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"

// The table window of the Qt layer: tabs, headings and cells asked of the
// sheet, a selected block copied to the clipboard through the sheet's copy
// routine; the folder dialog; menu commands greyed and enabled again.
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QHeaderView>
#include <QMenuBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include "app/main_program.h"
#include "app/qt/qt_windowing.h"
#include "app/qt/table_window.h"
#include "app/session.h"
#include "qt_test_support.h"

using marvist::qt::QtWindowing;
using marvist::qt::TableWindow;
using namespace marvist::test;
namespace ui = marvist::ui;

namespace {

// A sheet of rows x 2 cells "r,c" whose copy routine names the block.
ui::TableSheet sheet(std::string title, std::int64_t rows, std::vector<ui::CellBlock>& copied) {
    ui::TableSheet s;
    s.title = std::move(title);
    s.headings = {"label", "value"};
    s.right_aligned = {false, true};
    s.rows = rows;
    s.cell = [](std::int64_t r, int c) { return std::to_string(r) + "," + std::to_string(c); };
    s.copy = [&copied](const ui::CellBlock& b) {
        copied.push_back(b);
        return "rows " + std::to_string(b.first_row) + "-" + std::to_string(b.last_row) + " columns " +
               std::to_string(b.first_column) + "-" + std::to_string(b.last_column);
    };
    return s;
}

}  // namespace

class TableWindowTest : public QObject {
    Q_OBJECT

private slots:
    void sheetsCellsAndCopying() {
        QtWindowing layer;
        std::vector<ui::CellBlock> copied;
        ui::TableWindowSpec request;
        request.title = "Results of Marvist";
        request.sheets = {sheet("Table", 1000000, copied), sheet("Axes", 3, copied)};
        const ui::WindowId id = layer.create_table_window(request);
        auto* window = qobject_cast<TableWindow*>(layer.widget(id));
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), QStringLiteral("Results of Marvist"));
        QCOMPARE(window->tabs()->count(), 2);
        QCOMPARE(window->tabs()->tabText(1), QStringLiteral("Axes"));

        QTableView* view = window->view(0);
        QAbstractItemModel* model = view->model();
        QCOMPARE(model->rowCount(), 1000000);
        QCOMPARE(model->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("value"));
        QCOMPARE(model->headerData(0, Qt::Vertical, Qt::DisplayRole).toInt(), 1);
        QCOMPARE(model->data(model->index(999999, 1), Qt::DisplayRole).toString(), QStringLiteral("999999,1"));
        QVERIFY(model->data(model->index(0, 1), Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight);
        QVERIFY(model->data(model->index(0, 0), Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignLeft);

        // Nothing selected: nothing copied.
        find_action(view, "&Copy")->trigger();
        QVERIFY(copied.empty());

        // Two separate selections: the block that holds both.
        view->selectionModel()->select(QItemSelection(model->index(2, 1), model->index(3, 1)),
                                       QItemSelectionModel::Select);
        view->selectionModel()->select(QItemSelection(model->index(5, 0), model->index(5, 0)),
                                       QItemSelectionModel::Select);
        find_action(view, "&Copy")->trigger();
        QCOMPARE(copied.size(), std::size_t{1});
        QCOMPARE(copied[0].first_row, std::int64_t{2});
        QCOMPARE(copied[0].last_row, std::int64_t{5});
        QCOMPARE(copied[0].first_column, 0);
        QCOMPARE(copied[0].last_column, 1);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("rows 2-5 columns 0-1"));

        // Select All on the second sheet, then Ctrl+C.
        window->tabs()->setCurrentIndex(1);
        QTableView* axes = window->view(1);
        find_action(axes, "Select &All")->trigger();
        QTest::keyClick(axes, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("rows 0-2 columns 0-1"));

        layer.destroy_window(id);
        QVERIFY(!layer.window_exists(id));
    }

    void commandsGreyedAndEnabled() {
        QtWindowing layer;
        marvist::Session session(layer);
        layer.create_main_window(marvist::main_window_spec(session));
        QMenuBar* bar = layer.main_window()->menuBar();
        QAction* results = find_action(bar, "&Results");
        QAction* export_results = find_action(bar, "&Export Results...");
        QVERIFY(results && export_results);
        QVERIFY(!results->isEnabled());
        QVERIFY(!export_results->isEnabled());
        layer.enable_command(marvist::kCommandShowResults, true);
        QVERIFY(results->isEnabled());
        QVERIFY(!export_results->isEnabled());
        layer.enable_command(marvist::kCommandShowResults, false);
        QVERIFY(!results->isEnabled());
        QVERIFY(find_action(bar, "&Print")->isEnabled());  // the other items as they were
    }

    void folderDialog() {
        QtWindowing layer;
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("out")));
        when_modal<QFileDialog>([&](QFileDialog* dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Export Results to Folder"));
            QCOMPARE(dialog->fileMode(), QFileDialog::Directory);
            dialog->selectFile(dir.filePath(QStringLiteral("out")));
            static_cast<QDialog*>(dialog)->accept();
        });
        const std::optional<std::string> chosen =
            layer.choose_folder({.title = "Export Results to Folder", .initial_folder = dir.path().toStdString()});
        QVERIFY(chosen);
        QCOMPARE(QString::fromStdString(*chosen), dir.filePath(QStringLiteral("out")));
        when_modal<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
        QVERIFY(!layer.choose_folder({}));
    }
};

QTEST_MAIN(TableWindowTest)
#include "table_window_test.moc"

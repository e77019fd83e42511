// The table import dialog: the preview and the detected layout of a real
// file, column choices that follow its header, and the choice made.
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "app/import_table.h"
#include "app/qt/qt_conversions.h"
#include "app/qt/qt_windowing.h"
#include "app/qt/table_import_dialog.h"
#include "qt_test_support.h"

using marvist::qt::QtWindowing;
using marvist::qt::TableImportDialog;
using namespace marvist::test;
namespace ui = marvist::ui;

namespace {

// A request over a real file, keeping every choice the dialog asked about.
struct ViewedFile {
    QTemporaryDir dir;
    std::string file;
    std::vector<ui::TableImportChoice> asked;
    ui::TableImportRequest request;

    explicit ViewedFile(const QByteArray& bytes) {
        file = marvist::qt::path_to_bytes(dir.filePath("survey.csv"));
        write_bytes(dir.filePath("survey.csv"), bytes);
        request.title = "Import Table";
        request.file = file;
        request.initial.job_name = "survey";
        request.view = [this](const ui::TableImportChoice& choice) {
            asked.push_back(choice);
            return marvist::table_import_view(file, choice);
        };
    }
};

void click_ok(QDialog* dialog) {
    dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
}

}  // namespace

class ImportDialogTest : public QObject {
    Q_OBJECT

private slots:
    // Opened on a file of records, the dialog shows its first rows under the
    // header and says the shape is not known; choosing the two columns
    // settles it, and the count column is no longer offered.
    void previewAndColumnChoices() {
        ViewedFile viewed("id;age;channel;comment\r\n1;18-29;Web;\"fast; cheap\"\r\n2;65+;Shop;\r\n");
        TableImportDialog dialog(viewed.request, nullptr);
        QCOMPARE(viewed.asked.size(), std::size_t{1});
        QTableWidget* preview = dialog.preview();
        QCOMPARE(preview->rowCount(), 2);
        QCOMPARE(preview->columnCount(), 4);
        QCOMPARE(preview->horizontalHeaderItem(1)->text(), QString("age"));
        QCOMPARE(preview->item(0, 3)->text(), QString("fast; cheap"));
        QVERIFY(dialog.detected()->text().contains("Delimiter: semicolon (detected)"));
        QVERIFY(dialog.detected()->text().contains("expected the shape and the columns"));
        QCOMPARE(dialog.rows_box()->count(), 5);  // no column, then the four names
        QVERIFY(dialog.count_box()->isEnabled());

        dialog.rows_box()->setCurrentText("channel");
        dialog.cols_box()->setCurrentText("age");
        QCOMPARE(viewed.asked.back().read.columns.cols, std::string("age"));
        QVERIFY(dialog.detected()->text().contains("Shape: records (by the columns chosen)"));
        QVERIFY(!dialog.count_box()->isEnabled());
        dialog.order_box()->setCurrentIndex(1);
        dialog.job_name_field()->setText("  channels ");
        const ui::TableImportChoice choice = dialog.choice();
        QCOMPARE(choice.read.columns.rows, std::string("channel"));
        QCOMPARE(choice.read.columns.count, std::string());
        QVERIFY(choice.read.order == marvist::CategoryOrder::Sorted);
        QVERIFY(!choice.read.shape.has_value());
        QCOMPARE(choice.job_name, std::string("channels"));
    }

    // A delimiter chosen by hand reads the file again; a wide table offers
    // no columns to choose.
    void delimiterAndShapeGiven() {
        ViewedFile viewed(",a,b,c\nx,1,2,3\ny,4,5,6\n");
        TableImportDialog dialog(viewed.request, nullptr);
        QVERIFY(dialog.detected()->text().contains("Shape: wide (detected)"));
        QVERIFY(!dialog.rows_box()->isEnabled());
        dialog.delimiter_box()->setCurrentIndex(2);  // semicolon
        QCOMPARE(viewed.asked.back().read.delimiter, ';');
        QCOMPARE(dialog.preview()->columnCount(), 1);
        dialog.delimiter_box()->setCurrentIndex(0);
        dialog.shape_box()->setCurrentIndex(2);  // long
        QVERIFY(viewed.asked.back().read.shape == marvist::TableShape::Long);
        QVERIFY(dialog.detected()->text().contains("Shape: long (given)"));
        QVERIFY(dialog.rows_box()->isEnabled() && dialog.count_box()->isEnabled());
    }

    // Through the layer: OK gives the choice, Cancel nothing.
    void theLayerReturnsTheChoice() {
        ViewedFile viewed("r,c\nx,a\ny,b\n");
        QtWindowing layer;
        when_modal<TableImportDialog>([](TableImportDialog* dialog) {
            dialog->order_box()->setCurrentIndex(1);
            click_ok(dialog);
        });
        const std::optional<ui::TableImportChoice> chosen = layer.table_import_dialog(viewed.request);
        QVERIFY(chosen.has_value());
        QVERIFY(chosen->read.order == marvist::CategoryOrder::Sorted);
        QCOMPARE(chosen->job_name, std::string("survey"));
        when_modal<TableImportDialog>([](TableImportDialog* dialog) { dialog->reject(); });
        QVERIFY(!layer.table_import_dialog(viewed.request).has_value());
    }
};

QTEST_MAIN(ImportDialogTest)
#include "import_dialog_test.moc"

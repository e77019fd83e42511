// Printing page by page, into PDF files or after a print dialog each; the
// fitting of a page's lines; copying files.
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QPrintDialog>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include "app/qt/page_printer.h"
#include "app/qt/qt_conversions.h"
#include "app/qt/qt_windowing.h"
#include "qt_test_support.h"

using marvist::qt::QtWindowing;
using namespace marvist::test;
namespace ui = marvist::ui;

namespace {

const ui::FontSpec kLineDraw{"LotusLineDraw", 9};

// Pages of a PDF file: its page objects ("/Type /Page", not "/Pages").
int pdf_pages(const QString& path) {
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![s])"));
    return static_cast<int>(QString::fromLatin1(contents(path)).count(page));
}

}  // namespace

class PrintingTest : public QObject {
    Q_OBJECT

private slots:
    // Each page is a print job of its own: one PDF file a page, an empty
    // page included.
    void pagesBecomeOnePdfEach() {
        QTemporaryDir folder;
        QtWindowing layer(marvist::qt::QtWindowingOptions{folder.path().toStdString()});
        for (int lines : {60, 10, 0}) {
            QVERIFY(layer.print_page_begin(ui::kNoWindow, "Print (Output) File"));
            for (int line = 1; line <= lines; ++line) layer.print_line(" line ═══│", kLineDraw);
            layer.print_page_end();
        }
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files, QDir::Name),
                 QStringList({"page-1.pdf", "page-2.pdf", "page-3.pdf"}));
        for (int page = 1; page <= 3; ++page) QCOMPARE(pdf_pages(folder.filePath(QString("page-%1.pdf").arg(page))), 1);
    }

    // With the print dialog: each page asks first; the next page proposes a
    // file of its own; a cancelled dialog prints nothing.
    void eachPageAsksItsPrintDialog() {
        QTemporaryDir folder;
        QtWindowing layer;
        QStringList proposed;
        for (int page = 1; page <= 2; ++page) {
            when_modal<QPrintDialog>([&](QPrintDialog* dialog) {
                // The dialog's own output-file field, as the user would fill it in.
                auto* file = dialog->findChild<QLineEdit*>("filename");
                proposed << (file ? file->text() : QString());
                if (file && proposed.size() == 1) file->setText(folder.filePath("listing.pdf"));
                static_cast<QDialog*>(dialog)->accept();
            });
            QVERIFY(layer.print_page_begin(ui::kNoWindow, "Print (Output) File"));
            layer.print_line("a line", kLineDraw);
            layer.print_page_end();
        }
        QCOMPARE(proposed.last(), folder.filePath("listing-2.pdf"));
        QCOMPARE(pdf_pages(folder.filePath("listing.pdf")) + pdf_pages(folder.filePath("listing-2.pdf")), 2);

        when_modal<QPrintDialog>([](QPrintDialog* dialog) { dialog->reject(); });
        QVERIFY(!layer.print_page_begin(ui::kNoWindow, "Print (Output) File"));
        layer.print_line("not printed", kLineDraw);
        layer.print_page_end();
        QCOMPARE(layer.pages_printed(), 2);

        using marvist::qt::next_page_file;
        QCOMPARE(next_page_file("/home/u/print-2.pdf"), QString("/home/u/print-3.pdf"));
        QCOMPARE(next_page_file("/home/u/page-set.PDF"), QString("/home/u/page-set-2.PDF"));
        QCOMPARE(next_page_file("listing"), QString("listing-2.pdf"));
    }

    // Sixty lines in a font too large for the page are scaled down together
    // so the last line still lands on the page.
    void pageLinesAreScaledToFit() {
        QImage image(300, 200, QImage::Format_RGB32);
        image.fill(Qt::white);
        std::vector<QString> lines(59, QString("-"));
        lines.push_back(QString::fromUtf8("████████"));
        {
            QPainter painter(&image);
            marvist::qt::draw_page(painter, image.size(), lines, marvist::qt::to_qfont({"LotusLineDraw", 30}));
        }
        QVERIFY(ink(image, Qt::black).bottom() > image.height() * 9 / 10);  // the last line
    }

    // Copying keeps the bytes; an existing file is replaced only when asked;
    // a file copied onto itself survives; failures leave the target alone.
    void copyFileReplacesOnlyWhenAsked() {
        QtWindowing layer;
        QTemporaryDir folder;
        const std::string listing = folder.filePath("NewJob.out").toStdString();
        const QString copy = folder.filePath("Saved.out");
        const QByteArray bytes("\xCD\xCD listing \xB3\r\n", 15);
        write_bytes(QString::fromStdString(listing), bytes);
        write_bytes(copy, "older");
        QVERIFY(!layer.copy_file(listing, copy.toStdString(), false));
        QCOMPARE(contents(copy), QByteArray("older"));
        QVERIFY(layer.copy_file(listing, copy.toStdString(), true));
        QCOMPARE(contents(copy), bytes);

        QVERIFY(layer.copy_file(listing, folder.filePath("./NewJob.out").toStdString(), true));
        QCOMPARE(contents(QString::fromStdString(listing)), bytes);
        QVERIFY(!layer.copy_file(folder.filePath("missing.out").toStdString(), copy.toStdString(), true));
        QCOMPARE(contents(copy), bytes);
    }
};

QTEST_MAIN(PrintingTest)
#include "printing_test.moc"

// Printing page by page: each page is one print job with its own print
// dialog, its lines drawn in a monospaced font from the top of the page.
#pragma once

#include <QFont>
#include <QPainter>
#include <QPrinter>
#include <QSize>
#include <QString>
#include <QWidget>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/windowing.h"

namespace marvist::qt {

class PagePrinter {
public:
    // pdf_folder: empty for the system's printers with a print dialog per
    //             page; otherwise no dialogs are shown and page k of the
    //             run is written to <pdf_folder>/page-<k>.pdf.
    explicit PagePrinter(std::string pdf_folder);
    ~PagePrinter();

    // Starts a page: shows the print dialog; false when it is cancelled.
    bool begin_page(QWidget* owner, const QString& title);
    // A line of the page (UTF-8, or code-page-437 bytes that are not UTF-8).
    void add_line(std::string_view line, const ui::FontSpec& font);
    // Prints the page as its own job; false when the printer refused it.
    bool end_page();
    // The page set-up dialog; the layout chosen holds for later pages.
    void page_setup(QWidget* owner);

    // Pages printed in this run.
    int pages_printed() const { return pages_printed_; }

private:
    std::string pdf_folder_;
    std::unique_ptr<QPrinter> printer_;
    bool in_page_ = false;
    std::vector<QString> lines_;
    QFont font_;
    int pages_printed_ = 0;
    QString last_file_;  // the PDF file the last page went to, if any
};

// The file proposed for the next page after a page went to the PDF file
// printed, so that pages printed to a file one job at a time do not
// overwrite each other: "out.pdf" gives "out-2.pdf", "out-2.pdf" gives
// "out-3.pdf".
QString next_page_file(const QString& printed);

// Draws the lines of a page into area from its top left corner, one line
// below the other at the font's line spacing. When they do not all fit,
// everything is scaled down evenly until they do, so no line is lost.
void draw_page(QPainter& painter, const QSize& area, const std::vector<QString>& lines, const QFont& font);

}  // namespace marvist::qt

#include "app/qt/table_import_dialog.h"

#include <algorithm>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/qt/qt_conversions.h"

namespace marvist::qt {
namespace {

// The shapes and delimiters in the order of their boxes; the first entry
// of each is "detect".
const TableShape kShapes[] = {TableShape::Wide, TableShape::Long, TableShape::Records};
const char kDelimiters[] = {',', ';', '\t'};

// Puts names into a column box (an empty entry first: no column), keeping
// the name chosen when it is still there.
void fill_columns(QComboBox* box, const std::vector<std::string>& names, const QString& keep) {
    box->clear();
    box->addItem(QString());
    for (const std::string& name : names) box->addItem(to_qstring(name));
    const int at = box->findText(keep);
    box->setCurrentIndex(at >= 0 ? at : 0);
}

}  // namespace

TableImportDialog::TableImportDialog(const ui::TableImportRequest& request, QWidget* parent)
    : QDialog(parent), request_(request) {
    setWindowTitle(to_qstring(request.title));
    auto* layout = new QVBoxLayout(this);
    auto* file = new QLabel(path_to_qstring(request.file), this);
    file->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(file);

    auto* form = new QFormLayout;
    const TableReadOptions& initial = request.initial.read;
    shape_ = new QComboBox(this);
    shape_->addItems({tr("Detect"), tr("Wide: a column per column category"), tr("Long: a row per cell, with a count"),
                      tr("Records: a row per observation, counted")});
    for (int k = 0; k < 3; ++k) {
        if (initial.shape == kShapes[k]) shape_->setCurrentIndex(k + 1);
    }
    delimiter_ = new QComboBox(this);
    delimiter_->addItems({tr("Detect"), tr("Comma"), tr("Semicolon"), tr("Tab")});
    for (int k = 0; k < 3; ++k) {
        if (initial.delimiter == kDelimiters[k]) delimiter_->setCurrentIndex(k + 1);
    }
    rows_ = new QComboBox(this);
    cols_ = new QComboBox(this);
    count_ = new QComboBox(this);
    for (QComboBox* box : {rows_, cols_, count_}) box->setMinimumContentsLength(16);
    rows_->addItem(to_qstring(initial.columns.rows));
    cols_->addItem(to_qstring(initial.columns.cols));
    count_->addItem(to_qstring(initial.columns.count));
    order_ = new QComboBox(this);
    order_->addItems({tr("As they first appear"), tr("Sorted")});
    order_->setCurrentIndex(initial.order == CategoryOrder::Sorted ? 1 : 0);
    job_name_ = new QLineEdit(to_qstring(request.initial.job_name), this);
    form->addRow(tr("Shape"), shape_);
    form->addRow(tr("Delimiter"), delimiter_);
    form->addRow(tr("Row categories in column"), rows_);
    form->addRow(tr("Column categories in column"), cols_);
    form->addRow(tr("Counts in column"), count_);
    form->addRow(tr("Category order"), order_);
    form->addRow(tr("Job name"), job_name_);
    layout->addLayout(form);

    detected_ = new QLabel(this);
    detected_->setWordWrap(true);
    detected_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(detected_);
    preview_ = new QTableWidget(this);
    preview_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    preview_->setMinimumSize(560, 240);
    layout->addWidget(preview_, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    for (QComboBox* box : {shape_, delimiter_, rows_, cols_, count_, order_}) {
        connect(box, &QComboBox::currentIndexChanged, this, [this] {
            if (!refreshing_) refresh();
        });
    }
    refresh();
}

ui::TableImportChoice TableImportDialog::choice() const {
    ui::TableImportChoice made;
    TableReadOptions& read = made.read;
    if (shape_->currentIndex() > 0) read.shape = kShapes[shape_->currentIndex() - 1];
    if (delimiter_->currentIndex() > 0) read.delimiter = kDelimiters[delimiter_->currentIndex() - 1];
    if (rows_->isEnabled()) read.columns.rows = to_utf8(rows_->currentText());
    if (cols_->isEnabled()) read.columns.cols = to_utf8(cols_->currentText());
    if (count_->isEnabled()) read.columns.count = to_utf8(count_->currentText());
    read.order = order_->currentIndex() == 1 ? CategoryOrder::Sorted : CategoryOrder::FirstAppearance;
    made.job_name = to_utf8(job_name_->text().trimmed());
    return made;
}

void TableImportDialog::refresh() {
    show_view(request_.view(choice()));
}

void TableImportDialog::show_view(const ui::TableImportView& view) {
    refreshing_ = true;
    fill_columns(rows_, view.columns, rows_->currentText());
    fill_columns(cols_, view.columns, cols_->currentText());
    fill_columns(count_, view.columns, count_->currentText());
    rows_->setEnabled(view.columns_wanted);
    cols_->setEnabled(view.columns_wanted);
    count_->setEnabled(view.count_wanted);
    refreshing_ = false;

    QString detected = tr("Delimiter: %1\nShape: %2\nHeader: %3")
                           .arg(to_qstring(view.delimiter), to_qstring(view.shape), to_qstring(view.header));
    if (!view.problem.empty()) detected += "\n" + to_qstring(view.problem);
    detected_->setText(detected);

    preview_->clear();
    std::size_t width = 0;
    for (const auto& row : view.rows) width = std::max(width, row.size());
    preview_->setColumnCount(static_cast<int>(width));
    preview_->setRowCount(view.rows.empty() ? 0 : static_cast<int>(view.rows.size() - 1));
    QStringList header;
    if (!view.rows.empty()) {
        for (const std::string& name : view.rows.front()) header << to_qstring(name);
    }
    preview_->setHorizontalHeaderLabels(header);
    for (std::size_t r = 1; r < view.rows.size(); ++r) {
        for (std::size_t c = 0; c < view.rows[r].size(); ++c) {
            preview_->setItem(static_cast<int>(r - 1), static_cast<int>(c),
                              new QTableWidgetItem(to_qstring(view.rows[r][c])));
        }
    }
    preview_->resizeColumnsToContents();
}

}  // namespace marvist::qt

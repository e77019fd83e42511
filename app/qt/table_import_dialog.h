// The table import dialog on Qt Widgets: how to read a CSV table (shape,
// delimiter, the columns of categories and counts, category order, job
// name) beside a preview of its first rows as they will be read. What to
// show comes from the request's view routine, called whenever a choice
// changes; the dialog itself decides nothing about the file.
#pragma once

#include <QDialog>

#include "app/windowing.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QTableWidget;

namespace marvist::qt {

class TableImportDialog : public QDialog {
    Q_OBJECT

public:
    TableImportDialog(const ui::TableImportRequest& request, QWidget* parent);

    // The choice as the dialog's fields hold it.
    ui::TableImportChoice choice() const;

    // The fields, for tests.
    QComboBox* shape_box() const { return shape_; }
    QComboBox* delimiter_box() const { return delimiter_; }
    QComboBox* rows_box() const { return rows_; }
    QComboBox* cols_box() const { return cols_; }
    QComboBox* count_box() const { return count_; }
    QComboBox* order_box() const { return order_; }
    QLineEdit* job_name_field() const { return job_name_; }
    QTableWidget* preview() const { return preview_; }
    QLabel* detected() const { return detected_; }

private:
    void refresh();
    void show_view(const ui::TableImportView& view);

    const ui::TableImportRequest& request_;
    QComboBox* shape_;
    QComboBox* delimiter_;
    QComboBox* rows_;
    QComboBox* cols_;
    QComboBox* count_;
    QComboBox* order_;
    QLineEdit* job_name_;
    QLabel* detected_;
    QTableWidget* preview_;
    bool refreshing_ = false;
};

}  // namespace marvist::qt

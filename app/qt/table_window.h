// A window of tables: one tab per sheet, each a table view whose cells are
// asked of the sheet as they come into view. Cells are selected with the
// mouse or the keyboard; Copy (Ctrl+C or the context menu) puts the
// sheet's text for the selected block on the clipboard.
#pragma once

#include <QAbstractTableModel>
#include <QTabWidget>
#include <QTableView>
#include <QWidget>

#include <functional>
#include <optional>
#include <utility>

#include "app/windowing.h"

namespace marvist::qt {

class SheetModel : public QAbstractTableModel {
public:
    SheetModel(ui::TableSheet sheet, QObject* parent);
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    const ui::TableSheet& sheet() const { return sheet_; }

private:
    ui::TableSheet sheet_;
};

// A table view whose Copy key copies the selected block through the
// window, as the Copy action does, whether the window is active or not.
class SheetView : public QTableView {
public:
    SheetView(std::function<void()> copy, QWidget* parent) : QTableView(parent), copy_(std::move(copy)) {}

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::function<void()> copy_;
};

class TableWindow : public QWidget {
    Q_OBJECT

public:
    // parent: the owner, which the window stays in front of; none: a window of its own.
    TableWindow(ui::TableWindowSpec request, QWidget* parent);

    QTabWidget* tabs() const { return tabs_; }
    QTableView* view(int sheet) const;
    // The smallest block holding every selected cell of the current sheet;
    // nothing when no cell is selected.
    std::optional<ui::CellBlock> selected_block() const;
    // Puts the current sheet's text for the selected block on the clipboard.
    void copy_selection();

private:
    QTabWidget* tabs_ = nullptr;
};

}  // namespace marvist::qt

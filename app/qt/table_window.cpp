#include "app/qt/table_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QKeySequence>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>
#include <utility>

#include "app/qt/qt_conversions.h"

namespace marvist::qt {

// ---- SheetModel ----

SheetModel::SheetModel(ui::TableSheet sheet, QObject* parent) : QAbstractTableModel(parent), sheet_(std::move(sheet)) {}

int SheetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(std::min<std::int64_t>(sheet_.rows, INT_MAX));
}

int SheetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(sheet_.headings.size());
}

QVariant SheetModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const auto column = static_cast<std::size_t>(index.column());
    if (role == Qt::DisplayRole && sheet_.cell) return to_qstring(sheet_.cell(index.row(), index.column()));
    if (role == Qt::TextAlignmentRole) {
        const bool right = column < sheet_.right_aligned.size() && sheet_.right_aligned[column];
        return QVariant::fromValue(Qt::Alignment(right ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignLeft | Qt::AlignVCenter));
    }
    return {};
}

QVariant SheetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    if (section < 0 || static_cast<std::size_t>(section) >= sheet_.headings.size()) return {};
    return to_qstring(sheet_.headings[static_cast<std::size_t>(section)]);
}

// ---- SheetView ----

void SheetView::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        if (copy_) copy_();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

// ---- TableWindow ----

TableWindow::TableWindow(ui::TableWindowSpec request, QWidget* parent) : QWidget(parent) {
    // Kept in front of its owner as the other windows of a job are.
    set_up_top_level(*this, parent != nullptr, request.title);
    tabs_ = new QTabWidget(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tabs_);

    for (ui::TableSheet& sheet : request.sheets) {
        const QString title = to_qstring(sheet.title);
        auto* view = new SheetView([this] { copy_selection(); }, tabs_);
        view->setModel(new SheetModel(std::move(sheet), view));
        view->setSelectionMode(QAbstractItemView::ExtendedSelection);
        view->setSelectionBehavior(QAbstractItemView::SelectItems);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->setContextMenuPolicy(Qt::ActionsContextMenu);
        // Rows of one height, so that a million of them scroll at once.
        view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        view->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
        view->resizeColumnsToContents();
        tabs_->addTab(view, title);

        auto* copy = new QAction(QStringLiteral("&Copy"), view);
        copy->setShortcut(QKeySequence::Copy);
        copy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(copy, &QAction::triggered, this, [this] { copy_selection(); });
        view->addAction(copy);
        auto* select_all = new QAction(QStringLiteral("Select &All"), view);
        select_all->setShortcut(QKeySequence::SelectAll);
        select_all->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(select_all, &QAction::triggered, view, &QTableView::selectAll);
        view->addAction(select_all);
    }
}

QTableView* TableWindow::view(int sheet) const { return qobject_cast<QTableView*>(tabs_->widget(sheet)); }

std::optional<ui::CellBlock> TableWindow::selected_block() const {
    const QTableView* current = view(tabs_->currentIndex());
    if (!current || !current->selectionModel()) return std::nullopt;
    const QItemSelection selection = current->selectionModel()->selection();
    if (selection.isEmpty()) return std::nullopt;
    ui::CellBlock block{.first_row = INT_MAX, .last_row = -1, .first_column = INT_MAX, .last_column = -1};
    for (const QItemSelectionRange& range : selection) {
        block.first_row = std::min<std::int64_t>(block.first_row, range.top());
        block.last_row = std::max<std::int64_t>(block.last_row, range.bottom());
        block.first_column = std::min(block.first_column, range.left());
        block.last_column = std::max(block.last_column, range.right());
    }
    return block;
}

void TableWindow::copy_selection() {
    const std::optional<ui::CellBlock> block = selected_block();
    const QTableView* current = view(tabs_->currentIndex());
    if (!block || !current) return;
    const ui::TableSheet& sheet = static_cast<const SheetModel*>(current->model())->sheet();
    if (sheet.copy) QApplication::clipboard()->setText(to_qstring(sheet.copy(*block)));
}

}  // namespace marvist::qt

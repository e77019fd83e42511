#include "app/qt/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QPainterPath>
#include <QPixmap>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyle>
#include <QTime>
#include <QTimer>
#include <QToolBar>

#include "app/qt/lock_keys.h"
#include "app/qt/qt_conversions.h"

namespace marvist::qt {

namespace {

// Exit: the one command the program may leave to the layer.
constexpr int kExitCommand = 257;

QPixmap blank_tile(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

QIcon drawn_print_icon() {
    QPixmap pixmap = blank_tile(32);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(40, 40, 40), 1.5));
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(9, 3, 14, 10));  // paper going in
    painter.setBrush(QColor(120, 120, 130));
    painter.drawRoundedRect(QRectF(3, 12, 26, 11), 2, 2);  // body
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(9, 19, 14, 10));  // paper coming out
    painter.drawLine(QPointF(12, 23), QPointF(20, 23));
    painter.drawLine(QPointF(12, 26), QPointF(20, 26));
    return QIcon(pixmap);
}

QIcon numbered_tile(int picture) {
    QPixmap pixmap = blank_tile(32);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(200, 200, 210));
    painter.setPen(QColor(60, 60, 60));
    painter.drawRoundedRect(QRectF(2, 2, 28, 28), 4, 4);
    painter.drawText(QRect(0, 0, 32, 32), Qt::AlignCenter, QString::number(picture));
    return QIcon(pixmap);
}

}  // namespace

QIcon application_icon() {
    QPixmap pixmap = blank_tile(64);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(128, 0, 0));
    painter.drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);
    QFont font(QStringLiteral("serif"));
    font.setStyleHint(QFont::Serif);
    font.setBold(true);
    font.setItalic(true);
    font.setPixelSize(44);
    painter.setFont(font);
    painter.setPen(QColor(151, 204, 247));
    painter.drawText(QRect(0, 0, 64, 64), Qt::AlignCenter, QStringLiteral("M"));
    return QIcon(pixmap);
}

QIcon toolbar_picture(int picture) {
    const QStyle* style = QApplication::style();
    switch (picture) {
    case 1:
        return QIcon::fromTheme(QStringLiteral("document-open"), style->standardIcon(QStyle::SP_DialogOpenButton));
    case 2:
        return QIcon::fromTheme(QStringLiteral("document-close"), style->standardIcon(QStyle::SP_DialogCloseButton));
    case 3:
        return QIcon::fromTheme(QStringLiteral("document-print"), drawn_print_icon());
    default:
        return numbered_tile(picture);
    }
}

// ---- ClientArea ----

ClientArea::ClientArea(std::function<void()> paint, const ui::Rgb& background, QWidget* parent)
    : QWidget(parent), paint_(std::move(paint)) {
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, to_qcolor(background));
    setPalette(palette);
    setAutoFillBackground(true);
}

int ClientArea::reference_height() const {
    // Inside a scroll area the visible part, so that the text keeps its
    // place however tall the area has grown to hold it.
    const QWidget* viewport = parentWidget();
    return viewport ? qMin(viewport->height(), height()) : height();
}

void ClientArea::paintEvent(QPaintEvent*) {
    if (!paint_) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter_ = &painter;
    next_top_ = 0;
    paint_();
    painter_ = nullptr;
    // Tall enough for the text drawn; a scroll area around it scrolls.
    const int needed = next_top_ + 8;
    if (needed != minimumHeight()) {
        QTimer::singleShot(0, this, [this, needed] { setMinimumHeight(needed); });
    }
}

void ClientArea::draw_text(std::string_view text, const ui::TextStyle& style) {
    if (painter_ == nullptr) return;
    painter_->setFont(to_qfont(style.font));
    painter_->setPen(to_qcolor(style.colour));
    const int line_height = painter_->fontMetrics().lineSpacing();
    const int top = style.top ? qRound(*style.top * reference_height()) : next_top_;
    const int left = style.left_margin;
    const int width = qMax(1, this->width() - style.left_margin - style.right_margin);
    int used_height = line_height;
    const QString line = to_qstring(text);
    if (!line.isEmpty()) {
        QRect used;
        painter_->drawText(QRect(left, top, width, 1 << 20), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, line,
                           &used);
        used_height = qMax(used.height(), line_height);
    }
    next_top_ = top + used_height;
}

// ---- StatusPanes ----

StatusPanes::StatusPanes(const std::vector<ui::StatusPane>& panes, QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    double used = 0.0;
    for (const ui::StatusPane& request : panes) {
        if (request.kind == ui::PaneKind::Hidden) continue;
        auto* label = new QLabel(this);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setMinimumWidth(8);
        switch (request.kind) {
        case ui::PaneKind::NumLock: label->setText(QStringLiteral("NUM")); break;
        case ui::PaneKind::CapsLock: label->setText(QStringLiteral("CAPS")); break;
        case ui::PaneKind::Line:
        case ui::PaneKind::Column: label->setVisible(false); break;
        case ui::PaneKind::Text: label->setText(to_qstring(request.text)); break;
        default: break;
        }
        if (request.kind == ui::PaneKind::NumLock || request.kind == ui::PaneKind::CapsLock ||
            request.kind == ui::PaneKind::Date || request.kind == ui::PaneKind::Time) {
            label->setAlignment(Qt::AlignCenter);
        }
        const int stretch = qMax(1, qRound(request.width * 1000.0));
        used += request.width;
        layout->addWidget(label, stretch);
        panes_.push_back({request.kind, label});
    }
    if (used < 1.0) layout->addStretch(qRound((1.0 - used) * 1000.0));
    set_line_column(1, 1);
    refresh_clock_and_keys();
}

QLabel* StatusPanes::pane(ui::PaneKind kind) const {
    for (const Pane& pane : panes_) {
        if (pane.kind == kind) return pane.label;
    }
    return nullptr;
}

void StatusPanes::refresh_clock_and_keys() {
    const LockKeys keys = read_lock_keys();
    for (const Pane& pane : panes_) {
        switch (pane.kind) {
        case ui::PaneKind::Date:
            pane.label->setText(QDate::currentDate().toString(QStringLiteral("dd-MM-yyyy")));
            break;
        case ui::PaneKind::Time: pane.label->setText(QTime::currentTime().toString(QStringLiteral("hh:mm"))); break;
        case ui::PaneKind::NumLock: pane.label->setEnabled(keys.num_lock.value_or(false)); break;
        case ui::PaneKind::CapsLock: pane.label->setEnabled(keys.caps_lock.value_or(false)); break;
        default: break;
        }
    }
}

void StatusPanes::show_line_column(bool shown) {
    line_column_shown_ = shown;
    for (const Pane& pane : panes_) {
        if (pane.kind == ui::PaneKind::Line || pane.kind == ui::PaneKind::Column) pane.label->setVisible(shown);
    }
}

void StatusPanes::set_text(const QString& text) {
    if (QLabel* label = pane(ui::PaneKind::Text)) label->setText(text);
}

void StatusPanes::set_line_column(int line, int column) {
    for (const Pane& pane : panes_) {
        if (pane.kind == ui::PaneKind::Line) pane.label->setText(QStringLiteral("Line %1").arg(line));
        if (pane.kind == ui::PaneKind::Column) pane.label->setText(QStringLiteral("Col %1").arg(column));
    }
}

// ---- MainWindow ----

MainWindow::MainWindow(ui::MainWindowSpec request, ui::WindowId id, std::function<void()> on_closed)
    : spec_(std::move(request)), id_(id), on_closed_(std::move(on_closed)) {
    setWindowTitle(to_qstring(spec_.title));
    setWindowIcon(application_icon());
    setFont(to_qfont(spec_.font));

    for (const ui::MenuItem& item : spec_.menu) {
        if (item.separator) continue;  // the menu bar has no separators
        if (item.items.empty()) {
            QAction* action = menuBar()->addAction(to_qstring(item.text));
            action->setStatusTip(to_qstring(item.hint));
            action->setEnabled(!item.greyed);
            bind(action, item.command);
            continue;
        }
        QMenu* menu = menuBar()->addMenu(to_qstring(item.text));
        menu->menuAction()->setStatusTip(to_qstring(item.hint));
        menu->menuAction()->setEnabled(!item.greyed);
        add_menu_items(menu, item.items);
    }

    if (!spec_.toolbar.empty()) {
        QToolBar* toolbar = addToolBar(QStringLiteral("Toolbar"));
        toolbar->setObjectName(QStringLiteral("toolbar"));
        toolbar->setMovable(false);
        for (const ui::ToolbarItem& item : spec_.toolbar) {
            QAction* action = toolbar->addAction(toolbar_picture(item.picture), to_qstring(item.tooltip));
            action->setToolTip(to_qstring(item.tooltip));
            action->setStatusTip(to_qstring(item.tooltip));
            bind(action, item.command);
        }
    }

    panes_ = new StatusPanes(spec_.panes, this);
    statusBar()->addWidget(panes_, 1);
    auto* clock = new QTimer(this);
    connect(clock, &QTimer::timeout, panes_, [panes = panes_] { panes->refresh_clock_and_keys(); });
    clock->start(1000);

    std::function<void()> paint;
    if (spec_.paint) paint = [routine = spec_.paint, window = id_] { routine(window); };
    // The opening text scrolls when the window is too small for it.
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("opening_text"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    client_ = new ClientArea(std::move(paint), spec_.background, scroll);
    scroll->setWidget(client_);
    QPalette palette = scroll->palette();
    palette.setColor(QPalette::Window, to_qcolor(spec_.background));
    scroll->setPalette(palette);
    setCentralWidget(scroll);
    resize(screen_rect(spec_.placement).size());
}

void MainWindow::add_menu_items(QMenu* menu, const std::vector<ui::MenuItem>& items) {
    for (const ui::MenuItem& item : items) {
        if (item.separator) {
            menu->addSeparator();
            continue;
        }
        if (!item.items.empty()) {
            QMenu* submenu = menu->addMenu(to_qstring(item.text));
            submenu->menuAction()->setStatusTip(to_qstring(item.hint));
            submenu->menuAction()->setEnabled(!item.greyed);
            add_menu_items(submenu, item.items);
            continue;
        }
        QAction* action = menu->addAction(to_qstring(item.text));
        action->setStatusTip(to_qstring(item.hint));
        action->setEnabled(!item.greyed);
        bind(action, item.command);
    }
}

void MainWindow::bind(QAction* action, int command) {
    connect(action, &QAction::triggered, this, [this, command] { run_command(command); });
    actions_.emplace(command, action);
}

void MainWindow::enable_command(int command, bool enabled) {
    const auto [first, last] = actions_.equal_range(command);
    for (auto it = first; it != last; ++it) it->second->setEnabled(enabled);
}

void MainWindow::run_command(int command) {
    const int handled = spec_.command ? spec_.command(command) : 0;
    if (handled == 0 && command == kExitCommand) close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (ask_before_closing_ && spec_.confirm_close && !spec_.confirm_close(id_)) {
        event->ignore();
        return;
    }
    event->accept();
    if (on_closed_) {
        auto closed = std::move(on_closed_);
        on_closed_ = nullptr;
        closed();
    }
}

}  // namespace marvist::qt

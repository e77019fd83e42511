#include "app/qt/item_dialog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

#include "app/qt/qt_conversions.h"

namespace marvist::qt {

namespace {

// Edit fields are as wide as their length allows, within these bounds (in
// characters), so that an 80-character file name does not widen a column
// beyond reason.
constexpr int kFewestEditChars = 4;
constexpr int kMostEditChars = 40;

QString without_trailing_blanks(QString text) {
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == QLatin1Char(' ')) --end;
    text.truncate(end);
    return text;
}

// A row of items standing side by side, left-aligned in its column.
QHBoxLayout* new_row(QVBoxLayout* column) {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    column->addLayout(row);
    return row;
}

void add_to_row(QHBoxLayout* row, QWidget* widget) {
    row->insertWidget(row->count() - 1, widget);
}

}  // namespace

std::string padded_field_text(const QString& text, int length) {
    QString field = text;
    if (length > 0) {
        field.truncate(length);
        field = field.leftJustified(length, QLatin1Char(' '));
    }
    return to_utf8(field);
}

ItemDialog::ItemDialog(std::vector<ui::DialogItem> items, const QString& title, const QFont& font, QWidget* parent)
    : QDialog(parent), items_(std::move(items)), widgets_(items_.size(), nullptr) {
    setWindowTitle(title);
    build(font);
}

QWidget* ItemDialog::item_widget(std::size_t index) const {
    return index < widgets_.size() ? widgets_[index] : nullptr;
}

void ItemDialog::build(const QFont& font) {
    setFont(font);
    auto* outer = new QVBoxLayout(this);
    auto* columns_box = new QWidget(this);
    auto* columns = new QHBoxLayout(columns_box);
    columns->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    std::vector<QLabel*> wide_texts;

    QVBoxLayout* column = nullptr;
    QHBoxLayout* column_row = nullptr;  // the row of the last item placed in the column
    QGroupBox* group_box = nullptr;     // the group box that radio buttons now go into
    QVBoxLayout* group_column = nullptr;
    QHBoxLayout* group_row = nullptr;
    QButtonGroup* radio_group = nullptr;
    ui::ItemKind previous_kind = ui::ItemKind::StaticText;

    auto start_column = [&] {
        column = new QVBoxLayout;
        column->setAlignment(Qt::AlignTop);
        columns->addLayout(column);
        column_row = nullptr;
        group_box = nullptr;
        radio_group = nullptr;
    };
    start_column();

    for (std::size_t index = 0; index < items_.size(); ++index) {
        const ui::DialogItem& item = items_[index];
        const bool first = index == 0;
        if (item.place == ui::ItemPlace::NewColumn && !first) start_column();
        if (item.kind != ui::ItemKind::Radio) group_box = nullptr;
        if (item.kind == ui::ItemKind::Radio && group_box == nullptr &&
            (previous_kind != ui::ItemKind::Radio || radio_group == nullptr)) {
            radio_group = new QButtonGroup(this);  // radio buttons without a group box
        }
        previous_kind = item.kind;

        QWidget* widget = nullptr;
        const QString text = to_qstring(item.text);
        switch (item.kind) {
        case ui::ItemKind::StaticText: {
            auto* label = new QLabel(text, this);
            // A caption as wide as a field wraps at its blanks (a run of
            // blanks counting as one) rather than reach over the next column.
            if (item.length > 0) {
                label->setTextFormat(Qt::RichText);
                label->setText(text.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>")));
                label->setWordWrap(true);
            }
            if (item.wide) {
                label->setWordWrap(true);
                wide_texts.push_back(label);
            }
            widget = label;
            break;
        }
        case ui::ItemKind::Edit: {
            auto* edit = new QLineEdit(this);
            if (item.length > 0) edit->setMaxLength(item.length);
            edit->setText(without_trailing_blanks(item.buffer ? to_qstring(*item.buffer) : text));
            edit->setCursorPosition(0);
            if (item.preselected) preselected_ = edit;
            widget = edit;
            break;
        }
        case ui::ItemKind::GroupBox: {
            auto* box = new QGroupBox(text, this);
            group_column = new QVBoxLayout(box);
            group_row = nullptr;
            radio_group = new QButtonGroup(box);
            widget = box;
            break;
        }
        case ui::ItemKind::Radio: {
            auto* radio = new QRadioButton(text, this);
            radio_group->addButton(radio);
            radio->setChecked(item.bound && *item.bound != 0);
            widget = radio;
            break;
        }
        case ui::ItemKind::CheckBox: {
            auto* check = new QCheckBox(text, this);
            check->setChecked(item.bound && *item.bound != 0);
            widget = check;
            break;
        }
        case ui::ItemKind::Ok: {
            auto* button = new QPushButton(text.isEmpty() ? QStringLiteral("OK") : text, this);
            button->setDefault(true);
            connect(button, &QPushButton::clicked, this, &QDialog::accept);
            widget = button;
            break;
        }
        case ui::ItemKind::Cancel: {
            auto* button = new QPushButton(text.isEmpty() ? QStringLiteral("Cancel") : text, this);
            button->setAutoDefault(false);
            connect(button, &QPushButton::clicked, this, &QDialog::reject);
            widget = button;
            break;
        }
        case ui::ItemKind::PushButton: {
            auto* button = new QPushButton(text, this);
            button->setAutoDefault(false);
            connect(button, &QPushButton::clicked, this, [this, index] {
                // Copied first: the routine may close and so delete this dialog.
                const std::function<void()> routine = items_[index].routine;
                if (routine) routine();
            });
            widget = button;
            break;
        }
        }
        widget->setEnabled(item.enabled);
        if (item.font) widget->setFont(to_qfont(*item.font));
        if (item.kind == ui::ItemKind::Edit || (item.kind == ui::ItemKind::StaticText && item.length > 0)) {
            const int chars = qBound(kFewestEditChars, item.length > 0 ? item.length : 20, kMostEditChars);
            widget->setFixedWidth(widget->fontMetrics().horizontalAdvance(QLatin1Char('0')) * (chars + 1) + 10);
        }
        widgets_[index] = widget;
        if (item.kind == ui::ItemKind::StaticText && item.wide) continue;

        const bool beside = item.place == ui::ItemPlace::Beside && !first;
        if (item.kind == ui::ItemKind::Radio && group_box != nullptr) {
            if (!beside || group_row == nullptr) group_row = new_row(group_column);
            add_to_row(group_row, widget);
            continue;
        }
        if (!beside || column_row == nullptr) column_row = new_row(column);
        add_to_row(column_row, widget);
        if (item.kind == ui::ItemKind::GroupBox) group_box = static_cast<QGroupBox*>(widget);
    }

    outer->addWidget(columns_box);
    for (QLabel* label : wide_texts) outer->addWidget(label);
    follow_enabling_buttons();
    // A strut as wide as the title needs; the layout keeps its own minimum.
    outer->addItem(new QSpacerItem(width_for_title(windowTitle()), 0, QSizePolicy::Minimum, QSizePolicy::Fixed));

    // Too large for the screen: the columns scroll.
    const QSize wanted = columns_box->sizeHint();
    QRect screen(0, 0, 1024, 768);
    if (const QScreen* primary = QGuiApplication::primaryScreen()) screen = primary->availableGeometry();
    const QSize room(screen.width() * 9 / 10, screen.height() * 8 / 10);
    if (wanted.width() > room.width() || wanted.height() > room.height()) {
        auto* scroll = new QScrollArea(this);
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        outer->replaceWidget(columns_box, scroll);
        scroll->setWidget(columns_box);
        scroll->setMinimumSize(qMin(wanted.width() + 24, room.width()), qMin(wanted.height() + 24, room.height()));
    }
}

void ItemDialog::follow_enabling_buttons() {
    for (std::size_t index = 0; index < items_.size(); ++index) {
        const int* bound = items_[index].enabled_while;
        if (bound == nullptr) continue;
        for (std::size_t other = 0; other < items_.size(); ++other) {
            const ui::DialogItem& button = items_[other];
            if (button.bound != bound ||
                (button.kind != ui::ItemKind::Radio && button.kind != ui::ItemKind::CheckBox)) {
                continue;
            }
            auto* toggle = static_cast<QAbstractButton*>(widgets_[other]);
            QWidget* follower = widgets_[index];
            follower->setEnabled(toggle->isChecked());
            connect(toggle, &QAbstractButton::toggled, follower, &QWidget::setEnabled);
            break;
        }
    }
}

int width_for_title(const QString& title) {
    // The title bar's font is the window manager's; the application's font
    // with room for the icon and the buttons of the title bar stands in.
    const int wanted = QFontMetrics(QApplication::font()).horizontalAdvance(title) * 6 / 5 + 140;
    int most = 1024;
    if (const QScreen* primary = QGuiApplication::primaryScreen()) most = primary->availableGeometry().width() * 9 / 10;
    return qMin(wanted, most);
}

void ItemDialog::store_values() const {
    for (std::size_t index = 0; index < items_.size(); ++index) {
        const ui::DialogItem& item = items_[index];
        QWidget* widget = widgets_[index];
        switch (item.kind) {
        case ui::ItemKind::Edit:
            if (item.buffer) *item.buffer = padded_field_text(static_cast<QLineEdit*>(widget)->text(), item.length);
            break;
        case ui::ItemKind::Radio:
        case ui::ItemKind::CheckBox:
            if (item.bound) *item.bound = static_cast<QAbstractButton*>(widget)->isChecked() ? 1 : 0;
            break;
        default: break;
        }
    }
}

void ItemDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (preselected_) {
        preselected_->setFocus(Qt::OtherFocusReason);
        preselected_->selectAll();
    }
}

void ItemDialog::done(int result) {
    store_values();
    QDialog::done(result);
}

}  // namespace marvist::qt

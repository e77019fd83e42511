// Dialogs built from lists of dialog items: static texts, edit fields,
// group boxes with their radio buttons, check boxes, OK, Cancel and push
// buttons, arranged in columns.
#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QFont>
#include <QString>

#include <cstddef>
#include <vector>

#include "app/windowing.h"

namespace marvist::qt {

// Items stand below one another in a column; ItemPlace::NewColumn starts the
// next column and ItemPlace::Beside puts an item to the right of the one
// before it. Radio buttons that follow a group box stand inside it and form
// one exclusive group (radio buttons without a group box form a group of
// their own). Wide static texts run across the dialog below the columns.
// A dialog larger than the screen scrolls. Tab follows the order of the
// items; the dialog is at least as wide as its title needs.
class ItemDialog : public QDialog {
    Q_OBJECT

public:
    // items: the items; their buffers, integers and routines must outlive
    //        the dialog.
    // title: the window title.
    // font:  the dialog's font; an item's own font overrides it.
    ItemDialog(std::vector<ui::DialogItem> items, const QString& title, const QFont& font, QWidget* parent);

    // Copies the user's values into the items: the text of each edit field
    // into its buffer, blank-padded to the field's length; 1 or 0 into the
    // integer of each radio button and check box. Done whenever the dialog
    // closes, by OK or otherwise, so that a cancelled form can still report
    // what was typed in it.
    void store_values() const;

    // The widget made for item index (nullptr for none).
    QWidget* item_widget(std::size_t index) const;

    void done(int result) override;

protected:
    // The preselected edit field takes the focus with its text selected.
    void showEvent(QShowEvent* event) override;

private:
    void build(const QFont& font);
    // Items enabled while a radio button or check box is set follow it.
    void follow_enabling_buttons();

    std::vector<ui::DialogItem> items_;
    std::vector<QWidget*> widgets_;
    QLineEdit* preselected_ = nullptr;
};

// The width a window needs for its title to show in full in the title bar
// (at most 0.9 of the screen's width).
int width_for_title(const QString& title);

// The text of an edit field as its buffer keeps it: cut to length
// characters and blank-padded to that length (length 0: as it stands).
std::string padded_field_text(const QString& text, int length);

}  // namespace marvist::qt

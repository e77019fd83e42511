// Dialogs built from item lists: layout of columns and groups, values bound
// in both directions, modeless dialogs and their routines; message boxes,
// file and font dialogs answered like a user would.
#include <QCheckBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

#include "app/qt/item_dialog.h"
#include "app/qt/qt_conversions.h"
#include "app/qt/qt_windowing.h"
#include "qt_test_support.h"

using marvist::qt::ItemDialog;
using marvist::qt::QtWindowing;
using namespace marvist::test;
namespace ui = marvist::ui;
using Kind = ui::ItemKind;

namespace {

ui::DialogItem item(Kind kind, std::string text, int* bound = nullptr, ui::ItemPlace place = ui::ItemPlace::Below) {
    ui::DialogItem made;
    made.kind = kind, made.text = std::move(text), made.bound = bound, made.place = place;
    return made;
}

ui::DialogItem edit(std::string& buffer, int length) {
    ui::DialogItem made = item(Kind::Edit, "");
    made.buffer = &buffer, made.length = length;
    return made;
}

template <class T>
T* widget(ItemDialog* dialog, std::size_t index) { return static_cast<T*>(dialog->item_widget(index)); }

}  // namespace

class DialogTest : public QObject {
    Q_OBJECT

private slots:
    // A form in two columns: a text and a field; two groups, a check box,
    // and OK with Cancel beside it. The text is disabled, a wide note stands
    // below the columns. The items show the values given, and what the user
    // sets comes back in the buffer, padded to the field length, and in the
    // integers, whether the dialog ends with OK or Cancel.
    void formShowsItsItemsAndValuesComeBack() {
        QtWindowing layer;
        std::string name = "abc       ";
        int first_yes = 1, first_no = 0, second_yes = 0, second_no = 1, save = 0;
        std::vector<ui::DialogItem> items{
            item(Kind::StaticText, "Name"), edit(name, 10),
            item(Kind::GroupBox, "First", nullptr, ui::ItemPlace::NewColumn), item(Kind::Radio, "Yes", &first_yes),
            item(Kind::Radio, "No", &first_no), item(Kind::GroupBox, "Second"), item(Kind::Radio, "Yes", &second_yes),
            item(Kind::Radio, "No", &second_no), item(Kind::CheckBox, "Save", &save), item(Kind::Ok, "OK"),
            item(Kind::Cancel, "Cancel", nullptr, ui::ItemPlace::Beside), item(Kind::StaticText, "A note across")};
        items[0].enabled = false;
        items[11].wide = true;
        bool shown_as_given = false;
        std::vector<QRect> at;  // the items' places in the dialog
        when_modal<ItemDialog>([&](ItemDialog* dialog) {
            for (std::size_t k = 0; k < items.size(); ++k) {
                at.emplace_back(dialog->item_widget(k)->mapTo(dialog, QPoint(0, 0)), dialog->item_widget(k)->size());
            }
            shown_as_given = widget<QLineEdit>(dialog, 1)->text() == "abc" && !dialog->item_widget(0)->isEnabled() &&
                             widget<QRadioButton>(dialog, 3)->isChecked() &&
                             widget<QRadioButton>(dialog, 7)->isChecked() && !widget<QCheckBox>(dialog, 8)->isChecked() &&
                             dialog->item_widget(3)->parentWidget() == dialog->item_widget(2);
            widget<QLineEdit>(dialog, 1)->setText("hello");
            widget<QRadioButton>(dialog, 4)->click();
            widget<QRadioButton>(dialog, 6)->click();
            widget<QCheckBox>(dialog, 8)->click();
            widget<QPushButton>(dialog, 9)->click();
        });
        QCOMPARE(layer.dialog_box(items, "Form", ui::FontSpec{"Arial", 9}), ui::kDialogOk);
        QVERIFY(shown_as_given);
        QVERIFY(at[2].left() > at[1].right() && at[2].top() == at[0].top());  // a new column
        QVERIFY(at[10].top() == at[9].top() && at[10].left() > at[9].right());  // beside
        QVERIFY(at[11].top() > at[9].bottom() && at[11].left() < at[2].left());  // across, below the columns
        QCOMPARE(name, std::string("hello     "));
        // The groups are separate: choosing in the second kept the first's choice.
        QCOMPARE((std::vector<int>{first_yes, first_no, second_yes, second_no, save}),
                 (std::vector<int>{0, 1, 1, 0, 1}));

        when_modal<ItemDialog>([](ItemDialog* dialog) {
            widget<QLineEdit>(dialog, 1)->setText("Typed");
            widget<QPushButton>(dialog, 10)->click();
        });
        QCOMPARE(layer.dialog_box(items, "Form", {}), ui::kDialogCancel);
        QCOMPARE(name, std::string("Typed     "));
    }

    // A modeless dialog's buttons call their routines; a routine may close
    // the dialog it belongs to.
    void modelessButtonsCallTheirRoutines() {
        QtWindowing layer;
        int saves = 0;
        ui::WindowId prompt = ui::kNoWindow;
        std::vector<ui::DialogItem> items{item(Kind::PushButton, "Save As"), item(Kind::PushButton, "No/Close")};
        items[0].routine = [&saves] { ++saves; };
        items[1].routine = [&layer, &prompt] { layer.destroy_window(prompt); };
        prompt = layer.modeless_dialog(std::move(items), "Prompt", ui::kNoWindow, 0.3, 0.01);
        auto* dialog = static_cast<ItemDialog*>(layer.widget(prompt));
        widget<QPushButton>(dialog, 0)->click();
        QCOMPARE(saves, 1);
        widget<QPushButton>(dialog, 1)->click();
        QVERIFY(!layer.window_exists(prompt));
    }

    // Message boxes return the button pressed; file dialogs the path chosen,
    // with the default extension added on saving, or nothing when cancelled;
    // the font dialog opens on the line-drawing stand-in in its upright style.
    void standardDialogsAnswerAsTheUserDid() {
        QtWindowing layer;
        QString shown;
        when_modal<QMessageBox>([&shown](QMessageBox* box) {
            shown = box->windowTitle() + "|" + box->text();
            box->button(QMessageBox::No)->click();
        });
        QCOMPARE(layer.message_box("Do you really want to quit?", "SHUTDOWN", ui::MessageStyle::YesNoQuestion),
                 ui::kButtonNo);
        QCOMPARE(shown, QString("SHUTDOWN|Do you really want to quit?"));
        when_modal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
        QCOMPARE(layer.message_box("Sure?", "Q", ui::MessageStyle::YesNoQuestion), ui::kButtonYes);

        QTemporaryDir folder;
        ui::FileDialogSpec request{"Save", {{"Output files (*.out)", "*.out"}, {"All files (*.*)", "*.*"}}, "out", ".out"};
        QStringList filters;
        when_modal<QFileDialog>([&](QFileDialog* dialog) {
            filters = dialog->nameFilters();
            dialog->selectFile(folder.filePath("copy"));
            static_cast<QDialog*>(dialog)->accept();
        });
        QCOMPARE(QString::fromStdString(layer.save_file_dialog(request).value_or("")), folder.filePath("copy.out"));
        QCOMPARE(filters, QStringList({"Output files (*.out)", "All files (*)"}));
        when_modal<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
        QVERIFY(!layer.open_file_dialog(request).has_value());

        bool upright = false;
        when_modal<QFontDialog>([&](QFontDialog* dialog) {
            upright = !dialog->currentFont().italic() && !dialog->currentFont().bold();
            dialog->accept();
        });
        const std::optional<ui::FontSpec> font = layer.choose_font("Select Font; For OUTPUT choose Linedraw");
        QVERIFY(font.has_value() && upright && !font->italic);
        QVERIFY(QFontInfo(marvist::qt::to_qfont(*font)).fixedPitch());
        when_modal<QFontDialog>([](QFontDialog* dialog) { dialog->reject(); });
        QVERIFY(!layer.choose_font("prompt").has_value());
    }

    // A field enabled while a radio button is set follows it as the user
    // switches; a preselected field has the focus with its text selected;
    // Tab goes through the fields in the order of the items; the dialog is
    // as wide as its title needs.
    void fieldsFollowTheirButtonsAndFocus() {
        QtWindowing layer;
        int yes = 0, no = 1;
        std::string title = "Title of your job", label = "old.lab", a, b, c;
        std::vector<ui::DialogItem> items{edit(a, 6),           edit(b, 6),
                                          edit(c, 6),           item(Kind::GroupBox, "Labels"),
                                          item(Kind::Radio, "Yes", &yes), item(Kind::Radio, "No", &no),
                                          edit(label, 80),      edit(title, 70),
                                          item(Kind::Ok, "OK")};
        items[1].place = items[2].place = ui::ItemPlace::Beside;
        items[6].enabled = false;
        items[6].enabled_while = &yes;
        items[7].preselected = true;
        const std::string long_title(60, 'W');
        std::vector<bool> enabled;
        bool preselected = false, tab_in_item_order = false;
        int width = 0;
        when_modal<ItemDialog>([&](ItemDialog* dialog) {
            auto* field = widget<QLineEdit>(dialog, 7);
            preselected = dialog->focusWidget() == field && field->selectedText() == "Title of your job";
            enabled.push_back(dialog->item_widget(6)->isEnabled());
            widget<QRadioButton>(dialog, 4)->click();
            enabled.push_back(dialog->item_widget(6)->isEnabled());
            widget<QRadioButton>(dialog, 5)->click();
            enabled.push_back(dialog->item_widget(6)->isEnabled());
            tab_in_item_order = dialog->item_widget(0)->nextInFocusChain() == dialog->item_widget(1) &&
                                dialog->item_widget(1)->nextInFocusChain() == dialog->item_widget(2);
            width = dialog->width();
            dialog->accept();
        });
        layer.dialog_box(items, long_title, ui::FontSpec{"Arial", 9});
        QVERIFY(preselected);
        QCOMPARE(enabled, (std::vector<bool>{false, true, false}));
        QVERIFY(tab_in_item_order);
        QVERIFY(width >= QFontMetrics(QApplication::font()).horizontalAdvance(QString::fromStdString(long_title)));

        // A message box with a short text is as wide as its title too.
        const QString stopped = "Marvist Stopped " + QString(40, 'W');
        when_modal<QMessageBox>([&](QMessageBox* box) {
            width = box->width();
            box->accept();
        });
        layer.message_box("STOP", stopped.toStdString(), ui::MessageStyle::Ok);
        QVERIFY(width >= QFontMetrics(QApplication::font()).horizontalAdvance(stopped));
    }
};

QTEST_MAIN(DialogTest)
#include "dialog_test.moc"

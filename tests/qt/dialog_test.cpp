// Dialogs built from item lists: values bound in both directions, layout
// of columns and groups, modeless dialogs and their routines; message
// boxes, file and font dialogs answered like a user would.
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
    made.kind = kind;
    made.text = std::move(text);
    made.bound = bound;
    made.place = place;
    return made;
}

ui::DialogItem edit(std::string& buffer, int length) {
    ui::DialogItem made = item(Kind::Edit, "");
    made.buffer = &buffer;
    made.length = length;
    return made;
}

template <class T>
T* widget(ItemDialog* dialog, std::size_t index) {
    return static_cast<T*>(dialog->item_widget(index));
}

QPoint place_of(ItemDialog& dialog, std::size_t index) { return dialog.item_widget(index)->mapTo(&dialog, QPoint(0, 0)); }

}  // namespace

class DialogTest : public QObject {
    Q_OBJECT

private slots:
    // A form of two groups, a check box and two fields: what the user sets
    // comes back in the buffers and integers, padded to the field lengths,
    // whether the dialog ends with OK, Cancel or its close box.
    void formValuesComeBack() {
        QtWindowing layer;
        std::string name = "abc       ", size = "2";
        int first_yes = 1, first_no = 0, second_yes = 0, second_no = 1, save = 0;
        std::vector<ui::DialogItem> items{
            item(Kind::StaticText, "Name"), edit(name, 10), edit(size, 4), item(Kind::GroupBox, "First"),
            item(Kind::Radio, "Yes", &first_yes), item(Kind::Radio, "No", &first_no), item(Kind::GroupBox, "Second"),
            item(Kind::Radio, "Yes", &second_yes), item(Kind::Radio, "No", &second_no),
            item(Kind::CheckBox, "Save", &save), item(Kind::Ok, "OK"), item(Kind::Cancel, "Cancel")};
        bool shown_as_given = false;
        when_modal<ItemDialog>([&](ItemDialog* dialog) {
            shown_as_given = widget<QLineEdit>(dialog, 1)->text() == "abc" &&
                             widget<QRadioButton>(dialog, 4)->isChecked() &&
                             widget<QRadioButton>(dialog, 8)->isChecked() && !widget<QCheckBox>(dialog, 9)->isChecked();
            widget<QLineEdit>(dialog, 1)->setText("hello");
            widget<QLineEdit>(dialog, 2)->setText("123456");  // longer than the field
            widget<QRadioButton>(dialog, 5)->click();
            widget<QRadioButton>(dialog, 7)->click();
            widget<QCheckBox>(dialog, 9)->click();
            widget<QPushButton>(dialog, 10)->click();
        });
        QCOMPARE(layer.dialog_box(items, "Form", ui::FontSpec{"Arial", 9}), ui::kDialogOk);
        QVERIFY(shown_as_given);
        QCOMPARE(name, std::string("hello     "));
        QCOMPARE(size, std::string("1234"));
        // The groups are separate: choosing in the second kept the first's choice.
        QCOMPARE((std::vector<int>{first_yes, first_no, second_yes, second_no, save}),
                 (std::vector<int>{0, 1, 1, 0, 1}));

        when_modal<ItemDialog>([](ItemDialog* dialog) {
            widget<QLineEdit>(dialog, 1)->setText("Typed");
            widget<QPushButton>(dialog, 11)->click();
        });
        QCOMPARE(layer.dialog_box(items, "Form", {}), ui::kDialogCancel);
        QCOMPARE(name, std::string("Typed     "));
        when_modal<ItemDialog>([](ItemDialog* dialog) { dialog->close(); });
        QCOMPARE(layer.dialog_box(items, "Form", {}), ui::kDialogCancel);
    }

    // Below, Beside and NewColumn; group members inside their box; a wide
    // text below the columns; disabled items.
    void itemsStandWhereTheyAreMeantTo() {
        std::string a, b;
        int yes = 1;
        std::vector<ui::DialogItem> items{item(Kind::StaticText, "Top"), edit(a, 6),
                                          item(Kind::StaticText, "Next column", nullptr, ui::ItemPlace::NewColumn),
                                          edit(b, 6), item(Kind::GroupBox, "Group"), item(Kind::Radio, "Yes", &yes),
                                          item(Kind::Ok, "OK"), item(Kind::Cancel, "Cancel", nullptr, ui::ItemPlace::Beside),
                                          item(Kind::StaticText, "A note across the whole dialog")};
        items[3].enabled = false;
        items[8].wide = true;
        ItemDialog dialog(items, "Layout", QFont(), nullptr);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QVERIFY(place_of(dialog, 2).x() >= place_of(dialog, 1).x() + dialog.item_widget(1)->width());
        QCOMPARE(place_of(dialog, 2).y(), place_of(dialog, 0).y());
        QCOMPARE(place_of(dialog, 7).y(), place_of(dialog, 6).y());
        QVERIFY(place_of(dialog, 7).x() > place_of(dialog, 6).x());
        QVERIFY(place_of(dialog, 8).y() > place_of(dialog, 6).y());
        QVERIFY(dialog.item_widget(5)->parentWidget() == dialog.item_widget(4));
        QVERIFY(!dialog.item_widget(3)->isEnabled());
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
        QPointer<ItemDialog> dialog = static_cast<ItemDialog*>(layer.widget(prompt));
        QVERIFY(!dialog->isModal());
        widget<QPushButton>(dialog, 0)->click();
        QCOMPARE(saves, 1);
        widget<QPushButton>(dialog, 1)->click();
        QVERIFY(!layer.window_exists(prompt));
        QTRY_VERIFY(dialog.isNull());
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
        write_bytes(folder.filePath("table.dat"), "1 2\n");
        ui::FileDialogSpec request{"Select Data File",
                                {{"Sample Distribution files (*.dat)", "*.dat"}, {"All files (*.*)", "*.*"}},
                                "dat", ".dat"};
        QStringList filters;
        auto choose = [&filters](const QString& path) {
            return [&filters, path](QFileDialog* dialog) {
                filters = dialog->nameFilters();
                dialog->selectFile(path);
                static_cast<QDialog*>(dialog)->accept();
            };
        };
        when_modal<QFileDialog>(choose(folder.filePath("table.dat")));
        QCOMPARE(QString::fromStdString(layer.open_file_dialog(request).value_or("")), folder.filePath("table.dat"));
        QCOMPARE(filters, QStringList({"Sample Distribution files (*.dat)", "All files (*)"}));
        request.default_extension = "out";
        when_modal<QFileDialog>(choose(folder.filePath("copy")));
        QCOMPARE(QString::fromStdString(layer.save_file_dialog(request).value_or("")), folder.filePath("copy.out"));
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
};

QTEST_MAIN(DialogTest)
#include "dialog_test.moc"

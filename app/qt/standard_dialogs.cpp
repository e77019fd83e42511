#include "app/qt/standard_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QGridLayout>
#include <QMessageBox>
#include <QRegularExpression>

#include "app/qt/item_dialog.h"
#include "app/qt/qt_conversions.h"

namespace marvist::qt {

int show_message_box(QWidget* owner, std::string_view text, std::string_view title, ui::MessageStyle style) {
    const bool question = style == ui::MessageStyle::YesNoQuestion;
    QMessageBox box(question ? QMessageBox::Question : QMessageBox::NoIcon, to_qstring(title), to_qstring(text),
                    question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    if (question) box.setEscapeButton(QMessageBox::No);
    // A message box sizes itself to its text: a spacer across its grid
    // widens it to its title ("Marvist Stopped" over a short text).
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        grid->addItem(new QSpacerItem(width_for_title(box.windowTitle()), 0, QSizePolicy::Minimum,
                                      QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    const int pressed = box.exec();
    if (!question) return ui::kButtonOk;
    return pressed == QMessageBox::Yes ? ui::kButtonYes : ui::kButtonNo;
}

QStringList name_filters(const std::vector<ui::FileFilter>& filters) {
    QStringList list;
    static const QRegularExpression trailing_patterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    for (const ui::FileFilter& filter : filters) {
        QString description = to_qstring(filter.description);
        description.remove(trailing_patterns);
        QStringList patterns;
        for (QString pattern : to_qstring(filter.pattern).split(QRegularExpression(QStringLiteral("[;\\s]+")),
                                                                Qt::SkipEmptyParts)) {
            if (pattern == QLatin1String("*.*")) pattern = QStringLiteral("*");
            patterns << pattern;
        }
        if (patterns.isEmpty()) patterns << QStringLiteral("*");
        list << QStringLiteral("%1 (%2)").arg(description.trimmed(), patterns.join(QLatin1Char(' ')));
    }
    return list;
}

QString initial_file_name(const std::string& name) {
    const QString trimmed = path_to_qstring(name).trimmed();
    static const QRegularExpression bare_extension(QStringLiteral("^\\.[^./\\\\]*$"));
    if (bare_extension.match(trimmed).hasMatch()) return {};
    return trimmed;
}

std::optional<std::string> ask_file_name(QWidget* owner, const ui::FileDialogSpec& request, bool save) {
    QFileDialog dialog(owner);
    if (!request.title.empty()) dialog.setWindowTitle(to_qstring(request.title));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QStringList filters = name_filters(request.filters);
    if (!filters.isEmpty()) dialog.setNameFilters(filters);
    if (!request.default_extension.empty()) dialog.setDefaultSuffix(to_qstring(request.default_extension));
    const QString initial = initial_file_name(request.initial_name);
    dialog.setDirectory(QDir::current());
    if (!initial.isEmpty()) {
        const QFileInfo info(QDir::current(), initial);
        dialog.setDirectory(info.absoluteDir());
        dialog.selectFile(info.fileName());
    }
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.front().isEmpty()) return std::nullopt;
    return path_to_bytes(chosen.front());
}

std::optional<std::string> ask_folder(QWidget* owner, const ui::FolderDialogSpec& request) {
    QFileDialog dialog(owner);
    if (!request.title.empty()) dialog.setWindowTitle(to_qstring(request.title));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setDirectory(request.initial_folder.empty() ? QDir::current()
                                                       : QDir(path_to_qstring(request.initial_folder)));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.front().isEmpty()) return std::nullopt;
    return path_to_bytes(chosen.front());
}

namespace {

// The font with the name of its style in its family ("Book", "Regular"...),
// so that the font dialog selects that style rather than its first one.
QFont with_style_name(QFont font) {
    const QString family = QFontInfo(font).family();
    for (const QString& style : QFontDatabase::styles(family)) {
        // Oblique styles count as slanted, though QFontDatabase::italic says no.
        const bool slanted = QFontDatabase::font(family, style, 10).style() != QFont::StyleNormal;
        if (slanted == font.italic() && QFontDatabase::bold(family, style) == font.bold()) {
            font.setFamily(family);
            font.setStyleName(style);
            break;
        }
    }
    return font;
}

}  // namespace

std::optional<ui::FontSpec> ask_font(QWidget* owner, std::string_view prompt, const QFont& initial) {
    QFontDialog dialog(with_style_name(initial), owner);
    dialog.setWindowTitle(to_qstring(prompt));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return to_font_spec(dialog.selectedFont());
}

}  // namespace marvist::qt

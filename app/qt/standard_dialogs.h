// Message boxes and the standard file and font dialogs.
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/windowing.h"

namespace marvist::qt {

// A message box; returns ui::kButtonOk, or ui::kButtonYes / ui::kButtonNo
// for a question (Escape answers No).
//   text:  lines separated by line feeds.
int show_message_box(QWidget* owner, std::string_view text, std::string_view title, ui::MessageStyle style);

// The name filters of a file dialog: "description (patterns)", where "*.*"
// (all files on the platform the filters were written for) becomes "*" and
// ';' between patterns a blank. No filters: all files.
QStringList name_filters(const std::vector<ui::FileFilter>& filters);

// The file dialog's initial name: the name without surrounding blanks;
// a bare extension such as ".dat" gives none.
QString initial_file_name(const std::string& name);

// An open or save file dialog; the chosen path as file-system bytes, or
// nothing when cancelled. Without a directory in the initial name it opens
// in the working folder.
std::optional<std::string> ask_file_name(QWidget* owner, const ui::FileDialogSpec& request, bool save);

// A folder dialog, opening in the initial folder (the working folder when
// none); the chosen folder as file-system bytes, or nothing when cancelled.
std::optional<std::string> ask_folder(QWidget* owner, const ui::FolderDialogSpec& request);

// The font dialog; nothing when cancelled.
//   prompt:  the dialog's title.
//   initial: the font shown first.
std::optional<ui::FontSpec> ask_font(QWidget* owner, std::string_view prompt, const QFont& initial);

}  // namespace marvist::qt

// Names of the files the user picks in file dialogs, as the program keeps
// them in its 80-character file-name fields.
//
// The working folder follows the data file: picking a data file makes its
// folder the working folder and keeps the bare name, as native file dialogs
// do, so that names stay short and the job's listing and set-up file land
// beside the data. Other files are kept relative to the working folder when
// they lie inside it, else as absolute paths. A name that still does not fit
// its field is refused with the message box "File Name Too Long".
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "app/session.h"

namespace marvist {

// The name to keep for path: relative to the working folder when it lies
// inside it, else absolute. path is taken relative to the working folder
// when it is not absolute.
std::string kept_file_name(const std::string& path);

// A file picked for the label file, a set-up file, Save As or printing: its
// kept name, or nothing after the "File Name Too Long" box.
//   chosen: the path the file dialog returned.
std::optional<std::string> accept_chosen_file(Session& session, const std::string& chosen);

// A picked data file: its folder becomes the working folder and its bare
// name is returned; the label file and the listing already named are kept
// under names that still find them. Nothing after the "File Name Too Long"
// box, and then the working folder is unchanged.
//   chosen: the path the file dialog returned.
std::optional<std::string> accept_data_file(Session& session, const std::string& chosen);

// Makes the folder of file the working folder (an old job's set-up file, so
// that the names in it resolve as they do for the batch runner); the listing
// already named keeps a name that still finds it. False when the folder
// cannot be entered.
bool enter_folder_of(Session& session, const std::string& file);

// Makes folder the working folder. The listing already named, and the label
// file when keep_label_file is set and labels are selected, keep names that
// still find them; a label file that cannot is refused with "File Name Too
// Long" and labels_selected becomes 0; a listing that cannot is no longer
// named (output_file blank) and the Save As prompt closes. False when the folder cannot be
// entered, and then nothing has changed.
bool move_working_folder(Session& session, const std::filesystem::path& folder, bool keep_label_file);

}  // namespace marvist

#include "app/file_names.h"

#include <filesystem>
#include <system_error>

#include "app/message_text.h"
#include "app/output_window.h"
#include "base/fixed_text.h"

namespace marvist {

namespace fs = std::filesystem;

namespace {

// path made absolute against the working folder, with symbolic links and
// "." and ".." resolved as far as the path exists.
fs::path resolved(const fs::path& path) {
    std::error_code ec;
    fs::path absolute = fs::absolute(path, ec);
    if (ec) absolute = path;
    fs::path canonical = fs::weakly_canonical(absolute, ec);
    return ec ? absolute.lexically_normal() : canonical;
}

void refuse_long_name(Session& session, const std::string& name) {
    show_message(session, "File Name Too Long",
                 "The name of the file\n" + name + "\nhas " + std::to_string(name.size()) +
                     " characters; file names are limited to " + std::to_string(kFileNameLength) +
                     " characters.\nPlease choose a file with a shorter name or in a folder with a shorter path.");
}

// A file-name field that still names the same file after the working folder
// changes: rebased to the new folder, or left as it was when the new name
// would not fit. Returns false when it did not fit.
bool rebase(std::string& field, const fs::path& file) {
    const std::string name = kept_file_name(file.string());
    if (name.size() > kFileNameLength) return false;
    field = fixed(name, kFileNameLength);
    return true;
}

}  // namespace

std::string kept_file_name(const std::string& path) {
    const fs::path file = resolved(path);
    std::error_code ec;
    const fs::path folder = fs::current_path(ec);
    if (!ec) {
        const fs::path relative = file.lexically_relative(resolved(folder));
        if (!relative.empty() && relative != "." && *relative.begin() != "..") return relative.string();
    }
    return file.string();
}

std::optional<std::string> accept_chosen_file(Session& session, const std::string& chosen) {
    std::string name = kept_file_name(chosen);
    if (name.size() > kFileNameLength) {
        refuse_long_name(session, name);
        return std::nullopt;
    }
    return name;
}

bool move_working_folder(Session& session, const fs::path& folder, bool keep_label_file) {
    // Where the label file and the listing already named are, before the
    // working folder moves away from them.
    JobRecord& job = session.job;
    const bool has_label_file = keep_label_file && session.labels_selected == 1 && !trimmed(job.label_file).empty();
    const fs::path label_file = has_label_file ? resolved(std::string(trimmed(job.label_file))) : fs::path();
    const bool has_listing = !trimmed(job.output_file).empty();
    const fs::path listing = has_listing ? resolved(std::string(trimmed(job.output_file))) : fs::path();

    std::error_code ec;
    fs::current_path(folder, ec);
    if (ec) return false;

    if (has_label_file && !rebase(job.label_file, label_file)) {
        refuse_long_name(session, label_file.string());
        session.labels_selected = 0;
    }
    if (has_listing && !rebase(job.output_file, listing)) {
        // Its name would now find another file, perhaps an older listing of
        // the same name here: no listing is named, and its Save As prompt
        // closes rather than copy the wrong file.
        job.output_file = std::string(kFileNameLength, ' ');
        CloseSaveAsPrompt(session);
    }
    return true;
}

std::optional<std::string> accept_data_file(Session& session, const std::string& chosen) {
    const fs::path file = resolved(chosen);
    const std::string name = file.filename().string();
    if (name.size() > kFileNameLength) {
        refuse_long_name(session, name);
        return std::nullopt;
    }
    if (!move_working_folder(session, file.parent_path(), true)) return accept_chosen_file(session, chosen);
    return name;
}

bool enter_folder_of(Session& session, const std::string& file) {
    return move_working_folder(session, resolved(file).parent_path(), false);
}

}  // namespace marvist

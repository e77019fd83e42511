#include "app/setup_dialogs.h"

#include <optional>
#include <string>

#include "app/file_names.h"
#include "app/message_text.h"
#include "app/batch/setup_file.h"
#include "base/fixed_text.h"

namespace marvist {

void write_setup_file(Session& session) {
    JobRecord& job = session.job;
    if (job.save_setup == 0) return;

    const ui::FileDialogSpec dialog{
        .title = "Select a file name for saving set-up",
        .filters = {{"Reusable Set-Up files (*.set)", "*.set"}, {"All files (*.*)", "*.*"}},
        .default_extension = "set",
        .initial_name = std::string(trimmed(job.setup_file)),
        .owner = session.main_window};
    const std::optional<std::string> chosen = session.layer.save_file_dialog(dialog);
    if (!chosen) return;
    const std::optional<std::string> name = accept_chosen_file(session, *chosen);
    if (!name) return;
    job.setup_file = fixed(*name, kFileNameLength);

    const SetupFileStatus status = write_setup_file(*name, job);
    if (!status.ok) {
        show_message(session, "Set-Up File Not Saved", status.message);
        return;
    }
    session.job_defined = 1;
    show_message(session, "Creation of Set-Up File",
                 message_text("('Input saved in Set-Up File: ',A,' ',A)", {kLineFeed, *name}));
}

SetupChoice read_setup_file(Session& session) {
    const ui::FileDialogSpec dialog{
        .title = "Select a Set-up file (Probably *.set)",
        .filters = {{"Set-Up files (*.set)", "*.set"}, {"All files (*.*)", "*.*"}},
        .default_extension = "set",
        .owner = session.main_window};
    const std::optional<std::string> chosen = session.layer.open_file_dialog(dialog);
    if (!chosen) {
        show_message(session, "Cancellation", message_text("('No Set-up File has been selected')"));
        session.job_defined = 0;
        return SetupChoice::Cancelled;
    }

    const SetupFileStatus status = read_setup_file(*chosen, session.job);
    if (!status.ok) {
        show_message(session, "Set-Up File Not Read", status.message);
        session.job_defined = 0;
        return SetupChoice::Unreadable;
    }
    session.job_defined = 1;
    enter_folder_of(session, *chosen);
    if (!status.warnings.empty()) {
        std::string text;
        for (const std::string& warning : status.warnings) {
            if (!text.empty()) text += '\n';
            text += warning;
        }
        show_message(session, "Set-Up File Warning", text);
    }
    return SetupChoice::Read;
}

}  // namespace marvist

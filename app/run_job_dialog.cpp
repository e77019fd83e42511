#include "app/run_job_dialog.h"

#include <cstdio>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "analysis/driver.h"
#include "app/dialog_items.h"
#include "app/joint_plot_command.h"
#include "app/batch/job_form.h"
#include "app/message_text.h"
#include "app/output_window.h"
#include "app/report_windows.h"
#include "app/results_window.h"
#include "app/setup_dialogs.h"
#include "base/cp437.h"
#include "base/fixed_text.h"
#include "base/program_stop.h"
#include "base/record_io.h"
#include "listing/listing_writer.h"

namespace marvist {

namespace {

// The texts and switches of the form while it is shown. Title, variable
// names and data format are UTF-8 here and code page 437 in the job record.
struct JobForm {
    std::string title, n_rows_text, row_variable, n_cols_text, col_variable;
    std::string job_name, data_file, label_file, data_format, n_axes_text, n_supp_text;
    int labels_yes = 0, labels_no = 0;
    int rows_dependent = 0, cols_dependent = 0;
    int nsca_yes = 0, nsca_no = 0;
    int homogenise_yes = 0, homogenise_no = 0;
    int symmetry_yes = 0, symmetry_no = 0;
    int save_setup = 1;
};

void incorrect_task(Session& session, std::string_view layout) {
    show_message(session, "Incorrect Task Choice", message_text(layout, {kLineFeed}));
}

// A new job: allowed once a data file has been chosen or created and no job
// has been defined for it; the form gets its defaults.
bool prepare_new_job(Session& session) {
    JobRecord& job = session.job;
    if (session.job_defined == 1) {
        session.data_selected = 0;
        session.labels_selected = 0;
        incorrect_task(session,
                       "('No new Data Set has been specified.',A,'Please select or create a Data Set first.')");
        return false;
    }
    if (session.data_selected != 1) {
        incorrect_task(session, "('No Data Set is yet available.',A,'Please select or create a Data Set first.')");
        return false;
    }
    job.title = fixed("Title of your job", kTitleLength);
    job.n_rows_text = fixed(job.n_rows != 0 ? std::to_string(job.n_rows) : "2", kNumberTextLength);
    job.n_cols_text = fixed(job.n_cols != 0 ? std::to_string(job.n_cols) : "2", kNumberTextLength);
    job.row_variable = fixed("Row Variable", kVariableNameLength);
    job.col_variable = fixed("Col Variable", kVariableNameLength);
    job.job_name = fixed("NewJob", kFileNameLength);
    if (session.labels_selected == 0) job.label_file = fixed("NoLabel.lab", kFileNameLength);
    job.data_format = fixed("*", kDataFormatLength);
    job.dependence = 0;
    job.do_nsca = 0;
    job.do_homogenise = 0;
    job.do_symmetry = 0;
    job.n_axes_text = fixed("1", kNumberTextLength);
    job.n_supp_text = fixed("0", kNumberTextLength);
    session.job_defined = 1;
    return true;
}

// An old job: the job of a set-up file. The file's label line decides
// whether labels are read, as it did when the file was saved.
bool prepare_old_job(Session& session) {
    session.job_defined = 1;
    const SetupChoice choice = read_setup_file(session);
    if (choice == SetupChoice::Read) session.labels_selected = session.job.has_labels > 0 ? 1 : 0;
    session.data_selected = 1;
    // An unreadable file leaves the job record as it was.
    if (choice != SetupChoice::Unreadable && session.labels_selected == 0) {
        session.job.label_file = fixed("NoLabel.lab", kFileNameLength);
    }
    return choice == SetupChoice::Read;
}

// The same job: the previous job's texts, with the numbers of axes and
// predictors as the driver left them.
bool prepare_same_job(Session& session) {
    if (session.job_defined == 0) {
        show_message(session, "Incorrect Task Choice", message_text("('No previous Job available')"));
        return false;
    }
    session.job.n_axes_text = fixed(std::to_string(session.job.n_axes), kNumberTextLength);
    session.job.n_supp_text = fixed(std::to_string(session.job.n_supp), kNumberTextLength);
    return true;
}

void set_pair(int on, int& yes, int& no) {
    yes = on ? 1 : 0;
    no = on ? 0 : 1;
}

JobForm fill_form(const Session& session) {
    const JobRecord& job = session.job;
    JobForm form;
    form.title = cp437_to_utf8(trimmed(job.title));
    form.n_rows_text = std::string(trimmed(job.n_rows_text));
    form.row_variable = cp437_to_utf8(trimmed(job.row_variable));
    form.n_cols_text = std::string(trimmed(job.n_cols_text));
    form.col_variable = cp437_to_utf8(trimmed(job.col_variable));
    // OK removes leading blanks from the names (set-up files of earlier
    // versions leave one): they are not shown either.
    form.job_name = std::string(trimmed(without_leading_blanks(job.job_name)));
    form.data_file = std::string(trimmed(without_leading_blanks(job.data_file)));
    form.label_file = std::string(trimmed(without_leading_blanks(job.label_file)));
    form.data_format = cp437_to_utf8(trimmed(job.data_format));
    form.n_axes_text = std::string(trimmed(job.n_axes_text));
    form.n_supp_text = std::string(trimmed(job.n_supp_text));
    set_pair(session.labels_selected == 1, form.labels_yes, form.labels_no);
    set_pair(job.dependence == 0, form.rows_dependent, form.cols_dependent);
    set_pair(job.do_nsca == 1, form.nsca_yes, form.nsca_no);
    set_pair(job.do_homogenise == 1, form.homogenise_yes, form.homogenise_no);
    set_pair(job.do_symmetry == 1, form.symmetry_yes, form.symmetry_no);
    form.save_setup = 1;
    return form;
}

// The items of the form in three columns. A new job's form opens with its
// title selected, so that typing replaces the default title.
std::vector<ui::DialogItem> form_items(JobForm& form, const Session& session, bool title_preselected) {
    using ui::DialogItem;
    using ui::ItemKind;
    using ui::ItemPlace;
    std::vector<DialogItem> items;
    const auto text = [&items](std::string caption, ItemPlace place = ItemPlace::Below) {
        items.push_back(ui::static_text(std::move(caption), place));
    };
    const auto edit = [&items](std::string& buffer, int length, bool enabled = true) {
        items.push_back(ui::edit_field(buffer, length, ItemPlace::Below, enabled));
        return &items.back();
    };
    const auto group = [&items](std::string caption, ItemPlace place = ItemPlace::Below) {
        items.push_back(ui::group_box(std::move(caption), place));
    };
    const auto radio = [&items](std::string caption, int& bound) {
        items.push_back(ui::radio_button(std::move(caption), bound));
    };

    text("Title for Analysis");
    edit(form.title, kTitleLength)->preselected = title_preselected;
    text(std::string(kRowsField));
    edit(form.n_rows_text, kNumberTextLength);
    text("Row Label (12 positions)");
    edit(form.row_variable, kVariableNameLength);
    text(std::string(kColsField));
    edit(form.n_cols_text, kNumberTextLength);
    text("Column Label (12 positions)");
    edit(form.col_variable, kVariableNameLength);
    group("Category Labels");
    radio("Yes", form.labels_yes);
    radio("No", form.labels_no);

    text("Job Name (8 positions) - Used for Filenames", ItemPlace::NewColumn);
    edit(form.job_name, kFileNameLength);
    text("Name Data File");
    edit(form.data_file, 80, session.data_selected != 0);
    text("Name Label File");
    // Follows the Labels choice, so a name left from an earlier job shows
    // as soon as labels are asked for.
    edit(form.label_file, 80, form.labels_yes != 0)->enabled_while = &form.labels_yes;
    text("Integer Input Format; * is Free");
    edit(form.data_format, kDataFormatLength);
    items.push_back(ui::check_box("Save Input Parameters to File", form.save_setup));

    group("Type of Dependency", ItemPlace::NewColumn);
    radio("Rows Dependent", form.rows_dependent);
    radio("Columns Dependent", form.cols_dependent);
    group("NonSymm. Corresp. Analysis");
    radio("Yes", form.nsca_yes);
    radio("No", form.nsca_no);
    group("Homogenise Margins");
    radio("Yes", form.homogenise_yes);
    radio("No", form.homogenise_no);
    group("Symmetry/SkewSymmetry");
    radio("Yes", form.symmetry_yes);
    radio("No", form.symmetry_no);
    text(std::string(kAxesField));
    edit(form.n_axes_text, kNumberTextLength);
    text(std::string(kSuppField));
    edit(form.n_supp_text, kNumberTextLength);
    ui::add_ok_cancel(items);
    DialogItem note = ui::static_text(
        "Note that if Name Data File is disabled no analysis is possible. Please choose Data File first.");
    note.wide = true;
    items.push_back(std::move(note));
    return items;
}

void cancel_job(Session& session, const JobForm& form) {
    session.job.title = fixed(utf8_to_cp437(form.title), kTitleLength);
    const std::string title = cp437_to_utf8(trimmed(session.job.title));
    if (session.data_selected == 1) {
        show_message(session, "Cancellation",
                     message_text("('You have cancelled the input specifications for the job with title: ',A)",
                                  {title}));
    } else {
        show_message(session, "Cancellation",
                     message_text("('The input specifications for the job with title: ',A,A,'have been cancelled "
                                  "because no Data File was available.')",
                                  {title, kLineFeed}));
    }
}

// Reads the form back into the job record. A form that cannot make a job is
// refused: the error says why, and nothing has changed.
FormError confirm_job(Session& session, const JobForm& form) {
    JobRecord job = session.job;
    job.title = utf8_to_cp437(form.title);
    job.n_rows_text = form.n_rows_text;
    job.row_variable = utf8_to_cp437(form.row_variable);
    job.n_cols_text = form.n_cols_text;
    job.col_variable = utf8_to_cp437(form.col_variable);
    job.job_name = form.job_name;
    job.data_file = form.data_file;
    job.label_file = form.label_file;
    job.data_format = utf8_to_cp437(form.data_format);
    job.n_axes_text = form.n_axes_text;
    job.n_supp_text = form.n_supp_text;
    FormError error = check_form_entries(job, form.labels_yes != 0);
    if (!error.failed) error = read_back_job_form(job);
    if (error.failed) return error;
    session.labels_selected = form.labels_yes != 0 ? 1 : 0;
    job.has_labels = session.labels_selected;
    job.dependence = form.rows_dependent != 0 ? 0 : 1;
    job.do_nsca = form.nsca_yes != 0 ? 1 : 0;
    job.do_homogenise = form.homogenise_yes != 0 ? 1 : 0;
    job.do_symmetry = form.symmetry_yes != 0 ? 1 : 0;
    job.save_setup = form.save_setup != 0 ? 1 : 0;
    session.job = std::move(job);
    return FormError{};
}

// The job's report windows, console and listing for the length of one run.
class JobOutlets {
public:
    explicit JobOutlets(Session& session)
        : session_(session),
          reports_(session),
          console_(session.console ? session.console : stdout),
          writer_(&console_) {
        session_.context.reports = &reports_;
    }
    ~JobOutlets() {
        if (session_.console) std::fflush(session_.console);
        session_.context.reports = nullptr;
    }
    JobOutlets(const JobOutlets&) = delete;
    JobOutlets& operator=(const JobOutlets&) = delete;

    ListingWriter& writer() { return writer_; }

private:
    Session& session_;
    WindowReportSink reports_;
    ConsoleSink console_;
    ListingWriter writer_;
};

// Runs the confirmed job; false when a stop of the printer plots ended the
// program.
bool run_confirmed_job(Session& session) {
    try {
        JobOutlets outlets(session);
        JobResults results = run_job(session.job, session.context, outlets.writer());
        session.fatal_state = results.fatal_state;
        keep_plot_solution(session, results);
        keep_results(session, std::move(results));
    } catch (const ProgramStop& stop) {
        session.layer.message_box(stop.what(), "Marvist Stopped", ui::MessageStyle::Ok, session.main_window);
        session.layer.quit_program();
        return false;
    }
    return true;
}

}  // namespace

void RunJobDialog(Session& session, JobMode mode) {
    // The windows of the previous job stay until a new job really starts: a
    // refused task choice or a cancelled form leaves them as they are.
    bool go = false;
    switch (mode) {
        case JobMode::New: go = prepare_new_job(session); break;
        case JobMode::Old: go = prepare_old_job(session); break;
        case JobMode::Same: go = prepare_same_job(session); break;
    }
    if (!go) return;

    JobForm form = fill_form(session);
    bool first_showing = true;
    for (;;) {
        std::vector<ui::DialogItem> items = form_items(form, session, first_showing && mode == JobMode::New);
        first_showing = false;
        const int answer = session.layer.dialog_box(items, "Job and Data options Marvist", ui::FontSpec{"Arial", 9});
        if (answer != ui::kDialogOk || session.data_selected == 0) {
            cancel_job(session, form);
            return;
        }
        const FormError refused = confirm_job(session, form);
        if (!refused.failed) break;
        // The form opens again with everything as the user typed it.
        show_message(session, refused.title, refused.message);
    }

    close_job_windows(session);
    drop_plot_solution(session);
    forget_results(session);
    write_setup_file(session);
    if (!run_confirmed_job(session)) return;
    if (session.fatal_state != FatalState::Fatal) {
        // The plot first, so that the listing and the Save As prompt come in
        // front of it.
        if (session.plot_solution) ShowJointPlot(session);
        ShowOutput(session);
        OfferSaveAs(session);
    }
}

}  // namespace marvist

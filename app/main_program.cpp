#include "app/main_program.h"

#include <optional>
#include <string>

#include "app/data_entry.h"
#include "app/file_windows.h"
#include "app/file_names.h"
#include "app/import_table.h"
#include "app/joint_plot_command.h"
#include "app/message_text.h"
#include "app/output_window.h"
#include "app/results_window.h"
#include "app/run_job_dialog.h"
#include "app/users_guide.h"
#include "base/fixed_text.h"

namespace marvist {

namespace {

using ui::MenuItem;

MenuItem command(std::string text, std::string hint, int number, bool greyed = false) {
    MenuItem item;
    item.text = std::move(text);
    item.hint = std::move(hint);
    item.command = number;
    item.greyed = greyed;
    return item;
}

MenuItem separator() {
    MenuItem item;
    item.separator = true;
    return item;
}

MenuItem submenu(std::string text, std::string hint, std::vector<MenuItem> items) {
    MenuItem item;
    item.text = std::move(text);
    item.hint = std::move(hint);
    item.items = std::move(items);
    return item;
}

constexpr std::string_view kDataSetHint = "Provide name of data set for this analysis";
constexpr std::string_view kLabelFileHint = "Provide name of file with labels for the data set";
constexpr std::string_view kInputDataHint = "Input data on screen and save in Data File";
constexpr std::string_view kInputLabelsHint = "Input labels on screen and save in Label File";

const ui::Rgb kDarkRed{128, 0, 0};
const ui::Rgb kBlue{0, 0, 255};

// Command 33: the data file of the next job.
void choose_data_file(Session& session) {
    JobRecord& job = session.job;
    job.data_file = fixed(".dat", kFileNameLength);
    const ui::FileDialogSpec dialog{
        .title = "Select Data File",
        .filters = {{"Sample Distribution files (*.dat)", "*.dat"}, {"All files (*.*)", "*.*"}},
        .default_extension = "dat",
        .initial_name = std::string(trimmed(job.data_file)),
        .owner = session.main_window};
    const std::optional<std::string> chosen = session.layer.open_file_dialog(dialog);
    const std::optional<std::string> name = chosen ? accept_data_file(session, *chosen) : std::nullopt;
    if (!name) {
        session.data_selected = 0;
        show_message(session, "Cancellation", message_text("('No data file has been selected')"));
        return;
    }
    job.data_file = fixed(*name, kFileNameLength);
    session.data_selected = 1;
    session.job_defined = 0;
    const std::string shown(trimmed(job.data_file));
    if (session.labels_selected == 1) {
        show_message(session, "New Data",
                     message_text("('Data file ',A,' has been selected for analysis.',A,'Please proceed to Start New "
                                  "Job.')",
                                  {shown, kLineFeed}));
    } else {
        show_message(session, "New Data",
                     message_text("('Data file ',A,' has been selected for analysis.',A,'Please proceed to Start New "
                                  "Job or select a Label File first.')",
                                  {shown, kLineFeed}));
    }
}

// Command 34: the label file of the next job.
void choose_label_file(Session& session) {
    JobRecord& job = session.job;
    if (session.job_defined == 0) job.label_file = fixed(".lab", kFileNameLength);
    const ui::FileDialogSpec dialog{
        .title = "Select Label File",
        .filters = {{"Label files (*.lab)", "*.lab"}, {"All files (*.*)", "*.*"}},
        .default_extension = "lab",
        .initial_name = std::string(trimmed(job.label_file)),
        .owner = session.main_window};
    const std::optional<std::string> chosen = session.layer.open_file_dialog(dialog);
    const std::optional<std::string> name = chosen ? accept_chosen_file(session, *chosen) : std::nullopt;
    if (!name) {
        session.labels_selected = 0;
        show_message(session, "Cancellation", message_text("('No label file has been selected')"));
        return;
    }
    job.label_file = fixed(*name, kFileNameLength);
    session.labels_selected = 1;
    const std::string shown(trimmed(job.label_file));
    if (session.data_selected != 1) {
        show_message(session, "Continuation",
                     message_text("('Label file ',A,' has been selected',A,'Now, please select or create a data "
                                  "file.')",
                                  {shown, kLineFeed}));
    } else {
        show_message(session, "Label File Name",
                     message_text("('Label file ',A,' has been selected',A,'Please proceed to Start New Job to set "
                                  "the parameters for the job.')",
                                  {shown, kLineFeed}));
    }
}

void show_help(Session& session, int number) {
    switch (number) {
        case kCommandAbout:
            show_message(session, "Marvist Information",
                         "Marvist 2.0c\nAnalysis of asymmetric contingency tables: nonsymmetric correspondence "
                         "analysis, homogenisation of the margins, symmetry and skew-symmetry.\nPlease report "
                         "problems and questions to the maintainers of this program.");
            break;
        case kCommandAcknowledgement:
            show_message(session, "Information on Windowing",
                         "The windows, menus, dialogs and printing of this program stand on one windowing layer,\n"
                         "built on the Qt toolkit; the analyses themselves do not depend on it.");
            break;
        case kCommandErrorHandling:
            show_message(session, "Information on Error Handling",
                         message_text("('Warning: ',A,'The error checking in this program is far from complete.',A,"
                                      "'Errors for which no provision have been made will cause,',A,'the program to "
                                      "crash and the windows will disappear.',A,'We are working on improving the "
                                      "program in this respect.')",
                                      {kLineFeed, kLineFeed, kLineFeed, kLineFeed}));
            break;
        case kCommandVersion:
            show_message(session, "New in Windows Version 2c",
                         message_text("('New in version 2c: ',A,'1. Supplementary column (predictor) variables;',A,"
                                      "'2. Loglikelihood-ratio test for number of components;',A,'3. Root Mean "
                                      "Square Residuals computed;',A,'4. Errors with multiple analyses correctd.')",
                                      {kLineFeed, kLineFeed, kLineFeed, kLineFeed}));
            break;
        default: break;
    }
}

void draw(Session& session, ui::WindowId window, std::string_view text, const ui::TextStyle& style) {
    session.layer.draw_text(window, text, style);
}

ui::FontSpec times(int points, bool bold_italic) {
    ui::FontSpec font;
    font.face = "Times Roman";
    font.points = points;
    font.italic = bold_italic;
    font.bold = bold_italic;
    return font;
}

}  // namespace

std::vector<ui::MenuItem> main_menu() {
    const std::string data_hint(kDataSetHint), label_hint(kLabelFileHint);
    const std::string data_input_hint(kInputDataHint), label_input_hint(kInputLabelsHint);
    return {
        submenu("&File", "File and high-level functions",
                {command("&Open", "Open an arbitrary file", kCommandOpen),
                 command("&Close", "Close a file", kCommandClose, true), separator(),
                 command("Get File Name of &Data Set", data_hint, kCommandDataFile),
                 command("Get Name of &Label File", label_hint, kCommandLabelFile),
                 command("Import &Table...", "Make a job of a table of counts in a CSV file", kCommandImportTable),
                 separator(),
                 command("&Input New Data", data_input_hint, kCommandEnterData),
                 command("Input New La&bels", label_input_hint, kCommandEnterLabels), separator(),
                 command("&Print", "Print the contents of a window", kCommandPrint),
                 command("Pa&ge Setup", "Use the page setup dialog box to configure the printer", kCommandPageSetup),
                 separator(),
                 command("&Results", "Show the results of the last job as tables", kCommandShowResults, true),
                 command("&Export Results...", "Write the results of the last job as CSV files with a data package",
                         kCommandExportResults, true),
                 separator(), command("E&xit", "Exit the program", kCommandExit)}),
        submenu("&Input File Names", "Provide file names for Data and Labels to start a new job",
                {command("Get &Data Set Name", data_hint, kCommandDataFile),
                 command("Get &Label File Name", label_hint, kCommandLabelFile)}),
        submenu("Start &New Job", "Provide parameters for running a new job",
                {command("&Input Parameters", "Provide input details for the analysis", kCommandNewJob)}),
        submenu("&Continue Same Job", "Reuse specifications for continuing with same job",
                {command("&Reuse Parameters", "Reuse parameters of the  previous analysis", kCommandSameJob)}),
        submenu("Start &Old Job", "Provide name of old Set-up File for running an old Job",
                {command("&Read Old Set-up File", "Read set-up file with details from a previous analysis",
                         kCommandOldJob)}),
        submenu("In&put Data and Labels", "Input Data and/or Labels on directly on screen",
                {command("&Input New Data", data_input_hint, kCommandEnterData),
                 command("Input New La&bels", label_input_hint, kCommandEnterLabels)}),
        submenu("&Joint Plot", "Graphical joint plot of the last NSCA solution",
                {command("&Show Joint Plot", "Show the rows and columns of the NSCA solution in a window",
                         kCommandJointPlot, true)}),
        submenu("&Help", "Help and About",
                {command("&User's Guide", "How to run an analysis and how to read its results",
                         kCommandUsersGuide),
                 separator(), command("&About", "Program information", kCommandAbout),
                 command("Ac&knowledgement", "Information on Windowing", kCommandAcknowledgement),
                 command("&Error handling", "Information on Error Handling", kCommandErrorHandling),
                 command("Windows &Version 2c", "Information on New Windows version 2c", kCommandVersion)}),
    };
}

std::vector<ui::ToolbarItem> main_toolbar() {
    return {
        {kCommandOpen, kPictureOpen, "This button will open a file in a scrolling window"},
        {kCommandClose, kPictureClose, "This button will close a file"},
        {kCommandPrint, kPicturePrint, "Print the contents of the current Main Window"},
    };
}

std::vector<ui::StatusPane> main_status_panes() {
    using ui::PaneKind;
    return {
        {PaneKind::Date, 0.12, ""},
        {PaneKind::Time, 0.08, ""},
        {PaneKind::NumLock, 0.06, ""},
        {PaneKind::CapsLock, 0.06, ""},
        {PaneKind::Line, 0.1, ""},
        {PaneKind::Column, 0.1, ""},
        {PaneKind::Text, 0.3, "Marvist 2.0c - asymmetric analysis of contingency tables"},
    };
}

ui::MainWindowSpec main_window_spec(Session& session) {
    ui::MainWindowSpec request;
    request.title = "Marvist - Asymmetric Analysis of Asymmetric Tables - version 2.0c";
    request.placement = ui::Placement{0.0, 0.1, 1.0, 0.85};
    request.font = ui::FontSpec{"Arial", 10};
    request.background = ui::Rgb{151, 204, 247};
    request.menu = main_menu();
    request.toolbar = main_toolbar();
    request.panes = main_status_panes();
    request.command = [&session](int number) { return HandleMenuCommand(session, number); };
    request.paint = [&session](ui::WindowId window) { PaintOpeningScreen(session, window); };
    request.confirm_close = [&session](ui::WindowId window) { return ConfirmQuit(session, window); };
    return request;
}

void MainProgram(ui::Windowing& layer) {
    Session session(layer);
    clear_job_state(session);
    session.main_window = layer.create_main_window(main_window_spec(session));
    layer.event_loop();
}

int HandleMenuCommand(Session& session, int number) {
    switch (number) {
        case kCommandOpen: open_file_window(session); break;
        case kCommandClose: close_file_window(session); break;
        case kCommandEnterLabels: EnterLabels(session); break;
        case kCommandEnterData: EnterData(session); break;
        case kCommandPrint: PrintListing(session, session.main_window); break;
        case kCommandPageSetup: session.layer.page_setup_dialog(); break;
        case kCommandAbout:
        case kCommandAcknowledgement:
        case kCommandErrorHandling:
        case kCommandVersion: show_help(session, number); break;
        case kCommandUsersGuide: ShowUsersGuide(session); break;
        case kCommandNewJob: RunJobDialog(session, JobMode::New); break;
        case kCommandSameJob: RunJobDialog(session, JobMode::Same); break;
        case kCommandOldJob: RunJobDialog(session, JobMode::Old); break;
        case kCommandDataFile: choose_data_file(session); break;
        case kCommandLabelFile: choose_label_file(session); break;
        case kCommandImportTable: ImportTable(session); break;
        case kCommandJointPlot: ShowJointPlot(session); break;
        case kCommandShowResults: ShowResults(session); break;
        case kCommandExportResults: ExportResults(session); break;
        case kCommandExit: return 0;
        default: show_message(session, "default", "Command not recognized"); break;
    }
    return 1;
}

void PaintOpeningScreen(Session& session, ui::WindowId window) {
    ui::TextStyle style;
    style.colour = kDarkRed;
    style.left_margin = 10;
    style.right_margin = 10;

    style.font = times(40, true);
    style.top = 0.05;
    draw(session, window, "Marvist", style);
    style.font = times(8, true);
    style.top = 0.18;
    draw(session, window, "(Windows version 2.0c)", style);
    style.top.reset();

    style.font = times(11, false);
    for (std::string_view line : {"", "A program to analyse asymmetric contingency tables asymmetrically.", "",
                                  "TYPE OF ANALYSES:", "-  Asymmetric Correspondence Analysis",
                                  "-  Homogenisation of the Margins ",
                                  "-  Symmetrisation and Skew-Symmetrisation of Square Tables.", "", ""}) {
        draw(session, window, line, style);
    }

    style.font = times(30, true);
    draw(session, window, "How to run this program.", style);

    style.font = times(11, false);
    for (std::string_view line :
         {"", "FIRST", "-  Choose Data Set and/or Label File from File Menu or Input File Names.",
          "-  Create Data Set and/or Label File from File Menu or Input Data and Labels.", "THEN ",
          "-  Select Start New Job to specify input parameters for the analysis.",
          "-  Select Continue Same Job to continue the latest job.",
          "-  Select Start Old Job to reuse an available Set-up from a previous session.", ""}) {
        draw(session, window, line, style);
    }

    style.font = times(8, false);
    style.colour = kBlue;
    draw(session, window, "Note: Please read the note about (incomplete) error handling in the Help Menu.", style);
}

bool ConfirmQuit(Session& session, ui::WindowId window) {
    if (window != session.main_window) return true;
    return session.layer.message_box("Do you really want to quit?", "SHUTDOWN", ui::MessageStyle::YesNoQuestion,
                                     window) == ui::kButtonYes;
}

}  // namespace marvist

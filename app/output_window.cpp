#include "app/output_window.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "app/dialog_items.h"
#include "app/file_names.h"
#include "app/message_text.h"
#include "base/cp437.h"
#include "base/fixed_text.h"
#include "base/layout.h"
#include "base/record_io.h"

namespace marvist {

namespace {

const ui::FontSpec kLineDraw{"LotusLineDraw", 9};

std::string listing_name(const Session& session) { return std::string(trimmed(session.job.output_file)); }

// True when both names lead to one existing file: copying it onto itself
// would at best fail and at worst truncate the listing.
bool same_file(const std::string& a, const std::string& b) {
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec) && !ec;
}

void keep_current_listing(Session& session, std::string_view layout) {
    show_message(session, "Cancellation", message_text(layout, {kLineFeed, listing_name(session)}));
}

}  // namespace

void ShowOutput(Session& session) {
    ui::Windowing& layer = session.layer;
    const bool exists = session.output_window != ui::kNoWindow && layer.window_exists(session.output_window);
    if (!exists) {
        InputFile listing;
        if (!listing.open(listing_name(session))) return;

        ui::ScrollWindowSpec request;
        request.title = "Output of Marvist";
        request.placement = ui::Placement{0.0, 0.2, 1.0, 0.7};
        request.file = listing_name(session);
        request.text_colour = ui::Rgb{0, 0, 255};
        request.background = ui::Rgb{255, 255, 255};
        request.font = kLineDraw;
        request.parent = session.main_window;
        session.output_window = layer.create_scroll_window(request);
    }
    layer.show_line_column_panes(true);
    layer.activate_window(session.output_window);
}

void OfferSaveAs(Session& session) {
    ui::Windowing& layer = session.layer;
    // The prompt belongs to the output window of its job; a prompt left from
    // an earlier job gives way to one over the new window.
    if (session.save_as_prompt != ui::kNoWindow && layer.window_exists(session.save_as_prompt)) {
        layer.destroy_window(session.save_as_prompt);
    }
    std::vector<ui::DialogItem> items;
    items.push_back(ui::push_button("Save As", [&session] { SaveOutputAs(session); }));
    items.push_back(ui::push_button("No/Close", [&session] { CloseSaveAsPrompt(session); }, ui::ItemPlace::Beside));
    session.save_as_prompt = layer.modeless_dialog(std::move(items), "Save Output File under different name",
                                                   session.output_window, 0.3, 0.01);
}

void SaveOutputAs(Session& session) {
    const ui::FileDialogSpec dialog{
        .title = "Save most recent output ALSO under a different name",
        .filters = {{"Output files (*.out)", "*.out"}, {"All files (*.*)", "*.*"}},
        .default_extension = "out",
        .initial_name = listing_name(session),
        .owner = session.output_window};
    const std::optional<std::string> chosen = session.layer.save_file_dialog(dialog);
    const std::optional<std::string> name = chosen ? accept_chosen_file(session, *chosen) : std::nullopt;
    if (!name) {
        keep_current_listing(session, "(' No new file name for output.',A,' Output is now only available in ',A)");
        return;
    }
    const std::string current = listing_name(session);
    if (same_file(current, *name) || session.layer.copy_file(current, *name, true)) {
        session.job.output_file = fixed(*name, kFileNameLength);
        session.layer.show_status_text("Output saved in " + *name);
        return;
    }
    keep_current_listing(session,
                         "(' Output was not saved in a different file,',A,' Output is still available in  ',A)");
}

void CloseSaveAsPrompt(Session& session) {
    if (session.save_as_prompt != ui::kNoWindow && session.layer.window_exists(session.save_as_prompt)) {
        session.layer.destroy_window(session.save_as_prompt);
    }
    session.save_as_prompt = ui::kNoWindow;
}

void PrintListing(Session& session, ui::WindowId window) {
    ui::Windowing& layer = session.layer;
    const ui::FileDialogSpec dialog{
        .initial_name = listing_name(session),
        .owner = window};
    const std::optional<std::string> chosen = layer.open_file_dialog(dialog);
    if (!chosen) return;
    const std::optional<std::string> name = accept_chosen_file(session, *chosen);
    if (!name) return;
    session.job.output_file = fixed(*name, kFileNameLength);

    InputFile listing;
    if (!listing.open(*name)) return;

    layer.message_box(
        message_text("(' Please note that a confirmation has to be given',' for each page that is printed. ',"
                     "' Hopefully the inconvenience can be removed later.',A,' You will have to experiment to get "
                     "the size of the',' letters correct. For OUTPUT choose a LINEDRAW font.',A,' There will be "
                     "always 60 lines per page. ',A,' Finally, the printing is primitive ',' in that there is no "
                     "word wrap and lines may be truncated.')",
                     {kLineFeed, kLineFeed, kLineFeed}),
        "Print Information", ui::MessageStyle::Ok, window);
    const std::optional<ui::FontSpec> font = layer.choose_font("!! Select  Linedraw and appropriate point size !!");
    if (!font) return;  // a cancelled font choice cancels the printing

    const Layout& whole_line = cached_layout("(A)");
    for (int page = 1; page <= kMaxPrintedPages; ++page) {
        if (!layer.print_page_begin(window, "Print (Output) File")) return;
        for (int line = 1; line <= kLinesPerPage; ++line) {
            std::array<std::string, 1> text{std::string(kPrintedLineLength, ' ')};
            if (read_characters(listing, whole_line, text) != kReadOk) {
                layer.print_page_end();
                return;
            }
            layer.print_line(cp437_to_utf8(text[0]), *font);
        }
        layer.print_page_end();
    }
}

}  // namespace marvist


#include "app/file_windows.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "app/output_window.h"

namespace marvist {

namespace {

// The viewers still open, and the output window if it is, oldest first.
std::vector<ui::WindowId> open_file_windows(Session& session) {
    ui::Windowing& layer = session.layer;
    std::erase_if(session.file_windows, [&layer](ui::WindowId window) { return !layer.window_exists(window); });
    std::vector<ui::WindowId> windows = session.file_windows;
    if (session.output_window != ui::kNoWindow && layer.window_exists(session.output_window)) {
        windows.push_back(session.output_window);
    }
    return windows;
}

}  // namespace

void open_file_window(Session& session) {
    ui::Windowing& layer = session.layer;
    const ui::FontSpec font =
        layer.choose_font("Select Font; For OUTPUT choose Linedraw").value_or(ui::FontSpec{"LotusLineDraw", 9});
    const ui::FileDialogSpec dialog{.owner = session.main_window};
    const std::optional<std::string> chosen = layer.open_file_dialog(dialog);
    if (!chosen) return;
    ui::ScrollWindowSpec request;
    request.title = *chosen;
    request.placement = ui::Placement{0.05, 0.3, 0.9, 0.5};
    request.file = *chosen;
    request.font = font;
    request.parent = session.main_window;
    const ui::WindowId window = layer.create_scroll_window(request);
    if (window == ui::kNoWindow) return;
    session.file_windows.push_back(window);
    layer.show_line_column_panes(true);
}

void close_file_window(Session& session) {
    ui::Windowing& layer = session.layer;
    const ui::WindowId window = layer.last_active(open_file_windows(session));
    if (window != ui::kNoWindow) layer.destroy_window(window);
    if (window != ui::kNoWindow && window == session.output_window) {
        session.output_window = ui::kNoWindow;
        CloseSaveAsPrompt(session);  // it belongs to the output window
    }
    update_line_column_panes(session);
}

void update_line_column_panes(Session& session) {
    session.layer.show_line_column_panes(!open_file_windows(session).empty());
}

}  // namespace marvist

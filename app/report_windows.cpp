#include "app/report_windows.h"

#include "app/file_windows.h"
#include "base/cp437.h"

namespace marvist {

namespace {

void close_window(ui::Windowing& layer, ui::WindowId& window) {
    if (window != ui::kNoWindow && layer.window_exists(window)) layer.destroy_window(window);
    window = ui::kNoWindow;
}

}  // namespace

ui::ScrollWindowSpec error_window_spec(ui::WindowId parent) {
    ui::ScrollWindowSpec request;
    request.title = "Errors and Warnings";
    request.placement = ui::Placement{0.0, 0.0, 0.8, 0.4};
    request.below_main_bars = true;
    request.text_colour = ui::Rgb{255, 255, 255};
    request.background = ui::Rgb{128, 0, 0};
    request.font = ui::FontSpec{"LotusLineDraw", 9};
    request.parent = parent;
    return request;
}

ui::ScrollWindowSpec progress_window_spec(ui::WindowId parent) {
    ui::ScrollWindowSpec request;
    request.title = "Progress of Marvist";
    request.placement = ui::Placement{0.4, 0.0, 0.6, 0.4};
    request.below_main_bars = true;
    request.text_colour = ui::Rgb{128, 0, 0};
    request.background = ui::Rgb{255, 255, 255};
    request.font = ui::FontSpec{"arial", 9};
    request.parent = parent;
    return request;
}

ui::WindowId& WindowReportSink::id(ReportWindow window) {
    return window == ReportWindow::Errors ? session_.error_window : session_.progress_window;
}

void WindowReportSink::open_window(ReportWindow window) {
    ui::Windowing& layer = session_.layer;
    ui::WindowId& target = id(window);
    if (target == ui::kNoWindow || !layer.window_exists(target)) {
        const ui::WindowId parent = session_.main_window;
        target = layer.create_scroll_window(window == ReportWindow::Errors ? error_window_spec(parent)
                                                                           : progress_window_spec(parent));
    }
    layer.activate_window(target);
    layer.start_autopaint(target);
}

void WindowReportSink::write_line(ReportWindow window, std::string_view line) {
    session_.layer.write_text(id(window), cp437_to_utf8(line));
}

void WindowReportSink::end_window(ReportWindow window) { session_.layer.end_autopaint(id(window)); }

void close_job_windows(Session& session) {
    close_window(session.layer, session.progress_window);
    close_window(session.layer, session.error_window);
    close_window(session.layer, session.output_window);
    close_window(session.layer, session.save_as_prompt);  // it belongs to the output window
    update_line_column_panes(session);
}

}  // namespace marvist

#include "app/joint_plot_command.h"

#include "analysis/biplot_solution.h"
#include "app/main_program.h"
#include "app/message_text.h"

namespace marvist {

void keep_plot_solution(Session& session, const JobResults& results) {
    session.plot_solution = biplot_solution(results);
    if (session.plot_solution && session.plot_solution->inertia_shares.size() < 2) session.plot_solution.reset();
    session.layer.enable_command(kCommandJointPlot, session.plot_solution.has_value());
}

void ShowJointPlot(Session& session) {
    if (!session.plot_solution) {
        show_message(session, "Joint Plot",
                     "There is no NSCA solution with two axes or more to plot.\n"
                     "Please run a job with NonSymm. Corresp. Analysis and two axes or more first.");
        return;
    }
    if (session.plot_window != ui::kNoWindow && session.layer.window_exists(session.plot_window)) {
        session.layer.activate_window(session.plot_window);
        return;
    }
    session.plot_window = session.layer.joint_plot_window(*session.plot_solution, session.main_window);
}

void drop_plot_solution(Session& session) {
    if (session.plot_window != ui::kNoWindow && session.layer.window_exists(session.plot_window))
        session.layer.destroy_window(session.plot_window);
    session.plot_window = ui::kNoWindow;
    session.plot_solution.reset();
    session.layer.enable_command(kCommandJointPlot, false);
}

}  // namespace marvist

// The Joint Plot window of the desktop program: opened after a job whose
// NSCA solution has two axes or more, and from the Joint Plot menu while
// that solution is kept (until the next job starts).
#pragma once

#include "analysis/job_results.h"
#include "app/session.h"

namespace marvist {

// Keeps the job's NSCA solution when it has two axes or more (else none)
// and enables the menu command while one is kept.
void keep_plot_solution(Session& session, const JobResults& results);

// Shows the Joint Plot window of the kept solution, bringing it to the
// front when it is open; without a solution, says why there is no plot.
void ShowJointPlot(Session& session);

// Closes the window and lets go of the solution: a new job starts.
void drop_plot_solution(Session& session);

}  // namespace marvist

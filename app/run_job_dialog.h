// The job options dialog: checks that the job-state flags allow the task,
// fills the form, reads it back, saves the set-up file, runs the job and
// shows its listing.
#pragma once

#include <string_view>

#include "app/session.h"

namespace marvist {

// mode: "new " (Start New Job), "same" (Continue Same Job) or "old " (Start
// Old Job, from a set-up file). A stop of the printer plots during the job
// is shown in a message box and ends the program.
void RunJobDialog(Session& session, std::string_view mode);

}  // namespace marvist

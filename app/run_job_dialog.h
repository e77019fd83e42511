// The job options dialog: checks that the job-state flags allow the task,
// fills the form, reads it back, saves the set-up file, runs the job and
// shows its listing.
#pragma once

#include <string_view>

#include "app/session.h"

namespace marvist {

// mode: "new " (Start New Job), "same" (Continue Same Job) or "old " (Start
// Old Job, from a set-up file). A form whose content is refused (a job name
// that is empty or too long, a number field holding more than digits and
// blanks, labels without a label file) is shown again as typed after a
// message box saying why. The windows of the previous job close only when
// the form has been confirmed. A stop of the printer plots during the job
// is shown in a message box and ends the program.
void RunJobDialog(Session& session, std::string_view mode);

}  // namespace marvist

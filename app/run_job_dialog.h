// The job options dialog: checks that the job-state flags allow the task,
// fills the form, reads it back, saves the set-up file, runs the job and
// shows its listing.
#pragma once

#include "app/session.h"

namespace marvist {

// Which job the dialog starts.
enum class JobMode {
    New,   // "Start New Job": a new job on the data file chosen
    Same,  // "Continue Same Job": the previous job's parameters
    Old,   // "Start Old Job": the job of a set-up file
};

// A form whose content is refused (a job name that is empty or too long, a
// number field holding more than digits and blanks, labels without a label
// file) is shown again as typed after a message box saying why. The windows
// of the previous job close only when the form has been confirmed. A stop of
// the printer plots during the job is shown in a message box and ends the
// program.
void RunJobDialog(Session& session, JobMode mode);

}  // namespace marvist

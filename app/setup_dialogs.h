// The set-up file as the desktop program saves and reads it: the file
// dialogs and message boxes around the file-level operations of
// app/setup_file.h.
#pragma once

#include "app/session.h"

namespace marvist {

// When session.job.save_setup is 1: asks for a file name (job.setup_file
// proposed), writes the set-up file of session.job there, sets job_defined
// to 1 and confirms in "Creation of Set-Up File". A cancelled dialog writes
// nothing and says nothing; a file that cannot be written is reported in a
// message box naming it.
void write_setup_file(Session& session);

// How the choice of a set-up file ended.
enum class SetupChoice { Read, Cancelled, Unreadable };

// Asks for a set-up file and reads it into session.job. job_defined becomes 1
// when a file was chosen and read, 0 when the choice was cancelled (message
// "Cancellation") or the file could not be read (a message box naming the
// file and the problem; the job record is unchanged). After a successful
// read the folder of the file is the working folder, so that the file names
// in it resolve, and number fields that hold more than digits and blanks
// are named in the message box "Set-Up File Warning".
SetupChoice read_setup_file(Session& session);

}  // namespace marvist

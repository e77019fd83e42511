#include "app/session.h"

namespace marvist {

void clear_job_state(Session& session) {
    session.job.n_rows = 0;
    session.job.n_cols = 0;
    session.data_selected = 0;
    session.labels_selected = 0;
    session.job_defined = 0;
}

}  // namespace marvist

// How the listing's writers note the failures they meet for the driver.
#pragma once

#include "analysis/job_observer.h"

namespace marvist {

// A printer or a plot that could not obtain its storage: the memory error.
inline void note_storage(ListingStatus& status, bool obtained) {
    if (!obtained) status.failed(ErrorCode::Memory);
}

}  // namespace marvist

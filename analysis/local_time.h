// Local date and time, as the listing header and the progress banner show it.
#pragma once

namespace marvist {

struct LocalTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// The system clock's local date and time.
LocalTime system_local_time();

}  // namespace marvist

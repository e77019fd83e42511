// A condition that stops the whole program at once with a message (the two
// stops of the printer plots). Thrown through the running job: files close as
// the stack unwinds, and the front end shows the message and ends.
#pragma once

#include <stdexcept>

namespace marvist {

class ProgramStop : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace marvist

// The state of the Num Lock and Caps Lock keys, for the status bar.
#pragma once

#include <optional>

namespace marvist::qt {

struct LockKeys {
    std::optional<bool> num_lock;   // nothing: not known on this platform
    std::optional<bool> caps_lock;
};

// Read from the X server's keyboard indicators when the program runs on X11;
// unknown elsewhere.
LockKeys read_lock_keys();

}  // namespace marvist::qt

// Numbers as text for pictures: fixed decimals, '.' as the decimal point
// whatever the process's locale, and never a "-0".
#pragma once

#include <string>

namespace marvist {

// v with exactly `decimals` digits after the point (0 to 12); a value that
// rounds to zero prints without a sign; NaN and infinities print as "nan",
// "inf" and "-inf".
std::string fixed_number(double v, int decimals);

}  // namespace marvist

// The version notice of the listing header and of the progress banner.
#pragma once

#include <string_view>

namespace marvist {

inline constexpr std::string_view kVersionNotice = "Version 2.0c (C++ edition, 2026)";

}  // namespace marvist

#pragma once

#include <string>

namespace quillon {

// printf-style formatting into a std::string. The system's own texts are printf formats ("%03u\t%s"), so
// they are kept as they stand instead of being rewritten for another formatting library.
std::string formatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

} // namespace quillon

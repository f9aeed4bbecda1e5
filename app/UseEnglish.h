#pragma once
// The build-time language switch, set by the CMake option USE_ENGLISH on the program target.
// Only the program's start reads it; everything else takes a Language from the window, so
// that the library and its tests stay independent of how the program was built.

#include <cstdint>

#ifndef VELKOR_USE_ENGLISH
#define VELKOR_USE_ENGLISH 0
#endif

namespace velkor {

inline constexpr std::int32_t UseEnglish = VELKOR_USE_ENGLISH;

} // namespace velkor

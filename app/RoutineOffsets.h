// Where the program's event routines stand in its routine area. The stored form
// names a routine by this offset; -1 names none.
#pragma once

#include <cstdint>

namespace qelvane {

inline constexpr std::int32_t kNoRoutine = -1;
inline constexpr std::int32_t kRefreshPriceLabelOffset = 0;  // opens the area
inline constexpr std::int32_t kOpenOrderPageOffset = 1;
inline constexpr std::int32_t kOpenQqChatOffset = 2;
inline constexpr std::int32_t kRoutineCount = 3;

}  // namespace qelvane

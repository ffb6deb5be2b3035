// Identifiers of windows and records, and the kinds their bits 24-27 give.
#pragma once

#include <cstdint>

namespace qelvane {

inline constexpr std::uint32_t kKindMask = 0x0F000000u;
inline constexpr std::uint32_t kWindowKind = 0x02000000u;
inline constexpr std::uint32_t kRecordKind = 0x06000000u;
inline constexpr std::uint32_t kMenuItemMark = 0x20000000u;  // top four bits of a menu record

inline constexpr std::uint32_t kMainWindowId = 0x52010001u;

constexpr bool IsWindowId(std::uint32_t id) { return (id & kKindMask) == kWindowKind; }
constexpr bool IsMenuItemId(std::uint32_t id) {
    return (id & kKindMask) == kRecordKind && (id & 0xF0000000u) == kMenuItemMark;
}

}  // namespace qelvane

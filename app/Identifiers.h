// The identifiers of MainWindow and its components: the form tables, the
// routines and the tests all take them from here.
#pragma once

#include <array>
#include <cstdint>

namespace qelvane {

inline constexpr std::uint32_t kMainWindowId = 0x52010001u;

inline constexpr std::uint32_t kTabId = 0x16010008u;         // 选择夹
inline constexpr std::uint32_t kPriceLabelId = 0x16010012u;  // 透明标签_价格
inline constexpr std::uint32_t kButtonId = 0x1601000Eu;      // 按钮1, "获取最新价格"
inline constexpr std::uint32_t kChatButtonId = 0x160162A6u;  // 超级按钮1, the QQ badge
inline constexpr std::uint32_t kOrderButtonId = 0x160162A7u; // 超级按钮2, the ordering page
inline constexpr std::uint32_t kPicBoxId = 0x16010029u;      // 图片框1

// 单选框1..12, by page, top to bottom.
inline constexpr std::array<std::array<std::uint32_t, 4>, 3> kRadioBoxIds{{
    {0x16010009u, 0x1601000Bu, 0x1601000Cu, 0x1601000Du},
    {0x1601001Eu, 0x1601001Fu, 0x16010020u, 0x160121A0u},
    {0x16010026u, 0x16010027u, 0x16010028u, 0x160121A3u},
}};

}  // namespace qelvane

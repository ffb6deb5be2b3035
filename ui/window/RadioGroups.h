// Radio groups: every radio box with the same parent is one group. A click
// unchecks only the boxes in view; the arrow keys walk the group in focus order
// and move the check across hidden pages too. Portable: the window layer fills
// in the live state and applies the answer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace qelvane {

struct RadioMember {
    bool isRadio = false;     // other components share parents but never a group
    std::uint32_t parent = 0;  // the group
    std::int32_t focusOrder = 0;
    bool visible = false;  // actually visible now
    bool enabled = false;
    bool tabStop = false;
};

// The boxes (form indices) a click on `clicked` unchecks: the other boxes of
// its group that are visible and enabled.
std::vector<std::size_t> UncheckedByClick(std::span<const RadioMember> components, std::size_t clicked);

// Where an arrow key moves from `current` (forward: Right/Down): the next box of
// its group in focus order among the visible, enabled boxes with a tab stop,
// wrapping. Nothing when `current` is no radio box or no other box qualifies.
std::optional<std::size_t> ArrowTarget(std::span<const RadioMember> components, std::size_t current,
                                       bool forward);

// Every box of the group of `member`, itself included, in form order.
std::vector<std::size_t> GroupOf(std::span<const RadioMember> components, std::size_t member);

}  // namespace qelvane

// Keyboard focus order of a window's components. Portable: the window layer
// fills in the live state of each component and asks where Tab goes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace qelvane {

struct FocusCandidate {
    std::int32_t focusOrder = 0;
    bool visible = false;  // actually visible now
    bool enabled = false;
    bool tabStop = false;
    bool canTakeFocus = true;  // false for types that never take the focus
};

// All components (by form index) in focus order: FocusOrder ascending, and
// among equal values the later form entry first.
std::vector<std::size_t> FocusSequence(std::span<const FocusCandidate> components);

// Whether a component takes part in Tab navigation now.
bool TakesPartInTab(const FocusCandidate& c);

// Where Tab (or Shift+Tab when `backwards`) moves from `current` (a form index,
// or nothing when no component has the focus). Wraps at both ends; a current
// component that does not take part moves to the participant after (before) it
// in the sequence. Nothing when no component takes part.
std::optional<std::size_t> NextInTabOrder(std::span<const FocusCandidate> components,
                                          std::optional<std::size_t> current, bool backwards);

// The first participant of the focus order, if any.
std::optional<std::size_t> FirstInTabOrder(std::span<const FocusCandidate> components);

}  // namespace qelvane

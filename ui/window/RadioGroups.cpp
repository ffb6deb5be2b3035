#include "ui/window/RadioGroups.h"

#include <algorithm>

#include "ui/window/FocusOrder.h"

namespace qelvane {
namespace {

bool SameGroup(const RadioMember& a, const RadioMember& b) { return a.isRadio && b.isRadio && a.parent == b.parent; }

}  // namespace

std::vector<std::size_t> GroupOf(std::span<const RadioMember> components, std::size_t member) {
    std::vector<std::size_t> out;
    if (member >= components.size()) return out;
    for (std::size_t i = 0; i < components.size(); ++i)
        if (SameGroup(components[i], components[member])) out.push_back(i);
    return out;
}

std::vector<std::size_t> UncheckedByClick(std::span<const RadioMember> components, std::size_t clicked) {
    std::vector<std::size_t> out;
    for (std::size_t i : GroupOf(components, clicked))
        if (i != clicked && components[i].visible && components[i].enabled) out.push_back(i);
    return out;
}

std::optional<std::size_t> ArrowTarget(std::span<const RadioMember> components, std::size_t current,
                                       bool forward) {
    if (current >= components.size() || !components[current].isRadio) return std::nullopt;
    // The group's walkable boxes in focus order; the current box counts even
    // when it no longer qualifies, so that the walk starts from its place.
    std::vector<FocusCandidate> candidates(components.size());
    for (std::size_t i : GroupOf(components, current)) {
        const RadioMember& m = components[i];
        candidates[i] = {m.focusOrder, m.visible, m.enabled, m.tabStop, true};
    }
    const std::optional<std::size_t> next = NextInTabOrder(candidates, current, !forward);
    if (!next || *next == current) return std::nullopt;
    return next;
}

}  // namespace qelvane

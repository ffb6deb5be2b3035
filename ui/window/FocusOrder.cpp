#include "ui/window/FocusOrder.h"

#include <algorithm>
#include <numeric>

namespace qelvane {

std::vector<std::size_t> FocusSequence(std::span<const FocusCandidate> components) {
    std::vector<std::size_t> order(components.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        if (components[a].focusOrder != components[b].focusOrder)
            return components[a].focusOrder < components[b].focusOrder;
        return a > b;  // later form entry first
    });
    return order;
}

bool TakesPartInTab(const FocusCandidate& c) {
    return c.visible && c.enabled && c.tabStop && c.canTakeFocus;
}

std::optional<std::size_t> FirstInTabOrder(std::span<const FocusCandidate> components) {
    for (std::size_t i : FocusSequence(components))
        if (TakesPartInTab(components[i])) return i;
    return std::nullopt;
}

std::optional<std::size_t> NextInTabOrder(std::span<const FocusCandidate> components,
                                          std::optional<std::size_t> current, bool backwards) {
    const std::vector<std::size_t> order = FocusSequence(components);
    const std::size_t n = order.size();
    if (n == 0) return std::nullopt;

    // Position of the current component in the sequence; without one, start
    // just before the first (or after the last) so that the walk lands there.
    std::size_t pos = backwards ? 0 : n - 1;
    if (current && *current < components.size())
        pos = static_cast<std::size_t>(std::find(order.begin(), order.end(), *current) - order.begin());

    for (std::size_t step = 1; step <= n; ++step) {
        const std::size_t at = backwards ? (pos + n - step) % n : (pos + step) % n;
        if (TakesPartInTab(components[order[at]])) return order[at];
    }
    return std::nullopt;
}

}  // namespace qelvane

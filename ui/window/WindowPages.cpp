// A container's page in front: its components shown, those of the other pages hidden, and the
// focus on the page's first focus taker when the change came from the user.
#include <algorithm>

#include "ui/window/WindowLayer.h"

namespace qelvane {

bool FormWindow::ShouldShow(const ComponentSlot& slot) {
    if (!slot.entry.visible) return false;
    if (slot.container < 0) return true;
    ComponentSlot& container = slots_[static_cast<std::size_t>(slot.container)];
    const auto page = container.object ? container.object->CurrentPage() : std::nullopt;
    return !page || slot.page == std::max(*page, 0);
}

void FormWindow::SyncPage(std::uint32_t containerId, std::int32_t page, bool withFocus) {
    ComponentSlot* container = Slot(containerId);
    if (!container) return;
    const auto& pages = container->entry.pageList;
    const std::size_t front = static_cast<std::size_t>(std::max(page, 0));
    for (std::size_t p = 0; p < pages.size(); ++p)
        for (std::uint32_t id : pages[p]) {
            ComponentSlot* s = Slot(id);
            if (!s || !s->object) continue;
            HWND h = s->object->Hwnd();
            const bool show = p == front && s->entry.visible;
            if (show && !IsWindowVisible(h)) ShowWindow(h, SW_SHOWNA);
            if (!show && (GetWindowLongW(h, GWL_STYLE) & WS_VISIBLE)) ShowWindow(h, SW_HIDE);
        }
    if (!withFocus || front >= pages.size()) return;
    // Lowest FocusOrder among the page's shown, enabled focus takers; the first in the list on a tie.
    // A component left hidden by its `visible` flag must not swallow the keyboard.
    ComponentSlot* best = nullptr;
    for (std::uint32_t id : pages[front]) {
        ComponentSlot* s = Slot(id);
        if (!s || !s->object || !s->type->takesFocus || !IsWindowEnabled(s->object->Hwnd())) continue;
        if (!(GetWindowLongW(s->object->Hwnd(), GWL_STYLE) & WS_VISIBLE)) continue;
        if (!best || s->entry.focusOrder < best->entry.focusOrder) best = s;
    }
    if (best) SetFocus(best->object->Hwnd());
}

}  // namespace qelvane

// The window layer's keyboard, focus and pages: the focus order for Tab and Shift+Tab, the arrow
// keys in radio groups, Enter on the default button, the focus kept over deactivation, and each
// container's page in front with its components shown and the rest hidden.
#include <algorithm>

#include "ui/window/WindowLayer.h"

namespace qelvane {

int FormWindow::FocusedIndex() const {
    // The focus may sit in a child of a component: count it as the component's.
    for (HWND h = GetFocus(); h && h != window_.get(); h = GetParent(h))
        if (const int i = IndexOf(h); i >= 0) return i;
    return -1;
}

std::vector<FocusCandidate> FormWindow::FocusCandidates() const {
    std::vector<FocusCandidate> c(slots_.size());
    for (std::size_t i = 0; i < slots_.size(); ++i) {
        const ComponentSlot& s = slots_[i];
        HWND h = s.object ? s.object->Hwnd() : nullptr;
        c[i] = {s.entry.focusOrder, h && IsWindowVisible(h), h && IsWindowEnabled(h), s.entry.tabStop,
                s.type->takesFocus};
    }
    return c;
}

std::vector<RadioMember> FormWindow::RadioMembers() const {
    std::vector<RadioMember> m(slots_.size());
    for (std::size_t i = 0; i < slots_.size(); ++i) {
        const ComponentSlot& s = slots_[i];
        HWND h = s.object ? s.object->Hwnd() : nullptr;
        m[i] = {h && s.type->inRadioGroups, s.entry.parent, s.entry.focusOrder,
                h && IsWindowVisible(h), h && IsWindowEnabled(h), s.entry.tabStop};
    }
    return m;
}

void FormWindow::RadioClicked(std::uint32_t componentId) {
    ComponentSlot* clicked = Slot(componentId);
    if (!clicked) return;
    for (std::size_t i : UncheckedByClick(RadioMembers(), static_cast<std::size_t>(clicked - slots_.data())))
        SendMessageW(slots_[i].object->Hwnd(), BM_SETCHECK, BST_UNCHECKED, 0);
}

bool FormWindow::MoveRadioCheck(bool forward) {
    const int current = FocusedIndex();
    if (current < 0 || !slots_[static_cast<std::size_t>(current)].type->inRadioGroups) return false;
    const auto members = RadioMembers();
    const auto target = ArrowTarget(members, static_cast<std::size_t>(current), forward);
    if (!target) return true;
    // The check leaves the whole group, hidden pages included.
    for (std::size_t i : GroupOf(members, *target)) {
        HWND h = slots_[i].object->Hwnd();
        if (i != *target && SendMessageW(h, BM_GETCHECK, 0, 0) != BST_UNCHECKED)
            SendMessageW(h, BM_SETCHECK, BST_UNCHECKED, 0);
    }
    const std::uint32_t id = slots_[*target].entry.id;
    SendMessageW(slots_[*target].object->Hwnd(), BM_SETCHECK, BST_CHECKED, 0);
    slots_[*target].object->Raise(events::kClicked);
    // The routine may have rebuilt or closed things: look the box up again.
    if (ComponentSlot* s = eventsOpen_ ? Slot(id) : nullptr; s && s->object && s->object->Hwnd())
        SetFocus(s->object->Hwnd());
    return true;
}

HWND FormWindow::DefaultButton() const {
    for (const ComponentSlot& slot : slots_) {
        HWND h = slot.object && slot.type->isDefaultButton ? slot.object->Hwnd() : nullptr;
        if (h && slot.type->isDefaultButton(h) && IsWindowVisible(h) && IsWindowEnabled(h))
            return h;
    }
    return nullptr;
}

void FormWindow::MoveFocus(bool backwards) {
    const int current = FocusedIndex();
    const auto candidates = FocusCandidates();
    const auto next = NextInTabOrder(candidates, current < 0 ? std::nullopt : std::optional<std::size_t>(current),
                                     backwards);
    if (next) SetFocus(slots_[*next].object->Hwnd());
}

void FormWindow::SaveFocus() {
    // With no component focused (minimised, or the window itself) the last one is kept.
    if (const int i = FocusedIndex(); i >= 0) savedFocus_ = slots_[static_cast<std::size_t>(i)].entry.id;
}

void FormWindow::RestoreFocus() {
    if (ComponentSlot* saved = savedFocus_ ? Slot(savedFocus_) : nullptr; saved && saved->object && saved->object->Hwnd()) {
        SetFocus(saved->object->Hwnd());
        return;
    }
    if (const auto first = FirstInTabOrder(FocusCandidates())) SetFocus(slots_[*first].object->Hwnd());
}

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

bool FormWindow::PreTranslate(const MSG& msg) {
    if (msg.message == WM_KEYDOWN) {
        switch (msg.wParam) {
        case VK_TAB:
            MoveFocus(GetKeyState(VK_SHIFT) < 0);
            return true;
        case VK_ESCAPE:
            if (!props_.escCloses) return false;
            SendMessageW(window_.get(), WM_SYSCOMMAND, SC_CLOSE, 0);  // as from the close box
            return true;
        case VK_RETURN:
            if (HWND button = DefaultButton())
                SendMessageW(button, BM_CLICK, 0, 0);
            else if (props_.enterMovesFocus)
                MoveFocus(false);
            return true;
        case VK_F1:
            return true;  // help is off
        case VK_LEFT:
        case VK_UP:
            return MoveRadioCheck(false);
        case VK_RIGHT:
        case VK_DOWN:
            return MoveRadioCheck(true);
        default:
            return false;
        }
    }
    if (msg.message == WM_SYSKEYDOWN) {
        // No caption carries a mnemonic: Alt with a letter or digit does nothing.
        const WPARAM k = msg.wParam;
        return (k >= 'A' && k <= 'Z') || (k >= '0' && k <= '9');
    }
    return false;
}

}  // namespace qelvane

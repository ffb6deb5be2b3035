// The window's keyboard and focus: which component the keys move the focus or the check to, what
// Enter and Esc do, and which component gets the focus back.
#include "ui/window/WindowKeyboard.h"

#include <span>

#include "ui/window/WindowLayer.h"

namespace qelvane {

int WindowKeyboard::FocusedIndex() const {
    // The focus may sit in a child of a component: count it as the component's.
    for (HWND h = GetFocus(); h && h != window_.Hwnd(); h = GetParent(h))
        if (const int i = window_.IndexOf(h); i >= 0) return i;
    return -1;
}

void WindowKeyboard::FocusSlot(std::size_t index) const { SetFocus(window_.Slots()[index].object->Hwnd()); }

namespace {

// One entry per slot, made from the slot and its native window (null while it has none).
template <class Entry, class Make>
std::vector<Entry> PerSlot(std::span<const ComponentSlot> slots, Make make) {
    std::vector<Entry> entries(slots.size());
    for (std::size_t i = 0; i < slots.size(); ++i)
        entries[i] = make(slots[i], slots[i].object ? slots[i].object->Hwnd() : nullptr);
    return entries;
}

}  // namespace

std::vector<FocusCandidate> WindowKeyboard::FocusCandidates() const {
    return PerSlot<FocusCandidate>(window_.Slots(), [](const ComponentSlot& s, HWND h) {
        return FocusCandidate{s.entry.focusOrder, h && IsWindowVisible(h), h && IsWindowEnabled(h), s.entry.tabStop,
                              s.type->takesFocus};
    });
}

std::vector<RadioMember> WindowKeyboard::RadioMembers() const {
    return PerSlot<RadioMember>(window_.Slots(), [](const ComponentSlot& s, HWND h) {
        return RadioMember{h && s.type->inRadioGroups, s.entry.parent, s.entry.focusOrder,
                           h && IsWindowVisible(h), h && IsWindowEnabled(h), s.entry.tabStop};
    });
}

void WindowKeyboard::RadioClicked(std::uint32_t componentId) {
    const ComponentSlot* clicked = window_.Slot(componentId);
    if (!clicked) return;
    const auto slots = window_.Slots();
    for (std::size_t i : UncheckedByClick(RadioMembers(), static_cast<std::size_t>(clicked - slots.data())))
        SendMessageW(slots[i].object->Hwnd(), BM_SETCHECK, BST_UNCHECKED, 0);
}

bool WindowKeyboard::MoveRadioCheck(bool forward) {
    const int current = FocusedIndex();
    const auto slots = window_.Slots();
    if (current < 0 || !slots[static_cast<std::size_t>(current)].type->inRadioGroups) return false;
    const auto members = RadioMembers();
    const auto target = ArrowTarget(members, static_cast<std::size_t>(current), forward);
    if (!target) return true;
    // The check leaves the whole group, hidden pages included.
    for (std::size_t i : GroupOf(members, *target)) {
        HWND h = slots[i].object->Hwnd();
        if (i != *target && SendMessageW(h, BM_GETCHECK, 0, 0) != BST_UNCHECKED)
            SendMessageW(h, BM_SETCHECK, BST_UNCHECKED, 0);
    }
    const std::uint32_t id = slots[*target].entry.id;
    SendMessageW(slots[*target].object->Hwnd(), BM_SETCHECK, BST_CHECKED, 0);
    slots[*target].object->Raise(events::kClicked);
    // The routine may have rebuilt or closed things: look the box up again.
    if (ComponentSlot* s = window_.EventsOpen() ? window_.Slot(id) : nullptr; s && s->object && s->object->Hwnd())
        SetFocus(s->object->Hwnd());
    return true;
}

HWND WindowKeyboard::DefaultButton() const {
    for (const ComponentSlot& slot : window_.Slots()) {
        HWND h = slot.object && slot.type->isDefaultButton ? slot.object->Hwnd() : nullptr;
        if (h && slot.type->isDefaultButton(h) && IsWindowVisible(h) && IsWindowEnabled(h))
            return h;
    }
    return nullptr;
}

void WindowKeyboard::MoveFocus(bool backwards) {
    const int current = FocusedIndex();
    const auto next = NextInTabOrder(FocusCandidates(),
                                     current < 0 ? std::nullopt : std::optional<std::size_t>(current), backwards);
    if (next) FocusSlot(*next);
}

void WindowKeyboard::SaveFocus() {
    if (const int i = FocusedIndex(); i >= 0)
        savedFocus_ = window_.Slots()[static_cast<std::size_t>(i)].entry.id;
}

void WindowKeyboard::RestoreFocus() {
    if (ComponentSlot* saved = savedFocus_ ? window_.Slot(savedFocus_) : nullptr;
        saved && saved->object && saved->object->Hwnd()) {
        SetFocus(saved->object->Hwnd());
        return;
    }
    if (const auto first = FirstInTabOrder(FocusCandidates())) FocusSlot(*first);
}

void WindowKeyboard::Activated() {
    if (FocusedIndex() >= 0)
        SaveFocus();
    else
        RestoreFocus();
}

bool WindowKeyboard::PreTranslate(const MSG& msg) {
    if (msg.message == WM_KEYDOWN) {
        switch (msg.wParam) {
        case VK_TAB:
            MoveFocus(GetKeyState(VK_SHIFT) < 0);
            return true;
        case VK_ESCAPE:
            if (!window_.Props().escCloses) return false;
            SendMessageW(window_.Hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);  // as from the close box
            return true;
        case VK_RETURN:
            if (HWND button = DefaultButton())
                SendMessageW(button, BM_CLICK, 0, 0);
            else if (window_.Props().enterMovesFocus)
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

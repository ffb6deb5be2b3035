// A window's keyboard and focus: Tab and Shift+Tab through the focus order, the arrow keys in
// radio groups, Enter on the default button, Esc, and the focus kept over deactivation and
// minimising. The window asks it; it reads the window's components and keeps nothing else.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "ui/window/FocusOrder.h"
#include "ui/window/RadioGroups.h"

namespace qelvane {

class FormWindow;

class WindowKeyboard {
public:
    explicit WindowKeyboard(FormWindow& window) : window_(window) {}

    // Keyboard handling before the focused control sees the key.
    bool PreTranslate(const MSG& msg);
    // Tab / Shift+Tab through the focus order.
    void MoveFocus(bool backwards);
    // A radio box took the check by a click: the others of its group give theirs up.
    void RadioClicked(std::uint32_t componentId);

    // The slot of the component that has the focus (also in a child of it), or -1.
    int FocusedIndex() const;
    // With no component focused (minimised, or the window itself) the last one is kept.
    void SaveFocus();
    // Back to the component saved, or to the first in the focus order.
    void RestoreFocus();
    // The window became active: the focus stays where it is on a component, else comes back.
    void Activated();

private:
    std::vector<FocusCandidate> FocusCandidates() const;
    std::vector<RadioMember> RadioMembers() const;
    // An arrow key on a focused radio box; false when the focus is elsewhere.
    bool MoveRadioCheck(bool forward);
    // The visible, enabled push button that Enter clicks; null when there is none.
    HWND DefaultButton() const;
    void FocusSlot(std::size_t index) const;

    FormWindow& window_;
    std::uint32_t savedFocus_ = 0;  // component that last had the focus, for activation and restore
};

}  // namespace qelvane

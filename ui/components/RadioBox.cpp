#include "ui/components/Controls.h"

#include "base/Gbk.h"
#include "base/Messages.h"
#include "ui/components/ButtonStyles.h"
#include "ui/system/ColourScheme.h"

namespace qelvane {

DWORD RadioBox::ButtonStyle() const {
    DWORD style = BS_AUTORADIOBUTTON | BS_MULTILINE | HAlignStyle(props_.hAlign) | VAlignStyle(props_.vAlign);
    if (props_.pushLike) style |= BS_PUSHLIKE;
    if (props_.flat) style |= BS_FLAT;
    if (props_.leftText) style |= BS_LEFTTEXT;
    style |= picture_.Style();
    return style;
}

bool RadioBox::Build(const CreateArgs& args) {
    if (!BuildButton(args)) return false;
    MakeBackground();
    if (props_.checked == 1) SendMessageW(Hwnd(), BM_SETCHECK, BST_CHECKED, 0);
    return true;
}

bool RadioBox::NativeChecked() const { return SendMessageW(Hwnd(), BM_GETCHECK, 0, 0) == BST_CHECKED; }

bool RadioBox::ReadLive(const FieldRow& row, PropertyValue&) {
    if (Is(row, &props_.checked)) SyncSettings();  // the value read is also stored
    return false;
}

bool RadioBox::Written(std::uint8_t own, const PropertyValue&) {
    if (static_cast<RadioBoxEffect>(own) == RadioBoxEffect::Check)
        SendMessageW(Hwnd(), BM_SETCHECK, props_.checked == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
    return false;
}

void RadioBox::MakeBackground() {
    back_.reset(props_.backColor == kSystemFaceColour
                    ? nullptr
                    : Make("radio box's background", [&] { return CreateSolidBrush(ResolveColour(props_.backColor)); }));
}

void RadioBox::Repaint() {
    MakeBackground();
    InvalidateRect(Hwnd(), nullptr, TRUE);
}

bool RadioBox::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg != WM_SETFOCUS) return false;
    // The native control reports a click when an unchecked radio button gains
    // the focus; giving a box the focus must not check it.
    const LRESULT before = SendMessageW(Hwnd(), BM_GETCHECK, 0, 0);
    focusing_ = true;
    result = Default(msg, wParam, lParam);
    focusing_ = false;
    if (SendMessageW(Hwnd(), BM_GETCHECK, 0, 0) != before) SendMessageW(Hwnd(), BM_SETCHECK, before, 0);
    Raise(events::kFocusGained);
    return true;
}

bool RadioBox::OnReflected(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
    if (msg == WM_COMMAND) {
        if (message::CommandCode(wParam) != BN_CLICKED) return false;
        result = 0;
        if (focusing_) return true;
        // Our rule, not the dialog manager's: only the boxes in view lose their check.
        SendMessageW(Hwnd(), BM_SETCHECK, BST_CHECKED, 0);
        Host().RadioClicked(Id());
        Raise(events::kClicked);
        return true;
    }
    if (msg != WM_CTLCOLORSTATIC && msg != WM_CTLCOLORBTN) return false;
    // The system keeps what we answer even in high contrast: there, the scheme's own pair.
    HDC dc = message::Dc(wParam);
    const SchemeColours& scheme = CurrentScheme();
    const bool ownBack = back_ && !scheme.highContrast;
    const COLORREF back = ownBack ? ResolveColour(props_.backColor) : static_cast<COLORREF>(scheme.face);
    SetTextColor(dc, TextColourFor(props_.textColor, back, scheme));
    SetBkColor(dc, back);
    result = reinterpret_cast<LRESULT>(ownBack ? back_.get() : GetSysColorBrush(COLOR_BTNFACE));
    return true;
}

}  // namespace qelvane

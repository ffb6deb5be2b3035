#include "ui/components/RadioBox.h"

#include "base/Gbk.h"
#include "ui/components/ButtonStyles.h"

namespace qelvane {

RadioBox::RadioBox(const ComponentType& type, ComponentHost& host, const ComponentEntry& entry)
    : Component(type, host, entry.id), props_(std::get<RadioBoxProps>(entry.settings)) {}

std::unique_ptr<Component> RadioBox::Create(const CreateArgs& args) {
    return MakeComponent<RadioBox, RadioBoxProps>(TypeCode::RadioBox, args);
}

DWORD RadioBox::ButtonStyle() const {
    DWORD style = BS_AUTORADIOBUTTON | BS_MULTILINE | HAlignStyle(props_.hAlign) | VAlignStyle(props_.vAlign);
    if (props_.pushLike) style |= BS_PUSHLIKE;
    if (props_.flat) style |= BS_FLAT;
    if (props_.leftText) style |= BS_LEFTTEXT;
    style |= picture_.Style();
    return style;
}

bool RadioBox::Build(const CreateArgs& args) {
    picture_ = ButtonPicture(props_.picture);
    if (!CreateNative(L"BUTTON", ChildStyle(args.entry) | ButtonStyle(), 0, args, WideFromGbk(props_.caption)))
        return false;
    font_ = FontFromBlock(props_.font);
    SendMessageW(Hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(FontOrDefault(font_)), FALSE);
    if (props_.backColor != kSystemFaceColour) back_.reset(CreateSolidBrush(ResolveColour(props_.backColor)));
    picture_.ShowIn(Hwnd());
    if (props_.checked == 1) SendMessageW(Hwnd(), BM_SETCHECK, BST_CHECKED, 0);
    return true;
}

bool RadioBox::NativeChecked() const { return SendMessageW(Hwnd(), BM_GETCHECK, 0, 0) == BST_CHECKED; }

TypeSettings RadioBox::Settings() const {
    RadioBoxProps p = props_;
    p.checked = NativeChecked() ? 1 : 0;
    return p;
}

PropertyValue RadioBox::Read(int own) {
    if (own == kChecked) props_.checked = NativeChecked() ? 1 : 0;  // the value read is also stored
    return ReadField(kProperties, props_, own);
}

bool RadioBox::Apply(int own, const PropertyValue& value) {
    StoreField(kProperties, props_, own, value);
    switch (own) {
    case kChecked:
        SendMessageW(Hwnd(), BM_SETCHECK, props_.checked == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
        return false;
    case kCaption:
        SetWindowTextW(Hwnd(), WideFromGbk(props_.caption).c_str());
        return false;
    case kFont:
        font_ = FontFromBlock(props_.font);
        SendMessageW(Hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(FontOrDefault(font_)), TRUE);
        return false;
    case kTextColor:
    case kBackColor:
        back_.reset(props_.backColor != kSystemFaceColour ? CreateSolidBrush(ResolveColour(props_.backColor))
                                                          : nullptr);
        InvalidateRect(Hwnd(), nullptr, TRUE);
        return false;
    case kPushLike:
    case kFlat:
    case kLeftText:
    case kHAlign:
    case kVAlign:
        ApplyButtonStyle(Hwnd(), ButtonStyle());
        return false;
    case kPicture:
        return true;  // the control is rebuilt to show or drop the picture
    default:
        return false;
    }
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
        if (HIWORD(wParam) != BN_CLICKED) return false;
        result = 0;
        if (focusing_) return true;
        // Our rule, not the dialog manager's: only the boxes in view lose their check.
        SendMessageW(Hwnd(), BM_SETCHECK, BST_CHECKED, 0);
        Host().RadioClicked(Id());
        Raise(events::kClicked);
        return true;
    }
    if (msg != WM_CTLCOLORSTATIC && msg != WM_CTLCOLORBTN) return false;
    HDC dc = reinterpret_cast<HDC>(wParam);
    SetTextColor(dc, ResolveColour(props_.textColor));
    SetBkColor(dc, ResolveColour(props_.backColor));
    result = reinterpret_cast<LRESULT>(back_ ? back_.get() : GetSysColorBrush(COLOR_BTNFACE));
    return true;
}

}  // namespace qelvane

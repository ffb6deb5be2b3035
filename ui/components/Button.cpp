#include "ui/components/Button.h"

#include "base/Gbk.h"
#include "ui/components/ButtonStyles.h"

namespace qelvane {

Button::Button(const ComponentType& type, ComponentHost& host, const ComponentEntry& entry)
    : Component(type, host, entry.id), props_(std::get<ButtonProps>(entry.settings)) {}

std::unique_ptr<Component> Button::Create(const CreateArgs& args) {
    return MakeComponent<Button, ButtonProps>(TypeCode::Button, args);
}

DWORD Button::ButtonStyle() const {
    return (props_.buttonType == 1 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | BS_MULTILINE | HAlignStyle(props_.hAlign) |
           VAlignStyle(props_.vAlign) | picture_.Style();
}

bool Button::Build(const CreateArgs& args) {
    picture_ = ButtonPicture(props_.picture);
    if (!CreateNative(L"BUTTON", ChildStyle(args.entry) | ButtonStyle(), 0, args, WideFromGbk(props_.caption)))
        return false;
    font_ = FontFromBlock(props_.font);
    SendMessageW(Hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(FontOrDefault(font_)), FALSE);
    picture_.ShowIn(Hwnd());
    return true;
}

bool Button::Apply(int own, const PropertyValue& value) {
    StoreField(kProperties, props_, own, value);
    switch (own) {
    case kCaption:
        SetWindowTextW(Hwnd(), WideFromGbk(props_.caption).c_str());
        return false;
    case kFont:
        font_ = FontFromBlock(props_.font);
        SendMessageW(Hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(FontOrDefault(font_)), TRUE);
        return false;
    case kButtonType:
    case kHAlign:
    case kVAlign:
        ApplyButtonStyle(Hwnd(), ButtonStyle());
        return false;
    case kPicture:
        return true;
    default:
        return false;
    }
}

bool Button::OnReflected(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
    if (msg != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return false;
    Raise(events::kClicked);
    result = 0;
    return true;
}

}  // namespace qelvane

#include "ui/components/Button.h"

#include "base/Gbk.h"

namespace qelvane {

DWORD Button::ButtonStyle() const {
    return (props_.buttonType == 1 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | BS_MULTILINE | HAlignStyle(props_.hAlign) |
           VAlignStyle(props_.vAlign) | picture_.Style();
}

bool Button::Build(const CreateArgs& args) {
    picture_ = ButtonPicture(props_.picture);
    if (!CreateWindowFor(args, {L"BUTTON", nullptr, ChildStyle(args.entry) | ButtonStyle(), 0,
                                WideFromGbk(props_.caption)}))
        return false;
    ApplyFont(props_.font);
    picture_.ShowIn(Hwnd());
    return true;
}

bool Button::OnReflected(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
    if (msg != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return false;
    Raise(events::kClicked);
    result = 0;
    return true;
}

}  // namespace qelvane

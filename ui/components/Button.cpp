#include "ui/components/Controls.h"

#include "base/Gbk.h"
#include "base/Messages.h"

namespace qelvane {

bool Button::IsDefaultButton(HWND hwnd) {
    return (GetWindowLongW(hwnd, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
}

DWORD Button::ButtonStyle() const {
    return (props_.buttonType == 1 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | BS_MULTILINE | HAlignStyle(props_.hAlign) |
           VAlignStyle(props_.vAlign) | picture_.Style();
}

bool Button::Build(const CreateArgs& args) { return BuildButton(args); }

bool Button::OnReflected(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
    if (msg != WM_COMMAND || message::CommandCode(wParam) != BN_CLICKED) return false;
    Raise(events::kClicked);
    result = 0;
    return true;
}

}  // namespace qelvane

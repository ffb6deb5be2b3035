#include "ui/components/TransLabel.h"

#include <algorithm>

#include "runtime/Gbk.h"

namespace qelvane {
TransLabel::TransLabel(const ComponentType& type, ComponentHost& host, const ComponentEntry& entry)
    : Component(type, host, entry.id), props_(std::get<TransLabelProps>(entry.settings)) {}

std::unique_ptr<Component> TransLabel::Create(const CreateArgs& args) {
    if (!RegisterComponentClass(kClassName, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW)) return nullptr;
    return MakeComponent<TransLabel, TransLabelProps>(TypeCode::TransLabel, args);
}

void TransLabel::ReleaseShared() {
    UnregisterComponentClass(kClassName);
}

bool TransLabel::Build(const CreateArgs& args) {
    if (!CreateOwnClass(kClassName, ChildStyle(args.entry), WS_EX_TRANSPARENT, args, WideFromGbk(props_.caption)))
        return false;
    font_ = FontFromBlock(props_.font);
    return true;
}

void TransLabel::Paint(HDC dc) {
    const int length = GetWindowTextLengthW(Hwnd());
    if (length <= 0) return;
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(Hwnd(), text.data(), length + 1)));

    ScopedSelect font(dc, FontOrDefault(font_));
    constexpr UINT kHAlignFlags[] = {DT_LEFT, DT_CENTER, DT_RIGHT};
    UINT flags = DT_NOCLIP | (props_.hAlign >= 0 && props_.hAlign <= 2 ? kHAlignFlags[props_.hAlign] : DT_LEFT);
    if (props_.wordWrap == 1)
        flags |= DT_WORDBREAK | DT_VCENTER;
    else
        flags |= DT_SINGLELINE | (props_.vAlign == 1 ? DT_VCENTER : props_.vAlign == 2 ? DT_BOTTOM : DT_TOP);
    SetBkMode(dc, TRANSPARENT);

    RECT r;
    GetClientRect(Hwnd(), &r);
    auto draw = [&](COLORREF colour, int dx, int dy) {
        RECT moved = r;
        OffsetRect(&moved, dx, dy);
        SetTextColor(dc, colour);
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &moved, flags);
    };
    int dx = 0, dy = 0;
    switch (props_.textEffect) {
    case 1: draw(RGB(255, 255, 255), 1, 1); break;
    case 2: draw(RGB(255, 255, 255), 0, 0); dx = dy = 1; break;
    case 3: draw(RGB(0, 0, 0), 2, 2); break;
    default: break;
    }
    draw(static_cast<COLORREF>(props_.textColor), dx, dy);
}

// What lies beneath is repainted first, so new text never piles onto old.
void TransLabel::RepaintBeneath() {
    HWND parent = GetParent(Hwnd());
    RECT r;
    GetWindowRect(Hwnd(), &r);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    RedrawWindow(parent, &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_ERASENOW);
    InvalidateRect(Hwnd(), nullptr, FALSE);
}

bool TransLabel::Apply(int own, const PropertyValue& value) {
    StoreField(kProperties, props_, own, value);
    if (own == kCaption) SetWindowTextW(Hwnd(), WideFromGbk(props_.caption).c_str());
    if (own == kFont) font_ = FontFromBlock(props_.font);
    RepaintBeneath();
    return false;
}

bool TransLabel::OnMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
    switch (msg) {
    case WM_ERASEBKGND:
        result = 1;  // nothing of our own beneath the text
        return true;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        PaintMessage(wParam, [this](HDC dc) { Paint(dc); });
        result = 0;
        return true;
    default:
        return false;
    }
}

}  // namespace qelvane

#include "ui/components/SuperBtn.h"

#include "runtime/Gbk.h"

namespace qelvane {
namespace {

constexpr DWORD kKindMask = 0x1F;

// Owner drawing replaces the kind bits; the kind asked for is kept by the component.
DWORD OwnerDrawStyle(DWORD style) { return (style & ~kKindMask) | BS_OWNERDRAW; }

}  // namespace

SuperBtn::SuperBtn(const ComponentType& type, ComponentHost& host, const ComponentEntry& entry)
    : Component(type, host, entry.id), props_(std::get<SuperBtnProps>(entry.settings)) {}

std::unique_ptr<Component> SuperBtn::Create(const CreateArgs& args) {
    return MakeComponent<SuperBtn, SuperBtnProps>(TypeCode::SuperBtn, args);
}

bool SuperBtn::Build(const CreateArgs& args) {
    kind_ = props_.checkBox == 1 ? BS_CHECKBOX : props_.defaultStyle == 1 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    if (!CreateNative(L"BUTTON", ChildStyle(args.entry) | kind_, 0, args, WideFromGbk(props_.caption)))
        return false;
    const DWORD style = static_cast<DWORD>(GetWindowLongW(Hwnd(), GWL_STYLE));
    SetWindowLongW(Hwnd(), GWL_STYLE, static_cast<LONG>(OwnerDrawStyle(style)));
    font_ = FontFromBlock(props_.font);
    SendMessageW(Hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(FontOrDefault(font_)), FALSE);
    return true;
}

bool SuperBtn::Apply(int own, const PropertyValue& value) {
    const std::int32_t oldCheckBox = props_.checkBox;
    StoreField(kProperties, props_, own, value);
    switch (own) {
    case kCheckBox:
        return props_.checkBox != oldCheckBox;
    case kDefaultStyle:
        return true;
    case kCaption:
        SetWindowTextW(Hwnd(), WideFromGbk(props_.caption).c_str());
        break;
    case kFont:
        font_ = FontFromBlock(props_.font);
        SendMessageW(Hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(FontOrDefault(font_)), FALSE);
        break;
    case kStandardSound:
    case kOverSound:
    case kClickSound:
    case kToolTip:
        return false;
    default:
        break;
    }
    InvalidateRect(Hwnd(), nullptr, FALSE);
    return false;
}

void SuperBtn::Draw(const DRAWITEMSTRUCT& item) {
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool focused = (item.itemState & ODS_FOCUS) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    const bool system = props_.defaultColor == 1;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF back = system ? face : ResolveColour(focused ? props_.bkColorFocus : props_.bkColorOut);
    const COLORREF fore = system ? GetSysColor(COLOR_BTNTEXT)
                                 : static_cast<COLORREF>(focused ? props_.fgColorFocus : props_.fgColorOut);
    HDC dc = item.hDC;
    RECT r = item.rcItem;

    UniqueBrush fill(CreateSolidBrush(back));
    FillRect(dc, &r, fill.get());
    if (props_.btnStyle == 1) DrawEdge(dc, &r, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);

    if (!props_.caption.empty()) {
        const std::wstring text = WideFromGbk(props_.caption);
        ScopedSelect font(dc, FontOrDefault(font_));
        SetBkMode(dc, TRANSPARENT);
        // Measure, then centre the wrapped block in the button.
        RECT measured = r;
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured, DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
        RECT c = r;
        const int h = measured.bottom - measured.top;
        c.top = r.top + (r.bottom - r.top - h) / 2;
        c.bottom = c.top + h;
        if (pressed) OffsetRect(&c, 1, 1);
        SetTextColor(dc, disabled ? GetSysColor(COLOR_GRAYTEXT) : fore);
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &c, DT_WORDBREAK | DT_CENTER);
    }
    if (focused && (props_.btnStyle == 1 || props_.drawFocus)) {
        RECT f = r;
        InflateRect(&f, -3, -3);
        DrawFocusRect(dc, &f);
    }
}

bool SuperBtn::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == BM_SETSTYLE) {
        // Keep owner drawing whatever kind is asked for.
        kind_ = static_cast<DWORD>(wParam) & kKindMask;
        result = Default(msg, OwnerDrawStyle(static_cast<DWORD>(wParam)), lParam);
        return true;
    }
    return false;
}

bool SuperBtn::OnReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
    case WM_DRAWITEM:
        Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        result = TRUE;
        return true;
    case WM_CTLCOLORBTN:
        result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));  // stock, not ours: we paint the face
        return true;
    case WM_COMMAND:
        if (HIWORD(wParam) != BN_CLICKED) return false;
        Raise(0);
        result = 0;
        return true;
    default:
        return false;
    }
}

}  // namespace qelvane

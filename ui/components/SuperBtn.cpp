// `SuperBtn` (超级按钮): an owner-drawn button with pictures per state, hover tracking, sounds
// and a tooltip; its face drawn by the painters of its style.
#include "ui/components/SuperBtn.h"
#include "ui/components/SuperBtnPainters.h"

#include <commctrl.h>
#include <mmsystem.h>
#include <oleacc.h>

#include <algorithm>
#include <vector>

#include "base/Gbk.h"
#include "base/Messages.h"
#include "base/SystemLibrary.h"
#include "ui/Testing.h"
#include "ui/system/ColourScheme.h"
#include "ui/pictures/PictureDraw.h"
#include "ui/pictures/PictureScale.h"

namespace qelvane {
namespace {

constexpr DWORD kButtonKindMask = 0x1F;
constexpr int kShiftIn = 32;          // hover background: the face colour lightened by this
constexpr int kMaxTipWidth = 400;
constexpr UINT_PTR kToolId = 1;
constexpr wchar_t kClickSoundName[] = L"CLICK";  // WAVE resource in the program
constexpr DWORD kSoundFlags = SND_ASYNC | SND_NODEFAULT | SND_NOWAIT;
constexpr UINT kMsgDefaultAction = WM_APP + 0x51;  // a screen reader's press, posted to ourselves

testing::SoundHook soundHook = nullptr;

// Owner drawing replaces the kind bits; the kind asked for is kept by the component.
DWORD OwnerDrawStyle(DWORD style) { return (style & ~kButtonKindMask) | BS_OWNERDRAW; }

void Play(const void* sound, HMODULE module, DWORD flags) {
    if (soundHook) {
        soundHook(sound, flags);
        return;
    }
    // winmm is no known DLL: from the system folder, and only once a sound is wanted.
    using PlaySoundFunction = BOOL(WINAPI*)(LPCWSTR, HMODULE, DWORD);
    if (auto play = SystemFunction<PlaySoundFunction>(L"winmm.dll", "PlaySoundW"))
        play(static_cast<LPCWSTR>(sound), module, flags);
}

}  // namespace

namespace testing {
void SetSoundHook(SoundHook hook) { soundHook = hook; }
}  // namespace testing

SuperBtn::~SuperBtn() { StopOwnSound(); }

bool SuperBtn::Build(const CreateArgs& args) {
    schemeFace_ = CurrentScheme().face;
    schemeText_ = CurrentScheme().text;
    for (std::uint32_t* c : {&props_.fgColorOut, &props_.fgColorIn, &props_.fgColorFocus})
        if (*c == kButtonTextAtCreation) *c = schemeText_;
    if (props_.bkColorIn == kLitFaceAtCreation) props_.bkColorIn = superbtn::ShiftColour(schemeFace_, kShiftIn);
    kind_ = props_.checkBox == 1 ? BS_CHECKBOX : props_.defaultStyle == 1 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    if (!CreateWindowFor(args, {L"BUTTON", nullptr, ChildStyle(args.entry) | kind_, 0, WideFromGbk(props_.caption)}))
        return false;
    const DWORD style = static_cast<DWORD>(GetWindowLongW(Hwnd(), GWL_STYLE));
    SetWindowLongW(Hwnd(), GWL_STYLE, static_cast<LONG>(OwnerDrawStyle(style)));
    picOut_ = MakeKeyedBitmap(props_.picOut, props_.transColorOut, Host().Scale());
    picIn_ = MakeKeyedBitmap(props_.picIn, props_.transColorIn, Host().Scale());
    picDisabled_ = MakeKeyedBitmap(props_.picDisabled, props_.transColorDisabled, Host().Scale());
    ApplyFont(props_.font);
    UpdateToolTip();
    return true;
}

void SuperBtn::BeforeWrite(std::uint8_t own) {
    // The system may still be reading the sound bytes we replace.
    if (static_cast<SuperBtnEffect>(own) == SuperBtnEffect::Sound) StopOwnSound();
}

bool SuperBtn::Written(std::uint8_t own, const PropertyValue& old) {
    switch (static_cast<SuperBtnEffect>(own)) {
    case SuperBtnEffect::Kind:
        return props_.checkBox != old.number;
    case SuperBtnEffect::Sound:
        return false;
    case SuperBtnEffect::ToolTip:
        UpdateToolTip();
        return false;
    case SuperBtnEffect::Style:
        if (!TracksHover()) hot_ = false;
        break;
    case SuperBtnEffect::PictureOut:
        picOut_ = MakeKeyedBitmap(props_.picOut, props_.transColorOut, Host().Scale());
        break;
    case SuperBtnEffect::PictureIn:
        picIn_ = MakeKeyedBitmap(props_.picIn, props_.transColorIn, Host().Scale());
        break;
    case SuperBtnEffect::PictureDisabled:
        picDisabled_ = MakeKeyedBitmap(props_.picDisabled, props_.transColorDisabled, Host().Scale());
        break;
    }
    Repaint();
    return false;
}

SuperBtn::Colours SuperBtn::DrawingColours() const {
    const COLORREF face = schemeFace_, text = schemeText_;
    if (props_.defaultColor == 1) return {text, face, text, superbtn::ShiftColour(face, kShiftIn), text, face};
    auto back = [&](std::uint32_t c) { return c == kSystemFaceColour ? face : static_cast<COLORREF>(c); };
    return {static_cast<COLORREF>(props_.fgColorOut),   back(props_.bkColorOut),
            static_cast<COLORREF>(props_.fgColorIn),    back(props_.bkColorIn),
            static_cast<COLORREF>(props_.fgColorFocus), back(props_.bkColorFocus)};
}

void SuperBtn::SchemeChanged() {
    schemeFace_ = CurrentScheme().face;
    schemeText_ = CurrentScheme().text;
}

void SuperBtn::Draw(const DRAWITEMSTRUCT& item) {
    const SchemeColours& scheme = CurrentScheme();
    Colours colours = DrawingColours();
    if (scheme.highContrast) {
        // The scheme's pairs only: button text on the face, highlight text on the highlight.
        colours = {scheme.text, scheme.face, scheme.highlightText, scheme.highlight, scheme.text, scheme.face};
    } else {
        colours.fgOut = TextColourFor(colours.fgOut, colours.bkOut, scheme);
        colours.fgIn = TextColourFor(colours.fgIn, colours.bkIn, scheme);
        colours.fgFocus = TextColourFor(colours.fgFocus, colours.bkFocus, scheme);
    }
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    superbtn::ButtonState state;
    state.checkBoxMode = CheckBoxMode();
    state.pressed = state.checkBoxMode ? selected || props_.checked == 1 : selected;
    state.disabled = (item.itemState & ODS_DISABLED) != 0;
    state.hot = hot_ && TracksHover();
    const bool focused = (item.itemState & ODS_FOCUS) != 0;
    const bool lit = state.hot || state.pressed;
    const superbtn::Look look{lit,
                    state.pressed,
                    state.hot,
                    focused,
                    DefaultButton(),
                    props_.drawBorder != 0,
                    lit ? colours.bkIn : focused ? colours.bkFocus : colours.bkOut,
                    Host().Scale(),
                    scheme.highContrast};
    const superbtn::StylePainter& painter = superbtn::PainterFor(props_.btnStyle);

    HDC dc = item.hDC;
    const int savedDc = SaveDC(dc);
    SetBkMode(dc, TRANSPARENT);
    RECT r = item.rcItem;
    painter.outline(dc, r, look);
    painter.face(dc, r, look);
    painter.edge(dc, r, look);

    // Picture and caption work on the item rectangle as it came, before the frame shrank it.
    RECT caption = item.rcItem;
    if (picOut_ || picIn_) DrawPicture(dc, item.rcItem, state, caption);
    if (!props_.caption.empty()) {
        ScopedSelect font(dc, Font());
        SetTextColor(dc, lit ? colours.fgIn : focused ? colours.fgFocus : colours.fgOut);
        DrawCaption(dc, caption, state, scheme.highContrast);
    }
    // In high contrast every button shows where it ends, over a picture that fills it too.
    if (scheme.highContrast) FrameRect(dc, &item.rcItem, superbtn::LineBrush(look));
    // The focus shows wherever the system shows focus cues (as after a Tab), or always where
    // the look asks for it.
    const bool cues = (item.itemState & ODS_NOFOCUSRECT) == 0;
    if (focused && (painter.alwaysShowsFocus || props_.drawFocus || cues)) {
        RECT f = r;
        const int inset = look.scale.ToDevice(3);
        InflateRect(&f, -inset, -inset);
        // A dotted XOR line can vanish on a contrast theme's colours: a line of button text there.
        if (scheme.highContrast)
            FrameRect(dc, &f, superbtn::LineBrush(look));
        else
            DrawFocusRect(dc, &f);
    }
    RestoreDC(dc, savedDc);
}

void SuperBtn::DrawPicture(HDC dc, const RECT& item, const superbtn::ButtonState& state, RECT& caption) {
    const auto slot = superbtn::ChoosePicture(state, static_cast<bool>(picOut_), static_cast<bool>(picIn_),
                                              static_cast<bool>(picDisabled_));
    if (!slot) return;
    const KeyedBitmap& pic = *slot == superbtn::PictureSlot::Out ? picOut_
                         : *slot == superbtn::PictureSlot::In ? picIn_
                                                              : picDisabled_;
    RECT client;
    GetClientRect(Hwnd(), &client);
    const superbtn::Box box{item.left, item.top, item.right, item.bottom};
    superbtn::Placement place =
        superbtn::PlacePicture(props_.alignStyle, !props_.caption.empty(), box, client.right, pic.width, pic.height,
                               Host().Scale().ToDevice(superbtn::kPictureMargin));
    caption = {place.caption.left, place.caption.top, place.caption.right, place.caption.bottom};
    if (state.pressed && !state.checkBoxMode) {
        const superbtn::Offset o = superbtn::PressOffset(props_.pressStyle, Host().Scale());
        place.x += o.dx;
        place.y += o.dy;
    }

    // No picture of its own for the disabled state: the normal one, greyed and embossed.
    DrawKeyedBitmap(dc, pic, place.x, place.y, state.disabled && !picDisabled_);
}

void SuperBtn::DrawCaption(HDC dc, RECT c, const superbtn::ButtonState& state, bool highContrast) {
    if (state.pressed && !state.checkBoxMode) {
        const superbtn::Offset o = superbtn::PressOffset(props_.pressStyle, Host().Scale());
        OffsetRect(&c, o.dx, o.dy);
    }
    superbtn::DrawCaptionText(dc, c, WideFromGbk(props_.caption), state.disabled, highContrast);
}

void SuperBtn::TrackMouse() {
    POINT cursor;
    if (!GetCursorPos(&cursor)) return;
    if (WindowFromPoint(cursor) != Hwnd()) {
        LeaveHot();
        return;
    }
    if (hot_) return;
    hot_ = true;
    InvalidateRect(Hwnd(), nullptr, TRUE);
    PlaySoundOf(props_.overSound);
    TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, Hwnd(), 0};
    _TrackMouseEvent(&tme);
}

void SuperBtn::LeaveHot() {
    if (!TracksHover() || !hot_) return;
    hot_ = false;
    InvalidateRect(Hwnd(), nullptr, TRUE);
}

void SuperBtn::PlaySoundOf(const Bytes& own) {
    if (props_.standardSound == 1) {
        Play(kClickSoundName, GetModuleHandleW(nullptr), SND_RESOURCE | kSoundFlags);
        return;
    }
    if (own.empty()) return;
    StopOwnSound();
    playing_ = own.data();
    Play(own.data(), nullptr, SND_MEMORY | kSoundFlags);
}

void SuperBtn::StopOwnSound() {
    if (!playing_) return;
    playing_ = nullptr;
    Play(nullptr, nullptr, 0);  // stops what is playing
}

void SuperBtn::EnsureToolTip() {
    if (toolTip_ || !Hwnd()) return;
    toolTip_.reset(Make("tooltip", [&] {
        return CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Hwnd(), nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    }));
    if (!toolTip_) return;
    SendMessageW(toolTip_.get(), TTM_ACTIVATE, FALSE, 0);
    SendMessageW(toolTip_.get(), TTM_SETMAXTIPWIDTH, 0, kMaxTipWidth);
}

void SuperBtn::UpdateToolTip() {
    if (props_.toolTip.empty()) {
        if (toolTip_ && toolAdded_) {
            TTTOOLINFOW ti{};
            ti.cbSize = sizeof ti;
            ti.hwnd = Hwnd();
            ti.uId = kToolId;
            SendMessageW(toolTip_.get(), TTM_DELTOOLW, 0, message::PointerParam(&ti));
            toolAdded_ = false;
        }
        return;
    }
    EnsureToolTip();
    if (!toolTip_) return;
    std::wstring text = WideFromGbk(props_.toolTip);
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = Hwnd();
    ti.uId = kToolId;
    GetClientRect(Hwnd(), &ti.rect);
    ti.lpszText = text.data();
    if (!toolAdded_)
        toolAdded_ = SendMessageW(toolTip_.get(), TTM_ADDTOOLW, 0, message::PointerParam(&ti)) != 0;
    else
        SendMessageW(toolTip_.get(), TTM_UPDATETIPTEXTW, 0, message::PointerParam(&ti));
    SendMessageW(toolTip_.get(), TTM_ACTIVATE, TRUE, 0);
}

bool SuperBtn::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) {
        if (toolTip_) {
            MSG m{Hwnd(), msg, wParam, lParam, static_cast<DWORD>(GetMessageTime()), {}};
            m.pt = message::PackedPoint(GetMessagePos());
            SendMessageW(toolTip_.get(), TTM_RELAYEVENT, 0, message::PointerParam(&m));
        }
    }
    switch (msg) {
    case kMsgDefaultAction:
        Clicked();
        result = 0;
        return true;
    case WM_LBUTTONDBLCLK:
        // An owner-drawn button turns the second of two quick clicks into a double-click
        // notice and no click; every press is a click here.
        result = Default(WM_LBUTTONDOWN, wParam, lParam);
        return true;
    case WM_MOUSEMOVE:
        if (TracksHover() && (hot_ || !(wParam & MK_LBUTTON))) TrackMouse();
        return false;
    case WM_KILLFOCUS:
        // The system takes the focus from a window it disables, before WM_ENABLE.
        focusTakenByDisable_ = !IsWindowEnabled(Hwnd()) && wParam == 0;
        LeaveHot();
        return false;
    case WM_MOUSELEAVE:
    case WM_CANCELMODE:
        LeaveHot();
        return false;
    case WM_ENABLE:
        if (!wParam) {
            // The focus goes on to the next control rather than nowhere.
            const bool hadFocus = GetFocus() == Hwnd() || (focusTakenByDisable_ && GetFocus() == nullptr);
            focusTakenByDisable_ = false;
            if (hadFocus) {
                HWND parent = GetParent(Hwnd());
                HWND next = GetNextDlgTabItem(parent, Hwnd(), FALSE);
                SetFocus(next && next != Hwnd() ? next : parent);
            }
            LeaveHot();
        }
        return false;
    case WM_SIZE:
        if (toolTip_ && toolAdded_) {
            // The tool covers the client rectangle, whatever size the button takes.
            TTTOOLINFOW ti{};
            ti.cbSize = sizeof ti;
            ti.hwnd = Hwnd();
            ti.uId = kToolId;
            GetClientRect(Hwnd(), &ti.rect);
            SendMessageW(toolTip_.get(), TTM_NEWTOOLRECTW, 0, message::PointerParam(&ti));
        }
        return false;
    case WM_DESTROY:
        // An owned popup may already have gone with the top-level window.
        if (toolTip_ && !IsWindow(toolTip_.get())) toolTip_.Forget();
        toolTip_.reset();
        toolAdded_ = false;
        return false;
    case WM_GETDLGCODE:
        result = Default(msg, wParam, lParam) | (DefaultButton() ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
        return true;
    case BM_SETSTYLE:
        // Keep owner drawing whatever kind is asked for.
        kind_ = message::ButtonStyle(wParam) & kButtonKindMask;
        result = Default(msg, message::FromButtonStyle(OwnerDrawStyle(message::ButtonStyle(wParam))), lParam);
        return true;
    case BM_SETCHECK:
        if (!CheckBoxMode()) return false;
        props_.checked = (wParam == BST_CHECKED || wParam == BST_INDETERMINATE) ? 1 : 0;
        InvalidateRect(Hwnd(), nullptr, TRUE);
        result = 0;
        return true;
    case BM_GETCHECK:
        if (!CheckBoxMode()) return false;
        result = props_.checked;
        return true;
    default:
        return false;
    }
}

void SuperBtn::Clicked() {
    // A disabled button takes no click, whoever sends it one.
    if (!IsWindowEnabled(Hwnd())) return;
    PlaySoundOf(props_.clickSound);
    if (CheckBoxMode()) {
        props_.checked = props_.checked == 1 ? 0 : 1;
        InvalidateRect(Hwnd(), nullptr, TRUE);
    }
    Raise(events::kClicked);
}

long SuperBtn::AccRole() const { return CheckBoxMode() ? ROLE_SYSTEM_CHECKBUTTON : ROLE_SYSTEM_PUSHBUTTON; }

std::wstring SuperBtn::AccName() const { return WideFromGbk(props_.caption.empty() ? props_.toolTip : props_.caption); }

std::wstring SuperBtn::AccDescription() const { return WideFromGbk(props_.toolTip); }

long SuperBtn::AccState(long systemState) const {
    long state = systemState & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN);
    if (!IsWindowEnabled(Hwnd())) return state | STATE_SYSTEM_UNAVAILABLE;
    state |= STATE_SYSTEM_FOCUSABLE;
    if (GetFocus() == Hwnd()) state |= STATE_SYSTEM_FOCUSED;
    if (hot_ && TracksHover()) state |= STATE_SYSTEM_HOTTRACKED;
    const bool held = (SendMessageW(Hwnd(), BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
    if (held || (CheckBoxMode() && props_.checked == 1)) state |= CheckBoxMode() ? STATE_SYSTEM_CHECKED : STATE_SYSTEM_PRESSED;
    return state;
}

std::wstring SuperBtn::AccDefaultAction() const { return WideFromGbk("按下"); }

bool SuperBtn::AccDoDefaultAction() {
    // Later, from the message loop: the screen reader's call returns at once, and the routine
    // runs as it does for a click.
    if (!IsWindowEnabled(Hwnd())) return false;
    PostMessageW(Hwnd(), kMsgDefaultAction, 0, 0);
    return true;
}

bool SuperBtn::OnReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
    case WM_DRAWITEM:
        Draw(message::DrawItem(lParam));
        result = TRUE;
        return true;
    case WM_CTLCOLORBTN:
        result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));  // stock, not ours: we paint the face
        return true;
    case WM_COMMAND:
        if (message::CommandCode(wParam) != BN_CLICKED) return false;
        result = 0;
        Clicked();
        return true;
    default:
        return false;
    }
}

}  // namespace qelvane

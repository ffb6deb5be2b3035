#include "ui/components/Controls.h"

#include <algorithm>
#include <vector>

#include "base/Gbk.h"
#include "ui/system/ColourScheme.h"

namespace qelvane {
namespace {
WindowClass labelClass{L"Qelvane.TransLabel", CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, nullptr};
}  // namespace

bool TransLabel::Build(const CreateArgs& args) {
    if (!CreateWindowFor(args, {nullptr, &labelClass, ChildStyle(args.entry), WS_EX_TRANSPARENT,
                                WideFromGbk(props_.caption)}))
        return false;
    Component::ApplyFont(props_.font);
    MarkLiveRegion(Hwnd());
    announced_ = AccName();
    return true;
}

std::wstring TransLabel::AccName() const {
    const int length = GetWindowTextLengthW(Hwnd());
    std::wstring text(static_cast<std::size_t>(std::max(length, 0)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(Hwnd(), text.data(), length + 1)));
    return text;
}

void TransLabel::Paint(HDC dc) {
    const int length = GetWindowTextLengthW(Hwnd());
    if (length <= 0) return;
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(Hwnd(), text.data(), length + 1)));

    ScopedSelect font(dc, Font());
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
    // The effects' offsets grow with the display's scale, as the text does.
    const int one = Host().Scale().ToDevice(1), two = Host().Scale().ToDevice(2);
    int dx = 0, dy = 0;
    // The label lies on the window's face. High contrast has no white or black shadows.
    const SchemeColours& scheme = CurrentScheme();
    switch (scheme.highContrast ? 0 : props_.textEffect) {
    case 1: draw(RGB(255, 255, 255), one, one); break;
    case 2: draw(RGB(255, 255, 255), 0, 0); dx = dy = one; break;
    case 3: draw(RGB(0, 0, 0), two, two); break;
    default: break;
    }
    draw(TextColourFor(props_.textColor, scheme.face, scheme), dx, dy);
}

namespace {

// Visible descendants of `parent`, each window's own descendants before it,
// its children taken from the top of the Z order down.
void CollectVisibleBelow(HWND parent, std::vector<HWND>& out) {
    for (HWND child = GetTopWindow(parent); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child)) continue;
        CollectVisibleBelow(child, out);
        out.push_back(child);
    }
}

}  // namespace

// The label has no background: before its new text is drawn, everything
// beneath it is repainted, bottom of the Z order first and each parent before
// its children, or old text would stay under the new.
void TransLabel::Repaint() {
    HWND top = Hwnd();
    while ((GetWindowLongW(top, GWL_STYLE) & (WS_POPUP | WS_CHILD)) == WS_CHILD) {
        HWND parent = GetParent(top);
        if (!parent) break;
        top = parent;
    }

    RECT screen;
    GetClientRect(Hwnd(), &screen);
    MapWindowPoints(Hwnd(), HWND_DESKTOP, reinterpret_cast<POINT*>(&screen), 2);
    RECT inTop = screen;
    MapWindowPoints(HWND_DESKTOP, top, reinterpret_cast<POINT*>(&inTop), 2);
    InvalidateRect(top, &inTop, TRUE);
    UpdateWindow(top);

    std::vector<HWND> below;
    CollectVisibleBelow(top, below);
    for (auto it = below.rbegin(); it != below.rend(); ++it) {
        RECT window, overlap;
        GetWindowRect(*it, &window);
        if (!IntersectRect(&overlap, &window, &screen)) continue;
        MapWindowPoints(HWND_DESKTOP, *it, reinterpret_cast<POINT*>(&overlap), 2);
        RedrawWindow(*it, &overlap, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ERASENOW | RDW_FRAME);
    }
    InvalidateRect(Hwnd(), nullptr, FALSE);
}

void TransLabel::ApplyCaption(const Text& caption) {
    Component::ApplyCaption(caption);
    Repaint();
    // Screen readers hear of it once the routine that set it is done: a routine may set the
    // label more than once on its way, and the same price again is no news.
    if (!announcePending_) announcePending_ = PostMessageW(Hwnd(), kMsgAnnounce, 0, 0) != FALSE;
}

void TransLabel::Announce() {
    announcePending_ = false;
    std::wstring now = AccName();
    if (now == announced_) return;
    announced_ = std::move(now);
    NotifyNameChanged(Hwnd());
    NotifyLiveRegionChanged(Hwnd());
}

void TransLabel::ApplyFont(const Bytes& font) {
    Component::ApplyFont(font);
    Repaint();
}

bool TransLabel::OnMessage(UINT msg, WPARAM, LPARAM, LRESULT& result) {
    if (msg == kMsgAnnounce) {
        Announce();
        result = 0;
        return true;
    }
    if (msg == WM_DESTROY) {
        ForgetLiveRegion(Hwnd());
        return false;
    }
    if (msg != WM_MOVE) return false;
    Repaint();
    result = 0;
    return true;
}

}  // namespace qelvane

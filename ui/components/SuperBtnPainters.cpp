#include "ui/components/SuperBtnPainters.h"

#include <iterator>

#include "base/WinHandles.h"
#include "ui/components/SuperBtnLayout.h"
#include "ui/system/ColourScheme.h"

namespace qelvane::superbtn {
namespace {

void FillBox(HDC dc, int left, int top, int right, int bottom, int sysColour) {
    const RECT r{left, top, right, bottom};
    FillRect(dc, &r, GetSysColorBrush(sysColour));  // system brush, not ours
}

// A 1-pixel edge: `topLeft` on the top and left lines, `bottomRight` on the others.
void Edge(HDC dc, const RECT& r, int topLeft, int bottomRight) {
    FillBox(dc, r.left, r.top, r.right - 1, r.top + 1, topLeft);
    FillBox(dc, r.left, r.top, r.left + 1, r.bottom - 1, topLeft);
    FillBox(dc, r.left, r.bottom - 1, r.right, r.bottom, bottomRight);
    FillBox(dc, r.right - 1, r.top, r.right, r.bottom, bottomRight);
}

}  // namespace

HBRUSH LineBrush(const Look& look) {
    return look.highContrast ? GetSysColorBrush(COLOR_BTNTEXT)                  // system brush
                             : static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));  // stock
}

namespace {

// A face brush that cannot be made leaves the face as it is: a null brush would fill with
// whatever the DC holds.
void FillFace(HDC dc, const RECT& r, const Look& look) {
    UniqueBrush fill(Make(look.lit ? "image button's hot face" : "image button's face",
                          [&] { return CreateSolidBrush(look.face); }));
    if (fill) FillRect(dc, &r, fill.get());
}

void NoOutline(HDC, RECT&, const Look&) {}
// 3-D: a black line round the focused or default button, inside which the rest is drawn.
void BlackOutline(HDC dc, RECT& r, const Look& look) {
    if (!look.focused && !look.isDefault) return;
    FrameRect(dc, &r, LineBrush(look));
    InflateRect(&r, -1, -1);
}

// XP: the lit face is a rounded box with a black line.
void RoundFace(HDC dc, const RECT& r, const Look& look) {
    if (!look.lit) {
        FillFace(dc, r, look);
        return;
    }
    UniqueBrush fill(Make("image button's hot face", [&] { return CreateSolidBrush(look.face); }));
    if (!fill) return;
    ScopedSelect pen(dc, GetStockObject(look.highContrast ? DC_PEN : BLACK_PEN));  // stock
    if (look.highContrast) SetDCPenColor(dc, GetSysColor(COLOR_BTNTEXT));
    ScopedSelect brush(dc, fill.get());
    const int corner = look.scale.ToDevice(8);
    RoundRect(dc, r.left, r.top, r.right, r.bottom, corner, corner);
}

// Flat: a sunken edge when pressed, a raised one while hot, both only with DrawBorder.
void FlatEdge(HDC dc, RECT& r, const Look& look) {
    if (!look.drawBorder) return;
    if (look.pressed)
        Edge(dc, r, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
    else if (look.hot)
        Edge(dc, r, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
}
// 3-D: a shadow line when pressed, a double raised edge otherwise.
void RaisedEdge(HDC dc, RECT& r, const Look& look) {
    if (look.pressed) {
        FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNSHADOW));  // system brush
        return;
    }
    Edge(dc, r, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW);
    RECT inner = r;
    InflateRect(&inner, -1, -1);
    Edge(dc, inner, COLOR_3DLIGHT, COLOR_BTNSHADOW);
}
void NoEdge(HDC, RECT&, const Look&) {}

constexpr StylePainter kStylePainters[] = {
    {&NoOutline, &FillFace, &FlatEdge, false},       // 0 flat
    {&BlackOutline, &FillFace, &RaisedEdge, true},   // 1 3-D
    {&NoOutline, &RoundFace, &NoEdge, false},        // 2 XP
};


}  // namespace

const StylePainter& PainterFor(int btnStyle) {
    const bool known = btnStyle >= 0 && btnStyle < static_cast<int>(std::size(kStylePainters));
    return kStylePainters[known ? btnStyle : 0];
}

void DrawCaptionText(HDC dc, const RECT& c, const std::wstring& text, bool disabled, bool highContrast) {
    const int n = static_cast<int>(text.size());
    RECT measured = c;
    DrawTextW(dc, text.c_str(), n, &measured, DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
    const int mw = measured.right - measured.left, mh = measured.bottom - measured.top;
    RECT t;
    t.left = c.left + Centred(c.right - c.left, mw);
    t.top = c.top + Centred(c.bottom - c.top, mh);
    t.right = t.left + mw;
    t.bottom = t.top + mh;
    if (disabled && highContrast) {
        SetTextColor(dc, CurrentScheme().grayText);
    } else if (disabled) {
        RECT lit = t;
        OffsetRect(&lit, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawTextW(dc, text.c_str(), n, &lit, DT_WORDBREAK | DT_CENTER);
        SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    }
    DrawTextW(dc, text.c_str(), n, &t, DT_WORDBREAK | DT_CENTER);
}

}  // namespace qelvane::superbtn

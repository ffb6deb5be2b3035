// The looks of the image button (`BtnStyle` 0 flat, 1 3-D, 2 XP): each draws the outline, the
// face and the edge of the button, in GDI, from what it is told of the button.
#pragma once

#include <windows.h>

#include <string>

#include "ui/system/DisplayScale.h"

namespace qelvane::superbtn {

// What a painter needs to know of the button being drawn.
struct Look {
    bool lit;  // hot or pressed: the face takes the "in" colours
    bool pressed;
    bool hot;
    bool focused;
    bool isDefault;
    bool drawBorder;
    COLORREF face;
    DisplayScale scale;
    bool highContrast;  // lines in the button-text colour, not black
};

// How each BtnStyle draws: the outline before the face, the face, the edge over it, and
// whether the focused button shows a focus rectangle whatever DrawFocus says.
struct StylePainter {
    void (*outline)(HDC, RECT&, const Look&);
    void (*face)(HDC, const RECT&, const Look&);
    void (*edge)(HDC, RECT&, const Look&);
    bool alwaysShowsFocus;
};
// The painter of a style; a style outside the table (a block may hold one) draws flat.
const StylePainter& PainterFor(int btnStyle);

// The brush of the lines the looks draw in black; in high contrast the scheme's button text.
HBRUSH LineBrush(const Look& look);

// The caption, centred in `box` and wrapped at words; disabled, embossed (in high contrast, in
// the scheme's grey text). The text colour is the caller's.
void DrawCaptionText(HDC dc, const RECT& box, const std::wstring& text, bool disabled, bool highContrast);

}  // namespace qelvane::superbtn

// A picture made ready for drawing with a transparent colour: the bitmap with its transparent
// pixels turned black, and the mask that is 1 where they were, at the display's scale.
#pragma once

#include <windows.h>

#include <cstdint>

#include "base/WinHandles.h"
#include "ui/form/FormModel.h"
#include "ui/system/DisplayScale.h"

namespace qelvane {

struct KeyedBitmap {
    UniqueBitmap image;
    UniqueBitmap mask;
    int width = 0;
    int height = 0;
    explicit operator bool() const { return static_cast<bool>(image); }
};

// `transparent` is a colour 0x00BBGGRR, or kSystemFaceColour for the colour of the top-left
// pixel. Nothing (a false KeyedBitmap) for no bytes or bytes that do not decode.
KeyedBitmap MakeKeyedBitmap(const Bytes& bytes, std::uint32_t transparent, const DisplayScale& scale);

// Draws it with its top-left corner at (x, y), the transparent pixels leaving what is there;
// `greyed`: the picture greyed and embossed, as a disabled control shows it.
void DrawKeyedBitmap(HDC dc, const KeyedBitmap& picture, int x, int y, bool greyed);

}  // namespace qelvane

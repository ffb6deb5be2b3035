// Drawing decoded pictures into device contexts, and device bitmaps for the
// image buttons.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "base/WinHandles.h"
#include "ui/pictures/Picture.h"

namespace qelvane {

// Draws with the top-left corner at (x, y); a width or height of -1 is the
// picture's own. Transparent pixels are blended over `background`.
void DrawPicture(const DecodedPicture& picture, HDC dc, int x, int y, int width, int height,
                 COLORREF background);

// The header of a 32-bit bitmap of width x height, top row first: the layout our pixels have.
inline BITMAPINFO TopDownDib32(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// A device bitmap of the picture at its own size, transparency over white;
// empty when the bytes are no picture.
UniqueBitmap PictureToBitmap(const std::uint8_t* bytes, std::size_t count);

// A device bitmap of width x height top-down 0x00RRGGBB pixels.
UniqueBitmap BitmapFromPixels(const std::uint32_t* pixels, int width, int height);

}  // namespace qelvane

// Drawing decoded pictures into device contexts, and device bitmaps for the
// image buttons.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "base/WinHandles.h"
#include "ui/components/Picture.h"

namespace qelvane {

// Draws with the top-left corner at (x, y); a width or height of -1 is the
// picture's own. Transparent pixels are blended over `background`.
void DrawPicture(const DecodedPicture& picture, HDC dc, int x, int y, int width, int height,
                 COLORREF background);

// A device bitmap of the picture at its own size, transparency over white;
// empty when the bytes are no picture.
UniqueBitmap PictureToBitmap(const std::uint8_t* bytes, std::size_t count);

}  // namespace qelvane

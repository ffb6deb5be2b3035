#include "ui/components/PictureDraw.h"

namespace qelvane {

void DrawPicture(const DecodedPicture&, HDC, int, int, int, int, COLORREF) {}

UniqueBitmap PictureToBitmap(const std::uint8_t*, std::size_t) {
    return UniqueBitmap();
}

}  // namespace qelvane

// libFuzzer target for the picture decoder. Built and run by scripts/fuzz-picture.
// Anything may be refused; what is accepted must be a whole picture within the
// bounds, and blending and laying it out must stay sane.

#include <cstdint>
#include <cstdlib>

#include "ui/pictures/Picture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qelvane;
    std::optional<DecodedPicture> p = DecodePicture(data, size);
    if (!p) return 0;
    if (p->width < 1 || p->height < 1 || p->width > kMaxPictureSide || p->height > kMaxPictureSide) std::abort();
    if (static_cast<std::size_t>(p->width) * p->height > kMaxPicturePixels) std::abort();
    if (p->bgra.size() != static_cast<std::size_t>(p->width) * p->height * 4) std::abort();
    if (p->format != SniffPicture(data, size)) std::abort();
    if (p->bitsPerPixel == 24)
        for (std::size_t i = 3; i < p->bgra.size(); i += 4)
            if (p->bgra[i] != 255) std::abort();

    BlendOverBackground(*p, 0x00F0F0F0);
    for (std::size_t i = 3; i < p->bgra.size(); i += 4)
        if (p->bgra[i] != 255) std::abort();

    for (int mode = 0; mode <= 2; ++mode) {
        const PictureRect r = PictureLayout(mode, 95, 95, p->width, p->height);
        if (mode == 2 && (r.x < 0 || r.y < 0 || r.x + r.width > 95 || r.y + r.height > 95)) std::abort();
    }
    return 0;
}

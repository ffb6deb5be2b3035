#include "ui/pictures/KeyedBitmap.h"

#include <vector>

#include "base/Messages.h"
#include "ui/pictures/PictureDraw.h"
#include "ui/pictures/PictureScale.h"

namespace qelvane {

KeyedBitmap MakeKeyedBitmap(const Bytes& bytes, std::uint32_t transparent, const DisplayScale& scale) {
    KeyedBitmap p;
    if (bytes.empty()) return p;
    UniqueBitmap image = PictureToBitmap(bytes.data(), bytes.size());
    BITMAP info{};
    if (!image || !GetObjectW(image.get(), sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0) return p;
    KeyedPixels keyed{info.bmWidth, info.bmHeight, {}, {}};
    const std::size_t count = static_cast<std::size_t>(keyed.width) * static_cast<std::size_t>(keyed.height);
    keyed.colours.resize(count);
    keyed.clear.assign(count, 0);
    {
        UniqueDc dc(Make("keyed picture's DC", [] { return CreateCompatibleDC(nullptr); }));
        BITMAPINFO bi = TopDownDib32(keyed.width, keyed.height);
        if (!dc || GetDIBits(dc.get(), image.get(), 0, static_cast<UINT>(keyed.height), keyed.colours.data(), &bi,
                             DIB_RGB_COLORS) != keyed.height)
            return p;
    }
    // Pixels read as 0x00RRGGBB; the colour property is 0x00BBGGRR.
    auto toDib = [](std::uint32_t c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); };
    const std::uint32_t key = transparent == kSystemFaceColour ? keyed.colours[0] & 0xFFFFFF : toDib(transparent);
    for (std::size_t i = 0; i < count; ++i) {
        if ((keyed.colours[i] & 0xFFFFFF) != key) continue;
        keyed.clear[i] = 1;
        keyed.colours[i] = 0;
    }
    // Drawn from the source at the display's scale, so that the picture keeps its place
    // beside the scaled caption and stays smooth.
    if (scale.dpi != 96) keyed = ResampleKeyed(keyed, scale.ToDevice(keyed.width), scale.ToDevice(keyed.height));
    const int w = keyed.width, h = keyed.height;
    if (w <= 0 || h <= 0) return p;

    const std::size_t stride = (static_cast<std::size_t>(w) + 15) / 16 * 2;  // mono rows are word-aligned
    std::vector<std::uint8_t> maskBits(stride * static_cast<std::size_t>(h), 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (keyed.clear[static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x)])
                maskBits[static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x) / 8] |=
                    static_cast<std::uint8_t>(0x80u >> (x % 8));
    UniqueBitmap keyedImage = BitmapFromPixels(keyed.colours.data(), w, h);
    UniqueBitmap mask(Make("keyed picture's mask", [&] { return CreateBitmap(w, h, 1, 1, maskBits.data()); }));
    if (!keyedImage || !mask) return p;
    p.image = std::move(keyedImage);
    p.mask = std::move(mask);
    p.width = w;
    p.height = h;
    return p;
}

void DrawKeyedBitmap(HDC dc, const KeyedBitmap& pic, int x, int y, bool greyed) {
    if (greyed) {
        DrawStateW(dc, nullptr, nullptr, message::HandleLParam(pic.image.get()), 0, x, y, pic.width, pic.height,
                   DST_BITMAP | DSS_DISABLED);
        return;
    }
    UniqueDc memory(Make("keyed picture's DC", [&] { return CreateCompatibleDC(dc); }));
    if (!memory) return;
    // The mask ANDed (1 keeps what is there, 0 clears), then the picture ORed over it.
    const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    const COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
    {
        ScopedSelect mask(memory.get(), pic.mask.get());
        BitBlt(dc, x, y, pic.width, pic.height, memory.get(), 0, 0, SRCAND);
    }
    {
        ScopedSelect image(memory.get(), pic.image.get());
        BitBlt(dc, x, y, pic.width, pic.height, memory.get(), 0, 0, SRCPAINT);
    }
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);
}

}  // namespace qelvane

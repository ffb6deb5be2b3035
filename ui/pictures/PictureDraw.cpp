#include "ui/pictures/PictureDraw.h"

namespace qelvane {
namespace {

// The screen's DC, given back to the system with its owner.
class ScreenDc {
public:
    ScreenDc() : dc_(GetDC(nullptr)) {}
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    ~ScreenDc() {
        if (dc_) ReleaseDC(nullptr, dc_);
    }
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

// A bitmap compatible with `dc` holding top-down 32-bit pixels.
UniqueBitmap CompatibleBitmap(HDC dc, const void* pixels, int width, int height) {
    BITMAPINFO info = TopDownDib32(width, height);
    UniqueBitmap bitmap(Make("picture's bitmap", [&] { return CreateCompatibleBitmap(dc, width, height); }));
    if (!bitmap || SetDIBits(dc, bitmap.get(), 0, static_cast<UINT>(height), pixels, &info, DIB_RGB_COLORS) != height)
        return UniqueBitmap();
    return bitmap;
}

bool HasTransparency(const DecodedPicture& picture) {
    if (picture.bitsPerPixel != 32) return false;
    for (std::size_t i = 3; i < picture.bgra.size(); i += 4)
        if (picture.bgra[i] != 255) return true;
    return false;
}

// A device bitmap compatible with `dc`, transparent pixels blended over `background`.
UniqueBitmap DeviceBitmap(const DecodedPicture& picture, HDC dc, COLORREF background) {
    if (picture.width <= 0 || picture.height <= 0 ||
        picture.bgra.size() != static_cast<std::size_t>(picture.width) * picture.height * 4)
        return UniqueBitmap();
    const void* bits = picture.bgra.data();
    DecodedPicture blended;
    if (HasTransparency(picture)) {
        blended = picture;
        BlendOverBackground(blended, background);
        bits = blended.bgra.data();
    }
    return CompatibleBitmap(dc, bits, picture.width, picture.height);
}

int StretchModeForDisplay() {
    DEVMODEW mode{};
    mode.dmSize = sizeof mode;
    if (EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode) && mode.dmBitsPerPel > 16) return HALFTONE;
    return COLORONCOLOR;
}

}  // namespace

void DrawPicture(const DecodedPicture& picture, HDC dc, int x, int y, int width, int height,
                 COLORREF background) {
    if (!dc) return;
    if (width == -1) width = picture.width;
    if (height == -1) height = picture.height;
    if (width <= 0 || height <= 0) return;
    UniqueBitmap bitmap = DeviceBitmap(picture, dc, background);
    if (!bitmap) return;
    UniqueDc source(Make("picture's DC", [&] { return CreateCompatibleDC(dc); }));
    if (!source) return;
    ScopedSelect selected(source.get(), bitmap.get());

    const int previousMode = SetStretchBltMode(dc, StretchModeForDisplay());
    POINT previousOrigin{};
    SetBrushOrgEx(dc, 0, 0, &previousOrigin);  // HALFTONE wants the origin reset after the mode
    StretchBlt(dc, x, y, width, height, source.get(), 0, 0, picture.width, picture.height, SRCCOPY);
    SetBrushOrgEx(dc, previousOrigin.x, previousOrigin.y, nullptr);
    if (previousMode) SetStretchBltMode(dc, previousMode);
}

UniqueBitmap PictureToBitmap(const std::uint8_t* bytes, std::size_t count) {
    std::optional<DecodedPicture> picture = DecodePicture(bytes, count);
    if (!picture) return UniqueBitmap();
    ScreenDc screen;
    if (!screen.get()) return UniqueBitmap();
    return DeviceBitmap(*picture, screen.get(), RGB(255, 255, 255));
}

UniqueBitmap BitmapFromPixels(const std::uint32_t* pixels, int width, int height) {
    ScreenDc screen;
    if (!screen.get() || width <= 0 || height <= 0) return UniqueBitmap();
    return CompatibleBitmap(screen.get(), pixels, width, height);
}

}  // namespace qelvane

#include "ui/components/Picture.h"

namespace qelvane {
namespace {

std::uint16_t Word(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

}  // namespace

PictureFormat SniffPicture(const std::uint8_t* bytes, std::size_t count) {
    if (bytes == nullptr || count < 8) return PictureFormat::None;
    const std::uint8_t* b = bytes;
    if (b[0] == 0x42 && b[1] == 0x4D) return PictureFormat::Bmp;
    if (b[0] == 0xFF && b[1] == 0xD8) return PictureFormat::Jpeg;
    if (b[0] == 0x89 && b[1] == 0x50 && b[2] == 0x4E && b[3] == 0x47) return PictureFormat::Png;
    if (Word(b) == 0 && Word(b + 2) == 1 && Word(b + 4) >= 1) return PictureFormat::Ico;
    if (Word(b) == 0 && Word(b + 2) == 2 && Word(b + 4) >= 1) return PictureFormat::Cur;
    if (b[0] == 0x47 && b[1] == 0x49 && b[2] == 0x46 && b[3] == 0x38 && (b[4] == 0x37 || b[4] == 0x39) &&
        b[5] == 0x61)
        return PictureFormat::Gif;
    if (b[0] == 0x0A && b[1] <= 5 && b[2] == 1 && b[3] == 8) return PictureFormat::Pcx256;
    if (b[0] == 0x0A && b[1] == 3 && b[2] == 1 && b[3] == 1) return PictureFormat::PcxMono;
    return PictureFormat::None;
}

// Decoders arrive with libpng and libjpeg; until then nothing decodes.
std::optional<DecodedPicture> DecodePicture(const std::uint8_t*, std::size_t) {
    return std::nullopt;
}

void BlendOverBackground(DecodedPicture&, std::uint32_t) {}

}  // namespace qelvane

// The pictures the form carries, compiled in by the build: the QQ badge from resources/, the
// QR code made from the vendor's price list.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qelvane::embedded {

extern const std::uint8_t kQqBadgePng[];  // 超级按钮1 PicOut
extern const std::size_t kQqBadgePngSize;
extern const std::uint8_t kQrCode[];  // 图片框1 picture: a JPEG, or the vendor's own PNG or JPEG
extern const std::size_t kQrCodeSize;

}  // namespace qelvane::embedded

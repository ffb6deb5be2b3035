// The pictures the form carries, compiled in from resources/ by the build.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qelvane::embedded {

extern const std::uint8_t kQqBadgePng[];  // 超级按钮1 PicOut
extern const std::size_t kQqBadgePngSize;
extern const std::uint8_t kQrCodeJpg[];   // 图片框1 picture
extern const std::size_t kQrCodeJpgSize;

}  // namespace qelvane::embedded

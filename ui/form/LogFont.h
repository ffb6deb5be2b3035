// The 60-byte Windows LOGFONTA as stored in font properties, built and read
// field by field so that portable code needs no platform header.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "ui/form/ByteIo.h"

namespace qelvane {

inline constexpr std::size_t kLogFontSize = 60;
inline constexpr std::size_t kFaceNameSize = 32;

struct LogFontA {
    std::int32_t height = 0;
    std::int32_t width = 0;
    std::int32_t escapement = 0;
    std::int32_t orientation = 0;
    std::int32_t weight = 0;
    std::uint8_t italic = 0;
    std::uint8_t underline = 0;
    std::uint8_t strikeOut = 0;
    std::uint8_t charSet = 0;
    std::uint8_t outPrecision = 0;
    std::uint8_t clipPrecision = 0;
    std::uint8_t quality = 0;
    std::uint8_t pitchAndFamily = 0;
    std::string_view faceName;  // GBK; at most 31 bytes are kept, then the terminator
};

// The 60 stored bytes; the face field is zero-filled after the name.
inline Bytes LogFontBytes(const LogFontA& f) {
    ByteWriter w;
    w.I32(f.height);
    w.I32(f.width);
    w.I32(f.escapement);
    w.I32(f.orientation);
    w.I32(f.weight);
    const std::uint8_t smalls[] = {f.italic,       f.underline,     f.strikeOut, f.charSet,
                                   f.outPrecision, f.clipPrecision, f.quality,   f.pitchAndFamily};
    w.Raw(smalls);
    std::size_t n = std::min(f.faceName.size(), kFaceNameSize - 1);
    w.Raw({reinterpret_cast<const std::uint8_t*>(f.faceName.data()), n});
    w.Zeros(kFaceNameSize - n);
    return w.Take();
}

// The fields of a stored font; nothing unless it is exactly 60 bytes. The face
// name view points into `bytes` and stops at the first zero (or the field end).
inline std::optional<LogFontA> ParseLogFont(std::span<const std::uint8_t> bytes) {
    if (bytes.size() != kLogFontSize) return std::nullopt;
    ByteReader r(bytes);
    LogFontA f;
    f.height = r.I32();
    f.width = r.I32();
    f.escapement = r.I32();
    f.orientation = r.I32();
    f.weight = r.I32();
    auto smalls = r.Take(8);
    f.italic = smalls[0];
    f.underline = smalls[1];
    f.strikeOut = smalls[2];
    f.charSet = smalls[3];
    f.outPrecision = smalls[4];
    f.clipPrecision = smalls[5];
    f.quality = smalls[6];
    f.pitchAndFamily = smalls[7];
    auto face = r.Take(kFaceNameSize);
    auto end = std::find(face.begin(), face.end(), std::uint8_t{0});
    f.faceName = std::string_view(reinterpret_cast<const char*>(face.data()),
                                  static_cast<std::size_t>(end - face.begin()));
    return f;
}

}  // namespace qelvane

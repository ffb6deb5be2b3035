// Little-endian byte reading and writing for the stored form and its property
// blocks. The reader never reads past its input: a read that does not fit sets
// a sticky failure flag and yields zero or empty; later reads yield the same.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <string_view>
#include <utility>

#include "ui/form/FormModel.h"

namespace qelvane {

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> data) : data_(data) {}

    bool Ok() const { return ok_; }
    bool AtEnd() const { return ok_ && pos_ == data_.size(); }
    std::size_t Offset() const { return pos_; }
    std::size_t Remaining() const { return ok_ ? data_.size() - pos_ : 0; }
    // Marks the input as bad, e.g. when a value read is inconsistent.
    void Fail() { ok_ = false; }

    std::uint16_t U16();
    std::uint32_t U32();
    std::int32_t I32() { return static_cast<std::int32_t>(U32()); }

    // The next n bytes as a view into the input (empty on failure).
    std::span<const std::uint8_t> Take(std::uint64_t n);
    // A u32 byte count and that many bytes.
    Bytes CountedBlock();
    Text CountedText();
    // Bytes up to a zero byte, which is consumed and not returned.
    Text TerminatedText();
    // True when the next n bytes exist and are all zero; consumes them.
    bool ZeroBytes(std::uint64_t n);

private:
    std::span<const std::uint8_t> data_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};

// Appends little-endian values. A value that cannot be stored (a block longer
// than a u32 count, a terminated text holding a zero) sets the failure flag.
class ByteWriter {
public:
    bool Ok() const { return ok_; }
    void Fail() { ok_ = false; }
    const Bytes& Data() const { return data_; }
    Bytes Take() { return std::move(data_); }
    std::size_t Size() const { return data_.size(); }

    void U16(std::uint16_t v);
    void U32(std::uint32_t v);
    void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
    void Raw(std::span<const std::uint8_t> bytes);
    void Zeros(std::size_t n) { data_.insert(data_.end(), n, 0); }
    void CountedBlock(std::span<const std::uint8_t> bytes);
    void CountedText(std::string_view text);
    void TerminatedText(std::string_view text);
    // Overwrites a u32 written earlier (lengths known only afterwards).
    void PatchU32(std::size_t at, std::uint32_t v);

private:
    Bytes data_;
    bool ok_ = true;
};

// ---- definitions ----

inline std::uint16_t ByteReader::U16() {
    auto b = Take(2);
    if (b.empty()) return 0;
    return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}

inline std::uint32_t ByteReader::U32() {
    auto b = Take(4);
    if (b.empty()) return 0;
    return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
           (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}

inline std::span<const std::uint8_t> ByteReader::Take(std::uint64_t n) {
    if (!ok_ || n > data_.size() - pos_) {
        ok_ = false;
        return {};
    }
    auto out = data_.subspan(pos_, static_cast<std::size_t>(n));
    pos_ += static_cast<std::size_t>(n);
    return out;
}

inline Bytes ByteReader::CountedBlock() {
    std::uint32_t n = U32();
    auto b = Take(n);
    return Bytes(b.begin(), b.end());
}

inline Text ByteReader::CountedText() {
    std::uint32_t n = U32();
    auto b = Take(n);
    return Text(b.begin(), b.end());
}

inline Text ByteReader::TerminatedText() {
    if (!ok_) return {};
    auto rest = data_.subspan(pos_);
    auto zero = std::find(rest.begin(), rest.end(), std::uint8_t{0});
    if (zero == rest.end()) {
        ok_ = false;
        return {};
    }
    Text out(rest.begin(), zero);
    pos_ += out.size() + 1;
    return out;
}

inline bool ByteReader::ZeroBytes(std::uint64_t n) {
    auto b = Take(n);
    if (!ok_) return false;
    return std::all_of(b.begin(), b.end(), [](std::uint8_t v) { return v == 0; });
}

inline void ByteWriter::U16(std::uint16_t v) {
    data_.push_back(static_cast<std::uint8_t>(v));
    data_.push_back(static_cast<std::uint8_t>(v >> 8));
}

inline void ByteWriter::U32(std::uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) data_.push_back(static_cast<std::uint8_t>(v >> shift));
}

inline void ByteWriter::Raw(std::span<const std::uint8_t> bytes) {
    data_.insert(data_.end(), bytes.begin(), bytes.end());
}

inline void ByteWriter::CountedBlock(std::span<const std::uint8_t> bytes) {
    if (bytes.size() > std::numeric_limits<std::uint32_t>::max()) {
        ok_ = false;
        return;
    }
    U32(static_cast<std::uint32_t>(bytes.size()));
    Raw(bytes);
}

inline void ByteWriter::CountedText(std::string_view text) {
    CountedBlock({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

inline void ByteWriter::TerminatedText(std::string_view text) {
    // A zero inside would end the text early on reading.
    if (text.find('\0') != std::string_view::npos) ok_ = false;
    Raw({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    data_.push_back(0);
}

inline void ByteWriter::PatchU32(std::size_t at, std::uint32_t v) {
    if (at > data_.size() || data_.size() - at < 4) {
        ok_ = false;
        return;
    }
    for (int i = 0; i < 4; ++i) data_[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

}  // namespace qelvane

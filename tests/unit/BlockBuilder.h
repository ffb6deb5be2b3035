// Builds little-endian byte strings field by field for hand-made test inputs.
#pragma once

#include <cstdint>
#include <string_view>

#include "ui/form/FormModel.h"

namespace qelvane::testing {

class BlockBuilder {
public:
    BlockBuilder& W(std::uint32_t v) {
        for (int s = 0; s < 32; s += 8) bytes_.push_back(static_cast<std::uint8_t>(v >> s));
        return *this;
    }
    BlockBuilder& H(std::uint16_t v) {
        bytes_.push_back(static_cast<std::uint8_t>(v));
        bytes_.push_back(static_cast<std::uint8_t>(v >> 8));
        return *this;
    }
    // A counted text or block: u32 count, then the bytes.
    BlockBuilder& Str(std::string_view s) {
        W(static_cast<std::uint32_t>(s.size()));
        bytes_.insert(bytes_.end(), s.begin(), s.end());
        return *this;
    }
    operator Bytes() const { return bytes_; }

private:
    Bytes bytes_;
};

}  // namespace qelvane::testing

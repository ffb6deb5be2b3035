// Property blocks: the type-specific tail of each record, one reader and one
// writer per component type. Portable; no platform headers.
//
// Readers reset the properties to their defaults, then read the fields stored
// for the block's version. They accept every version up to the type's own and
// return false for a newer version, a truncated block or trailing bytes (the
// properties are then left at their defaults). An empty block (0 bytes) keeps
// every default.
//
// Writers write the type's own version unless told otherwise. An older version
// writes that version's fields only. A version above the type's own writes the
// own layout under that number, which every reader rejects (tests use it).
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "ui/FormModel.h"

namespace qelvane {

bool ReadBlock(std::span<const std::uint8_t> block, WindowProps& out);
bool ReadBlock(std::span<const std::uint8_t> block, TabProps& out);
bool ReadBlock(std::span<const std::uint8_t> block, RadioBoxProps& out);
bool ReadBlock(std::span<const std::uint8_t> block, ButtonProps& out);
bool ReadBlock(std::span<const std::uint8_t> block, TransLabelProps& out);
bool ReadBlock(std::span<const std::uint8_t> block, SuperBtnProps& out);
bool ReadBlock(std::span<const std::uint8_t> block, PicBoxProps& out);

Bytes WriteBlock(const WindowProps& p, std::uint32_t version = WindowProps::kVersion);
Bytes WriteBlock(const TabProps& p, std::uint32_t version = TabProps::kVersion);
Bytes WriteBlock(const RadioBoxProps& p, std::uint32_t version = RadioBoxProps::kVersion);
Bytes WriteBlock(const ButtonProps& p, std::uint32_t version = ButtonProps::kVersion);
Bytes WriteBlock(const TransLabelProps& p, std::uint32_t version = TransLabelProps::kVersion);
Bytes WriteBlock(const SuperBtnProps& p, std::uint32_t version = SuperBtnProps::kVersion);
Bytes WriteBlock(const PicBoxProps& p, std::uint32_t version = PicBoxProps::kVersion);

// ---- Whole TypeSettings, by type ----

// Whether `type` is one of the seven known type codes.
bool IsKnownType(TypeCode type);
// The type code the settings belong to.
TypeCode TypeOf(const TypeSettings& settings);
// The own block version of a known type (0 for an unknown one).
std::uint32_t OwnBlockVersion(TypeCode type);
// The version word a block starts with, or nothing when it is shorter than 4 bytes.
std::optional<std::uint32_t> BlockVersion(std::span<const std::uint8_t> block);

// Reads the block of a record of `type`; nothing for an unknown type or a
// block the type's reader rejects.
std::optional<TypeSettings> ReadTypeSettings(TypeCode type, std::span<const std::uint8_t> block);
// The settings' block at their type's own version.
Bytes WriteTypeSettings(const TypeSettings& settings);

// A Tab's PageCaptions as one byte block (the layout its property block uses:
// 16-bit count, 0xFFFF escaping to a 32-bit one, then counted texts). The
// reader wants exactly that and nothing after it.
Bytes WritePageCaptions(const std::vector<Text>& captions);
std::optional<std::vector<Text>> ReadPageCaptions(std::span<const std::uint8_t> block);

}  // namespace qelvane

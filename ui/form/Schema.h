// One schema per component type: its code, names, block version and one row per
// stored field, in the order its property block holds them. The block reader
// and writer, the property table by number and the form dump all walk these
// rows. Portable; no platform headers.
//
// Readers reset the properties to their defaults, then read the fields stored
// for the block's version. They accept every version up to the type's own and
// fail on a newer version, a truncated block or trailing bytes (the properties
// are then left at their defaults). An empty block (0 bytes) keeps every default.
//
// Writers write the type's own version unless told otherwise. An older version
// writes that version's fields only. A version above the type's own writes the
// own layout under that number, which every reader rejects (tests use it).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "ui/form/FormModel.h"

namespace qelvane {

// Declared value types of properties; the runtime converts by these.
enum class ValueType : std::uint32_t {
    Integer = 1001,
    Truth = 1003,
    String = 1005,  // text: GBK, zero-terminated in the slot
    Block = 1006,   // picture, font, sound, page captions: a byte block
};

struct PropertyInfo {
    const char* name;
    ValueType type;
    bool clamped = false;  // a written value is clamped into [min, max]
    std::int32_t min = 0;
    std::int32_t max = 0;
};

// A value as a component reads or receives it: integers and truth values in
// `number`, texts (GBK) and byte blocks in `bytes`.
struct PropertyValue {
    std::int32_t number = 0;
    std::string bytes;
};

// How a field is stored in the block.
enum class FieldKind : std::uint8_t {
    Int,       // 4 bytes, signed
    Colour,    // 4 bytes, unsigned
    Flag,      // 4 bytes, 0 or 1; a truth value
    Block,     // u32 count, bytes
    Font,      // a block holding a 60-byte LOGFONTA, or empty
    String,    // u32 count, GBK bytes
    Captions,  // u16 count (0xFFFF escapes to a u32), counted texts
};

// What writing the property does to a built component beyond storing the value.
enum class Effect : std::uint8_t {
    None,
    Repaint,  // the component's own repaint
    Restyle,  // the component's style bits follow the settings
    Caption,  // the window text follows
    Font,     // the font is made again
    Rebuild,  // the component is re-created from its settings
    Custom,   // code of the type's own, named by the row (`own`)
    // The common properties: the window layer moves, shows or enables the native window.
    Place,
    Show,
    Enable,
};

struct FieldRow {
    PropertyInfo info;
    std::int8_t number;  // property number (8 on); -1: stored, not offered as a property
    FieldKind kind;
    Effect effect = Effect::None;
    std::uint8_t since = 0;  // first block version that holds the field
    // Value of an Int field that an older, non-empty block does not hold, when
    // that differs from the default.
    std::optional<std::int32_t> absent = std::nullopt;
    void* (*at)(void* props) = nullptr;  // the field in a props value of the type
    std::uint8_t own = 0;  // for Effect::Custom: which of its type's own effects (OwnEffects.h)

    const void* In(const void* props) const { return at(const_cast<void*>(props)); }
};

struct TypeSchema {
    TypeCode code;
    const char* englishName;
    const char* chineseName;  // GBK
    std::uint32_t version;    // the block version written
    std::span<const FieldRow> rows;  // block order
    TypeSettings (*fresh)();  // the defaults
    bool holdsPages = false;  // its record carries a page list of the components on it

    // The row of property `number`, or null.
    const FieldRow* Property(std::int32_t number) const;
};

// The row of a property every component and the window share (0-7), over its ComponentEntry;
// null for any other number.
const FieldRow* CommonProperty(std::int32_t number);
// The schema of a type code, or null for an unknown one.
const TypeSchema* SchemaOf(TypeCode type);
// In the order of the TypeSettings alternatives.
std::span<const TypeSchema* const> AllSchemas();
const TypeSchema& SchemaOf(const TypeSettings& settings);
// The props value inside the settings, for the rows' `at`.
void* PropsIn(TypeSettings& settings);
const void* PropsIn(const TypeSettings& settings);

// One field as a property value, and a value stored into it. A Captions field
// travels as the page-captions block; a block that does not parse leaves the
// captions as they are, and no caption at all still leaves one page.
PropertyValue ReadRow(const FieldRow& row, const void* props);
void StoreRow(const FieldRow& row, void* props, const PropertyValue& value);

// ---- Property blocks ----

// Reads over the defaults already in `props`; the block's version, or nothing.
std::optional<std::uint32_t> ReadFields(const TypeSchema& schema, std::span<const std::uint8_t> block, void* props);
Bytes WriteFields(const TypeSchema& schema, const void* props, std::uint32_t version);

template <class P>
bool ReadBlock(std::span<const std::uint8_t> block, P& out) {
    out = P{};
    if (ReadFields(*SchemaOf(P::kCode), block, &out)) return true;
    out = P{};
    return false;
}

template <class P>
Bytes WriteBlock(const P& p, std::uint32_t version = P::kVersion) {
    return WriteFields(*SchemaOf(P::kCode), &p, version);
}

// Whether `type` is one of the known type codes.
bool IsKnownType(TypeCode type);
// Whether records of `type` carry a page list.
bool HoldsPages(TypeCode type);
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

// How a schema row is written: the field as a member pointer, from which its storage kind and
// value type follow. A field of a type the schema cannot store does not compile, and neither does
// an `absent` value on a field that is no integer. Used by the schemas (Schema.cpp) only.
#pragma once

#include <optional>
#include <type_traits>
#include <vector>

#include "ui/form/OwnEffects.h"
#include "ui/form/Schema.h"

namespace qelvane {

// Never defined: reached only while a row table is made (a constant expression), where it
// stops the build.
void AbsentNeedsAnIntegerField();

namespace rows {

template <class T>
struct MemberOf;
template <class C, class F>
struct MemberOf<F C::*> {
    using Class = C;
    using Field = F;
};

template <auto M>
void* FieldAt(void* props) {
    return &(static_cast<typename MemberOf<decltype(M)>::Class*>(props)->*M);
}

template <class F>
inline constexpr bool kUnknownField = false;

template <auto M>
constexpr FieldKind KindOf() {
    using F = typename MemberOf<decltype(M)>::Field;
    if constexpr (std::is_same_v<F, std::int32_t>) return FieldKind::Int;
    else if constexpr (std::is_same_v<F, std::uint32_t>) return FieldKind::Colour;
    else if constexpr (std::is_same_v<F, bool>) return FieldKind::Flag;
    else if constexpr (std::is_same_v<F, Bytes>) return FieldKind::Block;
    else if constexpr (std::is_same_v<F, Text>) return FieldKind::String;
    else if constexpr (std::is_same_v<F, std::vector<Text>>) return FieldKind::Captions;
    else static_assert(kUnknownField<F>, "a field of a type the schema cannot store: give it a FieldKind");
}

template <auto M>
constexpr ValueType ValueOf() {
    constexpr FieldKind kind = KindOf<M>();
    if constexpr (kind == FieldKind::String) return ValueType::String;
    else if constexpr (kind == FieldKind::Flag) return ValueType::Truth;
    else if constexpr (kind == FieldKind::Int || kind == FieldKind::Colour) return ValueType::Integer;
    else return ValueType::Block;
}


// Optional parts of a row.
struct Extra {
    Effect effect = Effect::None;
    std::uint8_t since = 0;
    std::optional<std::int32_t> absent = std::nullopt;
    std::uint8_t own = 0;
};

template <auto M>
constexpr FieldRow Row(const char* name, int number, Extra extra = {}) {
    constexpr FieldKind kind = KindOf<M>();
    if (extra.absent && kind != FieldKind::Int && kind != FieldKind::Colour) AbsentNeedsAnIntegerField();
    return {{name, ValueOf<M>()}, static_cast<std::int8_t>(number), kind, extra.effect, extra.since,
            extra.absent, &FieldAt<M>, extra.own};
}
template <auto M>
constexpr FieldRow Truth(const char* name, int number, Extra extra = {}) {
    FieldRow r = Row<M>(name, number, extra);
    r.info.type = ValueType::Truth;
    return r;
}
template <auto M>
constexpr FieldRow Choice(const char* name, int number, std::int32_t max, Extra extra = {}) {
    FieldRow r = Row<M>(name, number, extra);
    r.info = {name, ValueType::Integer, true, 0, max};
    return r;
}
// A font is a byte block read as a LOGFONTA.
template <auto M>
constexpr FieldRow FontRow(int number, Extra extra) {
    FieldRow r = Row<M>("font", number, extra);
    r.kind = FieldKind::Font;
    return r;
}

// Stored in the block, not offered as a property.
template <auto M>
constexpr FieldRow Stored(const char* name, std::uint8_t since = 0) {
    return Row<M>(name, -1, {.since = since});
}

constexpr Extra kRepaint{Effect::Repaint};
constexpr Extra kRestyle{Effect::Restyle};
constexpr Extra kCaption{Effect::Caption};
constexpr Extra kRebuild{Effect::Rebuild};
// An effect of the type's own (OwnEffects.h), from the block version `since` on.
template <class OwnEffect>
constexpr Extra Own(OwnEffect effect, std::uint8_t since = 0) {
    return {Effect::Custom, since, std::nullopt, static_cast<std::uint8_t>(effect)};
}

}  // namespace rows
}  // namespace qelvane

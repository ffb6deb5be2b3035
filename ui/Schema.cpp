#include "ui/Schema.h"

#include <algorithm>
#include <array>
#include <limits>
#include <type_traits>

#include "ui/ByteIo.h"

namespace qelvane {
namespace {

// ---- Rows: a field, how it is stored, and what kind of property it is ----

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

template <auto M>
constexpr FieldKind KindOf() {
    using F = typename MemberOf<decltype(M)>::Field;
    if constexpr (std::is_same_v<F, std::int32_t>) return FieldKind::Int;
    else if constexpr (std::is_same_v<F, std::uint32_t>) return FieldKind::Colour;
    else if constexpr (std::is_same_v<F, Bytes>) return FieldKind::Block;
    else if constexpr (std::is_same_v<F, Text>) return FieldKind::String;
    else return FieldKind::Captions;
}

template <auto M>
constexpr ValueType ValueOf() {
    constexpr FieldKind kind = KindOf<M>();
    if constexpr (kind == FieldKind::String) return ValueType::String;
    else if constexpr (kind == FieldKind::Int || kind == FieldKind::Colour) return ValueType::Integer;
    else return ValueType::Block;
}

// Optional parts of a row.
struct Extra {
    Effect effect = Effect::None;
    std::uint8_t since = 0;
    std::optional<std::int32_t> absent = std::nullopt;
};

template <auto M>
constexpr FieldRow Row(const char* name, int number, Extra extra = {}) {
    return {{name, ValueOf<M>()}, static_cast<std::int8_t>(number), KindOf<M>(), extra.effect, extra.since,
            extra.absent, &FieldAt<M>};
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
constexpr FieldRow FontRow(int number, Effect effect) {
    FieldRow r = Row<M>("font", number, {effect});
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
constexpr Extra kCustom{Effect::Custom};

template <class P>
TypeSettings Fresh() {
    return P{};
}

// ---- The schemas, each in its block order ----

using W = WindowProps;
constexpr FieldRow kWindowRows[] = {
    Stored<&W::border>("border"),
    Stored<&W::backPictureMode>("backPictureMode"),
    Stored<&W::backColor>("backColor"),
    Stored<&W::maxButton>("maxButton"),
    Stored<&W::minButton>("minButton"),
    Stored<&W::controlBox>("controlBox"),
    Stored<&W::startPosition>("startPosition"),
    Stored<&W::movable>("movable"),
    Stored<&W::soundPlayMode>("soundPlayMode"),
    Stored<&W::enterMovesFocus>("enterMovesFocus"),
    Stored<&W::escCloses>("escCloses"),
    Stored<&W::f1OpensHelp>("f1OpensHelp"),
    Stored<&W::helpContext>("helpContext"),
    Stored<&W::showInTaskbar>("showInTaskbar", 2),
    Stored<&W::dragByClient>("dragByClient", 3),
    Stored<&W::shape>("shape", 3),
    Stored<&W::alwaysOnTop>("alwaysOnTop", 4),
    Stored<&W::keepCaptionActive>("keepCaptionActive", 5),
    Stored<&W::className>("className", 6),
    Stored<&W::backPicture>("backPicture"),
    Stored<&W::icon>("icon"),
    Stored<&W::backSound>("backSound"),
    Stored<&W::title>("title"),
    Stored<&W::helpFile>("helpFile"),
};

using T = TabProps;
constexpr FieldRow kTabRows[] = {
    Choice<&T::headerPos>("HeaderPos", 8, 3, kCustom),
    Truth<&T::multiLine>("MultiLine", 9, kRestyle),
    Row<&T::currentPage>("CurrentPage", 12, kCustom),
    Truth<&T::hideHeader>("HideHeader", 13, {.since = 2}),
    // Blocks from before FillBack existed mean no fill.
    Truth<&T::fillBack>("FillBack", 14, {Effect::Repaint, 3, 0}),
    Row<&T::backColor>("BackColor", 15, {Effect::Repaint, 3}),
    FontRow<&T::font>(10, Effect::Custom),
    Row<&T::pageCaptions>("PageCaptions", 11, kRebuild),
};

using R = RadioBoxProps;
constexpr FieldRow kRadioBoxRows[] = {
    Truth<&R::pushLike>("PushLike", 9, kRestyle),
    Truth<&R::flat>("Flat", 10, kRestyle),
    Truth<&R::leftText>("LeftText", 12, kRestyle),
    Choice<&R::hAlign>("HAlign", 13, 2, kRestyle),
    Choice<&R::vAlign>("VAlign", 14, 2, kRestyle),
    Row<&R::textColor>("TextColor", 15, kRepaint),
    Row<&R::backColor>("BackColor", 16, kRepaint),
    Truth<&R::checked>("Checked", 18, kCustom),
    Row<&R::picture>("picture", 8, kRebuild),  // the control is rebuilt to show or drop it
    FontRow<&R::font>(17, Effect::Font),
    Row<&R::caption>("caption", 11, kCaption),
};

using B = ButtonProps;
constexpr FieldRow kButtonRows[] = {
    Choice<&B::buttonType>("ButtonType", 9, 1, kRestyle),
    Choice<&B::hAlign>("HAlign", 11, 2, kRestyle),
    Choice<&B::vAlign>("VAlign", 12, 2, kRestyle),
    Row<&B::picture>("picture", 8, kRebuild),
    FontRow<&B::font>(13, Effect::Font),
    Row<&B::caption>("caption", 10, kCaption),
};

using L = TransLabelProps;
constexpr FieldRow kTransLabelRows[] = {
    Choice<&L::textEffect>("TextEffect", 9, 3, kRepaint),
    Row<&L::textColor>("TextColor", 11, kRepaint),
    Choice<&L::hAlign>("HAlign", 12, 2, kRepaint),
    Choice<&L::vAlign>("VAlign", 14, 2, kRepaint),
    Truth<&L::wordWrap>("WordWrap", 13, kRepaint),
    FontRow<&L::font>(10, Effect::Font),
    Row<&L::caption>("caption", 8, kCaption),
};

using S = SuperBtnProps;
constexpr FieldRow kSuperBtnRows[] = {
    Choice<&S::btnStyle>("BtnStyle", 8, 2, kCustom),
    Truth<&S::checkBox>("CheckBox", 9, kCustom),
    Truth<&S::checked>("Checked", 10, kRepaint),
    Choice<&S::alignStyle>("AlignStyle", 11, 3, kRepaint),
    Choice<&S::pressStyle>("PressStyle", 12, 1, kRepaint),
    Truth<&S::drawBorder>("DrawBorder", 13, kRepaint),
    Truth<&S::drawFocus>("DrawFocus", 14, kRepaint),
    Row<&S::transColorIn>("TransColorIn", 18, kCustom),
    Row<&S::transColorOut>("TransColorOut", 16, kCustom),
    Truth<&S::defaultColor>("DefaultColor", 23, kRepaint),
    Truth<&S::standardSound>("StandardSound", 30),
    Choice<&S::defaultStyle>("DefaultStyle", 34, 1, kRebuild),
    Row<&S::fgColorOut>("FgColorOut", 24, kRepaint),
    Row<&S::bkColorOut>("BkColorOut", 25, kRepaint),
    Row<&S::fgColorIn>("FgColorIn", 26, kRepaint),
    Row<&S::bkColorIn>("BkColorIn", 27, kRepaint),
    Row<&S::fgColorFocus>("FgColorFocus", 28, kRepaint),
    Row<&S::bkColorFocus>("BkColorFocus", 29, kRepaint),
    Row<&S::picIn>("PicIn", 17, kCustom),
    Row<&S::picOut>("PicOut", 15, kCustom),
    FontRow<&S::font>(21, Effect::Font),
    Row<&S::overSound>("OverSound", 31, kCustom),
    Row<&S::clickSound>("ClickSound", 32, kCustom),
    Row<&S::caption>("caption", 22, kCaption),
    Row<&S::toolTip>("ToolTip", 33, kCustom),
    Row<&S::transColorDisabled>("TransColorDisabled", 20, {Effect::Custom, 2}),
    Row<&S::picDisabled>("PicDisabled", 19, {Effect::Custom, 2}),
};

using P = PicBoxProps;
constexpr FieldRow kPicBoxRows[] = {
    Choice<&P::border>("border", 8, 5, kRestyle),
    Row<&P::backColor>("BackColor", 9, kCustom),
    Choice<&P::drawMode>("DrawMode", 11, 2, kCustom),
    // Matters for animated GIFs only; the data binding is not ours to run.
    Truth<&P::playAnimation>("PlayAnimation", 12),
    Row<&P::picture>("picture", 10, kCustom),
    Row<&P::dataSource>("DataSource", 13, {.since = 2}),
    Row<&P::dataColumn>("DataColumn", 14, {.since = 2}),
};

template <class Props>
constexpr TypeSchema MakeSchema(const char* english, const char* chinese, std::span<const FieldRow> rows) {
    return {Props::kCode, english, chinese, Props::kVersion, rows, &Fresh<Props>};
}

template <class Props>
extern const TypeSchema kSchema;
template <>
constexpr TypeSchema kSchema<WindowProps> = MakeSchema<WindowProps>("window", "窗口", kWindowRows);
template <>
constexpr TypeSchema kSchema<TabProps> = MakeSchema<TabProps>("Tab", "选择夹", kTabRows);
template <>
constexpr TypeSchema kSchema<RadioBoxProps> = MakeSchema<RadioBoxProps>("RadioBox", "单选框", kRadioBoxRows);
template <>
constexpr TypeSchema kSchema<ButtonProps> = MakeSchema<ButtonProps>("Button", "按钮", kButtonRows);
template <>
constexpr TypeSchema kSchema<TransLabelProps> =
    MakeSchema<TransLabelProps>("TransLabel", "透明标签", kTransLabelRows);
template <>
constexpr TypeSchema kSchema<SuperBtnProps> = MakeSchema<SuperBtnProps>("SuperBtn", "超级按钮", kSuperBtnRows);
template <>
constexpr TypeSchema kSchema<PicBoxProps> = MakeSchema<PicBoxProps>("PicBox", "图片框", kPicBoxRows);

// One schema per alternative of TypeSettings, in its order: the variant is the one list of types.
template <class... Props>
constexpr std::array<const TypeSchema*, sizeof...(Props)> SchemasOf(const std::variant<Props...>*) {
    return {&kSchema<Props>...};
}
constexpr auto kAllSchemas = SchemasOf(static_cast<const TypeSettings*>(nullptr));

// ---- Field io ----

void ReadCaptions(ByteReader& r, std::vector<Text>& v) {
    std::uint64_t count = r.U16();
    if (count == 0xFFFF) {
        count = r.U32();
        // The escape is only written for counts that need it.
        if (count < 0xFFFF) r.Fail();
    }
    // Each text takes at least its 4-byte count.
    if (!r.Ok() || count > r.Remaining() / 4) {
        r.Fail();
        return;
    }
    v.clear();
    v.reserve(static_cast<std::size_t>(count));
    for (std::uint64_t i = 0; i < count && r.Ok(); ++i) v.push_back(r.CountedText());
}

void WriteCaptions(ByteWriter& w, const std::vector<Text>& v) {
    if (v.size() < 0xFFFF) {
        w.U16(static_cast<std::uint16_t>(v.size()));
    } else if (v.size() <= std::numeric_limits<std::uint32_t>::max()) {
        w.U16(0xFFFF);
        w.U32(static_cast<std::uint32_t>(v.size()));
    } else {
        w.Fail();
        return;
    }
    for (const Text& t : v) w.CountedText(t);
}

void ReadField(ByteReader& r, const FieldRow& row, void* props) {
    void* f = row.at(props);
    switch (row.kind) {
    case FieldKind::Int: *static_cast<std::int32_t*>(f) = r.I32(); break;
    case FieldKind::Colour: *static_cast<std::uint32_t*>(f) = r.U32(); break;
    case FieldKind::Block:
    case FieldKind::Font: *static_cast<Bytes*>(f) = r.CountedBlock(); break;
    case FieldKind::String: *static_cast<Text*>(f) = r.CountedText(); break;
    case FieldKind::Captions: ReadCaptions(r, *static_cast<std::vector<Text>*>(f)); break;
    }
}

void WriteField(ByteWriter& w, const FieldRow& row, const void* props) {
    const void* f = row.In(props);
    switch (row.kind) {
    case FieldKind::Int: w.I32(*static_cast<const std::int32_t*>(f)); break;
    case FieldKind::Colour: w.U32(*static_cast<const std::uint32_t*>(f)); break;
    case FieldKind::Block:
    case FieldKind::Font: w.CountedBlock(*static_cast<const Bytes*>(f)); break;
    case FieldKind::String: w.CountedText(*static_cast<const Text*>(f)); break;
    case FieldKind::Captions: WriteCaptions(w, *static_cast<const std::vector<Text>*>(f)); break;
    }
}

}  // namespace

const FieldRow* TypeSchema::Property(std::int32_t number) const {
    for (const FieldRow& row : rows)
        if (row.number >= 0 && row.number == number) return &row;
    return nullptr;
}

const TypeSchema* SchemaOf(TypeCode type) {
    for (const TypeSchema* s : kAllSchemas)
        if (s->code == type) return s;
    return nullptr;
}

std::span<const TypeSchema* const> AllSchemas() { return kAllSchemas; }

const TypeSchema& SchemaOf(const TypeSettings& settings) { return *kAllSchemas[settings.index()]; }

void* PropsIn(TypeSettings& settings) {
    return std::visit([](auto& p) -> void* { return &p; }, settings);
}

const void* PropsIn(const TypeSettings& settings) {
    return std::visit([](const auto& p) -> const void* { return &p; }, settings);
}

PropertyValue ReadRow(const FieldRow& row, const void* props) {
    const void* f = row.In(props);
    PropertyValue v;
    switch (row.kind) {
    case FieldKind::Int: v.number = *static_cast<const std::int32_t*>(f); break;
    case FieldKind::Colour: v.number = static_cast<std::int32_t>(*static_cast<const std::uint32_t*>(f)); break;
    case FieldKind::Block:
    case FieldKind::Font: {
        const Bytes& b = *static_cast<const Bytes*>(f);
        v.bytes.assign(b.begin(), b.end());
        break;
    }
    case FieldKind::String: v.bytes = *static_cast<const Text*>(f); break;
    case FieldKind::Captions: {
        const Bytes b = WritePageCaptions(*static_cast<const std::vector<Text>*>(f));
        v.bytes.assign(b.begin(), b.end());
        break;
    }
    }
    return v;
}

void StoreRow(const FieldRow& row, void* props, const PropertyValue& value) {
    void* f = row.at(props);
    switch (row.kind) {
    case FieldKind::Int: *static_cast<std::int32_t*>(f) = value.number; break;
    case FieldKind::Colour: *static_cast<std::uint32_t*>(f) = static_cast<std::uint32_t>(value.number); break;
    case FieldKind::Block:
    case FieldKind::Font: *static_cast<Bytes*>(f) = Bytes(value.bytes.begin(), value.bytes.end()); break;
    case FieldKind::String: *static_cast<Text*>(f) = value.bytes; break;
    case FieldKind::Captions:
        if (auto captions = ReadPageCaptions(
                {reinterpret_cast<const std::uint8_t*>(value.bytes.data()), value.bytes.size()})) {
            if (captions->empty()) captions->emplace_back();
            *static_cast<std::vector<Text>*>(f) = std::move(*captions);
        }
        break;
    }
}

std::optional<std::uint32_t> ReadFields(const TypeSchema& schema, std::span<const std::uint8_t> block,
                                        void* props) {
    if (block.empty()) return schema.version;
    ByteReader r(block);
    const std::uint32_t version = r.U32();
    if (!r.Ok() || version > schema.version) return std::nullopt;
    for (const FieldRow& row : schema.rows) {
        if (version >= row.since)
            ReadField(r, row, props);
        else if (row.absent)
            *static_cast<std::int32_t*>(row.at(props)) = *row.absent;
    }
    if (!r.AtEnd()) return std::nullopt;
    return version;
}

Bytes WriteFields(const TypeSchema& schema, const void* props, std::uint32_t version) {
    ByteWriter w;
    w.U32(version);
    const std::uint32_t fields = std::min(version, schema.version);
    for (const FieldRow& row : schema.rows)
        if (fields >= row.since) WriteField(w, row, props);
    if (!w.Ok()) return {};
    return w.Take();
}

bool IsKnownType(TypeCode type) { return SchemaOf(type) != nullptr; }

TypeCode TypeOf(const TypeSettings& settings) { return SchemaOf(settings).code; }

std::uint32_t OwnBlockVersion(TypeCode type) {
    const TypeSchema* s = SchemaOf(type);
    return s ? s->version : 0;
}

std::optional<std::uint32_t> BlockVersion(std::span<const std::uint8_t> block) {
    ByteReader r(block);
    std::uint32_t version = r.U32();
    if (!r.Ok()) return std::nullopt;
    return version;
}

std::optional<TypeSettings> ReadTypeSettings(TypeCode type, std::span<const std::uint8_t> block) {
    const TypeSchema* s = SchemaOf(type);
    if (!s) return std::nullopt;
    TypeSettings settings = s->fresh();
    if (!ReadFields(*s, block, PropsIn(settings))) return std::nullopt;
    return settings;
}

Bytes WriteTypeSettings(const TypeSettings& settings) {
    const TypeSchema& s = SchemaOf(settings);
    return WriteFields(s, PropsIn(settings), s.version);
}

Bytes WritePageCaptions(const std::vector<Text>& captions) {
    ByteWriter w;
    WriteCaptions(w, captions);
    return w.Ok() ? w.Take() : Bytes{};
}

std::optional<std::vector<Text>> ReadPageCaptions(std::span<const std::uint8_t> block) {
    ByteReader r(block);
    std::vector<Text> captions;
    ReadCaptions(r, captions);
    if (!r.Ok() || !r.AtEnd()) return std::nullopt;
    return captions;
}

}  // namespace qelvane

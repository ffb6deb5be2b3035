// The schemas of the component types and of the properties every component shares, and the
// one reader and writer that every row goes through: in property blocks, and as property values.
#include "ui/form/Schema.h"

#include <algorithm>
#include <array>
#include <limits>
#include <type_traits>

#include "ui/form/ByteIo.h"
#include "ui/form/SchemaRows.h"
#include "ui/form/PropertyNumbers.h"

namespace qelvane {
namespace {

using namespace rows;



// ---- The properties every component and the window share, over its record ----

using E = ComponentEntry;
constexpr std::int32_t kMaxExtent = 32627;
constexpr FieldRow kCommonRows[] = {
    Row<&E::left>("left", prop::kLeft, {Effect::Place}),
    Row<&E::top>("top", prop::kTop, {Effect::Place}),
    Choice<&E::width>("width", prop::kWidth, kMaxExtent, {Effect::Place}),
    Choice<&E::height>("height", prop::kHeight, kMaxExtent, {Effect::Place}),
    Row<&E::tag>("tag", prop::kTag),
    Row<&E::visible>("visible", prop::kVisible, {Effect::Show}),
    Row<&E::disable>("disable", prop::kDisable, {Effect::Enable}),
    Row<&E::cursor>("MousePointer", prop::kMousePointer),
};

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
    Choice<&T::headerPos>("HeaderPos", prop::tab::kHeaderPos, 3, Own(TabEffect::HeaderPos)),
    Truth<&T::multiLine>("MultiLine", prop::tab::kMultiLine, kRestyle),
    Row<&T::currentPage>("CurrentPage", prop::tab::kCurrentPage, Own(TabEffect::Page)),
    Truth<&T::hideHeader>("HideHeader", prop::tab::kHideHeader, {.since = 2}),
    // Blocks from before FillBack existed mean no fill.
    Truth<&T::fillBack>("FillBack", prop::tab::kFillBack, {Effect::Repaint, 3, 0}),
    Row<&T::backColor>("BackColor", prop::tab::kBackColor, {Effect::Repaint, 3}),
    FontRow<&T::font>(prop::tab::kFont, Own(TabEffect::Font)),
    Row<&T::pageCaptions>("PageCaptions", prop::tab::kPageCaptions, kRebuild),
};

using R = RadioBoxProps;
constexpr FieldRow kRadioBoxRows[] = {
    Truth<&R::pushLike>("PushLike", prop::radio::kPushLike, kRestyle),
    Truth<&R::flat>("Flat", prop::radio::kFlat, kRestyle),
    Truth<&R::leftText>("LeftText", prop::radio::kLeftText, kRestyle),
    Choice<&R::hAlign>("HAlign", prop::radio::kHAlign, 2, kRestyle),
    Choice<&R::vAlign>("VAlign", prop::radio::kVAlign, 2, kRestyle),
    Row<&R::textColor>("TextColor", prop::radio::kTextColor, kRepaint),
    Row<&R::backColor>("BackColor", prop::radio::kBackColor, kRepaint),
    Truth<&R::checked>("Checked", prop::radio::kChecked, Own(RadioBoxEffect::Check)),
    Row<&R::picture>("picture", prop::radio::kPicture, kRebuild),  // the control is rebuilt to show or drop it
    FontRow<&R::font>(prop::radio::kFont, {Effect::Font}),
    Row<&R::caption>("caption", prop::radio::kCaption, kCaption),
};

using B = ButtonProps;
constexpr FieldRow kButtonRows[] = {
    Choice<&B::buttonType>("ButtonType", prop::button::kButtonType, 1, kRestyle),
    Choice<&B::hAlign>("HAlign", prop::button::kHAlign, 2, kRestyle),
    Choice<&B::vAlign>("VAlign", prop::button::kVAlign, 2, kRestyle),
    Row<&B::picture>("picture", prop::button::kPicture, kRebuild),
    FontRow<&B::font>(prop::button::kFont, {Effect::Font}),
    Row<&B::caption>("caption", prop::button::kCaption, kCaption),
};

using L = TransLabelProps;
constexpr FieldRow kTransLabelRows[] = {
    Choice<&L::textEffect>("TextEffect", prop::label::kTextEffect, 3, kRepaint),
    Row<&L::textColor>("TextColor", prop::label::kTextColor, kRepaint),
    Choice<&L::hAlign>("HAlign", prop::label::kHAlign, 2, kRepaint),
    Choice<&L::vAlign>("VAlign", prop::label::kVAlign, 2, kRepaint),
    Truth<&L::wordWrap>("WordWrap", prop::label::kWordWrap, kRepaint),
    FontRow<&L::font>(prop::label::kFont, {Effect::Font}),
    Row<&L::caption>("caption", prop::label::kCaption, kCaption),
};

using S = SuperBtnProps;
constexpr FieldRow kSuperBtnRows[] = {
    Choice<&S::btnStyle>("BtnStyle", prop::superbtn::kBtnStyle, 2, Own(SuperBtnEffect::Style)),
    Truth<&S::checkBox>("CheckBox", prop::superbtn::kCheckBox, Own(SuperBtnEffect::Kind)),
    Truth<&S::checked>("Checked", prop::superbtn::kChecked, kRepaint),
    Choice<&S::alignStyle>("AlignStyle", prop::superbtn::kAlignStyle, 3, kRepaint),
    Choice<&S::pressStyle>("PressStyle", prop::superbtn::kPressStyle, 1, kRepaint),
    Truth<&S::drawBorder>("DrawBorder", prop::superbtn::kDrawBorder, kRepaint),
    Truth<&S::drawFocus>("DrawFocus", prop::superbtn::kDrawFocus, kRepaint),
    Row<&S::transColorIn>("TransColorIn", prop::superbtn::kTransColorIn, Own(SuperBtnEffect::PictureIn)),
    Row<&S::transColorOut>("TransColorOut", prop::superbtn::kTransColorOut, Own(SuperBtnEffect::PictureOut)),
    Truth<&S::defaultColor>("DefaultColor", prop::superbtn::kDefaultColor, kRepaint),
    Truth<&S::standardSound>("StandardSound", prop::superbtn::kStandardSound),
    Choice<&S::defaultStyle>("DefaultStyle", prop::superbtn::kDefaultStyle, 1, kRebuild),
    Row<&S::fgColorOut>("FgColorOut", prop::superbtn::kFgColorOut, kRepaint),
    Row<&S::bkColorOut>("BkColorOut", prop::superbtn::kBkColorOut, kRepaint),
    Row<&S::fgColorIn>("FgColorIn", prop::superbtn::kFgColorIn, kRepaint),
    Row<&S::bkColorIn>("BkColorIn", prop::superbtn::kBkColorIn, kRepaint),
    Row<&S::fgColorFocus>("FgColorFocus", prop::superbtn::kFgColorFocus, kRepaint),
    Row<&S::bkColorFocus>("BkColorFocus", prop::superbtn::kBkColorFocus, kRepaint),
    Row<&S::picIn>("PicIn", prop::superbtn::kPicIn, Own(SuperBtnEffect::PictureIn)),
    Row<&S::picOut>("PicOut", prop::superbtn::kPicOut, Own(SuperBtnEffect::PictureOut)),
    FontRow<&S::font>(prop::superbtn::kFont, {Effect::Font}),
    Row<&S::overSound>("OverSound", prop::superbtn::kOverSound, Own(SuperBtnEffect::Sound)),
    Row<&S::clickSound>("ClickSound", prop::superbtn::kClickSound, Own(SuperBtnEffect::Sound)),
    Row<&S::caption>("caption", prop::superbtn::kCaption, kCaption),
    Row<&S::toolTip>("ToolTip", prop::superbtn::kToolTip, Own(SuperBtnEffect::ToolTip)),
    Row<&S::transColorDisabled>("TransColorDisabled", prop::superbtn::kTransColorDisabled,
                                  Own(SuperBtnEffect::PictureDisabled, 2)),
    Row<&S::picDisabled>("PicDisabled", prop::superbtn::kPicDisabled, Own(SuperBtnEffect::PictureDisabled, 2)),
};

using P = PicBoxProps;
constexpr FieldRow kPicBoxRows[] = {
    Choice<&P::border>("border", prop::picbox::kBorder, 5, kRestyle),
    Row<&P::backColor>("BackColor", prop::picbox::kBackColor, Own(PicBoxEffect::Background)),
    Choice<&P::drawMode>("DrawMode", prop::picbox::kDrawMode, 2, Own(PicBoxEffect::DrawMode)),
    // Matters for animated GIFs only; the data binding is not ours to run.
    Truth<&P::playAnimation>("PlayAnimation", prop::picbox::kPlayAnimation),
    Row<&P::picture>("picture", prop::picbox::kPicture, Own(PicBoxEffect::Picture)),
    Row<&P::dataSource>("DataSource", prop::picbox::kDataSource, {.since = 2}),
    Row<&P::dataColumn>("DataColumn", prop::picbox::kDataColumn, {.since = 2}),
};

template <class Props>
constexpr TypeSchema MakeSchema(const char* english, const char* chinese, std::span<const FieldRow> rows,
                                bool holdsPages = false) {
    return {Props::kCode, english, chinese, Props::kVersion, rows, &Fresh<Props>, holdsPages};
}

template <class Props>
extern const TypeSchema kSchema;
template <>
constexpr TypeSchema kSchema<WindowProps> = MakeSchema<WindowProps>("window", "窗口", kWindowRows);
template <>
constexpr TypeSchema kSchema<TabProps> = MakeSchema<TabProps>("Tab", "选择夹", kTabRows, true);
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
    case FieldKind::Flag: *static_cast<bool*>(f) = r.I32() != 0; break;
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
    case FieldKind::Flag: w.I32(*static_cast<const bool*>(f) ? 1 : 0); break;
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

const FieldRow* CommonProperty(std::int32_t number) {
    for (const FieldRow& row : kCommonRows)
        if (row.number == number) return &row;
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
    case FieldKind::Flag: v.number = *static_cast<const bool*>(f) ? 1 : 0; break;
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
    case FieldKind::Flag: *static_cast<bool*>(f) = value.number != 0; break;
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
            StoreRow(row, props, {*row.absent, {}});
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

bool HoldsPages(TypeCode type) {
    const TypeSchema* s = SchemaOf(type);
    return s && s->holdsPages;
}

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

#include "ui/PropertyBlocks.h"

#include <algorithm>
#include <array>
#include <concepts>
#include <limits>
#include <type_traits>

#include "ui/ByteIo.h"

namespace qelvane {
namespace {

// Each type's field order is written once, in Fields(), and walked by either
// of these two, so that reader and writer cannot drift apart.
struct FieldReader {
    ByteReader& r;
    void Int(std::int32_t& v) { v = r.I32(); }
    void Word(std::uint32_t& v) { v = r.U32(); }
    void Block(Bytes& v) { v = r.CountedBlock(); }
    void Str(Text& v) { v = r.CountedText(); }
    void Captions(std::vector<Text>& v) {
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
};

struct FieldWriter {
    ByteWriter& w;
    void Int(const std::int32_t& v) { w.I32(v); }
    void Word(const std::uint32_t& v) { w.U32(v); }
    void Block(const Bytes& v) { w.CountedBlock(v); }
    void Str(const Text& v) { w.CountedText(v); }
    void Captions(const std::vector<Text>& v) {
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
};

// P is the props type, const when writing.
template <class P, class T>
concept PropsOf = std::same_as<std::remove_const_t<P>, T>;

template <class Io, PropsOf<WindowProps> P>
void Fields(Io& io, P& p, std::uint32_t version) {
    io.Int(p.border);
    io.Int(p.backPictureMode);
    io.Word(p.backColor);
    io.Int(p.maxButton);
    io.Int(p.minButton);
    io.Int(p.controlBox);
    io.Int(p.startPosition);
    io.Int(p.movable);
    io.Int(p.soundPlayMode);
    io.Int(p.enterMovesFocus);
    io.Int(p.escCloses);
    io.Int(p.f1OpensHelp);
    io.Int(p.helpContext);
    if (version >= 2) io.Int(p.showInTaskbar);
    if (version >= 3) {
        io.Int(p.dragByClient);
        io.Int(p.shape);
    }
    if (version >= 4) io.Int(p.alwaysOnTop);
    if (version >= 5) io.Int(p.keepCaptionActive);
    if (version >= 6) io.Str(p.className);
    io.Block(p.backPicture);
    io.Block(p.icon);
    io.Block(p.backSound);
    io.Str(p.title);
    io.Str(p.helpFile);
}

template <class Io, PropsOf<TabProps> P>
void Fields(Io& io, P& p, std::uint32_t version) {
    io.Int(p.headerPos);
    io.Int(p.multiLine);
    io.Int(p.currentPage);
    if (version >= 2) io.Int(p.hideHeader);
    if (version >= 3) {
        io.Int(p.fillBack);
        io.Word(p.backColor);
    }
    io.Block(p.font);
    io.Captions(p.pageCaptions);
}

template <class Io, PropsOf<RadioBoxProps> P>
void Fields(Io& io, P& p, std::uint32_t) {
    io.Int(p.pushLike);
    io.Int(p.flat);
    io.Int(p.leftText);
    io.Int(p.hAlign);
    io.Int(p.vAlign);
    io.Word(p.textColor);
    io.Word(p.backColor);
    io.Int(p.checked);
    io.Block(p.picture);
    io.Block(p.font);
    io.Str(p.caption);
}

template <class Io, PropsOf<ButtonProps> P>
void Fields(Io& io, P& p, std::uint32_t) {
    io.Int(p.buttonType);
    io.Int(p.hAlign);
    io.Int(p.vAlign);
    io.Block(p.picture);
    io.Block(p.font);
    io.Str(p.caption);
}

template <class Io, PropsOf<TransLabelProps> P>
void Fields(Io& io, P& p, std::uint32_t) {
    io.Int(p.textEffect);
    io.Word(p.textColor);
    io.Int(p.hAlign);
    io.Int(p.vAlign);
    io.Int(p.wordWrap);
    io.Block(p.font);
    io.Str(p.caption);
}

template <class Io, PropsOf<SuperBtnProps> P>
void Fields(Io& io, P& p, std::uint32_t version) {
    io.Int(p.btnStyle);
    io.Int(p.checkBox);
    io.Int(p.checked);
    io.Int(p.alignStyle);
    io.Int(p.pressStyle);
    io.Int(p.drawBorder);
    io.Int(p.drawFocus);
    io.Word(p.transColorIn);
    io.Word(p.transColorOut);
    io.Int(p.defaultColor);
    io.Int(p.standardSound);
    io.Int(p.defaultStyle);
    io.Word(p.fgColorOut);
    io.Word(p.bkColorOut);
    io.Word(p.fgColorIn);
    io.Word(p.bkColorIn);
    io.Word(p.fgColorFocus);
    io.Word(p.bkColorFocus);
    io.Block(p.picIn);
    io.Block(p.picOut);
    io.Block(p.font);
    io.Block(p.overSound);
    io.Block(p.clickSound);
    io.Str(p.caption);
    io.Str(p.toolTip);
    if (version >= 2) {
        io.Word(p.transColorDisabled);
        io.Block(p.picDisabled);
    }
}

template <class Io, PropsOf<PicBoxProps> P>
void Fields(Io& io, P& p, std::uint32_t version) {
    io.Int(p.border);
    io.Word(p.backColor);
    io.Int(p.drawMode);
    io.Int(p.playAnimation);
    io.Block(p.picture);
    if (version == 2) {
        io.Str(p.dataSource);
        io.Str(p.dataColumn);
    }
}

// Reads over fresh defaults; gives the block's version, or nothing on failure
// (`out` then holds the defaults). An empty block gives the own version.
template <class P>
std::optional<std::uint32_t> ReadWith(std::span<const std::uint8_t> block, P& out) {
    out = P{};
    if (block.empty()) return P::kVersion;
    ByteReader r(block);
    std::uint32_t version = r.U32();
    if (!r.Ok() || version > P::kVersion) return std::nullopt;
    P p{};
    FieldReader io{r};
    Fields(io, p, version);
    if (!r.AtEnd()) return std::nullopt;
    out = std::move(p);
    return version;
}

template <class P>
Bytes WriteWith(const P& p, std::uint32_t version) {
    ByteWriter w;
    w.U32(version);
    FieldWriter io{w};
    Fields(io, p, std::min(version, P::kVersion));
    if (!w.Ok()) return {};
    return w.Take();
}

}  // namespace

bool ReadBlock(std::span<const std::uint8_t> block, WindowProps& out) {
    return ReadWith(block, out).has_value();
}

bool ReadBlock(std::span<const std::uint8_t> block, TabProps& out) {
    auto version = ReadWith(block, out);
    if (!version) return false;
    // Blocks from before FillBack existed mean no fill.
    if (!block.empty() && *version < 3) out.fillBack = 0;
    return true;
}

bool ReadBlock(std::span<const std::uint8_t> block, RadioBoxProps& out) {
    return ReadWith(block, out).has_value();
}

bool ReadBlock(std::span<const std::uint8_t> block, ButtonProps& out) {
    return ReadWith(block, out).has_value();
}

bool ReadBlock(std::span<const std::uint8_t> block, TransLabelProps& out) {
    return ReadWith(block, out).has_value();
}

bool ReadBlock(std::span<const std::uint8_t> block, SuperBtnProps& out) {
    return ReadWith(block, out).has_value();
}

bool ReadBlock(std::span<const std::uint8_t> block, PicBoxProps& out) {
    return ReadWith(block, out).has_value();
}

Bytes WriteBlock(const WindowProps& p, std::uint32_t version) {
    return WriteWith(p, version);
}
Bytes WriteBlock(const TabProps& p, std::uint32_t version) {
    return WriteWith(p, version);
}
Bytes WriteBlock(const RadioBoxProps& p, std::uint32_t version) {
    return WriteWith(p, version);
}
Bytes WriteBlock(const ButtonProps& p, std::uint32_t version) {
    return WriteWith(p, version);
}
Bytes WriteBlock(const TransLabelProps& p, std::uint32_t version) {
    return WriteWith(p, version);
}
Bytes WriteBlock(const SuperBtnProps& p, std::uint32_t version) {
    return WriteWith(p, version);
}
Bytes WriteBlock(const PicBoxProps& p, std::uint32_t version) {
    return WriteWith(p, version);
}

namespace {

// One row per type; the variant alternative is named by a props value.
struct TypeRow {
    TypeCode code;
    std::uint32_t version;
    std::optional<TypeSettings> (*read)(std::span<const std::uint8_t>);
};

template <class P>
std::optional<TypeSettings> ReadAs(std::span<const std::uint8_t> block) {
    P p;
    if (!ReadBlock(block, p)) return std::nullopt;
    return TypeSettings{std::move(p)};
}

constexpr std::array<TypeRow, 7> kTypeRows{{
    {TypeCode::Window, WindowProps::kVersion, &ReadAs<WindowProps>},
    {TypeCode::Tab, TabProps::kVersion, &ReadAs<TabProps>},
    {TypeCode::RadioBox, RadioBoxProps::kVersion, &ReadAs<RadioBoxProps>},
    {TypeCode::Button, ButtonProps::kVersion, &ReadAs<ButtonProps>},
    {TypeCode::TransLabel, TransLabelProps::kVersion, &ReadAs<TransLabelProps>},
    {TypeCode::SuperBtn, SuperBtnProps::kVersion, &ReadAs<SuperBtnProps>},
    {TypeCode::PicBox, PicBoxProps::kVersion, &ReadAs<PicBoxProps>},
}};

const TypeRow* FindType(TypeCode type) {
    auto it = std::find_if(kTypeRows.begin(), kTypeRows.end(),
                           [type](const TypeRow& row) { return row.code == type; });
    return it == kTypeRows.end() ? nullptr : &*it;
}

}  // namespace

bool IsKnownType(TypeCode type) { return FindType(type) != nullptr; }

TypeCode TypeOf(const TypeSettings& settings) {
    // The variant's alternatives stand in the same order as the rows.
    static_assert(std::variant_size_v<TypeSettings> == kTypeRows.size());
    return kTypeRows[settings.index()].code;
}

std::uint32_t OwnBlockVersion(TypeCode type) {
    const TypeRow* row = FindType(type);
    return row ? row->version : 0;
}

std::optional<std::uint32_t> BlockVersion(std::span<const std::uint8_t> block) {
    ByteReader r(block);
    std::uint32_t version = r.U32();
    if (!r.Ok()) return std::nullopt;
    return version;
}

std::optional<TypeSettings> ReadTypeSettings(TypeCode type, std::span<const std::uint8_t> block) {
    const TypeRow* row = FindType(type);
    if (!row) return std::nullopt;
    return row->read(block);
}

Bytes WriteTypeSettings(const TypeSettings& settings) {
    return std::visit([](const auto& p) { return WriteBlock(p); }, settings);
}

Bytes WritePageCaptions(const std::vector<Text>& captions) {
    ByteWriter w;
    FieldWriter{w}.Captions(captions);
    return w.Ok() ? w.Take() : Bytes{};
}

std::optional<std::vector<Text>> ReadPageCaptions(std::span<const std::uint8_t> block) {
    ByteReader r(block);
    std::vector<Text> captions;
    FieldReader{r}.Captions(captions);
    if (!r.Ok() || !r.AtEnd()) return std::nullopt;
    return captions;
}

}  // namespace qelvane

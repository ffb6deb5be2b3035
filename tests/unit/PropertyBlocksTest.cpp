#include "ui/form/Schema.h"

#include <string_view>

#include <gtest/gtest.h>

#include "tests/unit/BlockBuilder.h"
#include "ui/form/ByteIo.h"
#include "ui/form/OwnEffects.h"

namespace qelvane {
namespace {

using testing::BlockBuilder;

// Reads `block` as P, expecting success, and gives the result.
template <class P>
P Read(const Bytes& block) {
    P p;
    EXPECT_TRUE(ReadBlock(block, p));
    return p;
}

// A block read and written at the own version gives back the same bytes, and
// every shorter prefix (but the empty one) and any trailing byte is refused.
template <class P>
void ExpectExactLayout(const Bytes& block, const P& expected) {
    EXPECT_EQ(Read<P>(block), expected);
    EXPECT_EQ(WriteBlock(expected), block);
    for (std::size_t n = 1; n < block.size(); ++n) {
        P p = expected;  // the reader must reset to defaults
        EXPECT_FALSE(ReadBlock(std::span(block).first(n), p)) << "prefix of " << n << " bytes";
        EXPECT_EQ(p, P{});
    }
    Bytes longer = block;
    longer.push_back(0);
    P p;
    EXPECT_FALSE(ReadBlock(longer, p));
}

// ---- Own versions: field order against hand-built blocks ----

TEST(PropertyBlocks, TabOwnVersionLayout) {
    const TabProps p{.headerPos = 1, .multiLine = 1, .font = {9, 8, 7}, .pageCaptions = {"A", "", "BC"},
                     .currentPage = 2, .hideHeader = 1, .fillBack = 0, .backColor = 0x00C0FFEE};
    Bytes block = BlockBuilder()
                      .W(3).W(1).W(1).W(2).W(1).W(0).W(0x00C0FFEE)
                      .Str("\x09\x08\x07").H(3).Str("A").Str("").Str("BC");
    ExpectExactLayout(block, p);
}

TEST(PropertyBlocks, RadioBoxOwnVersionLayout) {
    const RadioBoxProps p{.picture = {'P'}, .pushLike = 1, .flat = 2, .caption = "cap", .leftText = 3, .hAlign = 4,
                          .vAlign = 5, .textColor = 6, .backColor = 7, .font = {'F'}, .checked = 1};
    Bytes block = BlockBuilder().W(1).W(1).W(2).W(3).W(4).W(5).W(6).W(7).W(1).Str("P").Str("F").Str("cap");
    ExpectExactLayout(block, p);
}

TEST(PropertyBlocks, ButtonOwnVersionLayout) {
    const ButtonProps p{.picture = {'P'}, .buttonType = 1, .caption = "OK", .hAlign = 2, .vAlign = 0, .font = {'F', 'F'}};
    Bytes block = BlockBuilder().W(1).W(1).W(2).W(0).Str("P").Str("FF").Str("OK");
    ExpectExactLayout(block, p);
}

TEST(PropertyBlocks, TransLabelOwnVersionLayout) {
    const TransLabelProps p{.caption = "价格：", .textEffect = 3, .textColor = 0x0000FF, .hAlign = 2, .wordWrap = 1,
                            .vAlign = 0};
    // TextColor comes before the alignments and VAlign before WordWrap.
    Bytes block = BlockBuilder().W(1).W(3).W(0x0000FF).W(2).W(0).W(1).Str("").Str("价格：");
    ExpectExactLayout(block, p);
}

TEST(PropertyBlocks, SuperBtnOwnVersionLayout) {
    const SuperBtnProps p{.btnStyle = 2, .checkBox = 1, .checked = 1, .alignStyle = 3, .pressStyle = 1,
                          .drawBorder = 0, .drawFocus = 1, .picOut = {'O'}, .transColorOut = 0x20, .picIn = {'I'},
                          .transColorIn = 0x10, .picDisabled = {'D'}, .transColorDisabled = 0x40, .font = {'F'},
                          .caption = "cap", .defaultColor = 0, .fgColorOut = 0x31, .bkColorOut = 0x32,
                          .fgColorIn = 0x33, .bkColorIn = 0x34, .fgColorFocus = 0x35, .bkColorFocus = 0x36,
                          .standardSound = 1, .overSound = {'V'}, .clickSound = {'K'}, .toolTip = "tip",
                          .defaultStyle = 1};
    // The hover picture and colour stand before the normal ones.
    Bytes block = BlockBuilder()
                      .W(2).W(2).W(1).W(1).W(3).W(1).W(0).W(1).W(0x10).W(0x20).W(0).W(1).W(1)
                      .W(0x31).W(0x32).W(0x33).W(0x34).W(0x35).W(0x36)
                      .Str("I").Str("O").Str("F").Str("V").Str("K").Str("cap").Str("tip")
                      .W(0x40).Str("D");
    ExpectExactLayout(block, p);
}

TEST(PropertyBlocks, PicBoxOwnVersionLayout) {
    const PicBoxProps p{.border = 5, .backColor = 0x123456, .picture = {0xFF, 0xD8}, .drawMode = 2,
                        .playAnimation = 0, .dataSource = "src", .dataColumn = "col"};
    Bytes block = BlockBuilder().W(2).W(5).W(0x123456).W(2).W(0).Str("\xFF\xD8").Str("src").Str("col");
    ExpectExactLayout(block, p);
}

TEST(PropertyBlocks, WindowOwnVersionLayout) {
    const WindowProps p{.border = 2, .backPictureMode = 1, .backColor = kSystemFaceColour, .minButton = 1,
                        .controlBox = 1, .startPosition = 1, .movable = 1, .escCloses = 1, .helpContext = 9,
                        .showInTaskbar = 0, .dragByClient = 1, .shape = 2, .alwaysOnTop = 1,
                        .keepCaptionActive = 1, .className = "cls", .backPicture = {'B'}, .icon = {'I'},
                        .backSound = {'S'}, .title = "title", .helpFile = "help"};
    Bytes block = BlockBuilder()
                      .W(6).W(2).W(1).W(kSystemFaceColour).W(0).W(1).W(1).W(1).W(1).W(0).W(0).W(1).W(0).W(9)
                      .W(0).W(1).W(2).W(1).W(1)
                      .Str("cls").Str("B").Str("I").Str("S").Str("title").Str("help");
    ExpectExactLayout(block, p);
}

// ---- Older versions ----

TEST(PropertyBlocks, TabBeforeVersion3HasNoFill) {
    Bytes v2 = BlockBuilder().W(2).W(1).W(1).W(2).W(1).Str("").H(2).Str("A").Str("");
    TabProps p = Read<TabProps>(v2);
    EXPECT_EQ(p.headerPos, 1);
    EXPECT_EQ(p.multiLine, 1);
    EXPECT_EQ(p.currentPage, 2);
    EXPECT_EQ(p.hideHeader, 1);
    EXPECT_EQ(p.fillBack, 0);
    EXPECT_EQ(p.backColor, kSystemFaceColour);
    EXPECT_EQ(p.pageCaptions, (std::vector<Text>{"A", ""}));

    for (std::uint32_t version : {0u, 1u}) {
        Bytes old = BlockBuilder().W(version).W(0).W(0).W(1).Str("").H(1).Str("X");
        TabProps q = Read<TabProps>(old);
        EXPECT_EQ(q.hideHeader, 0);
        EXPECT_EQ(q.fillBack, 0);
        EXPECT_EQ(q.currentPage, 1);
        EXPECT_EQ(q.pageCaptions, std::vector<Text>{"X"});
    }
}

TEST(PropertyBlocks, WindowVersion1KeepsTaskbarOn) {
    Bytes v1 = BlockBuilder()
                   .W(1).W(3).W(0).W(0x00ABCDEF).W(1).W(1).W(1).W(0).W(1).W(0).W(1).W(0).W(1).W(7)
                   .Str("").Str("").Str("").Str("T").Str("");
    WindowProps p = Read<WindowProps>(v1);
    EXPECT_EQ(p.border, 3);
    EXPECT_EQ(p.backColor, 0x00ABCDEFu);
    EXPECT_EQ(p.enterMovesFocus, 1);
    EXPECT_EQ(p.f1OpensHelp, 1);
    EXPECT_EQ(p.helpContext, 7);
    EXPECT_EQ(p.showInTaskbar, 1);
    EXPECT_EQ(p.dragByClient, 0);
    EXPECT_EQ(p.className, "");
    EXPECT_EQ(p.title, "T");
}

TEST(PropertyBlocks, WindowFieldsAppearVersionByVersion) {
    WindowProps full;
    full.showInTaskbar = 0;
    full.dragByClient = 1;
    full.shape = 1;
    full.alwaysOnTop = 1;
    full.keepCaptionActive = 1;
    full.className = "cls";
    full.title = "t";
    for (std::uint32_t v = 0; v <= WindowProps::kVersion; ++v) {
        SCOPED_TRACE(v);
        Bytes block = WriteBlock(full, v);
        ASSERT_EQ(BlockVersion(block), v);
        WindowProps p = Read<WindowProps>(block);
        EXPECT_EQ(p.showInTaskbar, v >= 2 ? 0 : 1);
        EXPECT_EQ(p.dragByClient, v >= 3 ? 1 : 0);
        EXPECT_EQ(p.shape, v >= 3 ? 1 : 0);
        EXPECT_EQ(p.alwaysOnTop, v >= 4 ? 1 : 0);
        EXPECT_EQ(p.keepCaptionActive, v >= 5 ? 1 : 0);
        EXPECT_EQ(p.className, v >= 6 ? "cls" : "");
        EXPECT_EQ(p.title, "t");
    }
}

TEST(PropertyBlocks, SuperBtnVersion1HasNoDisabledPicture) {
    Bytes v1 = BlockBuilder()
                   .W(1).W(0).W(0).W(0).W(0).W(0).W(1).W(0).W(5).W(6).W(0).W(0).W(0)
                   .W(0xFF).W(0).W(0xFF).W(0).W(0xFF).W(0)
                   .Str("").Str("PNG").Str("").Str("").Str("").Str("C").Str("T");
    SuperBtnProps p = Read<SuperBtnProps>(v1);
    EXPECT_EQ(p.transColorIn, 5u);
    EXPECT_EQ(p.transColorOut, 6u);
    EXPECT_EQ(p.picOut, (Bytes{'P', 'N', 'G'}));
    EXPECT_TRUE(p.picIn.empty());
    EXPECT_EQ(p.caption, "C");
    EXPECT_EQ(p.toolTip, "T");
    EXPECT_TRUE(p.picDisabled.empty());
    EXPECT_EQ(p.transColorDisabled, kSystemFaceColour);

    // A version 1 block carrying the version 2 tail is refused.
    Bytes withTail = BlockBuilder().W(0).Str("");
    Bytes longer = v1;
    longer.insert(longer.end(), withTail.begin(), withTail.end());
    EXPECT_FALSE(ReadBlock(longer, p));
}

TEST(PropertyBlocks, PicBoxDataFieldsOnlyInVersion2) {
    Bytes v1 = BlockBuilder().W(1).W(3).W(0x00112233).W(2).W(0).Str("xyz");
    PicBoxProps p = Read<PicBoxProps>(v1);
    EXPECT_EQ(p.border, 3);
    EXPECT_EQ(p.backColor, 0x00112233u);
    EXPECT_EQ(p.drawMode, 2);
    EXPECT_EQ(p.playAnimation, 0);
    EXPECT_EQ(p.picture, (Bytes{'x', 'y', 'z'}));
    EXPECT_EQ(p.dataSource, "");
    EXPECT_EQ(p.dataColumn, "");

    Bytes v1WithData = BlockBuilder().W(1).W(0).W(0).W(0).W(1).Str("").Str("").Str("");
    EXPECT_FALSE(ReadBlock(v1WithData, p));
}

TEST(PropertyBlocks, VersionZeroReadsLikeVersionOne) {
    Bytes radio = BlockBuilder().W(0).W(0).W(0).W(0).W(0).W(1).W(0).W(kSystemFaceColour).W(1).Str("").Str("").Str("R");
    EXPECT_EQ(Read<RadioBoxProps>(radio).caption, "R");
    EXPECT_EQ(Read<RadioBoxProps>(radio).checked, 1);
    Bytes button = BlockBuilder().W(0).W(0).W(1).W(1).Str("").Str("").Str("B");
    EXPECT_EQ(Read<ButtonProps>(button).caption, "B");
    Bytes label = BlockBuilder().W(0).W(0).W(0).W(0).W(1).W(0).Str("").Str("L");
    EXPECT_EQ(Read<TransLabelProps>(label).caption, "L");
}

// ---- Refusals and defaults, every type ----

template <class P>
class EveryType : public ::testing::Test {};
using AllProps = ::testing::Types<WindowProps, TabProps, RadioBoxProps, ButtonProps, TransLabelProps,
                                  SuperBtnProps, PicBoxProps>;
TYPED_TEST_SUITE(EveryType, AllProps);

TYPED_TEST(EveryType, EmptyBlockKeepsDefaults) {
    TypeParam p;
    Bytes empty;
    EXPECT_TRUE(ReadBlock(empty, p));
    EXPECT_EQ(p, TypeParam{});
}

TYPED_TEST(EveryType, NewerVersionRefused) {
    Bytes newer = WriteBlock(TypeParam{}, TypeParam::kVersion + 1);
    ASSERT_EQ(BlockVersion(newer), TypeParam::kVersion + 1);
    TypeParam p;
    EXPECT_FALSE(ReadBlock(newer, p));
    BlockBuilder huge;
    huge.W(0xFFFFFFFF);
    EXPECT_FALSE(ReadBlock(Bytes(huge), p));
}

TYPED_TEST(EveryType, DispatchByTypeCode) {
    TypeSettings settings = TypeParam{};
    TypeCode code = TypeOf(settings);
    EXPECT_TRUE(IsKnownType(code));
    EXPECT_EQ(OwnBlockVersion(code), TypeParam::kVersion);
    auto back = ReadTypeSettings(code, WriteTypeSettings(settings));
    ASSERT_TRUE(back.has_value());
    EXPECT_TRUE(std::holds_alternative<TypeParam>(*back));
}

// A row with code of its type's own must say which; an unnamed one would do nothing at all.
TYPED_TEST(EveryType, RowsOfTheirOwnEffectNameIt) {
    for (const FieldRow& row : SchemaOf(TypeSettings{TypeParam{}}).rows)
        EXPECT_EQ(row.own != 0, row.effect == Effect::Custom) << row.info.name;
}

// A picture and its transparent colour make the same bitmap again, and each picture its own.
TEST(PropertyBlocks, SuperBtnPictureRowsRemakeTheirOwnBitmap) {
    const auto own = [](std::string_view name) -> int {
        for (const FieldRow& row : SchemaOf(TypeSettings{SuperBtnProps{}}).rows)
            if (name == row.info.name) return row.own;
        return -1;
    };
    EXPECT_EQ(own("PicOut"), static_cast<int>(SuperBtnEffect::PictureOut));
    EXPECT_EQ(own("TransColorOut"), static_cast<int>(SuperBtnEffect::PictureOut));
    EXPECT_EQ(own("PicIn"), static_cast<int>(SuperBtnEffect::PictureIn));
    EXPECT_EQ(own("TransColorIn"), static_cast<int>(SuperBtnEffect::PictureIn));
    EXPECT_EQ(own("PicDisabled"), static_cast<int>(SuperBtnEffect::PictureDisabled));
    EXPECT_EQ(own("TransColorDisabled"), static_cast<int>(SuperBtnEffect::PictureDisabled));
    EXPECT_EQ(own("OverSound"), static_cast<int>(SuperBtnEffect::Sound));
    EXPECT_EQ(own("ClickSound"), static_cast<int>(SuperBtnEffect::Sound));
}

TEST(PropertyBlocks, TypeCodesOfTheAlternatives) {
    EXPECT_EQ(TypeOf(WindowProps{}), TypeCode::Window);
    EXPECT_EQ(TypeOf(TabProps{}), TypeCode::Tab);
    EXPECT_EQ(TypeOf(RadioBoxProps{}), TypeCode::RadioBox);
    EXPECT_EQ(TypeOf(ButtonProps{}), TypeCode::Button);
    EXPECT_EQ(TypeOf(TransLabelProps{}), TypeCode::TransLabel);
    EXPECT_EQ(TypeOf(SuperBtnProps{}), TypeCode::SuperBtn);
    EXPECT_EQ(TypeOf(PicBoxProps{}), TypeCode::PicBox);
    EXPECT_FALSE(IsKnownType(static_cast<TypeCode>(0x00010002)));
    EXPECT_FALSE(ReadTypeSettings(static_cast<TypeCode>(0x00010002), Bytes{}).has_value());
}

// ---- Counts ----

TEST(PropertyBlocks, PageCaptionCountEscape) {
    TabProps many;
    many.pageCaptions.assign(0xFFFF, "p");
    Bytes block = WriteBlock(many);
    // version + 3 words + v2/v3 words + font count, then the escape.
    constexpr std::size_t kCountAt = 4 * 7 + 4;
    ASSERT_GT(block.size(), kCountAt + 6);
    EXPECT_EQ(block[kCountAt], 0xFF);
    EXPECT_EQ(block[kCountAt + 1], 0xFF);
    EXPECT_EQ(block[kCountAt + 2], 0xFF);
    EXPECT_EQ(block[kCountAt + 3], 0xFF);
    EXPECT_EQ(block[kCountAt + 4], 0x00);
    EXPECT_EQ(Read<TabProps>(block), many);

    // The escape followed by a count that fits 16 bits is not how a writer stores it.
    Bytes needless = BlockBuilder().W(3).W(0).W(0).W(0).W(0).W(1).W(0).Str("").H(0xFFFF).W(1).Str("x");
    TabProps p;
    EXPECT_FALSE(ReadBlock(needless, p));
}

TEST(PropertyBlocks, HugeCountsRefusedWithoutAllocating) {
    TabProps tab;
    Bytes captions = BlockBuilder().W(3).W(0).W(0).W(0).W(0).W(1).W(0).Str("").H(0xFFFF).W(0xFFFFFFFF);
    EXPECT_FALSE(ReadBlock(captions, tab));
    Bytes captions16 = BlockBuilder().W(3).W(0).W(0).W(0).W(0).W(1).W(0).Str("").H(0xFFFE);
    EXPECT_FALSE(ReadBlock(captions16, tab));

    ButtonProps button;
    Bytes picture = BlockBuilder().W(1).W(0).W(1).W(1).W(0xFFFFFFFF);
    EXPECT_FALSE(ReadBlock(picture, button));
    EXPECT_EQ(button, ButtonProps{});
}

TEST(ByteIo, ReaderFailureIsSticky) {
    Bytes data = BlockBuilder().W(7).Str("ab");
    ByteReader r(data);
    EXPECT_EQ(r.U32(), 7u);
    EXPECT_EQ(r.Take(100).size(), 0u);
    EXPECT_FALSE(r.Ok());
    EXPECT_EQ(r.CountedText(), "");  // the bytes are there, but the reader has failed
    EXPECT_EQ(r.Remaining(), 0u);

    Bytes unterminated = {'a', 'b'};
    ByteReader t(unterminated);
    EXPECT_EQ(t.TerminatedText(), "");
    EXPECT_FALSE(t.Ok());
}

TEST(ByteIo, WriterRefusesZeroInTerminatedText) {
    ByteWriter w;
    w.TerminatedText(std::string_view("a\0b", 3));
    EXPECT_FALSE(w.Ok());
}

}  // namespace
}  // namespace qelvane

namespace qelvane {
namespace {

// The PageCaptions property travels as one block in the Tab's own layout.
TEST(PageCaptions, BlockRoundTripAndStrictEnd) {
    const std::vector<Text> captions = {"微信阅读粉丝", "", "公众号推广"};
    const Bytes block = WritePageCaptions(captions);
    EXPECT_EQ(ReadPageCaptions(block), captions);
    Bytes longer = block;
    longer.push_back(0);
    EXPECT_FALSE(ReadPageCaptions(longer).has_value());
    EXPECT_FALSE(ReadPageCaptions(std::span<const std::uint8_t>(block).first(block.size() - 1)).has_value());
    // A count that the bytes cannot hold is refused before anything is read.
    const Bytes huge = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F};
    EXPECT_FALSE(ReadPageCaptions(huge).has_value());
    EXPECT_EQ(ReadPageCaptions(WritePageCaptions({})), std::vector<Text>{});
}

}  // namespace
}  // namespace qelvane

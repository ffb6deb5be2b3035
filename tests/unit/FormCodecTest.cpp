#include "ui/form/FormCodec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <random>

#include "app/RoutineOffsets.h"
#include "tests/unit/BlockBuilder.h"
#include "ui/form/ByteIo.h"
#include "app/MainWindowForm.h"
#include "ui/form/Schema.h"

namespace qelvane {
namespace {

void RefreshStub() {}
void OrderStub() {}
void ChatStub() {}

constexpr std::array<Routine, kRoutineCount> kNoRoutines{};  // offsets checked, nothing resolved

const Bytes& StoredBytes() {
    static const Bytes bytes = EncodeForm(MainWindowForm());
    return bytes;
}

std::optional<FormDescription> Decode(std::span<const std::uint8_t> bytes, std::string* why = nullptr) {
    return DecodeForm(bytes, kNoRoutines, why);
}

std::uint32_t U32At(const Bytes& b, std::size_t at) {
    ByteReader r(std::span<const std::uint8_t>(b).subspan(at, 4));
    return r.U32();
}

void SetU32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

// Where things stand in the one-window form (empty window texts).
constexpr std::size_t kItemCountAt = 28;
constexpr std::size_t kItemDataLengthAt = 32;
constexpr std::size_t kItemIdsAt = 36;
constexpr std::size_t kItems = 19;
constexpr std::size_t kOffsetsAt = kItemIdsAt + 4 * kItems;
constexpr std::size_t kRecordsAt = kOffsetsAt + 4 * kItems;

std::size_t RecordAt(const Bytes& b, std::size_t item) { return kRecordsAt + U32At(b, kOffsetsAt + 4 * item); }

const ComponentEntry& Item(std::size_t item) {
    const WindowTemplate& w = MainWindowForm().windows[0];
    return item == 0 ? w.self : w.components[item - 1];
}

// The property block is the tail of its record.
std::size_t BlockAt(const Bytes& b, std::size_t item) {
    std::size_t rec = RecordAt(b, item);
    return rec + 4 + U32At(b, rec) - WriteTypeSettings(Item(item).settings).size();
}

// ---- Round trips and golden bytes ----

TEST(FormCodec, RoundTripOfTheWholeForm) {
    const Bytes& bytes = StoredBytes();
    ASSERT_FALSE(bytes.empty());
    std::string why;
    auto form = Decode(bytes, &why);
    ASSERT_TRUE(form.has_value()) << why;
    EXPECT_EQ(*form, MainWindowForm());
    EXPECT_EQ(EncodeForm(*form), bytes);
}

TEST(FormCodec, BindingsResolveToTheRoutineTable) {
    const std::array<Routine, kRoutineCount> routines{&RefreshStub, &OrderStub, &ChatStub};
    auto form = DecodeForm(StoredBytes(), routines);
    ASSERT_TRUE(form.has_value());
    const auto& c = form->windows[0].components;
    ASSERT_EQ(c[0].bindings.size(), 1u);  // 超级按钮2
    EXPECT_EQ(c[0].bindings[0].routine, &OrderStub);
    EXPECT_EQ(c[1].bindings[0].routine, &ChatStub);   // 超级按钮1
    EXPECT_EQ(c[12].bindings[0].routine, &RefreshStub);  // 按钮1
    EXPECT_EQ(c[12].bindings[0].routineOffset, kRefreshPriceLabelOffset);
    EXPECT_EQ(EncodeForm(*form), StoredBytes());

    std::string why;
    EXPECT_FALSE(DecodeForm(StoredBytes(), {}, &why).has_value());
    EXPECT_NE(why.find("routine"), std::string::npos) << why;
}

TEST(FormCodec, GoldenWindowTableAndItemTable) {
    const Bytes& b = StoredBytes();
    const Bytes start = {0x08, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x52, 0x00, 0x00,
                         0x00, 0x00, 0xA0, 0x2A, 0x88, 0x02, 0x0F, 0x00, 0x01, 0x19};
    ASSERT_GE(b.size(), start.size());
    EXPECT_TRUE(std::equal(start.begin(), start.end(), b.begin()));
    EXPECT_EQ(U32At(b, 20), 0u);  // both window texts empty
    EXPECT_EQ(U32At(b, 24), 0u);
    EXPECT_EQ(U32At(b, kItemCountAt), kItems);
    EXPECT_EQ(U32At(b, kItemDataLengthAt), b.size() - kItemIdsAt);
    EXPECT_EQ(U32At(b, kItemIdsAt), kOwnRecordId);
    EXPECT_EQ(U32At(b, kItemIdsAt + 4), 0x160162A7u);
    EXPECT_EQ(U32At(b, kOffsetsAt), 0u);
}

TEST(FormCodec, GoldenButtonRecord) {
    const Bytes& b = StoredBytes();
    std::size_t rec = RecordAt(b, 13);  // 按钮1
    EXPECT_EQ(U32At(b, rec + 4), 0x0001000Bu);
    const Bytes tail = {
        0xB0, 0xB4, 0xC5, 0xA5, 0x31, 0x00,  // "按钮1"
        0x00,                                // remark
        0, 0, 0, 0,                          // object slot
        16, 0, 0, 0, 0x2C, 0x01, 0, 0, 168, 0, 0, 0, 56, 0, 0, 0,
        0, 0, 0, 0,                          // cursor slot
        0, 0, 0, 0,                          // parent: client area
        0, 0, 0, 0,                          // no children
        0, 0, 0, 0,                          // default cursor
        0x00,                                // tag
        0, 0, 0, 0,                          // reserved
        0x05, 0, 0, 0,                       // visible | TabStop
        0, 0, 0, 0,                          // FocusOrder
        1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // one binding: event 0 -> offset 0
    };
    std::size_t at = rec + 8 + 20;
    ASSERT_LE(at + tail.size(), b.size());
    EXPECT_TRUE(std::equal(tail.begin(), tail.end(), b.begin() + static_cast<std::ptrdiff_t>(at)));
    std::size_t block = at + tail.size() + 20;
    EXPECT_EQ(block, BlockAt(b, 13));
    EXPECT_EQ(U32At(b, block), 1u);  // Button block version
}

// The tab control's page lists, bottom box to top box per page, each ended by 0.
TEST(FormCodec, GoldenTabPageLists) {
    const Bytes& b = StoredBytes();
    std::size_t rec = RecordAt(b, 18);  // 选择夹
    EXPECT_EQ(U32At(b, rec + 4), 0x00010015u);
    const Bytes expected = testing::BlockBuilder()
                                   .W(0)  // parent: client area
                                   .W(15)
                                   .W(0x1601000D).W(0x1601000C).W(0x1601000B).W(0x16010009).W(0)
                                   .W(0x160121A0).W(0x16010020).W(0x1601001F).W(0x1601001E).W(0)
                                   .W(0x160121A3).W(0x16010028).W(0x16010027).W(0x16010026).W(0);
    // After type, reserved, the name "选择夹", the empty remark, the object slot, the
    // rectangle and the cursor slot.
    const std::size_t at = rec + 8 + 20 + 7 + 1 + 4 + 16 + 4;
    ASSERT_LE(at + expected.size(), b.size());
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), b.begin() + static_cast<std::ptrdiff_t>(at)));
}

TEST(FormCodec, GoldenPriceLabelCaption) {
    const Bytes& b = StoredBytes();
    std::size_t rec = RecordAt(b, 12);  // 透明标签_价格
    std::size_t end = rec + 4 + U32At(b, rec);
    const Bytes caption = {0x06, 0x00, 0x00, 0x00, 0xBC, 0xDB, 0xB8, 0xF1, 0xA3, 0xBA};
    ASSERT_GE(end, caption.size());
    EXPECT_TRUE(std::equal(caption.begin(), caption.end(), b.begin() + static_cast<std::ptrdiff_t>(end - caption.size())));
}

// ---- Malformed input ----

TEST(FormCodec, EveryTruncationRefused) {
    const Bytes& b = StoredBytes();
    for (std::size_t n = 0; n < b.size(); ++n) {
        ASSERT_FALSE(Decode(std::span(b).first(n)).has_value()) << "accepted " << n << " bytes";
    }
}

struct Patch {
    const char* what;
    std::function<void(Bytes&)> apply;
};

TEST(FormCodec, DamagedBytesRefused) {
    const Bytes& good = StoredBytes();
    const std::vector<Patch> patches = {
        {"trailing byte", [](Bytes& b) { b.push_back(0); }},
        {"window table length 0", [](Bytes& b) { SetU32(b, 0, 0); }},
        {"window table length 7", [](Bytes& b) { SetU32(b, 0, 7); }},
        {"window table length 16", [](Bytes& b) { SetU32(b, 0, 16); }},
        {"window table length huge", [](Bytes& b) { SetU32(b, 0, 0xFFFFFFF8); }},
        {"window slot set", [](Bytes& b) { b[8] = 1; }},
        {"window text count huge", [](Bytes& b) { SetU32(b, 20, 0xFFFFFFFF); }},
        {"item count huge", [](Bytes& b) { SetU32(b, kItemCountAt, 0xFFFFFFFF); }},
        {"item count zero", [](Bytes& b) { SetU32(b, kItemCountAt, 0); }},
        {"item count one more", [](Bytes& b) { SetU32(b, kItemCountAt, kItems + 1); }},
        {"item count one less", [](Bytes& b) { SetU32(b, kItemCountAt, kItems - 1); }},
        {"item data length short", [](Bytes& b) { SetU32(b, kItemDataLengthAt, U32At(b, kItemDataLengthAt) - 1); }},
        {"item data length long", [](Bytes& b) { SetU32(b, kItemDataLengthAt, U32At(b, kItemDataLengthAt) + 1); }},
        {"item data length huge", [](Bytes& b) { SetU32(b, kItemDataLengthAt, 0xFFFFFFFF); }},
        {"offset moved", [](Bytes& b) { SetU32(b, kOffsetsAt + 4 * 5, U32At(b, kOffsetsAt + 4 * 5) + 4); }},
        {"first offset not 0", [](Bytes& b) { SetU32(b, kOffsetsAt, 4); }},
        {"offsets swapped", [](Bytes& b) {
             std::uint32_t a = U32At(b, kOffsetsAt + 4), c = U32At(b, kOffsetsAt + 8);
             SetU32(b, kOffsetsAt + 4, c);
             SetU32(b, kOffsetsAt + 8, a);
         }},
        {"record length past end", [](Bytes& b) { SetU32(b, RecordAt(b, 0), 0x7FFFFFFF); }},
        {"record length short", [](Bytes& b) { SetU32(b, RecordAt(b, 18), U32At(b, RecordAt(b, 18)) - 1); }},
        {"unknown type", [](Bytes& b) { SetU32(b, RecordAt(b, 5) + 4, 0x00010002); }},
        {"component of type window", [](Bytes& b) { SetU32(b, RecordAt(b, 5) + 4, 0x00010001); }},
        {"reserved before name", [](Bytes& b) { b[RecordAt(b, 3) + 8 + 7] = 1; }},
        {"duplicate item id", [](Bytes& b) { SetU32(b, kItemIdsAt + 8, U32At(b, kItemIdsAt + 4)); }},
        {"item 0 not the own entry", [](Bytes& b) { SetU32(b, kItemIdsAt, 0x06010001); }},
        {"window id of the wrong kind", [](Bytes& b) { SetU32(b, 4, 0x16010001); }},
        {"tab caption count past the block", [](Bytes& b) {
             std::size_t at = BlockAt(b, 18) + 32;  // after the seven words and the empty font
             b[at] = 0xFE;
             b[at + 1] = 0xFF;
         }},
        {"radio caption count huge", [](Bytes& b) {
             std::size_t rec = RecordAt(b, 3);
             std::size_t end = rec + 4 + U32At(b, rec);
             SetU32(b, end - std::get<RadioBoxProps>(Item(3).settings).caption.size() - 4, 0xFFFFFFF0);
         }},
    };
    for (const Patch& p : patches) {
        Bytes b = good;
        p.apply(b);
        std::string why;
        EXPECT_FALSE(Decode(b, &why).has_value()) << p.what;
        EXPECT_FALSE(why.empty()) << p.what;
    }
}

struct Edit {
    const char* what;
    std::function<void(WindowTemplate&)> apply;
};

ComponentEntry& Named(WindowTemplate& w, std::string_view name) {
    return *std::find_if(w.components.begin(), w.components.end(),
                         [&](const ComponentEntry& c) { return c.name == name; });
}

ComponentEntry& TabOf(WindowTemplate& w) { return w.components.back(); }

// The encoder stores whatever the model says; the decoder must refuse models
// that break the rules.
TEST(FormCodec, InconsistentFormsRefused) {
    const std::vector<Edit> edits = {
        {"page list names unknown id", [](WindowTemplate& w) { TabOf(w).pageList[1].push_back(0x16017777); }},
        {"page list names a window-level component",
         [](WindowTemplate& w) { TabOf(w).pageList[0].push_back(0x1601000E); }},
        {"component listed twice", [](WindowTemplate& w) { TabOf(w).pageList[2].push_back(0x1601000D); }},
        {"child of the Tab on no page", [](WindowTemplate& w) { TabOf(w).pageList[0].pop_back(); }},
        {"page list longer than the pages", [](WindowTemplate& w) { TabOf(w).pageList.emplace_back(); }},
        {"Tab without page list", [](WindowTemplate& w) {
             for (auto& c : w.components) if (c.parent == TabOf(w).id) c.parent = 0;
             TabOf(w).pageList.clear();
         }},
        {"duplicate id", [](WindowTemplate& w) { w.components[3].id = w.components[4].id; }},
        {"duplicate name", [](WindowTemplate& w) { w.components[3].name = w.components[4].name; }},
        {"component id of the window kind", [](WindowTemplate& w) { w.components[3].id = 0x52010002; }},
        {"unknown parent", [](WindowTemplate& w) { w.components[0].parent = 0x16019999; }},
        {"parent is itself", [](WindowTemplate& w) { w.components[0].parent = w.components[0].id; }},
        {"parent is the window's own entry", [](WindowTemplate& w) { w.components[0].parent = kOwnRecordId; }},
        {"parent cycle", [](WindowTemplate& w) {
             w.components[0].parent = w.components[1].id;
             w.components[1].parent = w.components[0].id;
         }},
        {"own entry with a parent", [](WindowTemplate& w) { w.self.parent = 0x160162A7; }},
        {"own entry not a window", [](WindowTemplate& w) {
             w.self.type = TypeCode::Button;
             w.self.settings = ButtonProps{};
         }},
        {"routine offset past the table", [](WindowTemplate& w) { Named(w, "按钮1").bindings[0].routineOffset = 3; }},
        {"routine offset -2", [](WindowTemplate& w) { Named(w, "按钮1").bindings[0].routineOffset = -2; }},
        {"event bound twice", [](WindowTemplate& w) { Named(w, "按钮1").bindings.push_back({0, -1}); }},
        {"name not GBK", [](WindowTemplate& w) { w.components[2].name = "\xFF"; }},
        {"name cut in a character", [](WindowTemplate& w) { w.components[2].name = "\xB0"; }},
        {"tag not GBK", [](WindowTemplate& w) { w.components[2].tag = "\x81\x20"; }},
    };
    for (const Edit& e : edits) {
        FormDescription form = MainWindowForm();
        e.apply(form.windows[0]);
        Bytes b = EncodeForm(form);
        ASSERT_FALSE(b.empty()) << e.what;
        std::string why;
        EXPECT_FALSE(Decode(b, &why).has_value()) << e.what;
        EXPECT_FALSE(why.empty()) << e.what;
    }
}

TEST(FormCodec, AcceptsWhatTheRulesAllow) {
    FormDescription form = MainWindowForm();
    WindowTemplate& w = form.windows[0];
    w.text0 = "x";
    w.components[4].cursor = {1, 2, 3};
    w.components[4].tag = "标签";
    Named(w, "按钮1").bindings.push_back({-7, -1});
    w.components[2].disable = true;
    form.windows.push_back(form.windows[0]);
    form.windows[1].id = 0x52010002;
    Bytes b = EncodeForm(form);
    std::string why;
    auto back = Decode(b, &why);
    ASSERT_TRUE(back.has_value()) << why;
    EXPECT_EQ(*back, form);
}

// Swaps an item's property block for another, fixing the lengths and offsets
// that follow from it.
Bytes WithBlock(const Bytes& good, std::size_t item, const Bytes& block) {
    Bytes b = good;
    const std::size_t at = BlockAt(b, item);
    const std::size_t oldSize = WriteTypeSettings(Item(item).settings).size();
    b.erase(b.begin() + static_cast<std::ptrdiff_t>(at), b.begin() + static_cast<std::ptrdiff_t>(at + oldSize));
    b.insert(b.begin() + static_cast<std::ptrdiff_t>(at), block.begin(), block.end());
    const std::uint32_t delta = static_cast<std::uint32_t>(block.size() - oldSize);  // wraps when shrinking
    const std::size_t rec = kRecordsAt + U32At(good, kOffsetsAt + 4 * item);
    SetU32(b, rec, U32At(b, rec) + delta);
    SetU32(b, kItemDataLengthAt, U32At(b, kItemDataLengthAt) + delta);
    for (std::size_t later = item + 1; later < kItems; ++later)
        SetU32(b, kOffsetsAt + 4 * later, U32At(b, kOffsetsAt + 4 * later) + delta);
    return b;
}

TEST(FormCodec, OlderAndEmptyBlocksReadOverTheDefaults) {
    const Bytes& good = StoredBytes();
    // Item 18 is the tab control: a version 2 block has no FillBack and reads it as 0.
    const TabProps tab = std::get<TabProps>(Item(18).settings);
    std::string why;
    auto form = Decode(WithBlock(good, 18, WriteBlock(tab, 2)), &why);
    ASSERT_TRUE(form.has_value()) << why;
    TabProps want = tab;
    want.fillBack = 0;
    EXPECT_EQ(std::get<TabProps>(form->windows[0].components[17].settings), want);

    // Item 12 is the price label: an empty block gives every default.
    form = Decode(WithBlock(good, 12, {}), &why);
    ASSERT_TRUE(form.has_value()) << why;
    EXPECT_EQ(std::get<TransLabelProps>(form->windows[0].components[11].settings), TransLabelProps{});

    // Written back, both come out at the type's own version.
    const Bytes again = EncodeForm(*form);
    const Bytes defaults = WriteTypeSettings(TransLabelProps{});
    const std::size_t rec = RecordAt(again, 12);
    const std::size_t blockAt = rec + 4 + U32At(again, rec) - defaults.size();
    EXPECT_EQ(U32At(again, blockAt), TransLabelProps::kVersion);
    EXPECT_TRUE(std::equal(defaults.begin(), defaults.end(), again.begin() + static_cast<std::ptrdiff_t>(blockAt)));
}

// A newer block is not the decoder's to refuse: it is kept as stored, for the
// window layer, which cannot build the component from it.
TEST(FormCodec, NewerBlockIsKeptAsStored) {
    Bytes b = StoredBytes();
    SetU32(b, BlockAt(b, 3), 2);  // 单选框12, RadioBox reads up to version 1
    std::string why;
    auto form = Decode(b, &why);
    ASSERT_TRUE(form.has_value()) << why;
    const ComponentEntry& box = form->windows[0].components[2];
    EXPECT_EQ(box.newerBlock.size(), WriteTypeSettings(Item(3).settings).size());
    EXPECT_EQ(std::get<RadioBoxProps>(box.settings), RadioBoxProps{});
    EXPECT_EQ(EncodeForm(*form), b);
    // Only a newer version may be kept that way.
    FormDescription edited = MainWindowForm();
    edited.windows[0].components[2].newerBlock = {1, 0, 0, 0};
    EXPECT_TRUE(EncodeForm(edited).empty());
}

TEST(FormCodec, EncoderRefusesWhatCannotBeStored) {
    auto refuses = [](const std::function<void(WindowTemplate&)>& edit) {
        FormDescription form = MainWindowForm();
        edit(form.windows[0]);
        return EncodeForm(form).empty();
    };
    EXPECT_TRUE(refuses([](WindowTemplate& w) { w.components[0].name = std::string("a\0b", 3); }));
    EXPECT_TRUE(refuses([](WindowTemplate& w) { TabOf(w).pageList[0][0] = 0; }));
    EXPECT_TRUE(refuses([](WindowTemplate& w) { w.components[0].pageList = {{1}}; }));
    EXPECT_TRUE(refuses([](WindowTemplate& w) { w.components[0].settings = ButtonProps{}; }));
}

// Random damage never crashes; whatever is accepted survives a round trip.
TEST(FormCodec, RandomMutations) {
    const Bytes& good = StoredBytes();
    // Aim half the mutations away from the two pictures, where the structure is.
    const WindowTemplate& w = MainWindowForm().windows[0];
    std::vector<bool> inPicture(good.size(), false);
    for (const Bytes* pic : {&std::get<SuperBtnProps>(w.components[1].settings).picOut,
                             &std::get<PicBoxProps>(w.components[4].settings).picture}) {
        auto it = std::search(good.begin(), good.end(), pic->begin(), pic->end());
        ASSERT_NE(it, good.end());
        std::fill_n(inPicture.begin() + (it - good.begin()), pic->size(), true);
    }
    std::vector<std::size_t> structural;
    for (std::size_t i = 0; i < good.size(); ++i)
        if (!inPicture[i]) structural.push_back(i);

    std::mt19937 rng(20240611);
    int accepted = 0;
    for (int round = 0; round < 4000; ++round) {
        Bytes b = good;
        int changes = 1 + static_cast<int>(rng() % 3);
        for (int k = 0; k < changes; ++k) {
            std::size_t at = (rng() % 2) ? structural[rng() % structural.size()] : rng() % b.size();
            switch (rng() % 4) {
                case 0: b[at] ^= static_cast<std::uint8_t>(1u << (rng() % 8)); break;
                case 1: b[at] = static_cast<std::uint8_t>(rng()); break;
                case 2: b[at] = (rng() % 2) ? 0x00 : 0xFF; break;
                default:
                    if (at + 4 <= b.size()) SetU32(b, at, (rng() % 2) ? rng() % 64 : 0xFFFFFFFFu - rng() % 64);
            }
        }
        auto form = Decode(b);
        if (!form) continue;
        ++accepted;
        const Bytes again = EncodeForm(*form);
        ASSERT_FALSE(again.empty()) << "round " << round;
        ASSERT_EQ(Decode(again), form) << "round " << round;
    }
    // Damage inside the pictures is not the decoder's to see.
    EXPECT_GT(accepted, 0);
}

TEST(FormCodec, GbkCheck) {
    EXPECT_TRUE(IsGbkText(""));
    EXPECT_TRUE(IsGbkText("ascii 09"));
    EXPECT_TRUE(IsGbkText("价格：24 小时"));
    EXPECT_TRUE(IsGbkText("\x80"));  // the euro sign
    EXPECT_FALSE(IsGbkText(std::string_view("a\0", 2)));
    EXPECT_FALSE(IsGbkText("\xFF"));
    EXPECT_FALSE(IsGbkText("\xB0\x7F"));
    EXPECT_FALSE(IsGbkText("\xB0\x30"));
    EXPECT_FALSE(IsGbkText("\xB0"));
}

}  // namespace
}  // namespace qelvane

#include "app/MainWindowForm.h"

#include <gtest/gtest.h>

#include "app/RoutineOffsets.h"
#include "app/ServiceCatalogue.h"
#include "vendor/VendorData.h"
#include "app/EmbeddedPictures.h"
#include "ui/form/LogFont.h"
#include "ui/form/Schema.h"

namespace qelvane {
namespace {

const WindowTemplate& Main() { return MainWindowForm().windows.at(0); }

Bytes Gbk(std::initializer_list<std::uint8_t> bytes) { return bytes; }
Bytes AsBytes(const Text& t) { return Bytes(t.begin(), t.end()); }

template <class P>
const P& Settings(std::size_t index) {
    return std::get<P>(Main().components.at(index).settings);
}

TEST(MainWindowForm, WindowEntry) {
    ASSERT_EQ(MainWindowForm().windows.size(), 1u);
    const WindowTemplate& w = Main();
    EXPECT_EQ(w.id, 0x52010001u);
    EXPECT_EQ(w.word0, 0x02882AA0u);
    EXPECT_EQ(w.word1, 0x1901000Fu);
    EXPECT_EQ(w.self.id, kOwnRecordId);
    EXPECT_EQ(w.self.type, TypeCode::Window);
    EXPECT_EQ(w.self.name, "");
    EXPECT_EQ((std::array{w.self.left, w.self.top, w.self.width, w.self.height}), (std::array{50, 50, 495, 398}));
    EXPECT_TRUE(w.self.visible);
    EXPECT_TRUE(w.self.bindings.empty());

    const auto& p = std::get<WindowProps>(w.self.settings);
    EXPECT_EQ(p.border, 2);
    EXPECT_EQ(p.backPictureMode, 1);
    EXPECT_EQ(p.backColor, kSystemFaceColour);
    EXPECT_EQ(p.maxButton, 0);
    EXPECT_EQ(p.minButton, 1);
    EXPECT_EQ(p.controlBox, 1);
    EXPECT_EQ(p.startPosition, 1);
    EXPECT_EQ(p.movable, 1);
    EXPECT_EQ(p.enterMovesFocus, 0);
    EXPECT_EQ(p.escCloses, 1);
    EXPECT_EQ(p.f1OpensHelp, 0);
    EXPECT_EQ(p.showInTaskbar, 1);
    EXPECT_EQ(p.alwaysOnTop, 0);
    EXPECT_TRUE(p.backPicture.empty());
    EXPECT_TRUE(p.icon.empty());
    // "Qelvane QQ：" then the number, one blank, the host.
    Bytes title = Gbk({'Q', 'e', 'l', 'v', 'a', 'n', 'e', ' ', 'Q', 'Q', 0xA3, 0xBA});
    for (const char* part : {vendor::kQqNumber, " ", vendor::kWebHost})
        for (const char* c = part; *c; ++c) title.push_back(static_cast<std::uint8_t>(*c));
    EXPECT_EQ(AsBytes(p.title), title);
}

struct Expected {
    const char* name;
    TypeCode type;
    std::uint32_t id;
    std::uint32_t parent;
    std::int32_t left, top, width, height;
    bool tabStop;
};

constexpr std::uint32_t kTab = 0x16010008;
constexpr TypeCode R = TypeCode::RadioBox;

TEST(MainWindowForm, ComponentsInFormOrder) {
    const Expected expected[] = {
        {"超级按钮2", TypeCode::SuperBtn, 0x160162A7, 0, 208, 300, 168, 56, true},
        {"超级按钮1", TypeCode::SuperBtn, 0x160162A6, 0, 253, 264, 77, 22, true},
        {"单选框12", R, 0x160121A3, kTab, 8, 176, 456, 32, true},
        {"单选框8", R, 0x160121A0, kTab, 8, 178, 456, 32, true},
        {"图片框1", TypeCode::PicBox, 0x16010029, 0, 383, 263, 95, 95, false},
        {"单选框11", R, 0x16010028, kTab, 8, 129, 456, 32, true},
        {"单选框10", R, 0x16010027, kTab, 8, 82, 456, 32, true},
        {"单选框9", R, 0x16010026, kTab, 8, 35, 456, 32, true},
        {"单选框7", R, 0x16010020, kTab, 8, 128, 456, 32, true},
        {"单选框6", R, 0x1601001F, kTab, 8, 80, 456, 32, true},
        {"单选框5", R, 0x1601001E, kTab, 8, 32, 456, 32, true},
        {"透明标签_价格", TypeCode::TransLabel, 0x16010012, 0, 8, 258, 192, 38, false},
        {"按钮1", TypeCode::Button, 0x1601000E, 0, 16, 300, 168, 56, true},
        {"单选框4", R, 0x1601000D, kTab, 8, 176, 456, 32, true},
        {"单选框3", R, 0x1601000C, kTab, 8, 128, 456, 32, true},
        {"单选框2", R, 0x1601000B, kTab, 8, 80, 456, 32, true},
        {"单选框1", R, 0x16010009, kTab, 8, 32, 456, 32, true},
        {"选择夹", TypeCode::Tab, 0x16010008, 0, 0, 0, 488, 248, false},
    };
    const auto& c = Main().components;
    ASSERT_EQ(c.size(), std::size(expected));
    for (std::size_t i = 0; i < c.size(); ++i) {
        SCOPED_TRACE(expected[i].name);
        EXPECT_EQ(c[i].name, expected[i].name);
        EXPECT_EQ(c[i].type, expected[i].type);
        EXPECT_EQ(c[i].id, expected[i].id);
        EXPECT_EQ(c[i].parent, expected[i].parent);
        EXPECT_EQ((std::array{c[i].left, c[i].top, c[i].width, c[i].height}),
                  (std::array{expected[i].left, expected[i].top, expected[i].width, expected[i].height}));
        EXPECT_EQ(c[i].tabStop, expected[i].tabStop);
        EXPECT_TRUE(c[i].visible);
        EXPECT_FALSE(c[i].disable);
        EXPECT_EQ(c[i].focusOrder, 0);
        // The picture box's tag is its name for screen readers; no other component has one.
        EXPECT_EQ(c[i].tag, c[i].id == kPicBoxId ? std::string(vendor::kQrCodeName) : std::string());
        EXPECT_EQ(c[i].remark, "");
        EXPECT_TRUE(c[i].cursor.empty());
        EXPECT_EQ(TypeOf(c[i].settings), c[i].type);
        if (i > 0) {
            EXPECT_LT(c[i].id, c[i - 1].id) << "form order is descending identifier order";
        }
    }
    // The ids the price routine uses are the form's.
    EXPECT_EQ(c[17].id, kTabId);
    EXPECT_EQ(c[11].id, kPriceLabelId);
    EXPECT_EQ(AsBytes(c[0].name), Gbk({0xB3, 0xAC, 0xBC, 0xB6, 0xB0, 0xB4, 0xC5, 0xA5, 0x32}));
}

TEST(MainWindowForm, PageListsAndCaptions) {
    const ComponentEntry& tab = Main().components.back();
    using Ids = std::vector<std::uint32_t>;
    ASSERT_EQ(tab.pageList.size(), 3u);
    EXPECT_EQ(tab.pageList[0], (Ids{0x1601000D, 0x1601000C, 0x1601000B, 0x16010009}));
    EXPECT_EQ(tab.pageList[1], (Ids{0x160121A0, 0x16010020, 0x1601001F, 0x1601001E}));
    EXPECT_EQ(tab.pageList[2], (Ids{0x160121A3, 0x16010028, 0x16010027, 0x16010026}));
    for (std::size_t i = 0; i + 1 < Main().components.size(); ++i)
        EXPECT_TRUE(Main().components[i].pageList.empty());

    const auto& p = std::get<TabProps>(tab.settings);
    ASSERT_EQ(p.pageCaptions.size(), 3u);
    EXPECT_EQ(AsBytes(p.pageCaptions[0]), Gbk({0xCE, 0xA2, 0xD0, 0xC5, 0xD4, 0xC4, 0xB6, 0xC1, 0xB7, 0xDB, 0xCB, 0xBF}));
    EXPECT_EQ(p.pageCaptions[1], "微信投票");
    EXPECT_EQ(p.pageCaptions[2], "公众号推广");
    EXPECT_EQ(p, (TabProps{.pageCaptions = p.pageCaptions}));  // all else at the defaults
}

TEST(MainWindowForm, OnlyTheThreeClicksAreBound) {
    const auto& c = Main().components;
    auto binding = [](std::int32_t offset) { return std::vector<EventBinding>{{0, offset, nullptr}}; };
    for (std::size_t i = 0; i < c.size(); ++i) {
        SCOPED_TRACE(i);
        std::vector<EventBinding> expected;
        if (i == 0) expected = binding(kOpenOrderPageOffset);
        if (i == 1) expected = binding(kOpenQqChatOffset);
        if (i == 12) expected = binding(kRefreshPriceLabelOffset);
        EXPECT_EQ(c[i].bindings, expected);
    }
}

TEST(MainWindowForm, RadioBoxes) {
    int checked = 0;
    for (const ComponentEntry& c : Main().components) {
        if (c.type != TypeCode::RadioBox) continue;
        const auto& p = std::get<RadioBoxProps>(c.settings);
        if (p.checked) {
            ++checked;
            EXPECT_EQ(c.name, "单选框2");
        }
        RadioBoxProps same{.caption = p.caption, .checked = p.checked};
        EXPECT_EQ(p, same) << "only caption and Checked differ from the defaults";
    }
    EXPECT_EQ(checked, 1);
    // Full-width punctuation with the ASCII "|" and "-" kept.
    Bytes twelve = AsBytes(Settings<RadioBoxProps>(2).caption);
    Bytes start = Gbk({0xD7, 0xAA, 0xB7, 0xA2, 0x7C, 0xCA, 0xD5, 0xB2, 0xD8, 0x7C, 0xD4, 0xAD,
                       0xCE, 0xC4, 0xD4, 0xC4, 0xB6, 0xC1, 0xA3, 0xBA});
    ASSERT_GE(twelve.size(), start.size());
    EXPECT_TRUE(std::equal(start.begin(), start.end(), twelve.begin()));
    Bytes nine = AsBytes(Settings<RadioBoxProps>(7).caption);
    Bytes end = Gbk({0x33, 0x30, 0x30, 0x2D, 0x31, 0x30, 0x30, 0x30, 0xB8, 0xF6, 0xB7, 0xDB, 0xCB, 0xBF,
                     0xA3, 0xAC, 0xC1, 0xA2, 0xBC, 0xB4, 0xD2, 0xFD, 0xB1, 0xAC, 0xC5, 0xF3, 0xD3, 0xD1,
                     0xC8, 0xA6, 0xA3, 0xA1});
    ASSERT_GE(nine.size(), end.size());
    EXPECT_TRUE(std::equal(end.rbegin(), end.rend(), nine.rbegin()));
}

TEST(MainWindowForm, ButtonLabelAndPicture) {
    const auto& button = Settings<ButtonProps>(12);
    EXPECT_EQ(AsBytes(button.caption), Gbk({0xBB, 0xF1, 0xC8, 0xA1, 0xD7, 0xEE, 0xD0, 0xC2, 0xBC, 0xDB, 0xB8, 0xF1}));
    EXPECT_EQ(button, (ButtonProps{.caption = button.caption}));

    const auto& label = Settings<TransLabelProps>(11);
    EXPECT_EQ(AsBytes(label.caption), Gbk({0xBC, 0xDB, 0xB8, 0xF1, 0xA3, 0xBA}));
    EXPECT_EQ(label.caption, kDefaultPriceText);
    EXPECT_EQ(label, (TransLabelProps{.caption = label.caption}));

    const auto& pic = Settings<PicBoxProps>(4);
    EXPECT_EQ(pic.border, 0);
    EXPECT_EQ(pic.backColor, kSystemFaceColour);
    EXPECT_EQ(pic.drawMode, 1);
    EXPECT_EQ(pic.playAnimation, 1);
    EXPECT_EQ(pic.dataSource, "");
    EXPECT_EQ(pic.picture, Bytes(embedded::kQrCode, embedded::kQrCode + embedded::kQrCodeSize));
    ASSERT_GE(pic.picture.size(), 2u);
    EXPECT_EQ(pic.picture[0], 0xFF);
    EXPECT_EQ(pic.picture[1], 0xD8);
}

TEST(MainWindowForm, SuperButtons) {
    const auto& order = Settings<SuperBtnProps>(0);
    const auto& chat = Settings<SuperBtnProps>(1);
    EXPECT_EQ(order.btnStyle, 1);
    EXPECT_EQ(chat.btnStyle, 0);
    EXPECT_EQ(AsBytes(order.caption),
              Gbk({0x32, 0x34, 0x20, 0xD0, 0xA1, 0xCA, 0xB1, 0xD7, 0xD4, 0xD6, 0xFA, 0xCF, 0xC2, 0xB5, 0xA5}));
    EXPECT_EQ(order.toolTip, "今日头条、抖音、快手、小红书、微博、微信 24 小时自助下单");
    EXPECT_EQ(chat.caption, "");
    EXPECT_EQ(AsBytes(chat.toolTip), Gbk({0xB7, 0xB4, 0xC0, 0xA1, 0xCE, 0xCA, 0xCC, 0xE2}));
    EXPECT_EQ(chat.picOut, Bytes(embedded::kQqBadgePng, embedded::kQqBadgePng + embedded::kQqBadgePngSize));
    ASSERT_GE(chat.picOut.size(), 4u);
    EXPECT_EQ(chat.picOut[1], 'P');
    EXPECT_TRUE(order.picOut.empty());
    for (const SuperBtnProps* p : {&order, &chat}) {
        EXPECT_TRUE(p->picIn.empty());
        EXPECT_TRUE(p->picDisabled.empty());
        EXPECT_EQ(p->drawBorder, 1);
        EXPECT_EQ(p->defaultColor, 0);
        EXPECT_EQ(p->fgColorOut, 0x0000FFu);
        EXPECT_EQ(p->fgColorIn, 0x0000FFu);
        EXPECT_EQ(p->fgColorFocus, 0x0000FFu);
        EXPECT_EQ(p->bkColorOut, kSystemFaceColour);
        EXPECT_EQ(p->bkColorIn, kSystemFaceColour);
        EXPECT_EQ(p->bkColorFocus, kSystemFaceColour);
        EXPECT_EQ(p->transColorOut, kSystemFaceColour);
        EXPECT_EQ(p->transColorIn, kSystemFaceColour);
        EXPECT_EQ(p->transColorDisabled, kSystemFaceColour);
        EXPECT_EQ(p->checkBox, 0);
        EXPECT_EQ(p->standardSound, 0);
        EXPECT_EQ(p->defaultStyle, 0);
        EXPECT_EQ(p->font, SuperBtnFont());
    }
}

TEST(MainWindowForm, SuperBtnFontBytes) {
    Bytes expected = {0xF4, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // height -12, width,
                      0x90, 0x01, 0, 0,                                          // escapement, orientation; 400
                      0, 0, 0, 134, 3, 2, 1, 2,                                  // italic .. pitch and family
                      0xCB, 0xCE, 0xCC, 0xE5};                                   // 宋体
    expected.resize(kLogFontSize, 0);
    EXPECT_EQ(SuperBtnFont(), expected);
    auto parsed = ParseLogFont(expected);
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(parsed->faceName, "宋体");
    EXPECT_EQ(parsed->weight, 400);
    EXPECT_FALSE(ParseLogFont(Bytes(59, 0)).has_value());
}

}  // namespace
}  // namespace qelvane

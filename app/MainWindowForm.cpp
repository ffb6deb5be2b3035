#include "app/MainWindowForm.h"

#include <string>

#include "app/RoutineOffsets.h"
#include "vendor/VendorData.h"
#include "app/Identifiers.h"
#include "app/EmbeddedPictures.h"
#include "ui/form/LogFont.h"

namespace qelvane {
namespace {

constexpr std::uint32_t kClientArea = 0;

struct Rect {
    std::int32_t left, top, width, height;
};

enum class Stop { No, Yes };

// Every component of this form is visible, enabled, FocusOrder 0, untagged.
ComponentEntry Component(TypeCode type, const char* name, std::uint32_t id, std::uint32_t parent,
                         Rect r, Stop tabStop, TypeSettings settings) {
    ComponentEntry e;
    e.type = type;
    e.name = name;
    e.id = id;
    e.parent = parent;
    e.left = r.left;
    e.top = r.top;
    e.width = r.width;
    e.height = r.height;
    e.visible = true;
    e.tabStop = tabStop == Stop::Yes;
    e.settings = std::move(settings);
    return e;
}

// The tag of the picture box is what a screen reader calls it.
ComponentEntry Tagged(ComponentEntry e, const char* tag) {
    e.tag = tag;
    return e;
}

ComponentEntry Bound(ComponentEntry e, std::int32_t routineOffset) {
    e.bindings.push_back({.event = 0, .routineOffset = routineOffset});
    return e;
}

ComponentEntry Radio(const char* name, std::uint32_t id, Rect r, const char* caption,
                     bool checked = false) {
    RadioBoxProps p;
    p.caption = caption;
    p.checked = checked ? 1 : 0;
    return Component(TypeCode::RadioBox, name, id, kTabId, r, Stop::Yes, p);
}

Bytes Picture(const std::uint8_t* bytes, std::size_t size) { return Bytes(bytes, bytes + size); }

// Shared by both super buttons: flat colours off, red text on the face colour.
SuperBtnProps SuperBtnBase(std::int32_t btnStyle, const char* caption, const char* toolTip) {
    SuperBtnProps p;
    p.btnStyle = btnStyle;
    p.drawBorder = 1;
    p.font = SuperBtnFont();
    p.caption = caption;
    p.toolTip = toolTip;
    p.defaultColor = 0;
    p.fgColorOut = p.fgColorIn = p.fgColorFocus = 0x0000FF;
    p.bkColorOut = p.bkColorIn = p.bkColorFocus = kSystemFaceColour;
    return p;
}

WindowTemplate BuildMainWindow() {
    WindowProps w;
    w.border = 2;
    w.backPictureMode = 1;
    w.backColor = kSystemFaceColour;
    w.maxButton = 0;
    w.minButton = 1;
    w.controlBox = 1;
    w.startPosition = 1;
    w.movable = 1;
    w.escCloses = 1;
    w.showInTaskbar = 1;
    w.title = std::string("Qelvane QQ：") + vendor::kQqNumber + " " + vendor::kWebHost;

    WindowTemplate win;
    win.id = kMainWindowId;
    win.self.type = TypeCode::Window;
    win.self.id = kOwnRecordId;
    win.self.left = 50;
    win.self.top = 50;
    win.self.width = 495;
    win.self.height = 398;
    win.self.visible = true;
    win.self.settings = w;

    SuperBtnProps order = SuperBtnBase(1, "24 小时自助下单",
                                       "今日头条、抖音、快手、小红书、微博、微信 24 小时自助下单");
    SuperBtnProps chat = SuperBtnBase(0, "", "反馈问题");
    chat.picOut = Picture(embedded::kQqBadgePng, embedded::kQqBadgePngSize);

    PicBoxProps qr;
    qr.picture = Picture(embedded::kQrCode, embedded::kQrCodeSize);
    qr.drawMode = 1;

    TransLabelProps label;
    label.caption = "价格：";

    ButtonProps button;
    button.caption = "获取最新价格";

    TabProps tab;
    tab.pageCaptions.assign(std::begin(vendor::kPageCaptions), std::end(vendor::kPageCaptions));

    win.components = {
        Bound(Component(TypeCode::SuperBtn, "超级按钮2", kOrderButtonId, kClientArea, {208, 300, 168, 56},
                        Stop::Yes, order),
              kOpenOrderPageOffset),
        Bound(Component(TypeCode::SuperBtn, "超级按钮1", kChatButtonId, kClientArea, {253, 264, 77, 22},
                        Stop::Yes, chat),
              kOpenQqChatOffset),
        Radio("单选框12", kRadioBoxIds[2][3], {8, 176, 456, 32}, vendor::kRadioCaptions[2][3]),
        Radio("单选框8", kRadioBoxIds[1][3], {8, 178, 456, 32}, vendor::kRadioCaptions[1][3]),
        Tagged(Component(TypeCode::PicBox, "图片框1", kPicBoxId, kClientArea, {383, 263, 95, 95}, Stop::No, qr),
               vendor::kQrCodeName),
        Radio("单选框11", kRadioBoxIds[2][2], {8, 129, 456, 32}, vendor::kRadioCaptions[2][2]),
        Radio("单选框10", kRadioBoxIds[2][1], {8, 82, 456, 32}, vendor::kRadioCaptions[2][1]),
        Radio("单选框9", kRadioBoxIds[2][0], {8, 35, 456, 32}, vendor::kRadioCaptions[2][0]),
        Radio("单选框7", kRadioBoxIds[1][2], {8, 128, 456, 32}, vendor::kRadioCaptions[1][2]),
        Radio("单选框6", kRadioBoxIds[1][1], {8, 80, 456, 32}, vendor::kRadioCaptions[1][1]),
        Radio("单选框5", kRadioBoxIds[1][0], {8, 32, 456, 32}, vendor::kRadioCaptions[1][0]),
        Component(TypeCode::TransLabel, "透明标签_价格", kPriceLabelId, kClientArea, {8, 258, 192, 38},
                  Stop::No, label),
        Bound(Component(TypeCode::Button, "按钮1", kButtonId, kClientArea, {16, 300, 168, 56}, Stop::Yes,
                        button),
              kRefreshPriceLabelOffset),
        Radio("单选框4", kRadioBoxIds[0][3], {8, 176, 456, 32}, vendor::kRadioCaptions[0][3]),
        Radio("单选框3", kRadioBoxIds[0][2], {8, 128, 456, 32}, vendor::kRadioCaptions[0][2]),
        Radio("单选框2", kRadioBoxIds[0][1], {8, 80, 456, 32}, vendor::kRadioCaptions[0][1], /*checked=*/true),
        Radio("单选框1", kRadioBoxIds[0][0], {8, 32, 456, 32}, vendor::kRadioCaptions[0][0]),
        Component(TypeCode::Tab, "选择夹", kTabId, kClientArea, {0, 0, 488, 248}, Stop::No, tab),
    };
    // Each page lists its radio boxes from the bottom one up: the first gets
    // the focus when the page comes to the front.
    win.components.back().pageList = {
        {kRadioBoxIds[0][3], kRadioBoxIds[0][2], kRadioBoxIds[0][1], kRadioBoxIds[0][0]},
        {kRadioBoxIds[1][3], kRadioBoxIds[1][2], kRadioBoxIds[1][1], kRadioBoxIds[1][0]},
        {kRadioBoxIds[2][3], kRadioBoxIds[2][2], kRadioBoxIds[2][1], kRadioBoxIds[2][0]},
    };
    return win;
}

}  // namespace

Bytes SuperBtnFont() {
    LogFontA f;
    f.height = -12;
    f.weight = 400;
    f.charSet = 134;  // GB2312
    f.outPrecision = 3;
    f.clipPrecision = 2;
    f.quality = 1;
    f.pitchAndFamily = 2;
    f.faceName = "宋体";
    return LogFontBytes(f);
}

const FormDescription& MainWindowForm() {
    static const FormDescription form{{BuildMainWindow()}};
    return form;
}

}  // namespace qelvane

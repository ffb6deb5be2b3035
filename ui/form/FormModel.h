// The decoded form: what the stored form bytes say, as plain values.
// Portable: no platform headers. Texts are GBK bytes.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace qelvane {

using Bytes = std::vector<std::uint8_t>;
using Text = std::string;  // GBK bytes, no terminator

// Background colour value meaning "the system button-face colour, looked up when used".
inline constexpr std::uint32_t kSystemFaceColour = 0xFF000000u;
// Image-button defaults that depend on the system colours: a button whose block
// does not set them looks them up once, when it is created.
inline constexpr std::uint32_t kButtonTextAtCreation = 0xFE000012u;
inline constexpr std::uint32_t kLitFaceAtCreation = 0xFE00000Fu;  // the face shifted by +32

enum class TypeCode : std::uint32_t {
    Window = 0x00010001,
    PicBox = 0x00010006,
    Button = 0x0001000B,
    RadioBox = 0x0001000D,
    Tab = 0x00010015,
    TransLabel = 0x00020005,
    SuperBtn = 0x00040001,
};

// Routines are plain functions without arguments or result.
using Routine = void (*)();

struct EventBinding {
    std::int32_t event = 0;
    std::int32_t routineOffset = -1;  // as stored; -1 means no routine
    Routine routine = nullptr;        // resolved while decoding
    friend bool operator==(const EventBinding&, const EventBinding&) = default;
};

// Event numbers are per type; 0 is each type's main event, the negative ones are shared.
namespace events {
inline constexpr std::int32_t kClicked = 0;        // Button, SuperBtn, RadioBox, Tab
inline constexpr std::int32_t kFocusGained = -7;
inline constexpr std::int32_t kFocusLost = -8;
inline constexpr std::int32_t kPageChanging = 1;   // Tab: a false result keeps the page
inline constexpr std::int32_t kPageChanged = 2;    // Tab
inline constexpr std::int32_t kWindowCreated = 0;  // the window, once it is built and shown
inline constexpr std::int32_t kWindowMayClose = 12;  // the window's close queries, in this order
inline constexpr std::int32_t kWindowClosing = 1;
}  // namespace events

// ---- Type settings (the property blocks), defaults as a fresh component has them ----
// How each field is stored, numbered and applied is in its type's schema (ui/form/Schema.cpp).

struct WindowProps {
    static constexpr TypeCode kCode = TypeCode::Window;
    static constexpr std::uint32_t kVersion = 6;
    std::int32_t border = 0;
    std::int32_t backPictureMode = 0;
    std::uint32_t backColor = 0;
    std::int32_t maxButton = 0;
    std::int32_t minButton = 0;
    std::int32_t controlBox = 0;
    std::int32_t startPosition = 0;
    std::int32_t movable = 0;
    std::int32_t soundPlayMode = 0;
    std::int32_t enterMovesFocus = 0;
    std::int32_t escCloses = 0;
    std::int32_t f1OpensHelp = 0;
    std::int32_t helpContext = 0;
    std::int32_t showInTaskbar = 1;
    std::int32_t dragByClient = 0;
    std::int32_t shape = 0;
    std::int32_t alwaysOnTop = 0;
    std::int32_t keepCaptionActive = 0;
    Text className;
    Bytes backPicture;
    Bytes icon;
    Bytes backSound;
    Text title;
    Text helpFile;
    friend bool operator==(const WindowProps&, const WindowProps&) = default;
};

struct TabProps {
    static constexpr TypeCode kCode = TypeCode::Tab;
    static constexpr std::uint32_t kVersion = 3;
    std::int32_t headerPos = 0;
    std::int32_t multiLine = 0;
    Bytes font;
    std::vector<Text> pageCaptions{Text{}};
    std::int32_t currentPage = 0;
    std::int32_t hideHeader = 0;
    std::int32_t fillBack = 1;
    std::uint32_t backColor = kSystemFaceColour;
    friend bool operator==(const TabProps&, const TabProps&) = default;
};

struct RadioBoxProps {
    static constexpr TypeCode kCode = TypeCode::RadioBox;
    static constexpr std::uint32_t kVersion = 1;
    Bytes picture;
    std::int32_t pushLike = 0;
    std::int32_t flat = 0;
    Text caption = "单选框";
    std::int32_t leftText = 0;
    std::int32_t hAlign = 0;
    std::int32_t vAlign = 1;
    std::uint32_t textColor = 0;
    std::uint32_t backColor = kSystemFaceColour;
    Bytes font;
    std::int32_t checked = 0;
    friend bool operator==(const RadioBoxProps&, const RadioBoxProps&) = default;
};

struct ButtonProps {
    static constexpr TypeCode kCode = TypeCode::Button;
    static constexpr std::uint32_t kVersion = 1;
    Bytes picture;
    std::int32_t buttonType = 0;
    Text caption = "按钮";
    std::int32_t hAlign = 1;
    std::int32_t vAlign = 1;
    Bytes font;
    friend bool operator==(const ButtonProps&, const ButtonProps&) = default;
};

struct TransLabelProps {
    static constexpr TypeCode kCode = TypeCode::TransLabel;
    static constexpr std::uint32_t kVersion = 1;
    Text caption = "透明标签";
    std::int32_t textEffect = 0;
    Bytes font;
    std::uint32_t textColor = 0;
    std::int32_t hAlign = 0;
    std::int32_t wordWrap = 0;
    std::int32_t vAlign = 1;
    friend bool operator==(const TransLabelProps&, const TransLabelProps&) = default;
};

struct SuperBtnProps {
    static constexpr TypeCode kCode = TypeCode::SuperBtn;
    static constexpr std::uint32_t kVersion = 2;
    std::int32_t btnStyle = 0;
    std::int32_t checkBox = 0;
    std::int32_t checked = 0;
    std::int32_t alignStyle = 0;
    std::int32_t pressStyle = 0;
    std::int32_t drawBorder = 1;
    std::int32_t drawFocus = 0;
    Bytes picOut;
    std::uint32_t transColorOut = kSystemFaceColour;
    Bytes picIn;
    std::uint32_t transColorIn = kSystemFaceColour;
    Bytes picDisabled;
    std::uint32_t transColorDisabled = kSystemFaceColour;
    Bytes font;
    Text caption = "超级按钮";
    std::int32_t defaultColor = 1;
    // With defaultColor 1 these six are replaced by system colours at paint time.
    std::uint32_t fgColorOut = kButtonTextAtCreation;
    std::uint32_t bkColorOut = kSystemFaceColour;
    std::uint32_t fgColorIn = kButtonTextAtCreation;
    std::uint32_t bkColorIn = kLitFaceAtCreation;
    std::uint32_t fgColorFocus = kButtonTextAtCreation;
    std::uint32_t bkColorFocus = kSystemFaceColour;
    std::int32_t standardSound = 0;
    Bytes overSound;
    Bytes clickSound;
    Text toolTip;
    std::int32_t defaultStyle = 0;
    friend bool operator==(const SuperBtnProps&, const SuperBtnProps&) = default;
};

struct PicBoxProps {
    static constexpr TypeCode kCode = TypeCode::PicBox;
    static constexpr std::uint32_t kVersion = 2;
    std::int32_t border = 0;
    std::uint32_t backColor = kSystemFaceColour;
    Bytes picture;
    std::int32_t drawMode = 0;
    std::int32_t playAnimation = 1;
    Text dataSource;
    Text dataColumn;
    friend bool operator==(const PicBoxProps&, const PicBoxProps&) = default;
};

using TypeSettings = std::variant<WindowProps, TabProps, RadioBoxProps, ButtonProps,
                                  TransLabelProps, SuperBtnProps, PicBoxProps>;

// One record of a window: the window's own entry or a component entry.
struct ComponentEntry {
    TypeCode type = TypeCode::Window;
    Text name;     // instance name
    Text remark;   // empty in every record of this form
    std::uint32_t id = 0;
    std::uint32_t parent = 0;  // 0: the window's client area
    std::int32_t left = 0, top = 0, width = 0, height = 0;
    std::vector<std::vector<std::uint32_t>> pageList;  // Tab only: one list per page
    Bytes cursor;  // MousePointer data; empty for the default arrow
    Text tag;
    bool visible = false;
    bool disable = false;
    bool tabStop = false;
    std::int32_t focusOrder = 0;
    std::vector<EventBinding> bindings;
    TypeSettings settings;
    // A property block of a newer version than this program reads, kept as
    // stored: the form decodes, but the component cannot be built from it.
    Bytes newerBlock;
    friend bool operator==(const ComponentEntry&, const ComponentEntry&) = default;
};

inline constexpr std::uint32_t kOwnRecordId = 0x06010000u;
// Whether an identifier names the window itself (0 or its own record's) rather than a component.
inline constexpr bool NamesWindowItself(std::uint32_t id) { return id == 0 || id == kOwnRecordId; }

// The kind of an identifier is in its bits 24-27.
inline constexpr std::uint32_t kKindMask = 0x0F000000u;
inline constexpr std::uint32_t kWindowKind = 0x02000000u;
inline constexpr std::uint32_t kRecordKind = 0x06000000u;
inline constexpr std::uint32_t kMenuItemMark = 0x20000000u;  // top four bits of a menu record

constexpr bool IsWindowId(std::uint32_t id) { return (id & kKindMask) == kWindowKind; }
constexpr bool IsMenuItemId(std::uint32_t id) {
    return (id & kKindMask) == kRecordKind && (id & 0xF0000000u) == kMenuItemMark;
}

struct WindowTemplate {
    std::uint32_t id = 0;
    std::uint32_t word0 = 0x02882AA0u;  // carried, never read when building
    std::uint32_t word1 = 0x1901000Fu;
    Text text0, text1;                  // carried, empty here
    ComponentEntry self;                // type Window, id kOwnRecordId
    std::vector<ComponentEntry> components;  // form order
    friend bool operator==(const WindowTemplate&, const WindowTemplate&) = default;
};

struct FormDescription {
    std::vector<WindowTemplate> windows;
    friend bool operator==(const FormDescription&, const FormDescription&) = default;
};

}  // namespace qelvane

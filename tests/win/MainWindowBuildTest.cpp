// MainWindow as built from the stored form: frame, place, title, components,
// their parents, classes, stacking, initial visibility, checks and focus.
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <map>
#include <optional>
#include <utility>

#include "vendor/VendorData.h"
#include "tests/win/WinTestSupport.h"
#include "ui/form/FormCodec.h"

namespace qelvane::wintest {
namespace {

std::wstring Widen(const char* ascii) { return std::wstring(ascii, ascii + std::strlen(ascii)); }

TEST_F(MainWindowTest, FrameIsFixedWithMinimiseAndCloseButNoMaximise) {
    const LONG style = GetWindowLongW(Main(), GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME) << "the frame must not be resizable";
    EXPECT_FALSE(style & WS_CHILD);
    EXPECT_EQ(GetWindow(Main(), GW_OWNER), nullptr) << "unowned, with its own taskbar button";
    EXPECT_TRUE(IsWindowVisible(Main()));
}

TEST_F(MainWindowTest, OuterSizeAndCentredOnThePrimaryScreen) {
    RECT r;
    GetWindowRect(Main(), &r);
    EXPECT_EQ(r.right - r.left, 495);
    EXPECT_EQ(r.bottom - r.top, 398);
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 495) / 2);
    EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 398) / 2);
    RECT client;
    GetClientRect(Main(), &client);
    EXPECT_GE(client.right, 488) << "the client area holds every component";
    EXPECT_GE(client.bottom, 358);
}

TEST_F(MainWindowTest, TitleReadsBackAsUnicode) {
    const std::wstring expected = L"Qelvane QQ\uFF1A" + Widen(vendor::kQqNumber) + L" " + Widen(vendor::kWebHost);
    EXPECT_EQ(TextOf(Main()), expected);
}

TEST_F(MainWindowTest, EveryComponentHasItsNativeWindowInPlace) {
    const std::map<TypeCode, std::wstring> classes{
        {TypeCode::Tab, L"SysTabControl32"},      {TypeCode::RadioBox, L"Button"},
        {TypeCode::Button, L"Button"},            {TypeCode::SuperBtn, L"Button"},
        {TypeCode::TransLabel, L"Qelvane.TransLabel"}, {TypeCode::PicBox, L"Qelvane.PicBox"},
    };
    ASSERT_EQ(window_->Slots().size(), 18u);
    for (const ComponentSlot& slot : window_->Slots()) {
        SCOPED_TRACE(slot.entry.id);
        HWND h = Native(slot.entry.id);
        ASSERT_NE(h, nullptr);
        EXPECT_EQ(_wcsicmp(ClassOf(h).c_str(), classes.at(slot.entry.type).c_str()), 0) << ClassOf(h).c_str();
        EXPECT_EQ(GetParent(h), slot.entry.parent ? Native(slot.entry.parent) : Main());
        const RECT r = RectInParent(h);
        EXPECT_EQ(r.left, slot.entry.left);
        EXPECT_EQ(r.top, slot.entry.top);
        EXPECT_EQ(r.right - r.left, slot.entry.width);
        EXPECT_EQ(r.bottom - r.top, slot.entry.height);
        EXPECT_EQ((GetWindowLongW(h, GWL_STYLE) & WS_TABSTOP) != 0, slot.entry.tabStop);
    }
}

TEST_F(MainWindowTest, PlacesMatchTheFormIncludingItsUnevenSteps) {
    // A few rectangles as the form gives them, independent of the decoder.
    struct Expect {
        std::uint32_t id;
        HWND parent;
        RECT r;
    };
    const Expect expected[] = {
        {kTab, Main(), {0, 0, 488, 248}},
        {kRadios[0][0], Native(kTab), {8, 32, 464, 64}},
        {kRadios[1][3], Native(kTab), {8, 178, 464, 210}},
        {kRadios[2][0], Native(kTab), {8, 35, 464, 67}},
        {kButton, Main(), {16, 300, 184, 356}},
        {kLabel, Main(), {8, 258, 200, 296}},
        {kSuperBtn1, Main(), {253, 264, 330, 286}},
        {kPicBox, Main(), {383, 263, 478, 358}},
    };
    for (const Expect& e : expected) {
        SCOPED_TRACE(e.id);
        HWND h = Native(e.id);
        ASSERT_NE(h, nullptr);
        EXPECT_EQ(GetParent(h), e.parent);
        const RECT r = RectInParent(h);
        EXPECT_EQ(r.left, e.r.left);
        EXPECT_EQ(r.top, e.r.top);
        EXPECT_EQ(r.right, e.r.right);
        EXPECT_EQ(r.bottom, e.r.bottom);
    }
}

TEST_F(MainWindowTest, StylesOfTheNativeControls) {
    const LONG tab = GetWindowLongW(Native(kTab), GWL_STYLE);
    EXPECT_FALSE(tab & (TCS_BOTTOM | TCS_VERTICAL | TCS_MULTILINE));
    EXPECT_EQ(SendMessageW(Native(kTab), TCM_GETITEMCOUNT, 0, 0), 3);
    const LONG radio = GetWindowLongW(Native(kRadios[0][0]), GWL_STYLE);
    EXPECT_EQ(radio & 0x0F, BS_AUTORADIOBUTTON);
    EXPECT_TRUE(radio & BS_MULTILINE);
    EXPECT_TRUE(radio & WS_CLIPSIBLINGS);
    EXPECT_FALSE(radio & WS_GROUP);
    const LONG button = GetWindowLongW(Native(kButton), GWL_STYLE);
    EXPECT_EQ(button & 0x0F, BS_PUSHBUTTON);
    EXPECT_EQ(button & BS_CENTER, BS_CENTER);
    EXPECT_EQ(button & BS_VCENTER, BS_VCENTER);
    EXPECT_EQ(GetWindowLongW(Native(kSuperBtn2), GWL_STYLE) & 0x1F, BS_OWNERDRAW);
    EXPECT_TRUE(GetWindowLongW(Native(kLabel), GWL_EXSTYLE) & WS_EX_TRANSPARENT);
}

TEST_F(MainWindowTest, CaptionsReachTheControlsAsUnicode) {
    EXPECT_EQ(TextOf(Native(kButton)), L"\u83B7\u53D6\u6700\u65B0\u4EF7\u683C");  // 获取最新价格
    EXPECT_EQ(TextOf(Native(kLabel)), L"\u4EF7\u683C\uFF1A");                     // 价格：
    EXPECT_EQ(TextOf(Native(kRadios[0][1])),
              L"\u5FAE\u4FE1\u5173\u6CE8\uFF1A\u4FD7\u79F0\u50F5\u5C38\u7C89\u6216\u6B7B\u7C89\uFF0C"
              L"\u6709\u6635\u79F0\u548C\u5934\u50CF");  // 微信关注：俗称僵尸粉或死粉，有昵称和头像
    wchar_t caption[32] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = caption;
    item.cchTextMax = 32;
    SendMessageW(Native(kTab), TCM_GETITEMW, 1, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ(caption, L"\u5FAE\u4FE1\u6295\u7968");  // 微信投票
}

// The image buttons' stored font says GB2312 and other precisions; the font is made with fixed ones.
TEST_F(MainWindowTest, OwnFontsAreMadeWithTheFixedCharsetPrecisionAndQuality) {
    for (std::uint32_t id : {kSuperBtn1, kSuperBtn2}) {
        SCOPED_TRACE(id);
        const auto font = reinterpret_cast<HFONT>(SendMessageW(Native(id), WM_GETFONT, 0, 0));
        ASSERT_NE(font, nullptr);
        ASSERT_NE(font, GetStockObject(DEFAULT_GUI_FONT));
        LOGFONTW lf{};
        ASSERT_EQ(GetObjectW(font, sizeof lf, &lf), static_cast<int>(sizeof lf));
        EXPECT_EQ(lf.lfCharSet, DEFAULT_CHARSET);
        EXPECT_EQ(lf.lfOutPrecision, OUT_DEFAULT_PRECIS);
        EXPECT_EQ(lf.lfClipPrecision, CLIP_DEFAULT_PRECIS);
        EXPECT_EQ(lf.lfQuality, PROOF_QUALITY);
        EXPECT_EQ(lf.lfPitchAndFamily, 0);
        EXPECT_EQ(lf.lfHeight, -12);
        EXPECT_EQ(lf.lfWeight, 400);
        EXPECT_STREQ(lf.lfFaceName, L"\u5B8B\u4F53");  // 宋体
    }
}

TEST_F(MainWindowTest, SiblingsStackInFormOrder) {
    for (HWND parent : {Main(), Native(kTab)}) {
        std::vector<HWND> expected;
        for (const ComponentSlot& slot : window_->Slots())
            if (GetParent(Native(slot.entry.id)) == parent) expected.push_back(Native(slot.entry.id));
        std::vector<HWND> actual;
        for (HWND h = GetWindow(parent, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
            if (window_->ComponentFromHwnd(h)) actual.push_back(h);
        EXPECT_EQ(actual, expected);
    }
}

TEST_F(MainWindowTest, OpensOnPageZeroWithSecondBoxCheckedAndFocusOnFirst) {
    EXPECT_EQ(SendMessageW(Native(kTab), TCM_GETCURSEL, 0, 0), 0);
    for (std::size_t page = 0; page < kRadios.size(); ++page)
        for (std::uint32_t id : kRadios[page]) {
            SCOPED_TRACE(id);
            EXPECT_EQ(IsWindowVisible(Native(id)) != 0, page == 0);
            EXPECT_EQ(SendMessageW(Native(id), BM_GETCHECK, 0, 0), id == kRadios[0][1] ? BST_CHECKED : BST_UNCHECKED);
        }
    for (std::uint32_t id : {kTab, kLabel, kButton, kSuperBtn1, kSuperBtn2, kPicBox})
        EXPECT_TRUE(IsWindowVisible(Native(id))) << id;
    EXPECT_EQ(GetFocus(), Native(kRadios[0][0]));
}

// Started from another folder (a shortcut with its own working folder), the
// runtime still works in the program's folder.
TEST(RuntimeStart, CurrentDirectoryBecomesTheProgramFolder) {
    wchar_t temp[MAX_PATH];
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    ASSERT_TRUE(SetCurrentDirectoryW(temp));
    InitializeRuntime(StoredFormBytes(), kCountingRoutines);

    wchar_t module[MAX_PATH];
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring folder(module);
    folder.resize(folder.rfind(L'\\'));
    wchar_t current[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, current);
    std::wstring now(current);
    if (now.size() > 3 && now.back() == L'\\') now.pop_back();
    EXPECT_EQ(_wcsicmp(now.c_str(), folder.c_str()), 0) << "started in " << temp;
    ExitProgram(0);
    testing::ResetRuntime();
}

TEST_F(MainWindowTest, RuntimeOwnerWindowIsAnInvisibleToolWindow) {
    HWND owner = OwnerWindow();
    ASSERT_NE(owner, nullptr);
    EXPECT_FALSE(IsWindowVisible(owner));
    EXPECT_TRUE(GetWindowLongW(owner, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
}

TEST(WindowLifetime, EveryHandleIsReleasedWhenTheRuntimeEnds) {
    const int windowsBefore = LiveHandles(HandleKind::Window);
    InitializeRuntime(StoredFormBytes(), kCountingRoutines);
    LoadWindow(kMainWindowId);
    // The owner window, MainWindow, its eighteen components and the image buttons' two tooltips.
    EXPECT_EQ(LiveHandles(HandleKind::Window) - windowsBefore, 22);
    FormWindow* w = FindLoadedWindow(kMainWindowId);
    ASSERT_NE(w, nullptr);
    PostMessageW(w->Hwnd(), WM_CLOSE, 0, 0);
    RunMessageLoop();
    EXPECT_EQ(FindLoadedWindow(kMainWindowId), nullptr);
    EXPECT_EQ(LiveHandles(HandleKind::Window) - windowsBefore, 1) << "only the owner window remains";
    ExitProgram(0);
    EXPECT_EQ(LiveHandles(HandleKind::Window), windowsBefore);
    EXPECT_EQ(LiveHandles(HandleKind::Font), 0);
    EXPECT_EQ(LiveHandles(HandleKind::Brush), 0);
    qelvane::testing::ResetRuntime();
}

// Start position 3 asks for a maximised window, which only a sizable frame can be.
TEST(StartPositionTest, MaximisedOnlyWithASizableFrame) {
    for (const auto& [border, maximised] : {std::pair{2, false}, std::pair{1, true}}) {
        std::optional<FormDescription> form = DecodeForm(StoredFormBytes(), kCountingRoutines);
        ASSERT_TRUE(form);
        auto& props = std::get<WindowProps>(form->windows[0].self.settings);
        props.startPosition = 3;
        props.border = border;
        FormWindow* window = OpenMainWindow(EncodeForm(*form), kCountingRoutines);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(IsZoomed(window->Hwnd()) != 0, maximised) << "border " << border;
        EXPECT_TRUE(IsWindowVisible(window->Hwnd())) << "border " << border;
        ExitProgram(0);
        testing::ResetRuntime();
    }
}

}  // namespace
}  // namespace qelvane::wintest

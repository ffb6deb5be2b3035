// The shipped program under Wine, driven from outside: the window it opens at start, how it
// ends, and the fatal error box it shows when its stored form is damaged.
#include <gtest/gtest.h>

#include <cwctype>
#include <memory>
#include <optional>
#include <ostream>
#include <utility>

#include "vendor/VendorData.h"
#include "tests/e2e/E2eDriver.h"

namespace e2e {
namespace {

constexpr int kOuterWidth = 495;
constexpr int kOuterHeight = 398;

std::wstring ExpectedTitle() {
    return L"Qelvane QQ：" + FromGbk(qelvane::vendor::kQqNumber) + L" " +
           FromGbk(qelvane::vendor::kWebHost);
}

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(towlower(c));
    return text;
}

// ---- The window at start ----

// The program runs from a folder that is not its own. A case that only looks shares a started
// program with the others that look (ProgramKeep).
class MainWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { elsewhere_ = std::make_unique<TempFolder>(); }
    static void TearDownTestSuite() {
        ProgramKeep::Drop();
        elsewhere_.reset();  // once no program of ours runs in it
    }

    void Open(Use use) {
        ParkPointer();
        ASSERT_FALSE(elsewhere_->Path().empty()) << "could not make a temp folder";
        OpenedProgram opened = ProgramKeep::Open(use, elsewhere_->Path());
        program_ = opened.program;
        ASSERT_TRUE(program_->Started())
            << "CreateProcess failed with " << program_->StartError() << " for "
            << Escaped(ProgramPath());
        for (const std::wstring& other : opened.seen)
            ADD_FAILURE() << "other window seen at start: " << Escaped(other);
        window_ = opened.window;
        ASSERT_NE(window_, nullptr) << "no visible main window within "
                                    << kStartTimeout << " ms; "
                                    << (program_->Running() ? "still running" : "process ended");
    }

    static inline std::unique_ptr<TempFolder> elsewhere_;
    std::shared_ptr<Program> program_;
    HWND window_ = nullptr;
};

TEST_F(MainWindowTest, TitleNamesProductQqNumberAndWebHost) {
    ASSERT_NO_FATAL_FAILURE(Open(Use::Looks));
    wchar_t title[256] = {};
    GetWindowTextW(window_, title, 256);
    EXPECT_EQ(std::wstring(title), ExpectedTitle())
        << "title " << Escaped(title) << ", expected " << Escaped(ExpectedTitle());
}

TEST_F(MainWindowTest, OuterSizeIsFixedAndCentredOnPrimaryScreen) {
    ASSERT_NO_FATAL_FAILURE(Open(Use::Looks));
    RECT outer{};
    ASSERT_TRUE(GetWindowRect(window_, &outer));
    EXPECT_EQ(outer.right - outer.left, kOuterWidth);
    EXPECT_EQ(outer.bottom - outer.top, kOuterHeight);
    EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - kOuterWidth) / 2);
    EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - kOuterHeight) / 2);

    // Every component lies within (0, 0)-(488, 358) of the client area.
    RECT client{};
    ASSERT_TRUE(GetClientRect(window_, &client));
    EXPECT_GE(client.right, 488);
    EXPECT_GE(client.bottom, 358);
}

TEST_F(MainWindowTest, FrameHasCaptionSystemMenuAndMinimiseBoxOnly) {
    ASSERT_NO_FATAL_FAILURE(Open(Use::Looks));
    const LONG style = GetWindowLongW(window_, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION) << std::hex << style;
    EXPECT_TRUE(style & WS_SYSMENU) << std::hex << style;
    EXPECT_TRUE(style & WS_MINIMIZEBOX) << std::hex << style;
    EXPECT_FALSE(style & WS_MAXIMIZEBOX) << std::hex << style;
    EXPECT_FALSE(style & WS_THICKFRAME) << std::hex << style;
    EXPECT_FALSE(style & WS_CHILD) << std::hex << style;

    // Its own taskbar button: unowned and not a tool window.
    EXPECT_EQ(GetWindow(window_, GW_OWNER), nullptr);
    EXPECT_FALSE(GetWindowLongW(window_, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_EQ(GetMenu(window_), nullptr) << "the window has no menu bar";
}

TEST_F(MainWindowTest, BorderOffersNoSizingHandles) {
    ASSERT_NO_FATAL_FAILURE(Open(Use::Looks));
    RECT outer{};
    ASSERT_TRUE(GetWindowRect(window_, &outer));
    int probes = 0;
    auto probe = [&](int x, int y) {
        const LRESULT code = HitTest(window_, x, y);
        ++probes;
        EXPECT_FALSE(code >= HTLEFT && code <= HTBOTTOMRIGHT)
            << "sizing hit code " << code << " at " << x << "," << y;
        return code >= HTLEFT && code <= HTBOTTOMRIGHT;
    };
    // The outer four pixels all round, where a sizing frame would answer.
    for (int d = 0; d < 4; ++d) {
        for (int x = outer.left; x < outer.right; x += 3)
            if (probe(x, outer.top + d) || probe(x, outer.bottom - 1 - d)) return;
        for (int y = outer.top; y < outer.bottom; y += 3)
            if (probe(outer.left + d, y) || probe(outer.right - 1 - d, y)) return;
    }
    EXPECT_GT(probes, 0);
}

TEST_F(MainWindowTest, FocusStartsOnFirstRadioBoxUnchecked) {
    ASSERT_NO_FATAL_FAILURE(Open(Use::Looks));
    HWND focus = FocusOf(window_);
    ASSERT_NE(focus, nullptr) << "no window of the program has the focus";
    EXPECT_EQ(ClassName(focus), L"Button") << Escaped(ClassName(focus));
    const std::wstring text = WindowText(focus);
    EXPECT_EQ(text.rfind(L"图文阅读：", 0), 0u) << "focus on " << Escaped(text);
    const LONG type = GetWindowLongW(focus, GWL_STYLE) & BS_TYPEMASK;
    EXPECT_TRUE(type == BS_AUTORADIOBUTTON || type == BS_RADIOBUTTON) << "button type " << type;
    EXPECT_TRUE(IsChild(window_, focus));
    DWORD_PTR check = 0xFF;
    ASSERT_TRUE(SendMessageTimeoutW(focus, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &check));
    EXPECT_EQ(check, static_cast<DWORD_PTR>(BST_UNCHECKED)) << "focus must not check it";
}

// ---- Ending ----

TEST_F(MainWindowTest, EscClosesWindowWithExitCodeZero) {
    ASSERT_NO_FATAL_FAILURE(Open(Use::Acts));
    ASSERT_TRUE(MakeForeground(window_)) << "could not bring the window to the front";
    ASSERT_NE(FocusOf(window_), nullptr);
    PressKey(VK_ESCAPE);
    const auto code = program_->WaitForExit();
    ASSERT_TRUE(code.has_value()) << "Esc did not end the program";
    EXPECT_EQ(*code, 0u);
}

TEST_F(MainWindowTest, AltF4EndsWithExitCodeZero) {
    ASSERT_NO_FATAL_FAILURE(Open(Use::Acts));
    ASSERT_TRUE(MakeForeground(window_));
    PressKey(VK_F4, VK_MENU);
    const auto code = program_->WaitForExit();
    ASSERT_TRUE(code.has_value()) << "Alt+F4 did not end the program";
    EXPECT_EQ(*code, 0u);
}

TEST_F(MainWindowTest, CloseBoxClickClosesWindowWithExitCodeZero) {
    ASSERT_NO_FATAL_FAILURE(Open(Use::Acts));
    const auto closeBox = FindHitArea(window_, HTCLOSE);
    ASSERT_TRUE(closeBox.has_value()) << "no HTCLOSE area in the caption";
    ClickAt(closeBox->x, closeBox->y);
    const auto code = program_->WaitForExit();
    ParkPointer();
    ASSERT_TRUE(code.has_value()) << "the click at " << closeBox->x << "," << closeBox->y
                                  << " did not end the program";
    EXPECT_EQ(*code, 0u);
}

// A window with a minimise box and no maximise box still shows a greyed maximise box on this
// platform, so only the boxes that work are looked for here; the style test covers the rest.
TEST_F(MainWindowTest, CaptionHasMinimiseAndCloseBoxes) {
    ASSERT_NO_FATAL_FAILURE(Open(Use::Looks));
    const auto areas = CaptionHitAreas(window_);
    EXPECT_TRUE(areas.count(HTMINBUTTON));
    EXPECT_TRUE(areas.count(HTCLOSE));
    EXPECT_TRUE(areas.count(HTCAPTION));
    EXPECT_TRUE(areas.count(HTSYSMENU)) << "the system menu belongs in the caption";
}

TEST_F(MainWindowTest, EnterChangesNothing) {
    ASSERT_NO_FATAL_FAILURE(Open(Use::Acts));
    ASSERT_TRUE(MakeForeground(window_));
    HWND first = FocusOf(window_);
    ASSERT_NE(first, nullptr);
    ASSERT_EQ(WindowText(first).rfind(L"图文阅读：", 0), 0u) << Escaped(WindowText(first));
    PressKey(VK_RETURN);
    // Input is handled in order: once Tab has moved the focus one step, Enter has been seen.
    PressKey(VK_TAB);
    HWND next = nullptr;
    const Deadline deadline(kStepTimeout);
    while ((next = FocusOf(window_)) == first && !deadline.Passed())
        Sleep(10);
    ASSERT_NE(next, first) << "Tab did not move the focus";
    EXPECT_EQ(WindowText(next).rfind(L"微信关注：", 0), 0u)
        << "after Enter and Tab the focus is on " << Escaped(WindowText(next));
    DWORD_PTR check = 0xFF;
    ASSERT_TRUE(SendMessageTimeoutW(first, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &check));
    EXPECT_EQ(check, static_cast<DWORD_PTR>(BST_UNCHECKED));
    EXPECT_TRUE(program_->Running()) << "Enter ended the program";
    EXPECT_TRUE(IsWindowVisible(window_));
}

// ---- Damaged stored form ----

const std::wstring kDecodeFailure =
    L"运行时出错!\r\n\r\n错误信息：载入窗口模板数据段出错!\r\n\r\n0, 0\r\n";
const std::wstring kStartWindowMissing =
    L"运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n\r\n1375797249, 0\r\n未找到所指定的窗口\r\n";
const std::wstring kStartWindowNotBuilt =
    L"运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n\r\n1375797249, 0\r\n\"\"\r\n\"\"\r\n";

using Patch = bool (*)(std::vector<std::uint8_t>& exe, const FormLayout& form);

struct Damage {
    const char* name;
    Patch patch;
    const std::wstring* expectedText;
};

void PrintTo(const Damage& damage, std::ostream* out) { *out << damage.name; }

// Start and end of the record of item index, or nullopt when it does not lie in the file.
std::optional<std::pair<std::size_t, std::size_t>> RecordOf(const std::vector<std::uint8_t>& exe,
                                                            const FormLayout& form,
                                                            std::uint32_t index) {
    const std::size_t record = form.records + ReadU32(exe, form.offsets + 4 * index);
    if (record < form.records || record + 4 > exe.size()) return std::nullopt;
    const std::size_t end = record + 4 + ReadU32(exe, record);
    if (end > exe.size()) return std::nullopt;
    return std::pair{record, end};
}

// A copy of the program with its stored form patched, in a folder of its own.
class DamagedProgram {
public:
    explicit DamagedProgram(Patch patch) {
        std::vector<std::uint8_t> exe = ReadBytes(ProgramPath());
        if (exe.empty()) {
            problem_ = "cannot read " + Escaped(ProgramPath());
            return;
        }
        const auto form = LocateForm(exe);
        if (!form) {
            problem_ = "the stored form's signature is not found exactly once, or its item "
                       "table does not fit the file";
            return;
        }
        if (!patch(exe, *form)) {
            problem_ = "the patch did not find what it changes";
            return;
        }
        path_ = folder_.Path() + L"Qelvane.exe";
        if (!WriteBytes(path_, exe)) problem_ = "cannot write " + Escaped(path_);
    }
    const std::string& Problem() const { return problem_; }
    const std::wstring& Path() const { return path_; }

private:
    TempFolder folder_;
    std::wstring path_;
    std::string problem_;
};

// The property block of the window's own record opens with these settings.
const std::vector<std::uint8_t> kWindowBlockStart = {
    6, 0, 0, 0,  2, 0, 0, 0,  1, 0, 0, 0,  0, 0, 0, 0xFF,  // version, border, picture, colour
    0, 0, 0, 0,  1, 0, 0, 0,  1, 0, 0, 0,  1, 0, 0, 0,     // max, min, control box, centred
};

// One 32-bit field of the form's tables overwritten.
template <std::size_t FormLayout::*Field, std::uint32_t Value>
bool Overwrite(std::vector<std::uint8_t>& exe, const FormLayout& form) {
    WriteU32(exe, form.*Field, Value);
    return true;
}

bool FirstRecordPastEnd(std::vector<std::uint8_t>& exe, const FormLayout& form) {
    const auto record = RecordOf(exe, form, 0);
    if (!record) return false;
    WriteU32(exe, record->first, 0x7FFFFFF0u);
    return true;
}

bool RecordOffsetPastEnd(std::vector<std::uint8_t>& exe, const FormLayout& form) {
    // The last component's record offset points far beyond the item data.
    WriteU32(exe, form.offsets + 4 * (form.count - 1), 0x7FFFFFF0u);
    return true;
}

bool WindowBlockVersionTooNew(std::vector<std::uint8_t>& exe, const FormLayout& form) {
    const auto record = RecordOf(exe, form, 0);
    if (!record) return false;
    const std::vector<std::uint8_t> recordBytes(exe.begin() + record->first,
                                                exe.begin() + record->second);
    const auto hits = FindAll(recordBytes, kWindowBlockStart);
    if (hits.size() != 1) return false;
    WriteU32(exe, record->first + hits[0], 7);
    return true;
}

const Damage kDamages[] = {
    {"HugeItemCount", Overwrite<&FormLayout::itemCount, 0x7FFFFFFFu>, &kDecodeFailure},
    {"ItemDataPastEnd", Overwrite<&FormLayout::itemDataLength, 0x7FFFFFF0u>, &kDecodeFailure},
    {"FirstRecordPastEnd", FirstRecordPastEnd, &kDecodeFailure},
    {"RecordOffsetPastEnd", RecordOffsetPastEnd, &kDecodeFailure},
    {"StartWindowRenamed", Overwrite<&FormLayout::windowId, 0x52010002u>, &kStartWindowMissing},
    {"WindowBlockVersionTooNew", WindowBlockVersionTooNew, &kStartWindowNotBuilt},
};

// Starts the damaged copy and waits for its error box; no other window may show meanwhile.
class FatalErrorBox {
public:
    explicit FatalErrorBox(Patch patch) : damaged_(patch) {}

    // Call through ASSERT_NO_FATAL_FAILURE.
    void Start() {
        ParkPointer();
        ASSERT_EQ(damaged_.Problem(), "");
        program_ = std::make_unique<Program>(damaged_.Path(), elsewhere_.Path());
        ASSERT_TRUE(program_->Started()) << "CreateProcess failed: " << program_->StartError();
        WaitResult wait = WaitForWindow(program_->Pid(), true, kStartTimeout, program_->Handle());
        for (const std::wstring& other : wait.seen)
            ADD_FAILURE() << "a window appeared before the error box: " << Escaped(other);
        box_ = wait.window;
        ASSERT_NE(box_, nullptr) << "no message box within " << kStartTimeout << " ms; "
                                 << (program_->Running() ? "still running" : "process ended");
    }

    HWND Box() const { return box_; }
    Program& Process() { return *program_; }

private:
    TempFolder elsewhere_;
    DamagedProgram damaged_;
    std::unique_ptr<Program> program_;
    HWND box_ = nullptr;
};

class DamagedFormTest : public ::testing::TestWithParam<Damage> {};

TEST_P(DamagedFormTest, ShowsFatalErrorBoxAndExitsWithMinusOne) {
    FatalErrorBox run(GetParam().patch);
    ASSERT_NO_FATAL_FAILURE(run.Start());

    EXPECT_EQ(WindowText(run.Box()), L"错误") << Escaped(WindowText(run.Box()));
    HWND text = GetDlgItem(run.Box(), 0xFFFF);
    ASSERT_NE(text, nullptr) << "no static 0xFFFF in the box";
    const std::wstring shown = WindowText(text);
    const std::wstring& expected = *GetParam().expectedText;
    EXPECT_EQ(shown, expected) << "shown:    " << Escaped(shown) << "\nexpected: "
                               << Escaped(expected);

    for (HWND other : VisibleTopLevelWindows(run.Process().Pid()))
        EXPECT_EQ(other, run.Box()) << "another window is visible: " << ClassName(other) << " "
                                    << Escaped(WindowText(other));

    ASSERT_TRUE(MakeForeground(run.Box())) << "could not bring the box to the front";
    PressKey(VK_RETURN);
    const auto code = run.Process().WaitForExit();
    ASSERT_TRUE(code.has_value()) << "Enter on the box did not end the program";
    EXPECT_EQ(*code, 0xFFFFFFFFu);
}

INSTANTIATE_TEST_SUITE_P(StoredForm, DamagedFormTest, ::testing::ValuesIn(kDamages),
                         [](const ::testing::TestParamInfo<Damage>& param) {
                             return std::string(param.param.name);
                         });

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM param) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
    return TRUE;
}

TEST(FatalErrorBoxTest, HasStopIconAndOnlyAnOkButton) {
    FatalErrorBox run(kDamages[0].patch);  // a huge item count
    ASSERT_NO_FATAL_FAILURE(run.Start());

    std::vector<HWND> children;
    EnumChildWindows(run.Box(), CollectChild, reinterpret_cast<LPARAM>(&children));
    int icons = 0;
    HWND iconArea = nullptr;
    std::vector<int> buttons;
    for (HWND child : children) {
        if (!IsWindowVisible(child)) continue;
        const std::wstring cls = Lower(ClassName(child));
        const LONG style = GetWindowLongW(child, GWL_STYLE);
        if (cls == L"static" && (style & SS_TYPEMASK) == SS_ICON) {
            ++icons;
            iconArea = child;
        }
        if (cls == L"button") buttons.push_back(GetDlgCtrlID(child));
    }
    EXPECT_EQ(icons, 1) << "the box shows no icon";
    // The error icon is the red one: the warning icon is yellow, the information icon blue.
    if (iconArea) {
        RECT r{};
        GetWindowRect(iconArea, &r);
        HDC screen = GetDC(nullptr);
        int red = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                const COLORREF c = GetPixel(screen, x, y);
                red += GetRValue(c) > 180 && GetGValue(c) < 100 && GetBValue(c) < 100;
            }
        ReleaseDC(nullptr, screen);
        EXPECT_GT(red, 100) << "the box's icon is not the error icon";
    }
    ASSERT_EQ(buttons.size(), 1u) << "the box has " << buttons.size() << " visible buttons";
    EXPECT_EQ(buttons[0], IDOK);
    EXPECT_EQ(WindowText(GetDlgItem(run.Box(), IDOK)).empty(), false);

    // The box has no owner window of the program's.
    EXPECT_EQ(GetWindow(run.Box(), GW_OWNER), nullptr);

    // Its OK button, clicked for real, ends the program too.
    RECT ok{};
    ASSERT_TRUE(GetWindowRect(GetDlgItem(run.Box(), IDOK), &ok));
    ClickAt((ok.left + ok.right) / 2, (ok.top + ok.bottom) / 2);
    const auto code = run.Process().WaitForExit();
    ParkPointer();
    ASSERT_TRUE(code.has_value()) << "a click on OK did not end the program";
    EXPECT_EQ(*code, 0xFFFFFFFFu);
}

}  // namespace
}  // namespace e2e

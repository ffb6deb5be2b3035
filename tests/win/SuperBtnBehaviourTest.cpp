// The image buttons' behaviour: click events, check-box mode, re-creation,
// dialog codes, hover tracking, the tooltip, sounds and their handles.
#include <windows.h>
#include <commctrl.h>
#include <mmsystem.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/Gbk.h"
#include "app/RoutineOffsets.h"
#include "tests/win/SuperBtnSupport.h"

namespace qelvane::wintest {
namespace {

using namespace prop::superbtn;
// The routine slots of 超级按钮1 and 超级按钮2, as the stored form binds them.
constexpr int kQqChat = kOpenQqChatOffset, kOrderPage = kOpenOrderPageOffset;

// Pumps until `done` holds or the time is up, then a little longer to catch repeats.
template <class Done>
bool PumpUntil(Done done, DWORD timeoutMs = 3000) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (!done() && GetTickCount64() < end) {
        Pump();
        Sleep(5);
    }
    const ULONGLONG settle = GetTickCount64() + 200;
    while (GetTickCount64() < settle) {
        Pump();
        Sleep(5);
    }
    return done();
}

void RealClick(HWND button) {
    const POINT p = CentreOnScreen(button);
    testsupport::ClickAt(p.x, p.y);
}

// Marks a native window so that a re-created one can be told from it.
void Mark(HWND hwnd) { SetPropW(hwnd, L"qelvane.test.mark", reinterpret_cast<HANDLE>(1)); }
bool Marked(HWND hwnd) { return GetPropW(hwnd, L"qelvane.test.mark") != nullptr; }

TEST_F(SuperBtnTest, EachClickRaisesEventZeroOnce) {
    SendMessageW(Native(kSuperBtn1), BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(routineCalls[kQqChat], 1);
    SendMessageW(Native(kSuperBtn1), BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(routineCalls[kQqChat], 2);
    EXPECT_EQ(routineCalls[kOrderPage], 0);

    // Real mouse input through the queue.
    ASSERT_TRUE(SetForegroundWindow(Main()) || GetForegroundWindow() == Main());
    RealClick(Native(kSuperBtn2));
    EXPECT_TRUE(PumpUntil([] { return routineCalls[kOrderPage] >= 1; }));
    EXPECT_EQ(routineCalls[kOrderPage], 1) << "one click, one event";

    // Space on the focused button clicks it, once.
    SetFocus(Native(kSuperBtn1));
    SendMessageW(Native(kSuperBtn1), WM_KEYDOWN, VK_SPACE, 0);
    SendMessageW(Native(kSuperBtn1), WM_KEYUP, VK_SPACE, 0xC0000001);
    Pump();
    EXPECT_EQ(routineCalls[kQqChat], 3);
    EXPECT_EQ(routineCalls[kRefreshPriceLabelOffset], 0);
}

TEST_F(SuperBtnTest, DisabledButtonRaisesNothing) {
    SetFocus(Native(kSuperBtn1));
    Set(kSuperBtn1, prop::kDisable, 1);
    EXPECT_NE(GetFocus(), Native(kSuperBtn1)) << "the focus moved off the disabled button";
    EXPECT_NE(GetFocus(), nullptr);

    SendMessageW(Native(kSuperBtn1), BM_CLICK, 0, 0);
    // As if the control reported a click anyway.
    SendMessageW(Main(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Native(kSuperBtn1)), BN_CLICKED),
                 reinterpret_cast<LPARAM>(Native(kSuperBtn1)));
    ASSERT_TRUE(SetForegroundWindow(Main()) || GetForegroundWindow() == Main());
    RealClick(Native(kSuperBtn1));
    PumpUntil([] { return routineCalls[kQqChat] > 0; }, 500);
    EXPECT_EQ(routineCalls[kQqChat], 0);

    Set(kSuperBtn1, prop::kDisable, 0);
    SendMessageW(Native(kSuperBtn1), BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(routineCalls[kQqChat], 1) << "enabled again, it clicks";
}

TEST_F(SuperBtnTest, CheckBoxModeTogglesAndAnswersCheckMessages) {
    HWND plain = Native(kSuperBtn2);
    EXPECT_EQ(SendMessageW(plain, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    Mark(plain);
    Set(kSuperBtn2, kCheckBox, 1);
    HWND box = Native(kSuperBtn2);
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(Marked(box)) << "CheckBox changing re-creates the button";
    EXPECT_EQ(GetWindowLongW(box, GWL_STYLE) & 0x1F, BS_OWNERDRAW);
    EXPECT_EQ(Get(kSuperBtn2, kCheckBox), 1);
    EXPECT_TRUE(IsWindowVisible(box));
    EXPECT_EQ(TextOf(box), WideFromGbk("24 小时自助下单")) << "the new window has the settings of the old one";

    SendMessageW(box, BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(Get(kSuperBtn2, kChecked), 1);
    EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), 1);
    EXPECT_EQ(routineCalls[kOrderPage], 1) << "the click still raises its event";
    SendMessageW(box, BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(Get(kSuperBtn2, kChecked), 0);
    EXPECT_EQ(routineCalls[kOrderPage], 2);

    SendMessageW(box, BM_SETCHECK, BST_INDETERMINATE, 0);
    EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), 1);
    SendMessageW(box, BM_SETCHECK, 5, 0);
    EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), 0);
    SendMessageW(box, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(Get(kSuperBtn2, kChecked), 1);

    // The same value again: untouched, not re-created.
    Mark(box);
    Set(kSuperBtn2, kCheckBox, 1);
    EXPECT_TRUE(Marked(Native(kSuperBtn2)));
    EXPECT_EQ(Get(kSuperBtn2, kChecked), 1);
    Set(kSuperBtn2, kCheckBox, 0);
    EXPECT_FALSE(Marked(Native(kSuperBtn2)));
}

TEST_F(SuperBtnTest, DefaultStyleRecreatesAndChangesTheDialogCode) {
    HWND before = Native(kSuperBtn1);
    EXPECT_EQ(SendMessageW(before, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON),
              DLGC_UNDEFPUSHBUTTON);
    SetFocus(before);
    Mark(before);
    Set(kSuperBtn1, kDefaultStyle, 1);
    HWND after = Native(kSuperBtn1);
    EXPECT_FALSE(Marked(after));
    EXPECT_EQ(GetFocus(), after) << "the focus follows the re-created button";
    EXPECT_EQ(SendMessageW(after, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON),
              DLGC_DEFPUSHBUTTON);
    EXPECT_EQ(GetWindowLongW(after, GWL_STYLE) & 0x1F, BS_OWNERDRAW);

    // Set to the value it has: re-created all the same.
    Mark(after);
    Set(kSuperBtn1, kDefaultStyle, 1);
    EXPECT_FALSE(Marked(Native(kSuperBtn1)));

    // BM_SETSTYLE is rewritten to owner drawing and still decides the kind.
    SendMessageW(Native(kSuperBtn1), BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    EXPECT_EQ(GetWindowLongW(Native(kSuperBtn1), GWL_STYLE) & 0x1F, BS_OWNERDRAW);
    EXPECT_EQ(SendMessageW(Native(kSuperBtn1), WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON, 0);

    SendMessageW(Native(kSuperBtn1), BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(routineCalls[kQqChat], 1) << "the re-created button keeps its binding";
}

TEST_F(SuperBtnTest, HoverStateEntersAndLeaves) {
    SuperBtn& qq = Object(kSuperBtn1);
    HWND h = Native(kSuperBtn1);
    EXPECT_FALSE(qq.Hot());
    HoverOver(h);
    EXPECT_TRUE(qq.Hot());
    SendMessageW(h, WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(qq.Hot());

    for (UINT leave : {WM_CANCELMODE, WM_KILLFOCUS}) {
        HoverOver(h);
        ASSERT_TRUE(qq.Hot());
        SendMessageW(h, leave, 0, 0);
        EXPECT_FALSE(qq.Hot()) << "message " << leave;
    }

    // The pointer elsewhere: the next move clears it.
    HoverOver(h);
    ParkPointer();
    SendMessageW(h, WM_MOUSEMOVE, 0, 0);
    EXPECT_FALSE(qq.Hot());

    // Entering with the left button held does not make it hot.
    const POINT p = CentreOnScreen(h);
    SetCursorPos(p.x, p.y);
    SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, 0);
    EXPECT_FALSE(qq.Hot());

    HoverOver(h);
    Set(kSuperBtn1, prop::kDisable, 1);
    EXPECT_FALSE(qq.Hot()) << "disabling clears the hot state";
    Set(kSuperBtn1, prop::kDisable, 0);

    // The 3D look never tracks the mouse.
    HoverOver(Native(kSuperBtn2));
    EXPECT_FALSE(Object(kSuperBtn2).Hot());
    // The XP look does.
    Set(kSuperBtn2, kBtnStyle, 2);
    HoverOver(Native(kSuperBtn2));
    EXPECT_TRUE(Object(kSuperBtn2).Hot());
    Set(kSuperBtn2, kBtnStyle, 1);
    EXPECT_FALSE(Object(kSuperBtn2).Hot()) << "switching to 3D drops the hot state";
}

TEST_F(SuperBtnTest, LeavingTheWindowEndsTheHotState) {
    HoverOver(Native(kSuperBtn1));
    ASSERT_TRUE(Object(kSuperBtn1).Hot());
    SendMessageW(Main(), WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_FALSE(Object(kSuperBtn1).Hot());
}

TEST_F(SuperBtnTest, ToolTipIsMadeAtCreationAndFollowsTheProperty) {
    SuperBtn& qq = Object(kSuperBtn1);
    HWND h = Native(kSuperBtn1);
    HWND tip = qq.ToolTipWindow();
    ASSERT_NE(tip, nullptr) << "the tooltip is there before the mouse comes";
    const int windowsBefore = LiveHandles(HandleKind::Window);
    HoverOver(h);
    EXPECT_EQ(qq.ToolTipWindow(), tip);
    EXPECT_EQ(LiveHandles(HandleKind::Window), windowsBefore) << "hovering makes no window";
    EXPECT_EQ(ClassOf(tip), L"tooltips_class32");
    EXPECT_EQ(SendMessageW(tip, TTM_GETMAXTIPWIDTH, 0, 0), 400);
    EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);

    auto tipText = [&] {
        wchar_t text[128] = {};
        TTTOOLINFOW ti{};
        ti.cbSize = sizeof ti;
        ti.hwnd = h;
        ti.uId = 1;
        ti.lpszText = text;
        SendMessageW(tip, TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&ti));
        return std::wstring(text);
    };
    EXPECT_EQ(tipText(), WideFromGbk("反馈问题"));
    auto toolRect = [&] {
        TTTOOLINFOW ti{};
        ti.cbSize = sizeof ti;
        ti.hwnd = h;
        ti.uId = 1;
        EXPECT_TRUE(SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&ti)));
        return ti.rect;
    };
    EXPECT_EQ(toolRect().right - toolRect().left, 77);
    EXPECT_EQ(toolRect().bottom - toolRect().top, 22);
    Set(kSuperBtn1, prop::kWidth, 100);
    EXPECT_EQ(toolRect().right - toolRect().left, 100) << "the tool follows the button's size";

    SetText(kSuperBtn1, kToolTip, "");
    EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 0) << "an empty tooltip removes the tool";
    HoverOver(h);
    EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 0);
    SetText(kSuperBtn1, kToolTip, "新的提示");
    EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    EXPECT_EQ(tipText(), WideFromGbk("新的提示"));
    SetText(kSuperBtn1, kToolTip, "再换");
    EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1) << "one tool, its text replaced";
    EXPECT_EQ(tipText(), WideFromGbk("再换"));
}

// ---- Sounds ----

struct SoundCall {
    std::string bytes;  // WAV bytes, or the resource name in GBK
    DWORD flags;
    bool stop;
};
std::vector<SoundCall> soundCalls;
void RecordSound(const void* sound, DWORD flags) {
    SoundCall call{{}, flags, sound == nullptr};
    if ((flags & SND_RESOURCE) == SND_RESOURCE)  // SND_RESOURCE includes the SND_MEMORY bit
        call.bytes = GbkFromWide(static_cast<const wchar_t*>(sound));
    else if (sound)
        call.bytes.assign(static_cast<const char*>(sound), 12);  // enough to tell our WAVs apart
    soundCalls.push_back(call);
}

class SuperBtnSoundTest : public SuperBtnTest {
protected:
    void SetUp() override {
        soundCalls.clear();
        testing::SetSoundHook(&RecordSound);
        SuperBtnTest::SetUp();
    }
    void TearDown() override {
        SuperBtnTest::TearDown();
        testing::SetSoundHook(nullptr);
    }
    void SetBlock(std::uint32_t id, int number, const std::string& bytes) const {
        ByteBlockRef ref{reinterpret_cast<const std::uint8_t*>(bytes.data()), static_cast<std::uint32_t>(bytes.size())};
        SetProperty(kMainWindowId, id, number, -1, reinterpret_cast<std::uintptr_t>(&ref));
    }
};

const std::string kWavA = std::string("RIFF\x24\0\0\0WAVA", 12) + std::string(32, '\0');
const std::string kWavB = std::string("RIFF\x24\0\0\0WAVB", 12) + std::string(32, '\0');
constexpr DWORD kAsync = SND_ASYNC | SND_NODEFAULT | SND_NOWAIT;

TEST_F(SuperBtnSoundTest, NoSoundsInThisForm) {
    HoverOver(Native(kSuperBtn1));
    SendMessageW(Native(kSuperBtn1), BM_CLICK, 0, 0);
    SendMessageW(Native(kSuperBtn2), BM_CLICK, 0, 0);
    Pump();
    EXPECT_TRUE(soundCalls.empty());
}

TEST_F(SuperBtnSoundTest, OwnSoundsPlayFromMemoryOnEnterAndClick) {
    SetBlock(kSuperBtn1, kOverSound, kWavA);
    SetBlock(kSuperBtn1, kClickSound, kWavB);
    HoverOver(Native(kSuperBtn1));
    HoverOver(Native(kSuperBtn1));  // already hot: no second enter sound
    ASSERT_EQ(soundCalls.size(), 1u);
    EXPECT_EQ(soundCalls[0].bytes, kWavA.substr(0, 12));
    EXPECT_EQ(soundCalls[0].flags, SND_MEMORY | kAsync);

    soundCalls.clear();
    SendMessageW(Native(kSuperBtn1), BM_CLICK, 0, 0);
    Pump();
    ASSERT_FALSE(soundCalls.empty());
    const SoundCall& click = soundCalls.back();
    EXPECT_EQ(click.bytes, kWavB.substr(0, 12));
    EXPECT_EQ(click.flags, SND_MEMORY | kAsync);
    EXPECT_EQ(routineCalls[kQqChat], 1);

    // Replacing the bytes that may still be playing stops the sound first.
    soundCalls.clear();
    SetBlock(kSuperBtn1, kClickSound, kWavA);
    ASSERT_EQ(soundCalls.size(), 1u);
    EXPECT_TRUE(soundCalls[0].stop);
    // And so does the button going away with them.
    SendMessageW(Native(kSuperBtn1), BM_CLICK, 0, 0);
    Pump();
    soundCalls.clear();
    Set(kSuperBtn1, kDefaultStyle, 0);
    ASSERT_FALSE(soundCalls.empty());
    EXPECT_TRUE(soundCalls[0].stop);
}

TEST_F(SuperBtnSoundTest, StandardSoundIsTheBuiltInResource) {
    SetBlock(kSuperBtn1, kClickSound, kWavB);
    Set(kSuperBtn1, kStandardSound, 1);
    SendMessageW(Native(kSuperBtn1), BM_CLICK, 0, 0);
    HoverOver(Native(kSuperBtn1));
    Pump();
    ASSERT_EQ(soundCalls.size(), 2u) << "click and enter";
    for (const SoundCall& c : soundCalls) {
        EXPECT_EQ(c.flags, SND_RESOURCE | kAsync);
        EXPECT_EQ(c.bytes, "CLICK");
    }

    // The resource is there and is a PCM WAV.
    HRSRC found = FindResourceW(nullptr, L"CLICK", L"WAVE");
    ASSERT_NE(found, nullptr);
    HGLOBAL loaded = LoadResource(nullptr, found);
    ASSERT_NE(loaded, nullptr);
    const auto* wav = static_cast<const char*>(LockResource(loaded));
    ASSERT_GE(SizeofResource(nullptr, found), 44u);
    EXPECT_EQ(std::memcmp(wav, "RIFF", 4), 0);
    EXPECT_EQ(std::memcmp(wav + 8, "WAVEfmt ", 8), 0);

    // The 3D look has no enter sound, only the click.
    soundCalls.clear();
    Set(kSuperBtn2, kStandardSound, 1);
    HoverOver(Native(kSuperBtn2));
    EXPECT_TRUE(soundCalls.empty());
}

// Played for real: winmm is loaded from the system folder when the first sound is wanted.
// DllSearchTest runs this again beside a planted winmm.dll.
TEST_F(SuperBtnTest, TheSoundComesFromTheSystemWinmm) {
    Set(kSuperBtn1, kStandardSound, 1);
    SendMessageW(Native(kSuperBtn1), BM_CLICK, 0, 0);
    Pump();
    HMODULE winmm = GetModuleHandleW(L"winmm.dll");
    ASSERT_NE(winmm, nullptr) << "no sound was played";
    wchar_t path[MAX_PATH] = {}, system[MAX_PATH] = {};
    ASSERT_NE(GetModuleFileNameW(winmm, path, MAX_PATH), 0u);
    ASSERT_NE(GetSystemDirectoryW(system, MAX_PATH), 0u);
    EXPECT_EQ(_wcsicmp(path, (std::wstring(system) + L"\\winmm.dll").c_str()), 0) << GbkFromWide(path);
    if (const wchar_t* mark = _wgetenv(L"QELVANE_PLANTED_RUN_MARK"))  // tells DllSearchTest it ran
        CloseHandle(CreateFileW(mark, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
}

// ---- Handles ----

struct HandleCounts {
    int counts[static_cast<int>(HandleKind::Count)];
    static HandleCounts Now() {
        HandleCounts c{};
        for (int k = 0; k < static_cast<int>(HandleKind::Count); ++k) c.counts[k] = LiveHandles(static_cast<HandleKind>(k));
        return c;
    }
};

void ExpectSameCounts(const HandleCounts& a, const HandleCounts& b, const char* what) {
    constexpr const char* kNames[] = {"windows", "fonts", "brushes", "bitmaps", "icons", "memory DCs"};
    static_assert(std::size(kNames) == static_cast<std::size_t>(HandleKind::Count));
    for (int k = 0; k < static_cast<int>(HandleKind::Count); ++k)
        EXPECT_EQ(a.counts[k], b.counts[k]) << kNames[k] << " after " << what;
}

TEST(GdiObjectCount, SeesAHandleComeAndGo) {
    const int before = LiveGdiObjects();
    ASSERT_GT(before, 0);
    HBRUSH raw = CreateSolidBrush(RGB(1, 2, 3));  // deliberately without an owner, to be counted
    EXPECT_EQ(LiveGdiObjects(), before + 1);
    DeleteObject(raw);
    EXPECT_EQ(LiveGdiObjects(), before);
    GetStockObject(DEFAULT_GUI_FONT);
    EXPECT_EQ(LiveGdiObjects(), before) << "asking for a stock object makes none";
}

TEST_F(SuperBtnTest, HandlesStaySteadyOverHoverCyclesAndCaptionSets) {
    HWND qq = Native(kSuperBtn1);
    HWND order = Native(kSuperBtn2);
    Set(kSuperBtn2, kBtnStyle, 2);  // the XP look tracks the mouse and paints its rounded face
    for (HWND h : {qq, order}) {  // the tooltips exist from here on
        HoverOver(h);
        SendMessageW(h, WM_MOUSELEAVE, 0, 0);
        UpdateWindow(h);
    }
    const HandleCounts start = HandleCounts::Now();
    const int gdiStart = LiveGdiObjects();
    for (int i = 0; i < 1000; ++i) {
        HWND h = i % 2 ? qq : order;
        HoverOver(h);
        UpdateWindow(h);
        SendMessageW(h, WM_MOUSELEAVE, 0, 0);
        UpdateWindow(h);
    }
    Pump();
    ExpectSameCounts(start, HandleCounts::Now(), "1,000 hover cycles");
    EXPECT_EQ(LiveGdiObjects(), gdiStart) << "GDI objects after 1,000 hover cycles";

    Set(kSuperBtn2, kBtnStyle, 1);
    // The pointer away, or the tooltip's timers would show it (with GDI objects of its own) meanwhile.
    ParkPointer();
    SendMessageW(qq, WM_MOUSELEAVE, 0, 0);
    UpdateWindow(order);
    Pump();
    const HandleCounts beforeCaptions = HandleCounts::Now();
    const int gdiBeforeCaptions = LiveGdiObjects();
    // Hidden, so that the control does not paint each text under emulation; shown and painted now and then.
    Set(kSuperBtn2, prop::kVisible, 0);
    // Compared exactly: one object lost per set shows after the first.
    for (int i = 0; i < 1000; ++i) {
        SetText(kSuperBtn2, kCaption, i % 2 ? "24 小时自助下单" : "价格：30元一百个微信真人粉丝");
        if (i % 100 == 0) {
            Set(kSuperBtn2, prop::kVisible, 1);
            UpdateWindow(order);
            Set(kSuperBtn2, prop::kVisible, 0);
        }
    }
    Set(kSuperBtn2, prop::kVisible, 1);
    UpdateWindow(order);
    Pump();
    ExpectSameCounts(beforeCaptions, HandleCounts::Now(), "1,000 caption sets");
    EXPECT_EQ(LiveGdiObjects(), gdiBeforeCaptions) << "GDI objects after 1,000 caption sets";
    EXPECT_EQ(TextOf(order), WideFromGbk("24 小时自助下单"));
}

TEST(SuperBtnLifetime, EverythingIsFreedWithTheWindow) {
    const HandleCounts before = HandleCounts::Now();
    InitializeRuntime(StoredFormBytes(), kCountingRoutines);
    LoadWindow(kMainWindowId);
    FormWindow* w = FindLoadedWindow(kMainWindowId);
    ASSERT_NE(w, nullptr);
    Pump();
    HWND qq = w->Slot(kSuperBtn1)->object->Hwnd();
    HoverOver(qq);  // hot, its tooltip showing
    UpdateWindow(qq);
    auto& object = static_cast<SuperBtn&>(*w->Slot(kSuperBtn1)->object);
    HWND tip = object.ToolTipWindow();
    ASSERT_NE(tip, nullptr);
    // Re-creation frees the old button's tooltip, picture and font.
    SetProperty(kMainWindowId, kSuperBtn1, kDefaultStyle, -1, 0);
    EXPECT_FALSE(IsWindow(tip));
    HoverOver(w->Slot(kSuperBtn1)->object->Hwnd());
    PostMessageW(w->Hwnd(), WM_CLOSE, 0, 0);
    RunMessageLoop();
    ExitProgram(0);
    ExpectSameCounts(before, HandleCounts::Now(), "closing the window");
    qelvane::testing::ResetRuntime();
    ParkPointer();
}

}  // namespace
}  // namespace qelvane::wintest

// The program icon as loaded, cached and given to MainWindow, and the common controls
// version the manifest selects for the process.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <cwctype>
#include <vector>

#include "tests/win/WinTestSupport.h"
#include "ui/window/ProgramIcon.h"

namespace qelvane::wintest {
namespace {

using qelvane::testing::ProgramIconLoads;
using qelvane::testing::ResetProgramIcon;
using qelvane::testing::SetProgramIconModule;

// A module that certainly carries no DEFAULT_ICON.
HMODULE ModuleWithoutIcon() { return GetModuleHandleW(L"kernel32.dll"); }

// For one case: the icon taken from `module` (the executable for null), from an empty cache;
// afterwards the executable's again, whatever the case did.
struct IconSource {
    explicit IconSource(HMODULE module = nullptr) {
        SetProgramIconModule(module);
        ResetProgramIcon();
    }
    ~IconSource() {
        SetProgramIconModule(nullptr);
        ResetProgramIcon();
    }
};

SIZE IconSize(HICON icon) {
    SIZE size{};
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return size;
    BITMAP bm{};
    if (info.hbmColor && GetObjectW(info.hbmColor, sizeof bm, &bm)) size = {bm.bmWidth, bm.bmHeight};
    // GetIconInfo hands out copies of the bitmaps.
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return size;
}

// The two icons at the system's two sizes.
void ExpectIconSizes(const ProgramIcons& icons) {
    EXPECT_EQ(IconSize(icons.largeIcon).cx, 32);
    EXPECT_EQ(IconSize(icons.largeIcon).cy, 32);
    EXPECT_EQ(IconSize(icons.smallIcon).cx, 16);
    EXPECT_EQ(IconSize(icons.smallIcon).cy, 16);
}

HICON WindowIcon(HWND hwnd, WPARAM which) {
    return reinterpret_cast<HICON>(SendMessageW(hwnd, WM_GETICON, which, 0));
}

TEST(ProgramIconTest, FirstRequestLoadsBothSizesAndLaterOnesReuseThem) {
    IconSource source;
    const int before = ProgramIconLoads();
    const ProgramIcons first = LoadProgramIcon();
    ASSERT_NE(first.largeIcon, nullptr);
    ASSERT_NE(first.smallIcon, nullptr);
    EXPECT_EQ(ProgramIconLoads(), before + 2);
    ExpectIconSizes(first);

    const ProgramIcons second = LoadProgramIcon();
    EXPECT_EQ(second.largeIcon, first.largeIcon);
    EXPECT_EQ(second.smallIcon, first.smallIcon);
    EXPECT_EQ(ProgramIconLoads(), before + 2) << "a cached icon was loaded again";
}

TEST(ProgramIconTest, FailedLoadLeavesTheCacheEmptyAndIsRetried) {
    IconSource source(ModuleWithoutIcon());
    const int before = ProgramIconLoads();

    const ProgramIcons failed = LoadProgramIcon();
    EXPECT_EQ(failed.largeIcon, nullptr);
    EXPECT_EQ(failed.smallIcon, nullptr);
    // Without the large icon no small one is made: it would be lost at the retry.
    EXPECT_EQ(ProgramIconLoads(), before + 1);
    EXPECT_EQ(LoadProgramIcon().largeIcon, nullptr);
    EXPECT_EQ(ProgramIconLoads(), before + 2) << "a failed load was not retried";

    SetProgramIconModule(nullptr);
    const ProgramIcons loaded = LoadProgramIcon();
    EXPECT_NE(loaded.largeIcon, nullptr);
    EXPECT_NE(loaded.smallIcon, nullptr);
    EXPECT_EQ(ProgramIconLoads(), before + 4) << "the retry must load both sizes";
    const ProgramIcons again = LoadProgramIcon();
    EXPECT_EQ(again.largeIcon, loaded.largeIcon);
    EXPECT_EQ(again.smallIcon, loaded.smallIcon);
    EXPECT_EQ(ProgramIconLoads(), before + 4);
}

TEST_F(MainWindowTest, ShowsTheCachedProgramIconAtBothSizes) {
    const int before = ProgramIconLoads();
    const ProgramIcons icons = LoadProgramIcon();
    EXPECT_EQ(ProgramIconLoads(), before) << "building the window should have filled the cache";
    ASSERT_NE(icons.largeIcon, nullptr);
    ASSERT_NE(icons.smallIcon, nullptr);
    EXPECT_EQ(WindowIcon(Main(), ICON_BIG), icons.largeIcon);
    EXPECT_EQ(WindowIcon(Main(), ICON_SMALL), icons.smallIcon);
}

// Loads MainWindow from the real form, as the fixture does, for cases that build it twice.
HWND OpenMainWindow() {
    InitializeRuntime(StoredFormBytes(), kCountingRoutines);
    LoadWindow(kMainWindowId);
    FormWindow* w = FindLoadedWindow(kMainWindowId);
    return w ? w->Hwnd() : nullptr;
}

void CloseMainWindow() {
    ExitProgram(0);
    qelvane::testing::ResetRuntime();
}

TEST(ProgramIconWindowTest, WindowsShareTheIconAndNeverDestroyIt) {
    IconSource source;
    HWND first = OpenMainWindow();
    ASSERT_NE(first, nullptr);
    const HICON large = WindowIcon(first, ICON_BIG);
    const HICON smallIcon = WindowIcon(first, ICON_SMALL);
    ASSERT_NE(large, nullptr);
    ASSERT_NE(smallIcon, nullptr);
    CloseMainWindow();
    ASSERT_FALSE(IsWindow(first));
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(large, &info)) << "closing the window destroyed the program icon";
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    EXPECT_EQ(IconSize(smallIcon).cx, 16) << "closing the window destroyed the small icon";

    const int before = ProgramIconLoads();
    HWND second = OpenMainWindow();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(WindowIcon(second, ICON_BIG), large);
    EXPECT_EQ(WindowIcon(second, ICON_SMALL), smallIcon);
    EXPECT_EQ(ProgramIconLoads(), before);
    CloseMainWindow();
}

TEST(ProgramIconWindowTest, WithoutTheResourceTheWindowHasNoIconOfItsOwn) {
    IconSource source(ModuleWithoutIcon());
    HWND hwnd = OpenMainWindow();
    ASSERT_NE(hwnd, nullptr) << "a missing icon must not stop the window";
    EXPECT_EQ(WindowIcon(hwnd, ICON_BIG), nullptr);
    EXPECT_EQ(WindowIcon(hwnd, ICON_SMALL), nullptr);
    CloseMainWindow();
}

// ---- Common controls ----

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(towlower(c));
    return text;
}

std::vector<std::wstring> LoadedModulesNamed(const wchar_t* baseName) {
    std::vector<HMODULE> modules(512);
    DWORD needed = 0;
    std::vector<std::wstring> paths;
    if (!EnumProcessModules(GetCurrentProcess(), modules.data(),
                               static_cast<DWORD>(modules.size() * sizeof(HMODULE)), &needed))
        return paths;
    modules.resize(std::min<std::size_t>(modules.size(), needed / sizeof(HMODULE)));
    for (HMODULE m : modules) {
        wchar_t path[MAX_PATH] = {};
        if (!GetModuleFileNameW(m, path, MAX_PATH)) continue;
        std::wstring lower = Lower(path);
        const std::size_t slash = lower.find_last_of(L"\\/");
        if (lower.substr(slash == std::wstring::npos ? 0 : slash + 1) == baseName) paths.push_back(lower);
    }
    return paths;
}

// Told by the library loaded: the version it reports does not tell (Wine's version 6
// reports 5.81).
TEST_F(MainWindowTest, CommonControlsAreVersion6) {
    const std::vector<std::wstring> loaded = LoadedModulesNamed(L"comctl32.dll");
    ASSERT_FALSE(loaded.empty()) << "comctl32 is not loaded";
    for (const std::wstring& path : loaded) {
        EXPECT_NE(path.find(L"\\winsxs\\"), std::wstring::npos) << path.c_str();
        EXPECT_NE(path.find(L"microsoft.windows.common-controls_6595b64144ccf1df_6.0."), std::wstring::npos)
            << path.c_str();
    }
}

}  // namespace
}  // namespace qelvane::wintest

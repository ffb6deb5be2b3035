// The program in a contrast theme, measured from the screen as a low-vision user's eye would
// meet it: in prefixes with Windows' "High Contrast Black" or "High Contrast White" colours,
// high contrast on and visual styles off, every text of the window (the price label with a
// price, each button caption, every radio caption of the three pages) stands out from what is
// drawn behind it by at least 4.5 : 1. In the usual prefixes it has nothing to check.
#include <algorithm>
#include <map>

#include "tests/e2e/LinkRecording.h"
#include "tests/e2e/PriceWindow.h"
#include "ui/system/ColourContrast.h"

namespace e2e {
namespace {

class ContrastThemeTest : public PriceWindowTest {
protected:
    int Scaled(int v) const {
        HDC screen = GetDC(nullptr);
        const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        return MulDiv(v, dpi, 96);
    }
    RECT Inside(HWND hwnd, int left, int inset) const {
        RECT r;
        GetWindowRect(hwnd, &r);
        return {r.left + Scaled(left), r.top + Scaled(inset), r.right - Scaled(inset), r.bottom - Scaled(inset)};
    }

    // The text in `r` reads against its background (the area's most common colour): enough of
    // its pixels stand out by the measure to make strokes. A page just brought to the front may
    // still be painting: looked at again until it reads or the step's time is up.
    void ExpectReadable(const RECT& r, const std::string& what) {
        int readable = 0;
        double best = 1.0;
        COLORREF background = 0;
        WaitFor([&] {
            const std::vector<COLORREF> pixels = ScreenPixels(r);
            std::map<COLORREF, int> counts;
            for (COLORREF p : pixels) ++counts[p];
            if (counts.empty()) return false;
            background = std::max_element(counts.begin(), counts.end(),
                                          [](auto& a, auto& b) { return a.second < b.second; })->first;
            readable = 0;
            best = 1.0;
            for (COLORREF p : pixels) {
                const double c = qelvane::ContrastRatio(p, background);
                best = std::max(best, c);
                readable += c >= qelvane::kMinTextContrast;
            }
            return readable >= 20;
        });
        EXPECT_GE(readable, 20) << what << ": " << readable << " pixels read at 4.5 : 1 or more against 0x" << std::hex
                                << background << std::dec << " (best " << best << " : 1)";
    }
};

TEST_F(ContrastThemeTest, EveryTextStandsOutFromWhatIsBehindIt) {
    const wchar_t* scheme = _wgetenv(L"QELVANE_SCHEME");
    if (!scheme || !*scheme) GTEST_SKIP() << "only in the prefixes of a contrast theme";
    CheckRadio(L"人工活粉：");
    RefreshAndExpect(L"价格：30元一百个微信真人粉丝");
    RECT label;
    GetWindowRect(label_, &label);
    ExpectReadable(label, "the price label");
    ExpectReadable(Inside(button_, 4, 4), "the price button");
    HWND order = FindChild(window_, L"Button", L"24 小时自助下单");
    ASSERT_NE(order, nullptr);
    ExpectReadable(Inside(order, 6, 6), "the ordering button");

    for (int page = 0; page < 3; ++page) {
        ShowPage(page);
        ParkPointer();
        int radios = 0;
        for (HWND hwnd : ChildWindows(window_)) {
            if (ClassName(hwnd) != L"Button" || !IsWindowVisible(hwnd) ||
                (GetWindowLongW(hwnd, GWL_STYLE) & 0x0F) != BS_AUTORADIOBUTTON)
                continue;
            ++radios;
            // Right of the circle, which the system draws in its own colours.
            ExpectReadable(Inside(hwnd, 20, 0), "page " + std::to_string(page) + ": " + Escaped(WindowText(hwnd)));
        }
        EXPECT_EQ(radios, 4) << "page " << page;
    }
}

// The user's high-contrast setting, put back as it was at the end of the scope.
class HighContrastSetting {
public:
    HighContrastSetting() : saved_(ReadValue(HKEY_CURRENT_USER, kKey, L"Flags")) {}
    ~HighContrastSetting() {
        if (saved_)
            WriteValue(HKEY_CURRENT_USER, kKey, L"Flags", *saved_);
        else
            RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, L"Flags");
    }
    HighContrastSetting(const HighContrastSetting&) = delete;
    HighContrastSetting& operator=(const HighContrastSetting&) = delete;
    bool Set(bool on) { return WriteValue(HKEY_CURRENT_USER, kKey, L"Flags", on ? L"127" : L"126"); }

private:
    static constexpr const wchar_t* kKey = L"Control Panel\\Accessibility\\HighContrast";
    std::optional<std::wstring> saved_;
};

int RedPixels(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    int n = 0;
    for (COLORREF p : ScreenPixels(r)) n += GetRValue(p) > 200 && GetGValue(p) < 80 && GetBValue(p) < 80;
    return n;
}

// Turned on while the program runs, as the settings do (the setting stored, then the message
// to every window): the red caption gives way to the button text, and comes back after.
TEST_F(ContrastThemeTest, ASwitchOfContrastWhileOpenReachesTheScreen) {
    const wchar_t* scheme = _wgetenv(L"QELVANE_SCHEME");
    if (scheme && *scheme) GTEST_SKIP() << "in the default scheme";
    HWND order = FindChild(window_, L"Button", L"24 小时自助下单");
    ASSERT_NE(order, nullptr);
    ASSERT_GT(RedPixels(order), 20) << "the caption is red in the default scheme";
    HighContrastSetting setting;
    ASSERT_TRUE(setting.Set(true));
    SendTo(window_, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    EXPECT_TRUE(WaitFor([&] { return RedPixels(order) == 0; })) << "still red in high contrast";
    ASSERT_TRUE(setting.Set(false));
    SendTo(window_, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    EXPECT_TRUE(WaitFor([&] { return RedPixels(order) > 20; })) << "not red again after";
}

}  // namespace
}  // namespace e2e

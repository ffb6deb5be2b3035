// The running program's main window as the price-list tests see it from outside:
// its controls found by class and caption, clicks on them with real input, the
// tab's page rectangles read across the process boundary, and the label's pixels.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/E2eDriver.h"
#include "tests/support/WindowTestSupport.h"

namespace e2e {

inline BOOL CALLBACK CollectChild(HWND hwnd, LPARAM param) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
    return TRUE;
}

inline std::vector<HWND> ChildWindows(HWND parent) {
    std::vector<HWND> found;
    EnumChildWindows(parent, &CollectChild, reinterpret_cast<LPARAM>(&found));
    return found;
}

// The first descendant of that class whose text begins with `prefix`.
inline HWND FindChild(HWND parent, const std::wstring& className, const std::wstring& prefix = L"") {
    for (HWND hwnd : ChildWindows(parent))
        if (ClassName(hwnd) == className && WindowText(hwnd).rfind(prefix, 0) == 0) return hwnd;
    return nullptr;
}

using qelvane::testsupport::CentreOnScreen;

inline void ClickCentre(HWND hwnd) {
    const POINT p = CentreOnScreen(hwnd);
    ClickAt(p.x, p.y);
}

// Waits until `done` holds; true when it did within the timeout.
template <class Pred>
bool WaitFor(Pred done, Ms timeout = kStepTimeout) {
    const Deadline deadline(timeout);
    for (;;) {
        if (done()) return true;
        if (deadline.Passed()) return false;
        Sleep(20);
    }
}

inline LRESULT SendTo(HWND hwnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(hwnd, msg, wParam, lParam, SMTO_ABORTIFHUNG, 2000, &result)) return -2;
    return static_cast<LRESULT>(result);
}

// A page's item rectangle in screen coordinates. A tab control does not answer
// TCM_GETITEMRECT across processes under Wine, so a twin with the same size,
// font and captions is asked here.
inline std::optional<RECT> TabItemOnScreen(HWND tab, int page) {
    static const HMODULE commonControls = LoadLibraryW(L"comctl32.dll");
    if (!commonControls) return std::nullopt;
    RECT outer{};
    GetWindowRect(tab, &outer);
    HWND host = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, -2000, -2000, 600, 400, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
    HWND twin = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE, 0, 0, outer.right - outer.left,
                                outer.bottom - outer.top, host, nullptr, GetModuleHandleW(nullptr), nullptr);
    std::optional<RECT> result;
    if (twin) {
        SendMessageW(twin, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        const wchar_t* captions[] = {L"微信阅读粉丝", L"微信投票", L"公众号推广"};
        for (int i = 0; i < 3; ++i) {
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = const_cast<wchar_t*>(captions[i]);
            SendMessageW(twin, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        }
        RECT r{};
        if (SendMessageW(twin, TCM_GETITEMRECT, static_cast<WPARAM>(page), reinterpret_cast<LPARAM>(&r)) &&
            r.right > r.left) {
            MapWindowPoints(tab, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
            result = r;
        }
    }
    if (host) DestroyWindow(host);
    return result;
}

// Width of a text in the label's font, the default GUI font.
inline int TextWidth(const std::wstring& text) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));  // stock object, not ours
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return size.cx;
}

// The screen inside `r` (screen coordinates) as it is now, row by row, as 0x00BBGGRR; empty when
// it cannot be read.
inline std::vector<COLORREF> ScreenPixels(const RECT& r) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    std::vector<COLORREF> out;
    if (w <= 0 || h <= 0) return out;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dib && bits) {
        HGDIOBJ old = SelectObject(memory, dib);
        BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
        GdiFlush();
        const auto* p = static_cast<const std::uint32_t*>(bits);
        out.reserve(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
        for (int i = 0; i < w * h; ++i) out.push_back(RGB((p[i] >> 16) & 0xFF, (p[i] >> 8) & 0xFF, p[i] & 0xFF));
        SelectObject(memory, old);
    }
    if (dib) DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return out;
}

// Columns [left, right) of the window's client area where anything but the
// window background shows on screen now; nothing when it is all background.
struct InkColumns {
    int left = 0, right = 0;
};
inline std::optional<InkColumns> InkOnScreen(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    MapWindowPoints(hwnd, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
    const int w = r.right - r.left, h = r.bottom - r.top;
    const std::vector<COLORREF> pixels = ScreenPixels(r);
    if (pixels.empty()) return std::nullopt;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    std::optional<InkColumns> ink;
    for (int x = 0; x < w; ++x)
        for (int y = 0; y < h; ++y) {
            if (pixels[static_cast<std::size_t>(y * w + x)] == face) continue;
            if (!ink) ink = InkColumns{x, x + 1};
            ink->right = x + 1;
            break;
        }
    return ink;
}

// Each case starts the program and waits for its window and the controls it uses.
class PriceWindowTest : public ProgramWindowTest {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(OpenPriceWindow(Use::Acts)); }
    // The program's window and the components every case looks for.
    void OpenPriceWindow(Use use) {
        ASSERT_NO_FATAL_FAILURE(OpenProgram(use));
        label_ = FindChild(window_, L"Qelvane.TransLabel");
        button_ = FindChild(window_, L"Button", L"获取最新价格");
        tab_ = FindChild(window_, L"SysTabControl32");
        ASSERT_NE(label_, nullptr);
        ASSERT_NE(button_, nullptr);
        ASSERT_NE(tab_, nullptr);
    }
    void TearDown() override { ParkPointer(); }

    HWND Radio(const std::wstring& captionStart) const { return FindChild(window_, L"Button", captionStart); }
    bool Checked(HWND radio) const { return SendTo(radio, BM_GETCHECK) == BST_CHECKED; }
    int Page() const { return static_cast<int>(SendTo(tab_, TCM_GETCURSEL)); }
    void ShowPage(int page) {
        const std::optional<RECT> item = TabItemOnScreen(tab_, page);
        ASSERT_TRUE(item) << "no rectangle for page " << page;
        ClickAt((item->left + item->right) / 2, (item->top + item->bottom) / 2);
        ASSERT_TRUE(WaitFor([&] { return Page() == page; }))
            << "page " << page << " did not come to the front after a click on (" << item->left << "," << item->top
            << ")-(" << item->right << "," << item->bottom << "); page in front " << Page();
    }
    void CheckRadio(const std::wstring& captionStart) {
        HWND radio = Radio(captionStart);
        ASSERT_NE(radio, nullptr) << Escaped(captionStart);
        ASSERT_TRUE(IsWindowVisible(radio)) << Escaped(captionStart) << " is not on the page in front";
        ClickCentre(radio);
        ASSERT_TRUE(WaitFor([&] { return Checked(radio); })) << Escaped(captionStart) << " was not checked";
    }
    // Clicks "获取最新价格" and waits for the label to read `expected`, then for it to show so.
    void RefreshAndExpect(const std::wstring& expected) {
        ClickCentre(button_);
        const bool read = WaitFor([&] { return WindowText(label_) == expected; });
        EXPECT_TRUE(read) << "label reads " << Escaped(WindowText(label_)) << ", expected " << Escaped(expected);
        // On screen: ink from the left edge to where the text ends, and nothing of a longer old text.
        // The slack is for the glyphs' side bearings, which grow with the display's scale.
        const int width = TextWidth(expected);
        HDC screen = GetDC(nullptr);
        const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        const int two = MulDiv(2, dpi, 96), eight = MulDiv(8, dpi, 96);
        std::optional<InkColumns> ink;
        const bool shown = WaitFor([&] {
            ink = InkOnScreen(label_);
            return ink && ink->left <= two && ink->right <= width + two && ink->right >= width - eight;
        });
        EXPECT_TRUE(shown) << "label ink " << (ink ? std::to_string(ink->left) + ".." + std::to_string(ink->right)
                                                    : std::string("none"))
                           << ", text width " << width << " for " << Escaped(expected);
    }

    HWND label_ = nullptr;
    HWND button_ = nullptr;
    HWND tab_ = nullptr;
};

}  // namespace e2e

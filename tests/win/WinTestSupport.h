// Shared pieces of the tests under Wine: the real stored form with counting
// routines, a fixture that opens MainWindow per test, and small helpers.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "app/Identifiers.h"
#include "app/Testing.h"
#include "ui/form/PropertyNumbers.h"
#include "tests/support/WindowTestSupport.h"
#include "runtime/Runtime.h"
#include "app/StoredForm.h"
#include "ui/window/WindowLayer.h"

namespace qelvane::wintest {

inline constexpr std::uint32_t kTab = kTabId;
inline constexpr std::uint32_t kLabel = kPriceLabelId;
inline constexpr std::uint32_t kButton = kButtonId;
inline constexpr std::uint32_t kSuperBtn1 = kChatButtonId;
inline constexpr std::uint32_t kSuperBtn2 = kOrderButtonId;
inline constexpr std::uint32_t kPicBox = kPicBoxId;
inline constexpr auto kRadios = kRadioBoxIds;  // 单选框1..12 by page

// Calls per routine-area slot (0 RefreshPriceLabel, 1 OpenOrderPage, 2 OpenQqChat).
inline std::array<int, 3> routineCalls{};
inline std::array<EventSourceInfo, 3> sourceSeen{};
template <int N>
void CountingRoutine() {
    ++routineCalls[N];
    sourceSeen[N] = EventSource();
}
inline constexpr std::array<Routine, 3> kCountingRoutines{&CountingRoutine<0>, &CountingRoutine<1>,
                                                          &CountingRoutine<2>};

inline std::span<const std::uint8_t> StoredFormBytes() { return {kStoredForm, kStoredFormSize}; }

// Bytes as upper-case hex pairs, e.g. to compare GBK text or to match it in a pattern.
inline std::string Hex(const std::string& bytes, const char* separator = "") {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        if (!out.empty()) out += separator;
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

// Runs what is queued, through the runtime's pre-translation like the loop does.
inline void Pump() { testsupport::PumpQueued(&PreTranslateMessage); }

inline std::wstring ClassOf(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

inline std::wstring TextOf(HWND hwnd) {
    wchar_t text[512] = {};
    GetWindowTextW(hwnd, text, 512);
    return text;
}

inline RECT RectInParent(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Sends a key down to the focused window through the pre-translation path.
inline bool PressKey(WPARAM key, bool shift = false) {
    BYTE state[256];
    GetKeyboardState(state);
    state[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(state);
    MSG msg{};
    msg.hwnd = GetFocus();
    msg.message = WM_KEYDOWN;
    msg.wParam = key;
    const bool consumed = PreTranslateMessage(msg);
    if (!consumed) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    state[VK_SHIFT] = 0;
    SetKeyboardState(state);
    return consumed;
}

// Starts the runtime on a form and opens MainWindow from it; null when it did not open.
inline FormWindow* OpenMainWindow(std::span<const std::uint8_t> form, std::span<const Routine> routines) {
    InitializeRuntime(form, routines);
    LoadWindow(kMainWindowId);
    FormWindow* window = FindLoadedWindow(kMainWindowId);
    if (window) Pump();
    return window;
}

// A fixture holding an open MainWindow (opened by the derived SetUp), with shorthands.
class OpenWindowTest : public ::testing::Test {
protected:
    void TearDown() override {
        ExitProgram(0);
        testing::ResetRuntime();
    }

    HWND Main() const { return window_->Hwnd(); }
    HWND Native(std::uint32_t id) const {
        ComponentSlot* slot = window_->Slot(id);
        return slot && slot->object ? slot->object->Hwnd() : nullptr;
    }
    std::int32_t Get(std::uint32_t id, std::int32_t number) const {
        return static_cast<std::int32_t>(GetProperty(kMainWindowId, id, number, -1));
    }
    void Set(std::uint32_t id, std::int32_t number, std::int64_t value) const {
        SetProperty(kMainWindowId, id, number, -1, static_cast<std::uint64_t>(value));
    }
    std::string GetText(std::uint32_t id, std::int32_t number) const {
        return reinterpret_cast<const char*>(static_cast<std::uintptr_t>(GetProperty(kMainWindowId, id, number, -1)));
    }
    void SetText(std::uint32_t id, std::int32_t number, const char* text) const {
        SetProperty(kMainWindowId, id, number, -1, reinterpret_cast<std::uintptr_t>(text));
    }

    FormWindow* window_ = nullptr;
};

// The real form with routines that count their calls.
class MainWindowTest : public OpenWindowTest {
protected:
    void SetUp() override {
        routineCalls = {};
        sourceSeen = {};
        window_ = OpenMainWindow(StoredFormBytes(), kCountingRoutines);
        ASSERT_NE(window_, nullptr);
    }
};

}  // namespace qelvane::wintest

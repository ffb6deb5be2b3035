// MainWindow built from the real form with every event of the tab control,
// the radio boxes and the push button bound to recorders, so that tests see
// which events are raised, by whom and in which order.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <ostream>
#include <vector>

#include "tests/win/WinTestSupport.h"
#include "ui/form/FormCodec.h"

namespace qelvane::wintest {

struct RaisedEvent {
    std::int32_t event;
    std::uint32_t component;
    friend bool operator==(const RaisedEvent&, const RaisedEvent&) = default;
};

inline std::vector<RaisedEvent> raised;
// The event of each recorder slot.
inline constexpr std::array<std::int32_t, 5> kRecordedEvents{0, 1, 2, -7, -8};
template <int N>
void Record() {
    raised.push_back({kRecordedEvents[N], EventSource().component});
}
inline constexpr std::array<Routine, 5> kRecorders{&Record<0>, &Record<1>, &Record<2>, &Record<3>, &Record<4>};

inline std::ostream& operator<<(std::ostream& os, const RaisedEvent& e) {
    return os << "{event " << e.event << ", 0x" << std::hex << e.component << std::dec << "}";
}

class EventLogTest : public OpenWindowTest {
protected:
    void SetUp() override {
        std::optional<FormDescription> form = DecodeForm(StoredFormBytes(), kRecorders);
        ASSERT_TRUE(form);
        for (ComponentEntry& e : form->windows[0].components) {
            if (e.type == TypeCode::Tab) e.bindings = {{0, 0, nullptr}, {1, 1, nullptr}, {2, 2, nullptr}};
            if (e.type == TypeCode::RadioBox || e.type == TypeCode::Button)
                e.bindings = {{0, 0, nullptr}, {-7, 3, nullptr}, {-8, 4, nullptr}};
        }
        const Bytes bytes = EncodeForm(*form);
        ASSERT_FALSE(bytes.empty());
        InitializeRuntime(bytes, kRecorders);
        LoadWindow(kMainWindowId);
        window_ = FindLoadedWindow(kMainWindowId);
        ASSERT_NE(window_, nullptr);
        Pump();
        raised.clear();
    }
    bool Checked(std::uint32_t id) const { return SendMessageW(Native(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    // Only these boxes are checked, on any page.
    void ExpectCheckedExactly(std::vector<std::uint32_t> ids) const {
        for (const auto& page : kRadios)
            for (std::uint32_t id : page) {
                const bool want = std::find(ids.begin(), ids.end(), id) != ids.end();
                EXPECT_EQ(Checked(id), want) << "box 0x" << std::hex << id;
            }
    }
    std::vector<RaisedEvent> ClickEvents() const {
        std::vector<RaisedEvent> out;
        for (const RaisedEvent& e : raised)
            if (e.event >= 0) out.push_back(e);
        return out;
    }
    // A real mouse click on the tab control's header of `page`, through the control's own code.
    void ClickHeader(int page) const {
        RECT r{};
        ASSERT_TRUE(SendMessageW(Native(kTab), TCM_GETITEMRECT, page, reinterpret_cast<LPARAM>(&r)));
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        SendMessageW(Native(kTab), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(Native(kTab), WM_LBUTTONUP, 0, at);
        Pump();
    }
};

}  // namespace qelvane::wintest

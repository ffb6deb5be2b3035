// Random real input, from a seeded generator, to the shipped program; after every input the
// window is checked from outside. scripts/monkey runs it long; the test run runs it short.
//   QELVANE_MONKEY_SEED (default 20261209), QELVANE_MONKEY_INPUTS (default 500)
#include <algorithm>
#include <cstdlib>
#include <deque>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "tests/e2e/LinkRecording.h"
#include "vendor/VendorData.h"

namespace e2e {
namespace {

unsigned long EnvNumber(const wchar_t* name, unsigned long fallback) {
    const wchar_t* text = _wgetenv(name);
    return text && *text ? std::wcstoul(text, nullptr, 10) : fallback;
}

bool Inside(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

// Windows of the process, shown or hidden, children included (Wine keeps no count of USER
// objects for GetGuiResources).
BOOL CALLBACK CountChild(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}
int WindowsOf(DWORD pid) {
    int count = 0;
    for (HWND hwnd : qelvane::testsupport::TopLevelWindowsOf(pid, false)) {
        ++count;
        EnumChildWindows(hwnd, &CountChild, reinterpret_cast<LPARAM>(&count));
    }
    return count;
}

// Every text the price label may show: its caption at start, then each service's price.
std::vector<std::wstring> LabelTexts() {
    std::vector<std::wstring> texts{L"价格："};
    for (const auto& page : qelvane::vendor::kPriceTexts)
        for (const char* text : page) texts.push_back(FromGbk(text));
    return texts;
}

class MonkeyTest : public RecordedLinksTest {
protected:
    RECT Rect(HWND hwnd) const {
        RECT r{};
        GetWindowRect(hwnd, &r);
        return r;
    }
    POINT Somewhere(const RECT& r) { return {Between(r.left, r.right - 1), Between(r.top, r.bottom - 1)}; }
    int Between(int low, int high) { return std::uniform_int_distribution<int>(low, std::max(low, high))(rng_); }

    // A point in the client area off the image buttons, whose clicks are counted one by one.
    POINT AnyPoint() {
        RECT client{};
        GetClientRect(window_, &client);
        MapWindowPoints(window_, HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
        for (;;) {
            POINT p;
            if (Between(0, 1)) {  // on a component half the time
                const std::vector<HWND> children = ChildWindows(window_);
                std::vector<HWND> shown;
                for (HWND h : children)
                    if (IsWindowVisible(h)) shown.push_back(h);
                p = Somewhere(Rect(shown[static_cast<std::size_t>(Between(0, static_cast<int>(shown.size()) - 1))]));
            } else {
                p = Somewhere(client);
            }
            if (Inside(client, p) && !Inside(Rect(chat_), p) && !Inside(Rect(order_), p)) return p;
        }
    }

    // The price that the page in front and its checked boxes call for, worked out from what
    // shows: the page's boxes are the visible ones, in position order top to bottom.
    std::wstring ExpectedPrice() const {
        const int page = Page();
        if (page < 0 || page > 2) return valid_[0];
        std::vector<HWND> boxes;
        for (HWND h : ChildWindows(tab_))
            if (ClassName(h) == L"Button" && IsWindowVisible(h)) boxes.push_back(h);
        std::sort(boxes.begin(), boxes.end(), [&](HWND a, HWND b) { return Rect(a).top < Rect(b).top; });
        std::wstring price = valid_[0];
        for (std::size_t i = 0; i < boxes.size() && i < 4; ++i)
            if (Checked(boxes[i])) price = FromGbk(qelvane::vendor::kPriceTexts[page][i]);
        return price;
    }

    // One random input; `refresh` is set when it clicked "获取最新价格", `link` when it clicked an
    // image button (the link it must have asked for).
    std::string Act(bool& refresh, std::wstring& link) {
        std::ostringstream what;
        const int kind = Between(0, 99);
        if (kind < 20) {
            const POINT p = AnyPoint();
            ClickAt(p.x, p.y);
            what << "click " << p.x << "," << p.y;
        } else if (kind < 28) {
            const POINT p = AnyPoint();
            ClickAt(p.x, p.y);
            ClickAt(p.x, p.y);
            what << "double click " << p.x << "," << p.y;
        } else if (kind < 34) {
            const POINT from = AnyPoint(), to = AnyPoint();
            MouseAt(from.x, from.y, MOUSEEVENTF_LEFTDOWN);
            MovePointer((from.x + to.x) / 2, (from.y + to.y) / 2);
            MouseAt(to.x, to.y, MOUSEEVENTF_LEFTUP);
            what << "drag " << from.x << "," << from.y << " to " << to.x << "," << to.y;
        } else if (kind < 42) {
            RECT r = Rect(window_);
            const POINT p = Somewhere(r);
            MovePointer(p.x, p.y);
            if (Between(0, 3) == 0) Sleep(700);  // long enough for a tooltip
            what << "move " << p.x << "," << p.y;
        } else if (kind < 52) {
            const int page = Between(0, 2);
            if (const std::optional<RECT> item = TabItemOnScreen(tab_, page))
                ClickAt((item->left + item->right) / 2, (item->top + item->bottom) / 2);
            what << "page header " << page;
        } else if (kind < 64) {
            ClickCentre(button_);
            refresh = true;
            what << "click 获取最新价格";
        } else if (kind < 66) {
            const bool chat = Between(0, 1);
            ClickCentre(chat ? chat_ : order_);
            link = chat ? ChatLink() : OrderLink();
            what << "click " << (chat ? "QQ chat" : "order") << " button";
        } else {
            static const WORD kKeys[] = {VK_TAB, VK_TAB, VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_SPACE, VK_RETURN, VK_F1, 0};
            WORD key = kKeys[Between(0, static_cast<int>(std::size(kKeys)) - 1)];
            WORD modifier = key == VK_TAB && Between(0, 1) ? VK_SHIFT : 0;
            if (key == 0) {
                key = static_cast<WORD>('A' + Between(0, 25));
                modifier = VK_MENU;
            }
            // Space on an image button opens a link (a recorder process: slow), so it is mostly
            // kept off them; Enter goes to the default button, wherever the focus is. Bringing the
            // window to the front restores its focus, so the focus is read after that.
            MakeForeground(window_);
            const HWND focus = key == VK_SPACE ? FocusOf(window_, 200) : nullptr;
            if (focus == chat_ || focus == order_) key = VK_TAB;
            PressKey(key, modifier);
            what << "key " << (modifier == VK_MENU ? "Alt+" : modifier ? "Shift+" : "") << key;
            if (key == VK_SPACE) {
                // Input still queued when the focus was read may have moved it since: Space
                // pressed what has the focus once it has settled.
                const HWND after = SettledFocus();
                refresh = after == button_;
                if (after == chat_ || after == order_) {
                    link = after == chat_ ? ChatLink() : OrderLink();
                    what << " (on the " << (after == chat_ ? "QQ chat" : "order") << " button)";
                }
            }
        }
        return what.str();
    }

    // The program's focus once it has stayed the same for a while: input given before is
    // handled by then.
    HWND SettledFocus() {
        constexpr int kStableReads = 3;
        constexpr DWORD kReadMs = 20;
        HWND last = FocusOf(window_, 200);
        for (int same = 0, reads = 0; same < kStableReads && reads < 200; ++reads) {
            Sleep(kReadMs);
            const HWND now = FocusOf(window_, 200);
            same = now == last ? same + 1 : 0;
            last = now;
        }
        return last;
    }

    const std::vector<std::wstring> valid_ = LabelTexts();
    std::mt19937 rng_;
};

TEST_F(MonkeyTest, RandomInputsLeaveAWorkingWindowWithTheRightPrice) {
    const unsigned long seed = EnvNumber(L"QELVANE_MONKEY_SEED", 20261209);
    const unsigned long inputs = EnvNumber(L"QELVANE_MONKEY_INPUTS", 500);
    rng_.seed(seed);
    std::deque<std::string> recent;
    std::vector<std::wstring> links;  // asked for so far, in order
    int windowsAfterWarmUp = -1;
    constexpr unsigned long kWarmUp = 50;
    constexpr int kWindowSlack = 4;
    const DWORD started = GetTickCount();

    for (unsigned long step = 0; step < inputs; ++step) {
        bool refresh = false;
        std::wstring link;
        recent.push_back(Act(refresh, link));
        if (recent.size() > 20) recent.pop_front();
        Sleep(15);

        std::string failure;
        if (!program_->Running()) {
            failure = "the program ended";
        } else if (SendTo(window_, WM_NULL) == -2) {
            failure = "the window does not answer";
        } else {
            for (HWND h : VisibleTopLevelWindows(program_->Pid()))
                if (h != window_ && ClassName(h) != L"tooltips_class32")
                    failure = "another window appeared: " + Escaped(ClassName(h) + L"|" + WindowText(h));
        }
        std::wstring label;
        if (failure.empty()) {
            if (refresh) {
                const std::wstring expected = ExpectedPrice();
                if (!WaitFor([&] { return (label = WindowText(label_)) == expected; }))
                    failure = "after 获取最新价格 the label reads " + Escaped(label) + ", expected " + Escaped(expected);
            } else if (label = WindowText(label_); std::find(valid_.begin(), valid_.end(), label) == valid_.end()) {
                failure = "the label reads " + Escaped(label);
            }
        }
        if (failure.empty() && !link.empty()) {
            links.push_back(link);
            std::vector<Request> got;
            WaitFor([&] {
                got = ReadRequests(records_.Path());
                return got.size() >= links.size() &&
                       std::none_of(got.begin(), got.end(), [](const Request& r) { return r == Request{L"<incomplete>"}; });
            }, 20000);
            if (got.size() != links.size()) {
                failure = std::to_string(links.size()) + " image-button clicks, " + std::to_string(got.size()) + " requests";
            } else {
                std::vector<std::wstring> asked;
                for (const Request& r : got) asked.push_back(r.empty() ? L"" : r[0]);
                std::vector<std::wstring> expected = links;
                std::sort(asked.begin(), asked.end());
                std::sort(expected.begin(), expected.end());
                if (asked != expected) {
                    failure = "a request is not the link of the button clicked; asked:";
                    for (const std::wstring& a : asked) failure += " " + Escaped(a);
                    failure += "; clicked:";
                    for (const std::wstring& e : expected) failure += " " + Escaped(e);
                }
            }
            MakeForeground(window_);
        }
        if (failure.empty() && step + 1 >= kWarmUp) {
            const int windows = WindowsOf(program_->Pid());
            if (windowsAfterWarmUp < 0) windowsAfterWarmUp = windows;
            if (windows > windowsAfterWarmUp + kWindowSlack)
                failure = "windows of the process grew from " + std::to_string(windowsAfterWarmUp) + " to " +
                          std::to_string(windows);
        }
        if (!failure.empty()) {
            std::string replay;
            for (const std::string& r : recent) replay += "\n  " + r;
            FAIL() << "seed " << seed << ", step " << step << ": " << failure << "\nlast inputs:" << replay;
        }
    }
    const double seconds = (GetTickCount() - started) / 1000.0;
    std::printf("monkey: seed %lu, %lu inputs, 0 failures, %.1f s, %.1f inputs/s, %zu links\n", seed, inputs, seconds,
                inputs / seconds, links.size());

    // The deliberate last input.
    MakeForeground(window_);
    PressKey(VK_ESCAPE);
    EXPECT_EQ(program_->WaitForExit(), 0u);
}

}  // namespace
}  // namespace e2e

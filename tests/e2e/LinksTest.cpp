// The two image buttons clicked with real input: the shell is asked for real,
// and the recorder registered as the handler of the link schemes writes down
// what it was started with, one file per request.
#include <string>
#include <vector>

#include "vendor/VendorData.h"
#include "tests/e2e/LinkRecording.h"
#include "tests/e2e/PriceWindow.h"

namespace e2e {
namespace {

class ImageButtonLinksTest : public RecordedLinksTest {
protected:
    // What a click on an image button must leave as it was.
    struct WindowState {
        std::wstring label;
        int page;
        std::vector<bool> checks;
        bool operator==(const WindowState&) const = default;
    };
    WindowState State() const {
        WindowState s{WindowText(label_), Page(), {}};
        for (HWND hwnd : ChildWindows(window_))
            if (ClassName(hwnd) == L"Button" && (GetWindowLongW(hwnd, GWL_STYLE) & 0x1F) != BS_OWNERDRAW)
                s.checks.push_back(Checked(hwnd));
        return s;
    }

    // One click on `button` makes exactly the request for `link`, and the window stays as it was.
    void ClickForOnly(HWND button, const std::wstring& link) {
        const WindowState before = State();
        ClickCentre(button);
        const std::vector<Request> got = AwaitRequests(1);
        ASSERT_EQ(got.size(), 1u) << "one click, one request";
        EXPECT_EQ(got[0], Request{link}) << Escaped(got[0].empty() ? L"" : got[0][0]);
        EXPECT_TRUE(program_->Running());
        EXPECT_TRUE(IsWindowVisible(window_));
        EXPECT_EQ(State(), before) << "the click changed the window";
    }

};

TEST_F(ImageButtonLinksTest, QqChatButtonHandsTheWholeChatLinkToItsHandler) {
    CheckRadio(L"人工活粉：");
    RefreshAndExpect(L"价格：30元一百个微信真人粉丝");
    ClickForOnly(chat_, ChatLink());
}

TEST_F(ImageButtonLinksTest, OrderButtonOpensTheOrderingPage) {
    ClickForOnly(order_, OrderLink());
}

TEST_F(ImageButtonLinksTest, ThreeQuickClicksMakeThreeRequests) {
    const WindowState before = State();
    // Quick enough to fall within the double-click time: each is still a click.
    for (int i = 0; i < 3; ++i) ClickCentre(order_);
    const std::vector<Request> got = AwaitRequests(3);
    EXPECT_EQ(got.size(), 3u);
    for (const Request& r : got) EXPECT_EQ(r, Request{OrderLink()});
    EXPECT_TRUE(program_->Running());
    EXPECT_EQ(State(), before);
}

}  // namespace
}  // namespace e2e

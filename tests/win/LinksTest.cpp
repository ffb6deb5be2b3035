// The link routines and the shell request they make, with the shell call
// replaced by a recorder: verb, link, owner window, and nothing else touched.
#include "app/Links.h"
#include "app/Routines.h"
#include "tests/win/WinTestSupport.h"

namespace qelvane::wintest {
namespace {

struct ShellRequest {
    HWND owner;
    std::wstring verb, file;
    bool parameters, directory;  // whether either was given
    int show;
};
std::vector<ShellRequest> requests;

void RecordRequest(HWND owner, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                   const wchar_t* directory, int show) {
    requests.push_back({owner, verb ? verb : L"<null>", file ? file : L"<null>", parameters != nullptr,
                        directory != nullptr, show});
}

std::wstring Wide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

// A top-level window with the given title, for the owner lookup.
class TitledWindow {
public:
    explicit TitledWindow(const wchar_t* title)
        : window_(CreateWindowExW(0, L"STATIC", title, WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr)) {}
    HWND get() const { return window_.get(); }

private:
    UniqueWindow window_;
};

class LinksTest : public ::testing::Test {
protected:
    void SetUp() override {
        requests.clear();
        testing::SetShellOpenHook(&RecordRequest);
    }
    void TearDown() override { testing::SetShellOpenHook(nullptr); }
};

TEST_F(LinksTest, LinksHaveTheirFixedShapeWhateverTheContactData) {
    const std::string chat = ChatLink();
    const std::string uin = "tencent://message/?uin=";
    ASSERT_EQ(chat.rfind(uin, 0), 0u) << chat;
    const std::size_t site = chat.find("&Site=https://");
    ASSERT_NE(site, std::string::npos) << chat;
    const std::string number = chat.substr(uin.size(), site - uin.size());
    EXPECT_FALSE(number.empty());
    EXPECT_EQ(number.find_first_not_of("0123456789"), std::string::npos) << "QQ number " << number;
    const std::string menu = "&Menu=yes";
    ASSERT_GE(chat.size(), menu.size());
    EXPECT_EQ(chat.substr(chat.size() - menu.size()), menu) << chat;
    const std::string host = chat.substr(site + 14, chat.size() - menu.size() - site - 14);
    EXPECT_FALSE(host.empty());
    EXPECT_EQ(host.find_first_of("/%&?#:"), std::string::npos) << "site host " << host;

    const std::string order = OrderLink();
    ASSERT_EQ(order.rfind("http://", 0), 0u) << order;
    const std::string orderHost = order.substr(7, order.size() - 8);
    EXPECT_EQ(order.back(), '/');
    EXPECT_FALSE(orderHost.empty());
    EXPECT_EQ(orderHost.find_first_of("/%&?#:"), std::string::npos) << "order host " << orderHost;
}

TEST_F(LinksTest, EachRoutineMakesOneOpenRequestWithItsLink) {
    OpenQqChat();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].verb, L"open");
    EXPECT_EQ(requests[0].file, Wide(ChatLink()));
    EXPECT_FALSE(requests[0].parameters);
    EXPECT_FALSE(requests[0].directory);
    EXPECT_EQ(requests[0].show, SW_SHOWNORMAL);

    OpenOrderPage();
    OpenOrderPage();
    OpenOrderPage();
    ASSERT_EQ(requests.size(), 4u) << "every call is a request of its own";
    for (std::size_t i = 1; i < 4; ++i) {
        EXPECT_EQ(requests[i].verb, L"open");
        EXPECT_EQ(requests[i].file, Wide(OrderLink()));
        EXPECT_EQ(requests[i].show, SW_SHOWNORMAL);
    }
}

TEST_F(LinksTest, OwnerIsTheWindowTitledExactlyMicrosoftInternetExplorer) {
    OpenOrderPage();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests.back().owner, nullptr) << "no such window yet";
    {
        TitledWindow near(L"Microsoft Internet Explorer - about:blank");
        OpenOrderPage();
        ASSERT_EQ(requests.size(), 2u);
        EXPECT_EQ(requests.back().owner, nullptr) << "the title must match exactly";

        TitledWindow browser(L"Microsoft Internet Explorer");
        ASSERT_NE(browser.get(), nullptr);
        OpenQqChat();
        ASSERT_EQ(requests.size(), 3u);
        EXPECT_EQ(requests.back().owner, browser.get()) << "looked up again at this call";
    }
    OpenQqChat();
    ASSERT_EQ(requests.size(), 4u);
    EXPECT_EQ(requests.back().owner, nullptr) << "the window is gone: nothing cached";
}

TEST_F(LinksTest, ArgumentTypeDecidesWhatIsOpened) {
    const char text[] = "http://elsewhere.example/";
    const CommandArgument given{reinterpret_cast<std::uintptr_t>(text), kArgumentText};
    OpenLink(std::span(&given, 1));
    // Absent, with or without a value: the default address.
    const CommandArgument absent{reinterpret_cast<std::uintptr_t>(text), kArgumentAbsent};
    OpenLink(std::span(&absent, 1));
    OpenLink({});
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].file, L"http://elsewhere.example/");
    EXPECT_EQ(requests[1].file, Wide(kDefaultLinkAddress));
    EXPECT_EQ(requests[2].file, Wide(kDefaultLinkAddress));

    // Not a text, or a text that is not there: nothing to open, and no crash.
    const CommandArgument number{42, 0x80000001u};
    const CommandArgument noText{0, kArgumentText};
    OpenLink(std::span(&number, 1));
    OpenLink(std::span(&noText, 1));
    EXPECT_EQ(requests.size(), 3u);
}

// The real routine table behind the form's bindings: clicks reach the shell, and the window keeps its state.
class LinkClicksTest : public LinksTest {
protected:
    void SetUp() override {
        LinksTest::SetUp();
        window_ = OpenMainWindow(StoredFormBytes(), ProgramRoutines());
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override {
        ExitProgram(0);
        testing::ResetRuntime();
        LinksTest::TearDown();
    }
    HWND Native(std::uint32_t id) const {
        ComponentSlot* slot = window_->Slot(id);
        return slot && slot->object ? slot->object->Hwnd() : nullptr;
    }
    void Click(std::uint32_t id) {
        SendMessageW(Native(id), BM_CLICK, 0, 0);
        Pump();
    }
    // Everything a click on an image button could disturb.
    std::vector<std::uint64_t> State() const {
        std::vector<std::uint64_t> s{GetProperty(kMainWindowId, kTab, prop::tab::kCurrentPage, -1)};
        for (const auto& page : kRadios)
            for (std::uint32_t id : page) s.push_back(GetProperty(kMainWindowId, id, prop::radio::kChecked, -1));
        for (std::uint32_t id : {kLabel, kButton, kSuperBtn1, kSuperBtn2, kPicBox, kTab})
            for (int common = 0; common < 7; ++common)
                if (common != 4) s.push_back(GetProperty(kMainWindowId, id, common, -1));
        return s;
    }
    std::string LabelText() const {
        return reinterpret_cast<const char*>(static_cast<std::uintptr_t>(GetProperty(kMainWindowId, kLabel, prop::label::kCaption, -1)));
    }

    FormWindow* window_ = nullptr;
};

TEST_F(LinkClicksTest, ImageButtonsOpenTheirLinksAndChangeNothing) {
    SendMessageW(Native(kRadios[0][2]), BM_CLICK, 0, 0);
    Click(kButton);
    ASSERT_EQ(LabelText(), "价格：30元一百个微信真人粉丝");
    const std::vector<std::uint64_t> before = State();

    Click(kSuperBtn1);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].file, Wide(ChatLink()));
    Click(kSuperBtn2);
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].file, Wide(OrderLink()));

    EXPECT_EQ(LabelText(), "价格：30元一百个微信真人粉丝");
    EXPECT_EQ(State(), before);
    EXPECT_TRUE(IsWindowVisible(window_->Hwnd()));
    Click(kButton);
    EXPECT_EQ(requests.size(), 2u) << "the price button opens no link";
}

// Three quick clicks arrive as click, double click, click: each must open the link.
TEST_F(LinkClicksTest, QuickClicksOpenTheLinkOncePerClick) {
    HWND button = Native(kSuperBtn2);
    const LPARAM inside = MAKELPARAM(5, 5);
    for (UINT down : {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_LBUTTONDOWN}) {
        SendMessageW(button, down, MK_LBUTTON, inside);
        SendMessageW(button, WM_LBUTTONUP, 0, inside);
        Pump();
    }
    EXPECT_EQ(requests.size(), 3u);
    for (const ShellRequest& r : requests) EXPECT_EQ(r.file, Wide(OrderLink()));
}

}  // namespace
}  // namespace qelvane::wintest

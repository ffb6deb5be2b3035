// The program as a screen reader sees it, from another process: the accessible objects of our
// own components (names, roles, states, the default action) and the events a changed price
// raises. The system's objects for the standard controls are Wine's, and incomplete there.
#include <oleacc.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "tests/e2e/LinkRecording.h"
#include "tests/e2e/PriceWindow.h"
#include "vendor/VendorData.h"
#include "tests/support/WindowTestSupport.h"

namespace e2e {
namespace {

// A COM reference, released at the end of its scope.
template <class T>
struct Held {
    T* p = nullptr;
    ~Held() {
        if (p) p->Release();
    }
    T* operator->() const { return p; }
};

using qelvane::testsupport::Self;

struct Facts {
    long role = 0;
    long state = 0;
    std::wstring name, description, action;
};

std::wstring Take(BSTR text) {
    std::wstring out = text ? std::wstring(text, SysStringLen(text)) : std::wstring();
    SysFreeString(text);
    return out;
}

// Events for one window, heard as a screen reader hears them: out of context, in this process,
// delivered through its message queue.
struct EventCount {
    static inline HWND target = nullptr;
    static inline int nameChanges = 0, liveRegionChanges = 0;
    static void CALLBACK Heard(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
        if (hwnd != target || object != OBJID_CLIENT || child != CHILDID_SELF) return;
        if (event == EVENT_OBJECT_NAMECHANGE) ++nameChanges;
        if (event == 0x8019) ++liveRegionChanges;  // EVENT_OBJECT_LIVEREGIONCHANGED
    }
};

bool SystemHasLiveRegions() {
    OSVERSIONINFOEXW want{};
    want.dwOSVersionInfoSize = sizeof want;
    want.dwMajorVersion = 6;
    want.dwMinorVersion = 2;
    DWORDLONG mask = VerSetConditionMask(VerSetConditionMask(0, VER_MAJORVERSION, VER_GREATER_EQUAL),
                                         VER_MINORVERSION, VER_GREATER_EQUAL);
    return VerifyVersionInfoW(&want, VER_MAJORVERSION | VER_MINORVERSION, mask) != FALSE;
}

// A call into another process's object waits for as long as that process lives, and a bit
// beyond: if the program ends during a case, this ends the test process at once, saying so,
// rather than leaving it to wait out its time limit.
class ProgramDeathWatch {
public:
    explicit ProgramDeathWatch(HANDLE program) : program_(program), stop_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
        thread_ = CreateThread(nullptr, 0, &ProgramDeathWatch::Watch, this, 0, nullptr);
    }
    ~ProgramDeathWatch() {
        SetEvent(stop_);
        if (thread_) {
            WaitForSingleObject(thread_, INFINITE);
            CloseHandle(thread_);
        }
        CloseHandle(stop_);
    }
    ProgramDeathWatch(const ProgramDeathWatch&) = delete;
    ProgramDeathWatch& operator=(const ProgramDeathWatch&) = delete;

private:
    static DWORD WINAPI Watch(void* self) {
        auto* watch = static_cast<ProgramDeathWatch*>(self);
        HANDLE both[2] = {watch->stop_, watch->program_};
        if (WaitForMultipleObjects(2, both, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) return 0;
        DWORD code = 0;
        GetExitCodeProcess(watch->program_, &code);
        std::printf("the program ended in the middle of the case, exit code 0x%08lx\n", code);
        std::fflush(stdout);
        TerminateProcess(GetCurrentProcess(), 3);
        return 0;
    }
    HANDLE program_;
    HANDLE stop_;
    HANDLE thread_ = nullptr;
};

class ScreenReaderTest : public RecordedLinksTest {
protected:
    static void SetUpTestSuite() { CoInitialize(nullptr); }
    static void TearDownTestSuite() { CoUninitialize(); }
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(RecordedLinksTest::SetUp());
        qr_ = FindChild(window_, L"Qelvane.PicBox");
        ASSERT_NE(qr_, nullptr);
        watch_ = std::make_unique<ProgramDeathWatch>(program_->Handle());
    }
    void TearDown() override {
        watch_.reset();  // the program is ended on purpose from here on
        RecordedLinksTest::TearDown();
    }

    // The accessible object of the window's client area, as a screen reader gets it.
    static HRESULT ObjectOf(HWND hwnd, Held<IAccessible>& out) {
        return AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                          reinterpret_cast<void**>(&out.p));
    }
    static Facts Read(IAccessible* object) {
        Facts f;
        VARIANT v;
        VariantInit(&v);
        if (SUCCEEDED(object->get_accRole(Self(), &v)) && v.vt == VT_I4) f.role = v.lVal;
        VariantInit(&v);
        if (SUCCEEDED(object->get_accState(Self(), &v)) && v.vt == VT_I4) f.state = v.lVal;
        BSTR text = nullptr;
        if (SUCCEEDED(object->get_accName(Self(), &text))) f.name = Take(text);
        text = nullptr;
        if (SUCCEEDED(object->get_accDescription(Self(), &text))) f.description = Take(text);
        text = nullptr;
        if (SUCCEEDED(object->get_accDefaultAction(Self(), &text))) f.action = Take(text);
        return f;
    }

    HWND qr_ = nullptr;
    std::unique_ptr<ProgramDeathWatch> watch_;
};

TEST_F(ScreenReaderTest, OurComponentsSayTheirNameRoleAndState) {
    Held<IAccessible> chat, order, label, qr;
    ASSERT_EQ(ObjectOf(chat_, chat), S_OK);
    ASSERT_EQ(ObjectOf(order_, order), S_OK);
    ASSERT_EQ(ObjectOf(label_, label), S_OK);
    ASSERT_EQ(ObjectOf(qr_, qr), S_OK);

    const Facts c = Read(chat.p);
    EXPECT_EQ(c.role, ROLE_SYSTEM_PUSHBUTTON);
    EXPECT_EQ(c.name, L"反馈问题") << "no caption: its tooltip names it";
    EXPECT_EQ(c.description, L"反馈问题");
    EXPECT_EQ(c.action, L"按下");
    EXPECT_TRUE(c.state & STATE_SYSTEM_FOCUSABLE);
    EXPECT_FALSE(c.state & (STATE_SYSTEM_FOCUSED | STATE_SYSTEM_PRESSED | STATE_SYSTEM_UNAVAILABLE));

    const Facts o = Read(order.p);
    EXPECT_EQ(o.role, ROLE_SYSTEM_PUSHBUTTON);
    EXPECT_EQ(o.name, L"24 小时自助下单");
    EXPECT_EQ(o.description, FromGbk("今日头条、抖音、快手、小红书、微博、微信 24 小时自助下单"));

    const Facts l = Read(label.p);
    EXPECT_EQ(l.role, ROLE_SYSTEM_STATICTEXT);
    EXPECT_EQ(l.name, L"价格：");
    EXPECT_TRUE(l.state & STATE_SYSTEM_READONLY);

    const Facts q = Read(qr.p);
    EXPECT_EQ(q.role, ROLE_SYSTEM_GRAPHIC);
    EXPECT_EQ(q.name, FromGbk(qelvane::vendor::kQrCodeName));

    // Focused from the keyboard: Tab until the chat button has the focus.
    for (int i = 0; i < 12 && FocusOf(window_) != chat_; ++i) {
        const HWND before = FocusOf(window_);
        PressKey(VK_TAB);
        WaitFor([&] { return FocusOf(window_) != before; });
    }
    ASSERT_EQ(FocusOf(window_), chat_);
    EXPECT_TRUE(Read(chat.p).state & STATE_SYSTEM_FOCUSED);
    // Hot under the pointer (the flat look tracks it). Each question is a call into the
    // program: asked a few times, not in a tight loop.
    const POINT centre = CentreOnScreen(chat_);
    MovePointer(centre.x, centre.y);
    bool hot = false;
    for (int i = 0; i < 20 && !hot; ++i) {
        Sleep(250);
        VARIANT state;
        VariantInit(&state);
        hot = SUCCEEDED(chat->get_accState(Self(), &state)) && (state.lVal & STATE_SYSTEM_HOTTRACKED) != 0;
    }
    EXPECT_TRUE(hot);
}

TEST_F(ScreenReaderTest, TheDefaultActionDoesWhatAClickDoes) {
    Held<IAccessible> chat;
    ASSERT_EQ(ObjectOf(chat_, chat), S_OK);
    ASSERT_EQ(chat->accDoDefaultAction(Self()), S_OK);
    const std::vector<Request> got = AwaitRequests(1);
    ASSERT_EQ(got.size(), 1u) << "one default action, one request";
    EXPECT_EQ(got[0], Request{ChatLink()});
    EXPECT_TRUE(program_->Running());
}

TEST_F(ScreenReaderTest, ANewPriceRaisesOneNameChangeAndNothingWhenItStaysTheSame) {
    EventCount::target = label_;
    EventCount::nameChanges = EventCount::liveRegionChanges = 0;
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_NAMECHANGE, 0x8019, nullptr, &EventCount::Heard,
                                         program_->Pid(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    const int live = SystemHasLiveRegions() ? 1 : 0;
    // Pumps until the counts reach what is expected, then a little longer for any extra event.
    const auto heard = [&](int names, int lives) {
        const Deadline deadline(kStepTimeout);
        while (!deadline.Passed() && (EventCount::nameChanges < names || EventCount::liveRegionChanges < lives))
            qelvane::testsupport::PumpFor(20);
        qelvane::testsupport::PumpFor(500);
        EXPECT_EQ(EventCount::nameChanges, names);
        EXPECT_EQ(EventCount::liveRegionChanges, lives);
    };

    CheckRadio(L"人工活粉：");
    RefreshAndExpect(L"价格：30元一百个微信真人粉丝");
    heard(1, live);

    RefreshAndExpect(L"价格：30元一百个微信真人粉丝");  // the same price again: no news, no event
    heard(1, live);

    ShowPage(1);
    RefreshAndExpect(L"价格：");
    heard(2, 2 * live);
    UnhookWinEvent(hook);
}

}  // namespace
}  // namespace e2e

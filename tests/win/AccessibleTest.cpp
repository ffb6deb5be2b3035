// Our accessible objects in-process: made from the system's standard object, the same one for
// every request, cut off when their window goes, and none left alive afterwards.
#include <oleacc.h>

#include "tests/win/WinTestSupport.h"
#include "tests/support/WindowTestSupport.h"

namespace qelvane::wintest {
namespace {

using testsupport::Self;

IAccessible* ObjectOf(HWND hwnd) {
    IAccessible* object = nullptr;
    const LRESULT answer = SendMessageW(hwnd, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));
    if (answer <= 0 || FAILED(ObjectFromLresult(answer, IID_IAccessible, 0, reinterpret_cast<void**>(&object))))
        return nullptr;
    return object;
}

int nameChanges = 0, liveChanges = 0;
HWND watched = nullptr;
void CALLBACK Seen(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
    if (hwnd != watched || object != OBJID_CLIENT || child != CHILDID_SELF) return;
    if (event == EVENT_OBJECT_NAMECHANGE) ++nameChanges;
    if (event == 0x8019) ++liveChanges;
}

class AccessibleTest : public MainWindowTest {
protected:
    void SetUp() override {
        CoInitialize(nullptr);
        MainWindowTest::SetUp();
    }
    void TearDown() override {
        MainWindowTest::TearDown();
        CoUninitialize();
    }
};

TEST_F(AccessibleTest, StandardControlsKeepTheSystemsObjectsAndOursAnswerOnlyForTheClientArea) {
    for (std::uint32_t id : {kTab, kButton, kRadios[0][0]})
        EXPECT_EQ(SendMessageW(Native(id), WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT)), 0);
    EXPECT_EQ(SendMessageW(Native(kLabel), WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_WINDOW)), 0);
    EXPECT_EQ(testing::LiveAccessibleObjects(), 0) << "made only when asked for";
}

TEST_F(AccessibleTest, TheDefaultActionRunsTheRoutineOnceLater) {
    IAccessible* chat = ObjectOf(Native(kSuperBtn1));
    ASSERT_NE(chat, nullptr);
    ASSERT_EQ(chat->accDoDefaultAction(Self()), S_OK);
    EXPECT_EQ(routineCalls[0] + routineCalls[1] + routineCalls[2], 0) << "not inside the screen reader's call";
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    EXPECT_EQ(routineCalls[0] + routineCalls[1] + routineCalls[2], 1);
    // Disabled, it does nothing, and says so.
    Set(kSuperBtn1, prop::kDisable, 1);
    EXPECT_NE(chat->accDoDefaultAction(Self()), S_OK);
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    EXPECT_EQ(routineCalls[0] + routineCalls[1] + routineCalls[2], 1);
    VARIANT state;
    VariantInit(&state);
    ASSERT_EQ(chat->get_accState(Self(), &state), S_OK);
    EXPECT_TRUE(state.lVal & STATE_SYSTEM_UNAVAILABLE);
    chat->Release();
}

TEST_F(AccessibleTest, AnObjectOutlivingItsWindowAnswersWithAnErrorAndNoneLeaks) {
    IAccessible* label = ObjectOf(Native(kLabel));
    IAccessible* again = ObjectOf(Native(kLabel));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label, again) << "one object per window";
    IAccessible* qr = ObjectOf(Native(kPicBox));
    ASSERT_NE(qr, nullptr);
    EXPECT_EQ(testing::LiveAccessibleObjects(), 2);

    DestroyWindow(Main());
    BSTR name = nullptr;
    EXPECT_TRUE(FAILED(label->get_accName(Self(), &name)));
    EXPECT_EQ(name, nullptr);
    label->Release();
    again->Release();
    qr->Release();
    EXPECT_EQ(testing::LiveAccessibleObjects(), 0);
}

TEST_F(AccessibleTest, TheLabelRaisesANameChangeOnlyWhenItsTextChanges) {
    watched = Native(kLabel);
    nameChanges = liveChanges = 0;
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_NAMECHANGE, 0x8019, nullptr, &Seen, GetCurrentProcessId(), 0,
                                         WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    auto pump = [] {
        MSG msg;
        for (int i = 0; i < 20; ++i) {
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
            Sleep(5);
        }
    };
    const int live = testing::HasLiveRegionEvent() ? 1 : 0;
    SetText(kLabel, prop::label::kCaption, "价格：1元");
    pump();
    EXPECT_EQ(nameChanges, 1);
    EXPECT_EQ(liveChanges, live);
    SetText(kLabel, prop::label::kCaption, "价格：1元");
    pump();
    EXPECT_EQ(nameChanges, 1) << "the same text again is no change";
    EXPECT_EQ(liveChanges, live);
    UnhookWinEvent(hook);
}

}  // namespace
}  // namespace qelvane::wintest

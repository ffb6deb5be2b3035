// Event dispatch through the form's bindings, the stop counter, exit routines
// and the end of the message loop.
#include "tests/win/WinTestSupport.h"
#include "ui/form/FormCodec.h"

namespace qelvane::wintest {
namespace {

TEST_F(MainWindowTest, ClicksRunExactlyTheBoundRoutineOnce) {
    SendMessageW(Native(kButton), BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(routineCalls, (std::array<int, 3>{1, 0, 0}));
    EXPECT_EQ(sourceSeen[0].window, kMainWindowId);
    EXPECT_EQ(sourceSeen[0].component, kButton);
    EXPECT_EQ(EventSource().window, 0u) << "cleared once the routine returned";

    SendMessageW(Native(kSuperBtn2), BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(routineCalls, (std::array<int, 3>{1, 1, 0}));
    SendMessageW(Native(kSuperBtn1), BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(routineCalls, (std::array<int, 3>{1, 1, 1}));
    EXPECT_EQ(sourceSeen[2].component, kSuperBtn1);
}

TEST_F(MainWindowTest, UnboundEventsRunNothing) {
    // Checking a radio box, switching pages, focus moves and the picture box have no binding.
    SendMessageW(Native(kRadios[0][2]), BM_CLICK, 0, 0);
    Set(kTab, prop::tab::kCurrentPage, 1);
    SetFocus(Native(kButton));
    SetFocus(Native(kSuperBtn1));
    Pump();
    EXPECT_EQ(routineCalls, (std::array<int, 3>{0, 0, 0}));

    EXPECT_FALSE(RaiseEvent(kMainWindowId, kButton, 1, {}, false).handled) << "no binding for event 1";
    EXPECT_FALSE(RaiseEvent(kMainWindowId, kPicBox, 0, {}, false).handled);
    EXPECT_FALSE(RaiseEvent(kMainWindowId, 0, 12, {}, true).handled) << "the window's close query";
    const EventOutcome bound = RaiseEvent(kMainWindowId, kButton, 0, {}, false);
    EXPECT_TRUE(bound.handled);
    EXPECT_FALSE(bound.hasResult);
    EXPECT_EQ(routineCalls[0], 1);
}

TEST_F(MainWindowTest, NothingRunsOnceTheStopCounterIsRaised) {
    ExitProgram(0);
    EXPECT_GT(StopCounter(), 0);
    SendMessageW(Native(kButton), BM_CLICK, 0, 0);
    Pump();
    EXPECT_FALSE(RaiseEvent(kMainWindowId, kButton, 0, {}, false).handled);
    // Not even an unknown window is looked up.
    EXPECT_FALSE(RaiseEvent(0x52019999u, 0, 0, {}, false).handled);
    EXPECT_EQ(routineCalls, (std::array<int, 3>{0, 0, 0}));
}

// A form whose 按钮1 also binds the focus events, to see -7 and -8 raised.
TEST(FocusEvents, ButtonRaisesGainAndLoss) {
    std::optional<FormDescription> form = DecodeForm(StoredFormBytes(), kCountingRoutines);
    ASSERT_TRUE(form);
    for (ComponentEntry& e : form->windows[0].components)
        if (e.id == kButton) e.bindings = {{-7, 1, nullptr}, {-8, 2, nullptr}};
    const Bytes bytes = EncodeForm(*form);
    ASSERT_FALSE(bytes.empty());
    routineCalls = {};
    InitializeRuntime(bytes, kCountingRoutines);
    LoadWindow(kMainWindowId);
    FormWindow* w = FindLoadedWindow(kMainWindowId);
    ASSERT_NE(w, nullptr);
    SetFocus(w->Slot(kButton)->object->Hwnd());
    EXPECT_EQ(routineCalls, (std::array<int, 3>{0, 1, 0}));
    SetFocus(w->Slot(kSuperBtn1)->object->Hwnd());
    EXPECT_EQ(routineCalls, (std::array<int, 3>{0, 1, 1}));
    ExitProgram(0);
    qelvane::testing::ResetRuntime();
}

bool visibleWhenCreatedRan = false;
void NoteCreated() { visibleWhenCreatedRan = IsWindowVisible(FindLoadedWindow(kMainWindowId)->Hwnd()); }
// Offset 0 of the program's routine area; the form's other bindings need two more.
constexpr std::array<Routine, 3> kCreatedRoutine{&NoteCreated, &CountingRoutine<1>, &CountingRoutine<2>};

// A form that binds the window's own creation event: it runs once, after the window is shown.
TEST(CreationEvent, RunsOnceWhenTheWindowIsShown) {
    std::optional<FormDescription> form = DecodeForm(StoredFormBytes(), kCreatedRoutine);
    ASSERT_TRUE(form);
    form->windows[0].self.bindings = {{events::kWindowCreated, 0, nullptr}};
    const Bytes bytes = EncodeForm(*form);
    ASSERT_FALSE(bytes.empty());
    InitializeRuntime(bytes, kCreatedRoutine);
    visibleWhenCreatedRan = false;
    LoadWindow(kMainWindowId);
    EXPECT_TRUE(visibleWhenCreatedRan);
    ExitProgram(0);
    qelvane::testing::ResetRuntime();
}

int exitCalls[2];
std::vector<int> exitOrder;
void ExitA() {
    ++exitCalls[0];
    exitOrder.push_back(0);
}
void ExitB() {
    ++exitCalls[1];
    exitOrder.push_back(1);
}

TEST(ExitRoutines, DuplicatesAreIgnoredAndEachRunsOnceInOrder) {
    exitCalls[0] = exitCalls[1] = 0;
    exitOrder.clear();
    InitializeRuntime(StoredFormBytes(), kCountingRoutines);
    RegisterExitRoutine(&ExitB);
    RegisterExitRoutine(&ExitA);
    RegisterExitRoutine(&ExitB);
    ExitProgram(0);
    EXPECT_EQ(exitCalls[0], 1);
    EXPECT_EQ(exitCalls[1], 1);
    EXPECT_EQ(exitOrder, (std::vector<int>{1, 0}));
    ExitProgram(0);  // the list was emptied
    EXPECT_EQ(exitCalls[1], 1);
    qelvane::testing::ResetRuntime();
}

TEST(MessageLoop, ReturnsAtOnceWithoutAWindow) {
    InitializeRuntime(StoredFormBytes(), kCountingRoutines);
    RunMessageLoop();
    EXPECT_TRUE(LoopEntered());
    ExitProgram(0);
    qelvane::testing::ResetRuntime();
}

int idleCalls = 0;
void CountIdle(void* param) {
    ++idleCalls;
    // Closing from idle work proves the loop runs it while waiting.
    if (idleCalls == 1) PostMessageW(static_cast<HWND>(param), WM_CLOSE, 0, 0);
}

TEST_F(MainWindowTest, CloseBoxEndsTheLoopAfterIdleWork) {
    idleCalls = 0;
    RegisterIdleCallback(Main(), &CountIdle, Main());
    RunMessageLoop();  // returns on the quit message posted when the window is gone
    EXPECT_GE(idleCalls, 1);
    EXPECT_EQ(FindLoadedWindow(kMainWindowId), nullptr);
    EXPECT_EQ(routineCalls, (std::array<int, 3>{0, 0, 0}));
}

}  // namespace
}  // namespace qelvane::wintest

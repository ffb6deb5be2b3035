// The fatal error report: its text, exit code -1 and no exit routine run.
// Death tests: each case runs in a child process whose box is replaced by a
// recorder writing the box text to stderr as hex (GBK bytes are no regex).
#include <cstdio>

#include "runtime/ErrorText.h"
#include "runtime/Heap.h"
#include "ui/form/FormCodec.h"
#include "tests/win/WinTestSupport.h"

namespace qelvane::wintest {
namespace {


void RecordBox(const std::string& text) {
    std::fprintf(stderr, "box:%s:end\n", Hex(text).c_str());
    std::fflush(stderr);
}

bool exitRoutineRan = false;
void ExitRoutineThatMustNotRun() {
    exitRoutineRan = true;
    std::fprintf(stderr, "exit routine ran\n");
}

std::string BoxPattern(const std::string& text) { return "box:" + Hex(text) + ":end"; }

class FatalErrorTest : public ::testing::Test {
protected:
    void SetUp() override {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        qelvane::testing::SetFatalBoxHook(&RecordBox);
    }
};

TEST_F(FatalErrorTest, DamagedFormDataShowsItsFiveLinesAndExitsMinusOne) {
    const std::uint8_t damaged[] = {8, 0, 0, 0, 1, 0, 1};
    EXPECT_EXIT(
        {
            InitializeRuntime(damaged, kCountingRoutines);
        },
        ::testing::ExitedWithCode(-1),
        BoxPattern("运行时出错!\r\n\r\n错误信息：载入窗口模板数据段出错!\r\n\r\n0, 0\r\n"));
}

TEST_F(FatalErrorTest, MissingStartupWindowNamesNoWindowAndSkipsExitRoutines) {
    EXPECT_EXIT(
        {
            InitializeRuntime(StoredFormBytes(), kCountingRoutines);
            RegisterExitRoutine(&ExitRoutineThatMustNotRun);
            LoadWindow(0x52010002u);
        },
        ::testing::ExitedWithCode(-1),
        BoxPattern("运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n\r\n1375797250, 0\r\n未找到所指定的窗口\r\n"));
}

// A block newer than this program reads leaves the form decodable but the
// window unbuildable: the start-up window fails, with both tag lines.
TEST_F(FatalErrorTest, NewerComponentBlockFailsTheStartupWindow) {
    FormDescription form = *DecodeForm(StoredFormBytes(), kCountingRoutines);
    form.windows[0].components[15].newerBlock = {2, 0, 0, 0};  // 单选框2, RadioBox reads up to 1
    const Bytes bytes = EncodeForm(form);
    ASSERT_FALSE(bytes.empty());
    EXPECT_EXIT(
        {
            InitializeRuntime(bytes, kCountingRoutines);
            LoadWindow(kMainWindowId);
        },
        ::testing::ExitedWithCode(-1),
        BoxPattern("运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n\r\n1375797249, 0\r\n\"\"\r\n\"\"\r\n"));
}

// Every allocation comes from the process heap; one it cannot satisfy is a
// fatal report naming the byte count, not a crash or an exception.
TEST_F(FatalErrorTest, AllocationFailureNamesTheByteCount) {
    EXPECT_EXIT(
        {
            InitializeRuntime(StoredFormBytes(), kCountingRoutines);
            volatile std::size_t size = 0xFFFFFFF0u;  // not a constant the compiler could refuse
            void* volatile block = ::operator new(size);
            std::fprintf(stderr, "allocated %p\n", block);
        },
        ::testing::ExitedWithCode(-1),
        BoxPattern("运行时出错!\r\n\r\n错误信息：分配 4294967280 字节内存失败!\r\n\r\n0, 0\r\n"));
}

// When the report itself cannot allocate either, the process still ends with -1 at once,
// rather than failing again inside the report until the stack overflows.
TEST_F(FatalErrorTest, AllocationFailureWithTheHeapExhaustedStillExitsMinusOne) {
    EXPECT_EXIT(
        {
            InitializeRuntime(StoredFormBytes(), kCountingRoutines);
            qelvane::testing::FailEveryAllocation();
            void* volatile block = ::operator new(64);
            std::fprintf(stderr, "allocated %p\n", block);
        },
        ::testing::ExitedWithCode(-1), "");
}

TEST_F(FatalErrorTest, AccessToAWindowNotLoaded) {
    EXPECT_EXIT(
        {
            InitializeRuntime(StoredFormBytes(), kCountingRoutines);
            GetProperty(kMainWindowId, kButton, prop::kLeft, -1);
        },
        ::testing::ExitedWithCode(-1),
        BoxPattern("运行时出错!\r\n\r\n错误信息：未载入欲访问窗口组件所在的窗口\r\n\r\n1375797249, 369164302\r\n"
                   "\"\"\r\n\"\"\r\n"));
}

TEST_F(FatalErrorTest, EventOfAWindowNotLoaded) {
    EXPECT_EXIT(
        {
            InitializeRuntime(StoredFormBytes(), kCountingRoutines);
            RaiseEvent(kMainWindowId, kButton, 0, {}, false);
        },
        ::testing::ExitedWithCode(-1),
        BoxPattern("运行时出错!\r\n\r\n错误信息：未找到引发事件的窗口\r\n\r\n1375797249, 0\r\n\"\"\r\n\"\"\r\n"));
}

TEST_F(FatalErrorTest, EventOfARecordTheWindowDoesNotHave) {
    EXPECT_EXIT(
        {
            InitializeRuntime(StoredFormBytes(), kCountingRoutines);
            LoadWindow(kMainWindowId);
            RaiseEvent(kMainWindowId, 0x16019999u, 0, {}, false);
        },
        ::testing::ExitedWithCode(-1), Hex(std::string("错误信息：") + errors::kEventRecordMissing));
}

TEST_F(FatalErrorTest, OwnPropertyOfAComponentWithoutNativeWindow) {
    // The window is loaded but the component's native window is gone.
    EXPECT_EXIT(
        {
            InitializeRuntime(StoredFormBytes(), kCountingRoutines);
            LoadWindow(kMainWindowId);
            FormWindow* w = FindLoadedWindow(kMainWindowId);
            DestroyWindow(w->Slot(kTab)->object->Hwnd());
            GetProperty(kMainWindowId, kTab, prop::tab::kCurrentPage, -1);
        },
        ::testing::ExitedWithCode(-1), Hex(std::string("错误信息：") + errors::kReadNoNativeWindow));
}

TEST_F(FatalErrorTest, OwnPropertyWrittenToAComponentWithoutNativeWindow) {
    EXPECT_EXIT(
        {
            InitializeRuntime(StoredFormBytes(), kCountingRoutines);
            LoadWindow(kMainWindowId);
            DestroyWindow(FindLoadedWindow(kMainWindowId)->Slot(kTab)->object->Hwnd());
            SetProperty(kMainWindowId, kTab, prop::tab::kCurrentPage, -1, 1);
        },
        ::testing::ExitedWithCode(-1), Hex("错误信息：修改组件属性时发现指定窗口尚未载入\r\n\r\n1375797249, 369164296\r\n"));
}

// While the box is open, a click on 按钮1 reaches no routine.
void ClickWhileTheBoxIsOpen(const std::string&) {
    SendMessageW(FindLoadedWindow(kMainWindowId)->Slot(kButton)->object->Hwnd(), BM_CLICK, 0, 0);
    std::fprintf(stderr, "routine calls while open: %d\n", routineCalls[0]);
    std::fflush(stderr);
}

TEST_F(FatalErrorTest, NoClickReachesARoutineWhileTheBoxIsOpen) {
    EXPECT_EXIT(
        {
            InitializeRuntime(StoredFormBytes(), kCountingRoutines);
            LoadWindow(kMainWindowId);
            qelvane::testing::SetFatalBoxHook(&ClickWhileTheBoxIsOpen);
            RaiseEvent(kMainWindowId, 0x16019999u, 0, {}, false);
        },
        ::testing::ExitedWithCode(-1), "routine calls while open: 0\n");
}

}  // namespace
}  // namespace qelvane::wintest

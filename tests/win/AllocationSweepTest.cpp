// Every heap allocation of the start-up and first use failing once, one process per
// allocation: the runs are deterministic, so each must end in the fatal box "分配 … 字节内存
// 失败!" with exit code -1: never a crash, a hang, another box or a run that goes on. The run
// without a failure must show the right prices. Long, so it runs only when
// QELVANE_ALLOCATION_SWEEP is set (scripts/alloc-sweep).
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/Routines.h"
#include "app/ServiceCatalogue.h"
#include "runtime/ErrorText.h"
#include "runtime/Heap.h"
#include "tests/win/WinTestSupport.h"

namespace qelvane::wintest {
namespace {

std::string LabelText() {
    return reinterpret_cast<const char*>(
        static_cast<std::uintptr_t>(GetProperty(kMainWindowId, kPriceLabelId, kLabelCaptionProperty, -1)));
}

// Start-up, a price asked for on page 0, the page switched, a price asked for there, and the
// window closed. True when every price shown was the right one.
bool StartAndUse() {
    InitializeRuntime(StoredFormBytes(), ProgramRoutines());
    LoadWindow(kMainWindowId);
    FormWindow* w = FindLoadedWindow(kMainWindowId);
    HWND button = w->Slot(kButtonId)->object->Hwnd();
    SendMessageW(w->Slot(kRadioBoxIds[0][2])->object->Hwnd(), BM_CLICK, 0, 0);
    SendMessageW(button, BM_CLICK, 0, 0);
    const bool first = LabelText() == "价格：30元一百个微信真人粉丝";
    SetProperty(kMainWindowId, kTabId, kCurrentPageProperty, -1, 1);
    SendMessageW(button, BM_CLICK, 0, 0);
    const bool second = LabelText() == kDefaultPriceText;
    PostMessageW(w->Hwnd(), WM_CLOSE, 0, 0);
    RunMessageLoop();
    ExitProgram(0);
    return first && second;
}

void ExpectAllocationBox(const std::string& text) {
    const std::string start = std::string("运行时出错!\r\n\r\n错误信息：分配 ");
    std::fprintf(stderr, "outcome:%s\n", text.rfind(start, 0) == 0 ? "allocation-box" : "another-box");
    std::fflush(stderr);
}

TEST(AllocationSweep, EveryAllocationOfStartUpAndFirstUseFailingOnce) {
    if (!std::getenv("QELVANE_ALLOCATION_SWEEP")) GTEST_SKIP() << "set QELVANE_ALLOCATION_SWEEP (scripts/alloc-sweep)";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // Counted in this process; a death test's child goes through this test again up to its own
    // case, so it skips the count, or its case would be a second start in one process.
    std::uint64_t total = UINT64_MAX;
    if (!::testing::internal::InDeathTestChild()) {
        testing::FailAllocationNumber(0);
        ASSERT_TRUE(StartAndUse()) << "the run without a failure shows the wrong prices";
        total = testing::AllocationCount();
        qelvane::testing::ResetRuntime();
        std::fprintf(stderr, "allocations in start-up and first use: %llu\n", static_cast<unsigned long long>(total));
    }

    std::uint64_t runs = 0;
    for (std::uint64_t n = 1; n <= total; ++n) {
        SCOPED_TRACE(::testing::Message() << "allocation " << n << " of " << total);
        EXPECT_EXIT(
            {
                qelvane::testing::SetFatalBoxHook(&ExpectAllocationBox);
                testing::FailAllocationNumber(n);
                (void)StartAndUse();
                std::fprintf(stderr, "outcome:went-on\n");
                std::fflush(stderr);
                std::exit(0);
            },
            ::testing::ExitedWithCode(-1), "outcome:allocation-box");
        ++runs;
        if (HasFailure()) break;  // the first failing allocation is enough to look at
    }
    std::fprintf(stderr, "runs ended in the allocation box: %llu\n", static_cast<unsigned long long>(runs));
}

}  // namespace
}  // namespace qelvane::wintest

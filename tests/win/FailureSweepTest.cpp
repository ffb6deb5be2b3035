// The start-up and first use with one failure at a time, in processes of their own; each run must
// end in the fatal report with exit code -1 or go on with the right prices: never a crash, a hang,
// another box or a leak.
// - Every heap allocation failing once: each run must end in the box "分配 … 字节内存失败!". Long,
//   so it runs only when asked (scripts/alloc-sweep).
// - Every creation of a font, brush, bitmap, DC or window failing once: the program goes on
//   without that element, or ends with the fatal report. scripts/creation-sweep writes down which
//   one, per place. Runs that go on share a process.
#include <cstdio>
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>

#include "app/Routines.h"
#include "app/ServiceCatalogue.h"
#include "runtime/ErrorText.h"
#include "base/WinHandles.h"
#include "runtime/Heap.h"
#include "tests/win/WinTestSupport.h"

namespace qelvane::wintest {
namespace {

std::string LabelText() {
    return reinterpret_cast<const char*>(
        static_cast<std::uintptr_t>(GetProperty(kMainWindowId, kPriceLabelId, kLabelCaptionProperty, -1)));
}

// Start-up, a price asked for on page 0, the page switched, a price asked for there, and the
// window closed and the program ended; `closed` runs then. True when every price shown was the
// right one.
bool StartAndUse(void (*closed)(bool pricesRight) = nullptr) {
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
    if (closed) closed(first && second);
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

// ---- Creations ----

constexpr HandleKind kKinds[] = {HandleKind::Window, HandleKind::Font, HandleKind::Brush, HandleKind::Bitmap,
                                 HandleKind::Icon, HandleKind::Dc};

std::string LiveCounts() {
    std::string counts;
    for (HandleKind k : kKinds) counts += std::to_string(LiveHandles(k)) + " ";
    return counts;
}

// What is alive once the window is closed in the run without a failure, per kind.
std::string expectedLive;

// A run that went without an element holds fewer, never more.
bool NothingLeft() {
    const char* baseline = expectedLive.c_str();
    for (HandleKind k : kKinds) {
        char* end = nullptr;
        const long before = std::strtol(baseline, &end, 10);
        if (end == baseline || LiveHandles(k) > before) return false;
        baseline = end;
    }
    return true;
}

// The creation refused in the run under way, and the file where each run's verdict reaches the
// parent: one line "N good OUTCOME" or "N bad OUTCOME" per run.
unsigned currentCreation = 0;
std::string verdictLog;

void Report(const std::string& outcome, bool good) {
    const char* site = testing::RefusedCreation();
    const std::string line = std::string(site ? site : "(nothing refused)") + ": " + outcome;
    if (const char* path = std::getenv("QELVANE_CREATION_SWEEP"); path && *path) {
        if (std::FILE* f = std::fopen(path, "a")) {
            std::fprintf(f, "%s\n", line.c_str());
            std::fclose(f);
        }
    }
    if (std::FILE* f = std::fopen(verdictLog.c_str(), "a")) {
        std::fprintf(f, "%u %s %s\n", currentCreation, good ? "good" : "bad", line.c_str());
        std::fclose(f);
    }
    std::fprintf(stderr, "outcome %u:%s\nverdict:%s\n", currentCreation, line.c_str(), good ? "good" : "bad");
    std::fflush(stderr);
}

void ReportBox(const std::string& text) {
    const std::size_t from = text.find("错误信息：");
    std::string message = text.substr(from == std::string::npos ? 0 : from);
    std::replace_if(message.begin(), message.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    Report("fatal report \"" + message + "\"", true);
}

void ReportClosed(bool pricesRight) {
    const bool nothingLeft = NothingLeft();
    Report(std::string("went on, ") + (pricesRight ? "prices right" : "WRONG PRICES") +
               (nothingLeft ? ", nothing left" : ", LEFT " + LiveCounts() + "instead of " + expectedLive),
           pricesRight && nothingLeft);
}

struct Verdict {
    bool good = false;
    std::string outcome;
};
// The verdicts in the log, by creation.
std::map<unsigned, Verdict> Verdicts() {
    std::map<unsigned, Verdict> verdicts;
    if (std::FILE* f = std::fopen(verdictLog.c_str(), "r")) {
        char line[1024];
        while (std::fgets(line, sizeof line, f)) {
            unsigned n = 0;
            char word[8] = {};
            int used = 0;
            if (std::sscanf(line, "%u %7s %n", &n, word, &used) < 2) continue;
            std::string outcome = line + used;
            while (!outcome.empty() && (outcome.back() == '\n' || outcome.back() == '\r')) outcome.pop_back();
            verdicts[n] = {std::string(word) == "good", outcome};
        }
        std::fclose(f);
    }
    return verdicts;
}

std::string Environment(const char* name) {
    char value[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return length < sizeof value ? std::string(value, length) : std::string();
}
unsigned EnvironmentNumber(const char* name) {
    return static_cast<unsigned>(std::strtoul(Environment(name).c_str(), nullptr, 10));
}

// A run that goes on ends with the window closed, the program ended and the runtime reset, as
// the process started: a child process goes on to the next creation then, and only a run that
// ends in the fatal report ends it. A Wine process start costs about a second under emulation;
// most runs go on.
TEST(CreationSweep, EveryCreationOfStartUpAndFirstUseFailingOnce) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // The run without a failure, in this process: how many creations, and what is alive once the
    // window is closed (the runtime's own window, until the end). Twice, as a child runs one start
    // after another: the second must count the same. A death test's child skips this, or its own
    // case would begin with two more starts.
    unsigned total = 0;
    if (!::testing::internal::InDeathTestChild()) {
        std::string firstLive;
        for (int start = 1; start <= 2; ++start) {
            testing::FailCreationNumber(0);
            ASSERT_TRUE(StartAndUse(+[](bool) { expectedLive = LiveCounts(); }))
                << "start " << start << " without a failure shows the wrong prices";
            if (start == 1) {
                total = testing::CreationCount();
                firstLive = expectedLive;
            } else {
                ASSERT_EQ(testing::CreationCount(), total) << "a second start in one process creates another number";
                ASSERT_EQ(expectedLive, firstLive) << "a second start in one process leaves another number alive";
            }
            qelvane::testing::ResetRuntime();
        }
        std::fprintf(stderr, "creations in start-up and first use: %u\n", total);
        wchar_t folder[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, folder);
        char path[MAX_PATH] = {};
        std::snprintf(path, sizeof path, "%lsqelvane-sweep-%lu.txt", folder, GetCurrentProcessId());
        std::remove(path);
        // For the children.
        SetEnvironmentVariableA("QELVANE_SWEEP_LIVE", expectedLive.c_str());
        SetEnvironmentVariableA("QELVANE_SWEEP_TOTAL", std::to_string(total).c_str());
        SetEnvironmentVariableA("QELVANE_SWEEP_VERDICTS", path);
    }
    expectedLive = Environment("QELVANE_SWEEP_LIVE");
    total = EnvironmentNumber("QELVANE_SWEEP_TOTAL");
    verdictLog = Environment("QELVANE_SWEEP_VERDICTS");
    ASSERT_GT(total, 0u);

    // A child re-runs this body up to its own death test, the how-manyth one the parent ran: it
    // passes the others by without reading the log, which has grown since, and takes its first
    // creation from the parent.
    unsigned from = 1;
    while (from <= total) {
        SCOPED_TRACE(::testing::Message() << "a process from creation " << from << " of " << total);
        if (!::testing::internal::InDeathTestChild()) {
            SetEnvironmentVariableA("QELVANE_SWEEP_FROM", std::to_string(from).c_str());
        }
        EXPECT_EXIT(
            {
                qelvane::testing::SetFatalBoxHook(&ReportBox);
                for (unsigned n = EnvironmentNumber("QELVANE_SWEEP_FROM"); n <= total; ++n) {
                    currentCreation = n;
                    testing::FailCreationNumber(n);
                    (void)StartAndUse(&ReportClosed);
                    qelvane::testing::ResetRuntime();
                }
                std::exit(0);
            },
            [](int code) { return code == 0 || code == -1; }, "");
        if (::testing::internal::InDeathTestChild()) {
            ++from;
            continue;
        }
        const std::map<unsigned, Verdict> verdicts = Verdicts();
        unsigned next = from;
        for (auto it = verdicts.find(from); it != verdicts.end() && it->first == next; ++it, ++next) {
            EXPECT_TRUE(it->second.good) << "creation " << next << " of " << total << ": " << it->second.outcome;
        }
        if (next == from) ADD_FAILURE() << "the process ended in creation " << from << " without a verdict";
        if (HasFailure()) break;
        from = next;
    }
    if (!::testing::internal::InDeathTestChild()) std::remove(verdictLog.c_str());
}

}  // namespace
}  // namespace qelvane::wintest

// main() of the test programs that run under Wine. GoogleTest's own printer hands every
// failure to OutputDebugStringA as well, which raises an exception that this emulated
// 32-bit Wine does not survive: the process died right after its first failure, sometimes
// with exit code 0. This printer forwards everything to the default one except the
// failure report, which it prints itself, to stdout only.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

namespace {

class StdoutOnlyPrinter final : public ::testing::TestEventListener {
public:
    explicit StdoutOnlyPrinter(::testing::TestEventListener* inner) : inner_(inner) {}

    void OnTestProgramStart(const ::testing::UnitTest& u) override { inner_->OnTestProgramStart(u); }
    void OnTestIterationStart(const ::testing::UnitTest& u, int i) override {
        inner_->OnTestIterationStart(u, i);
    }
    void OnEnvironmentsSetUpStart(const ::testing::UnitTest& u) override {
        inner_->OnEnvironmentsSetUpStart(u);
    }
    void OnEnvironmentsSetUpEnd(const ::testing::UnitTest& u) override { inner_->OnEnvironmentsSetUpEnd(u); }
    void OnTestSuiteStart(const ::testing::TestSuite& s) override { inner_->OnTestSuiteStart(s); }
    void OnTestStart(const ::testing::TestInfo& t) override { inner_->OnTestStart(t); }
    void OnTestDisabled(const ::testing::TestInfo& t) override { inner_->OnTestDisabled(t); }
    void OnTestPartResult(const ::testing::TestPartResult& r) override {
        if (r.type() == ::testing::TestPartResult::kSuccess) return;
        const char* kind = r.skipped() ? "Skipped" : "Failure";
        std::printf("%s %s\n%s\n", ::testing::internal::FormatFileLocation(r.file_name(), r.line_number()).c_str(),
                    kind, r.message());
        std::fflush(stdout);
    }
    void OnTestEnd(const ::testing::TestInfo& t) override { inner_->OnTestEnd(t); }
    void OnTestSuiteEnd(const ::testing::TestSuite& s) override { inner_->OnTestSuiteEnd(s); }
    void OnEnvironmentsTearDownStart(const ::testing::UnitTest& u) override {
        inner_->OnEnvironmentsTearDownStart(u);
    }
    void OnEnvironmentsTearDownEnd(const ::testing::UnitTest& u) override {
        inner_->OnEnvironmentsTearDownEnd(u);
    }
    void OnTestIterationEnd(const ::testing::UnitTest& u, int i) override { inner_->OnTestIterationEnd(u, i); }
    void OnTestProgramEnd(const ::testing::UnitTest& u) override { inner_->OnTestProgramEnd(u); }

private:
    std::unique_ptr<::testing::TestEventListener> inner_;
};

// Ends the whole process at once through the kernel's exit_group, below Wine. Wine's own
// TerminateProcess ends the other threads (COM's, RPC's) one by one with signals, and under
// qemu-user 7.2 one of them now and then faulted in that dance, after every result was out.
[[noreturn]] void ExitAtOnce(int code) {
#if defined(__i386__)
    asm volatile("int $0x80" : : "a"(252), "b"(code) : "memory");
#endif
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(code));
    for (;;) Sleep(INFINITE);
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::TestEventListeners& listeners = ::testing::UnitTest::GetInstance()->listeners();
    if (::testing::TestEventListener* printer = listeners.Release(listeners.default_result_printer()))
        listeners.Append(new StdoutOnlyPrinter(printer));
    const int result = RUN_ALL_TESTS();
    // The results are out: the process ends here, before the libraries are unloaded. Under
    // qemu-user 7.2, Wine's teardown of the COM and RPC state that the cross-process accessible
    // objects leave behind faults now and then, and the emulator cannot hand the fault back.
    std::fflush(stdout);
    std::fflush(stderr);
    // Below Wine the exit code reaches the process that waits on the Unix side, not a Windows
    // parent: Wine 10 reports 1 for a process that ended so. A test program started by another
    // one (which asks for this) ends through Wine, so that its parent reads its result.
    if (GetEnvironmentVariableW(L"QELVANE_EXIT_THROUGH_WINE", nullptr, 0) != 0) return result;
    ExitAtOnce(result);
}

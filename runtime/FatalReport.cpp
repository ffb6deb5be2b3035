// The fatal error: its box, the end processing that follows it, and exit code -1. A failure
// while one is being reported ends the process at once.
#include "runtime/Runtime.h"
#include "runtime/Testing.h"

#include <charconv>
#include <cstdio>
#include <string>

#include "base/Gbk.h"
#include "runtime/ErrorText.h"
#include "runtime/RuntimeState.h"

namespace qelvane {
namespace {

testing::FatalBoxHook fatalBoxHook = nullptr;
bool reportingFatal = false;

// Eight upper-case hex digits, without the C library's formatted output.
std::string Hex8(std::uint32_t v) {
    std::string out(8, '0');
    for (int i = 7; i >= 0; --i, v >>= 4) out[static_cast<std::size_t>(i)] = "0123456789ABCDEF"[v & 15];
    return out;
}

}  // namespace

void ReportWindowNotBuilt(std::uint32_t windowId) {
    // For whoever reads the program's error output (a GUI program on Windows has none).
    const BuildFailure& f = LastBuildFailure();
    std::string line = "Qelvane: window ";
    line += Hex8(windowId);
    line += " not built: ";
    line += f.step ? f.step : "unknown step";
    line += ", component ";
    line += Hex8(f.component);
    line += ", error ";
    char digits[16];
    line.append(digits, std::to_chars(digits, digits + sizeof digits, f.error).ptr);
    line += '\n';
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
    ReportRuntimeError(errors::kStartupWindowFailed, 0, windowId, 0);
}

void ReportRuntimeError(std::string_view message, std::int32_t code, std::uint32_t window,
                        std::uint32_t component) {
    RuntimeState& s = State();
    ++s.stopCounter;
    // A failure while reporting one (e.g. out of memory building the text) ends at once.
    if (reportingFatal) ExitProcess(0xFFFFFFFFu);
    reportingFatal = true;

    const std::string text = BuildRuntimeErrorText(message, code, window, component, KnownTemplates());
    if (fatalBoxHook) {
        fatalBoxHook(text);
    } else {
        const std::wstring wide = WideFromGbk(text);
        const std::wstring caption = WideFromGbk(errors::kCaption);
        MessageBoxW(nullptr, wide.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
    }
    s.exitRoutines.clear();
    ExitProgram(-1);
    ExitProcess(0xFFFFFFFFu);
}

namespace testing {
void SetFatalBoxHook(FatalBoxHook hook) { fatalBoxHook = hook; }
}  // namespace testing

}  // namespace qelvane

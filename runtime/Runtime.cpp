// Start-up and end processing: the process made ready for the program's windows and the stored
// form decoded; at the end the exit routines run and everything is released.
#include "runtime/Runtime.h"
#include "runtime/Testing.h"

#include <commctrl.h>
#include <ole2.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/WindowClass.h"
#include "runtime/ErrorText.h"
#include "runtime/Heap.h"
#include "runtime/RuntimeState.h"

namespace qelvane {
namespace {

WindowClass ownerClass{L"Qelvane.Owner", 0, nullptr};

void SetFolderOfProgramAsCurrent() {
    std::vector<wchar_t> path(32768);
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0 || n >= path.size()) return;
    std::wstring full(path.data(), n);
    const std::size_t cut = full.rfind(L'\\');
    if (cut == std::wstring::npos) return;  // no folder: leave the current directory as it is
    // "C:\x.exe" keeps its root backslash: "C:" alone would mean the drive's current directory.
    const std::size_t keep = cut == 2 && full[1] == L':' ? cut + 1 : cut;
    const std::wstring folder(full.data(), keep);
    SetCurrentDirectoryW(folder.c_str());
}

bool CreateOwnerWindow() {
    RuntimeState& s = State();
    if (!ownerClass.Register(&DefWindowProcW)) return false;
    s.owner.reset(Make("owner window", [] {
        return CreateWindowExW(WS_EX_TOOLWINDOW, ownerClass.Name(), L"", 0, 0, 0, 0, 0, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    }));
    return static_cast<bool>(s.owner);
}

}  // namespace

RuntimeState& State() {
    static RuntimeState state;
    return state;
}

std::span<const WindowTemplate> KnownTemplates() {
    const auto& form = State().form;
    if (!form) return {};
    return form->windows;
}

void InitializeRuntime(std::span<const std::uint8_t> storedForm, std::span<const Routine> routines) {
    RuntimeState& s = State();
    heap::UseProcessHeap();
    if (!s.oleInitialised) s.oleInitialised = SUCCEEDED(OleInitialize(nullptr));
    SetFolderOfProgramAsCurrent();

    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);

    if (!s.owner) CreateOwnerWindow();

    s.form = DecodeForm(storedForm, routines);
    if (!s.form) ReportRuntimeError(errors::kFormDataBroken, 0, 0, 0);
}

void RegisterExitRoutine(Routine routine) {
    auto& list = State().exitRoutines;
    if (!routine || std::find(list.begin(), list.end(), routine) != list.end()) return;
    list.push_back(routine);
}

void ExitProgram(std::int32_t code) {
    (void)code;  // the process exit code is the caller's: WinMain's result or ExitProcess(-1)
    RuntimeState& s = State();
    ++s.stopCounter;
    // Routines registered while these run are not run.
    std::vector<Routine> routines = std::move(s.exitRoutines);
    s.exitRoutines.clear();
    for (Routine r : routines) r();

    DropDeadWindows();
    s.owner.reset();
    FormWindow::ReleaseShared();
    if (s.oleInitialised) {
        OleUninitialize();
        s.oleInitialised = false;
    }
}

HWND OwnerWindow() { return State().owner.get(); }

namespace testing {
void ResetRuntime() {
    RuntimeState& s = State();
    s.windows.clear();
    s.form.reset();
    s.exitRoutines.clear();
    s.idle.clear();
    s.loopEntered = false;
    s.stopCounter = 0;
    s.eventSource = {};
    FormWindow::ReleaseShared();
    // Leave nothing for the next test: drop a stray quit message of this one.
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}
}  // namespace testing

}  // namespace qelvane

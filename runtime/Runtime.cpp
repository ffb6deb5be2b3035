#include "runtime/Runtime.h"
#include "runtime/Testing.h"

#include <commctrl.h>
#include <ole2.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "base/Messages.h"
#include "runtime/ErrorText.h"
#include "base/Gbk.h"
#include "runtime/Heap.h"
#include "base/WinHandles.h"
#include "base/WindowClass.h"
#include "ui/form/FormCodec.h"
#include "ui/window/WindowLayer.h"

namespace qelvane {
namespace {

struct IdleEntry {
    HWND window;
    IdleFunction function;
    void* param;
};

struct RuntimeState {
    std::optional<FormDescription> form;
    std::vector<std::unique_ptr<FormWindow>> windows;
    std::vector<Routine> exitRoutines;
    std::vector<IdleEntry> idle;
    bool loopEntered = false;
    int stopCounter = 0;
    EventSourceInfo eventSource;
    UniqueWindow owner;
    bool oleInitialised = false;
};

RuntimeState& State() {
    static RuntimeState state;
    return state;
}

testing::FatalBoxHook fatalBoxHook = nullptr;
bool reportingFatal = false;

WindowClass ownerClass{L"Qelvane.Owner", 0, nullptr};

std::span<const WindowTemplate> KnownTemplates() {
    const auto& form = State().form;
    if (!form) return {};
    return form->windows;
}

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

bool AnyWindowAlive() {
    for (const auto& w : State().windows)
        if (w->Hwnd()) return true;
    return false;
}

// Drops windows whose native window is gone; never called from inside their messages.
void DropDeadWindows() {
    auto& windows = State().windows;
    std::erase_if(windows, [](const std::unique_ptr<FormWindow>& w) { return w->Hwnd() == nullptr; });
}

// Messages after which idle work is due again (not the ones that come by themselves).
bool WarrantsIdle(const MSG& msg, POINT& lastMouse) {
    switch (msg.message) {
    case WM_PAINT:
    case WM_TIMER:
    case message::kSystemTimer:  // behind the caret blink
        return false;
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
        if (msg.pt.x == lastMouse.x && msg.pt.y == lastMouse.y) return false;
        lastMouse = msg.pt;
        return true;
    default:
        return true;
    }
}

void RunIdleCallbacks() {
    auto& idle = State().idle;
    for (std::size_t i = idle.size(); i-- > 0;) {
        if (i >= idle.size()) continue;  // a callback may have changed the list
        if (!IsWindow(idle[i].window)) {
            idle.erase(idle.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        idle[i].function(idle[i].param);
    }
}

FormWindow& LoadedWindowForAccess(std::uint32_t window, std::uint32_t component) {
    FormWindow* w = FindLoadedWindow(window);
    if (!w) ReportRuntimeError(errors::kAccessWindowNotLoaded, 0, window, component);
    return *w;
}

// Eight upper-case hex digits, without the C library's formatted output.
std::string Hex8(std::uint32_t v) {
    std::string out(8, '0');
    for (int i = 7; i >= 0; --i, v >>= 4) out[static_cast<std::size_t>(i)] = "0123456789ABCDEF"[v & 15];
    return out;
}

}  // namespace

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

void LoadWindow(std::uint32_t windowId) {
    RuntimeState& s = State();
    if (FindLoadedWindow(windowId)) return;  // already open
    DropDeadWindows();
    const WindowTemplate* form = nullptr;
    for (const WindowTemplate& t : KnownTemplates())
        if (t.id == windowId) form = &t;
    std::unique_ptr<FormWindow> built = form ? FormWindow::Build(*form, RuntimeWindowEvents()) : nullptr;
    if (!built) {
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
    FormWindow& w = *built;
    s.windows.push_back(std::move(built));
    w.Open();
    // The window's own creation event: unbound in this program's form.
    if (FindLoadedWindow(windowId)) RaiseEvent(windowId, 0, events::kWindowCreated, {}, false);
}

void RunMessageLoop() {
    RuntimeState& s = State();
    s.loopEntered = true;
    if (!AnyWindowAlive()) return;

    bool idleDue = true;
    POINT lastMouse{-1, -1};
    MSG msg;
    for (;;) {
        // One round of idle work once the queue is empty: the runtime has none of its own.
        if (idleDue && !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) RunIdleCallbacks();
        idleDue = false;
        do {
            const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
            if (got == 0 || got == -1) return;
            if (!PreTranslateMessage(msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
            if (WarrantsIdle(msg, lastMouse)) idleDue = true;
        } while (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
    }
}

bool PreTranslateMessage(MSG& msg) {
    // Only keys have a pre-translation in this runtime (navigation, Esc, Enter, F1).
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
    for (HWND h = msg.hwnd; h; h = GetParent(h)) {
        for (const auto& w : State().windows)
            if (w->Hwnd() == h && w->PreTranslate(msg)) return true;
    }
    return false;
}

void NotifyWindowDestroyed() {
    if (State().loopEntered && !AnyWindowAlive()) PostQuitMessage(0);
}

WindowEvents& RuntimeWindowEvents() {
    struct Dispatch final : WindowEvents {
        EventOutcome Raise(std::uint32_t window, std::uint32_t component, std::int32_t event,
                           bool wantResult) override {
            return RaiseEvent(window, component, event, {}, wantResult);
        }
        void Destroyed() override { NotifyWindowDestroyed(); }
    };
    static Dispatch dispatch;
    return dispatch;
}

EventOutcome RaiseEvent(std::uint32_t window, std::uint32_t component, std::int32_t event,
                        std::span<const std::uint64_t> args, bool wantResult) {
    (void)args;
    RuntimeState& s = State();
    if (s.stopCounter > 0) return {};
    FormWindow* w = FindLoadedWindow(window);
    if (!w) ReportRuntimeError(errors::kEventWindowMissing, 0, window, 0);

    const ComponentEntry* record = w->Record(component);
    if (!record) ReportRuntimeError(errors::kEventRecordMissing, 0, window, component);

    const auto binding = std::find_if(record->bindings.begin(), record->bindings.end(),
                                      [&](const EventBinding& b) { return b.event == event; });
    if (binding == record->bindings.end() || !binding->routine) return {};

    s.eventSource = {window, NamesWindowItself(component) ? kOwnRecordId : component};
    binding->routine();
    s.eventSource.window = 0;
    // Routines of this program return nothing: a result is never handed back.
    (void)wantResult;
    return {.handled = true};
}

// Thin over the window's own property access: a component whose native window is gone is the
// program's fault, reported like every other.
std::uint64_t GetProperty(std::uint32_t window, std::uint32_t component, std::int32_t number, std::int32_t index) {
    (void)index;  // only font properties have members; this program reads none
    std::uint64_t slot = 0;
    if (LoadedWindowForAccess(window, component).ReadSlot(component, number, slot) == FormWindow::Access::NoNativeWindow)
        ReportRuntimeError(errors::kReadNoNativeWindow, 0, window, component);
    return slot;
}

void SetProperty(std::uint32_t window, std::uint32_t component, std::int32_t number, std::int32_t index,
                 std::uint64_t value) {
    (void)index;
    if (LoadedWindowForAccess(window, component).WriteSlot(component, number, value) == FormWindow::Access::NoNativeWindow)
        ReportRuntimeError(errors::kWriteNoNativeWindow, 0, window, component);
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

void RegisterIdleCallback(HWND window, IdleFunction function, void* param) {
    if (function) State().idle.push_back({window, function, param});
}

EventSourceInfo EventSource() { return State().eventSource; }
int StopCounter() { return State().stopCounter; }
bool LoopEntered() { return State().loopEntered; }
HWND OwnerWindow() { return State().owner.get(); }

FormWindow* FindLoadedWindow(std::uint32_t windowId) {
    for (const auto& w : State().windows)
        if (w->Id() == windowId && w->Hwnd()) return w.get();
    return nullptr;
}

namespace testing {
void SetFatalBoxHook(FatalBoxHook hook) { fatalBoxHook = hook; }

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

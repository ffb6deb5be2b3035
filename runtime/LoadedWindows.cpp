// The loaded windows and what reaches them: loading one from the stored form, event dispatch to
// the routines, the thin property access over the window layer's, and the message loop with its
// idle work.
#include "runtime/Runtime.h"
#include "runtime/Testing.h"

#include <algorithm>
#include <memory>

#include "base/Messages.h"
#include "runtime/ErrorText.h"
#include "runtime/RuntimeState.h"

namespace qelvane {
namespace {

bool AnyWindowAlive() {
    for (const auto& w : State().windows)
        if (w->Hwnd()) return true;
    return false;
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

}  // namespace

void DropDeadWindows() {
    auto& windows = State().windows;
    std::erase_if(windows, [](const std::unique_ptr<FormWindow>& w) { return w->Hwnd() == nullptr; });
}

void LoadWindow(std::uint32_t windowId) {
    RuntimeState& s = State();
    if (FindLoadedWindow(windowId)) return;  // already open
    DropDeadWindows();
    const WindowTemplate* form = nullptr;
    for (const WindowTemplate& t : KnownTemplates())
        if (t.id == windowId) form = &t;
    std::unique_ptr<FormWindow> built = form ? FormWindow::Build(*form, RuntimeWindowEvents()) : nullptr;
    if (!built) ReportWindowNotBuilt(windowId);
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

void RegisterIdleCallback(HWND window, IdleFunction function, void* param) {
    if (function) State().idle.push_back({window, function, param});
}

EventSourceInfo EventSource() { return State().eventSource; }
int StopCounter() { return State().stopCounter; }
bool LoopEntered() { return State().loopEntered; }

FormWindow* FindLoadedWindow(std::uint32_t windowId) {
    for (const auto& w : State().windows)
        if (w->Id() == windowId && w->Hwnd()) return w.get();
    return nullptr;
}

}  // namespace qelvane

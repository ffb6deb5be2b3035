// The runtime the program's routines live in: start-up and end processing
// (Runtime.cpp), loaded windows, event dispatch, component access and the
// message loop (LoadedWindows.cpp), the fatal error report (FatalReport.cpp).
// Everything runs on the one GUI thread.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "ui/form/FormModel.h"
#include "ui/components/WindowEvents.h"

namespace qelvane {

class FormWindow;

struct EventSourceInfo {
    std::uint32_t window = 0;
    std::uint32_t component = 0;
};

// Start-up with the stored form bytes and the routine area their bindings name.
void InitializeRuntime(std::span<const std::uint8_t> storedForm, std::span<const Routine> routines);

void RegisterExitRoutine(Routine routine);
void LoadWindow(std::uint32_t windowId);
void RunMessageLoop();

// Property access; the value travels in a 64-bit slot (texts: pointer to a
// zero-terminated GBK string; the receiver copies).
std::uint64_t GetProperty(std::uint32_t window, std::uint32_t component, std::int32_t number, std::int32_t index);
void SetProperty(std::uint32_t window, std::uint32_t component, std::int32_t number, std::int32_t index,
                 std::uint64_t value);

// Routines of this program take no arguments; `args` is accepted for the
// calling convention and not passed on.
EventOutcome RaiseEvent(std::uint32_t window, std::uint32_t component, std::int32_t event,
                        std::span<const std::uint64_t> args, bool wantResult);

[[noreturn]] void ReportRuntimeError(std::string_view message, std::int32_t code, std::uint32_t window,
                                     std::uint32_t component);

// End processing; returns so that the normal path can return from WinMain.
void ExitProgram(std::int32_t code);

// Idle work: called while the queue is empty, last registered first, as long
// as `window` exists.
using IdleFunction = void (*)(void* param);
void RegisterIdleCallback(HWND window, IdleFunction function, void* param);

// ---- State the program's routines may ask for ----
// The component whose event is being dispatched.
EventSourceInfo EventSource();
int StopCounter();
bool LoopEntered();

}  // namespace qelvane

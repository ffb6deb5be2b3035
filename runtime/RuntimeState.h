// The runtime's state, shared by its units: start-up and end (Runtime.cpp), the loaded windows
// with their events and the loop (LoadedWindows.cpp), and the fatal report (FatalReport.cpp).
// Nothing outside the runtime includes it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "base/WinHandles.h"
#include "runtime/Runtime.h"
#include "ui/form/FormCodec.h"
#include "ui/window/WindowLayer.h"

namespace qelvane {

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

RuntimeState& State();

// The windows of the stored form (none before start-up has decoded it).
std::span<const WindowTemplate> KnownTemplates();
// Drops windows whose native window is gone; never called from inside their messages.
void DropDeadWindows();
// Says on the error output which step of building the window failed, then ends as the fatal
// error of a start-up window that cannot be built.
[[noreturn]] void ReportWindowNotBuilt(std::uint32_t windowId);

}  // namespace qelvane

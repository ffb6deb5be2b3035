// What tests reach in the runtime, and the program never calls: the runtime's inner state, its
// fatal box, a reset between tests, and through ui/Testing.h the hooks of the layers below.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "runtime/Runtime.h"
#include "ui/Testing.h"

namespace qelvane {

class FormWindow;
class WindowEvents;

HWND OwnerWindow();
// The loaded window with that identifier and a live native window, or null.
FormWindow* FindLoadedWindow(std::uint32_t windowId);
// The pre-translation step of the loop: offers a message to its target window
// and then to each parent; true when one consumed it.
bool PreTranslateMessage(MSG& msg);
// What the runtime hands each window it builds: event dispatch and the destroyed notice.
WindowEvents& RuntimeWindowEvents();

namespace testing {
// Replaces the fatal error box by a recorder (the rest of the fatal path,
// exit code -1 included, still runs). Used by death tests.
using FatalBoxHook = void (*)(const std::string& gbkText);
void SetFatalBoxHook(FatalBoxHook hook);
// Destroys every loaded window and forgets all state, for a fresh InitializeRuntime.
void ResetRuntime();
}  // namespace testing

}  // namespace qelvane

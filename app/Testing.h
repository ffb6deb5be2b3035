// What tests reach in the program, and the program never calls: this layer's hooks and, through
// runtime/Testing.h, those of the layers below.
#pragma once

#include <windows.h>

#include "runtime/Testing.h"

namespace qelvane::testing {

// Takes the place of the shell call, so that tests see the request itself.
using ShellOpenHook = void (*)(HWND owner, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                               const wchar_t* directory, int show);
void SetShellOpenHook(ShellOpenHook hook);

}  // namespace qelvane::testing

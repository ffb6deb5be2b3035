// DLLs that Windows does not protect as known DLLs are looked for in the program's own folder
// first, and the program is run from folders such as Downloads where anyone can leave a file.
// Such DLLs are not imported: they are loaded here from the system folder, when first needed.
#pragma once

#include <windows.h>

namespace qelvane {

// Takes the program's and the current folder out of the DLL search. Called first thing.
void LimitDllSearchToSystemFolder();

// `name` of the system DLL `dll` (e.g. L"winmm.dll"), loaded from the system folder on first
// use and kept until the program ends; null if either cannot be had.
FARPROC SystemFunction(const wchar_t* dll, const char* name);

template <class Function>
Function SystemFunction(const wchar_t* dll, const char* name) {
    // Through a plain function pointer type, which any function pointer may be cast to.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(SystemFunction(dll, name)));
}

}  // namespace qelvane

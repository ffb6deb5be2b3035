#include <windows.h>

#include "app/Routines.h"
#include "base/SystemLibrary.h"
#include "runtime/Runtime.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    qelvane::LimitDllSearchToSystemFolder();
    const int result = qelvane::ProgramEntry();
    qelvane::ExitProgram(result);
    return result;
}

#include <windows.h>

#include "app/Routines.h"
#include "base/SystemLibrary.h"
#include "runtime/Runtime.h"
#include "ui/system/SystemDpi.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    qelvane::LimitDllSearchToSystemFolder();
    qelvane::DeclareDpiAwareness();
    const int result = qelvane::ProgramEntry();
    qelvane::ExitProgram(result);
    return result;
}

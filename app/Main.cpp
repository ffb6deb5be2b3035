#include <windows.h>

#include "app/Routines.h"
#include "runtime/Runtime.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const int result = qelvane::ProgramEntry();
    qelvane::ExitProgram(result);
    return result;
}

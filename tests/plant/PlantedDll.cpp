// Stands in for a DLL that someone left beside the program under a system DLL's name: when
// loaded it leaves a mark, a file named after itself with ".loaded" added, and it offers the
// call the program once imported from winmm, so that a program importing it still starts.
#define WIN32_LEAN_AND_MEAN  // no PlaySoundW declaration to clash with ours
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    wchar_t path[MAX_PATH + 8];
    const DWORD length = GetModuleFileNameW(self, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return TRUE;
    lstrcpyW(path + length, L".loaded");
    HANDLE mark = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (mark != INVALID_HANDLE_VALUE) CloseHandle(mark);
    return TRUE;
}

extern "C" __declspec(dllexport) BOOL WINAPI PlaySoundW(LPCWSTR, HMODULE, DWORD) { return FALSE; }

// Loaded into the program by an in-context event hook, as a screen reader's helper would be:
// hands each event on to the test's sink window as a posted message (no pointers cross).
#include <windows.h>

extern "C" __declspec(dllexport) void CALLBACK EventSeen(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object,
                                                         LONG child, DWORD, DWORD) {
    if (object != OBJID_CLIENT || child != CHILDID_SELF) return;
    if (HWND sink = FindWindowW(L"Qelvane.EventSink", nullptr))
        PostMessageW(sink, WM_APP, static_cast<WPARAM>(event), reinterpret_cast<LPARAM>(hwnd));
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }

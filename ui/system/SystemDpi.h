// The system's side of DisplayScale: which DPI the system gives the program's windows, and the
// program's word that it scales itself.
#pragma once

#include <windows.h>

namespace qelvane {

// Tells the system that the program scales itself; called before any window is made.
void DeclareDpiAwareness();
// The DPI a window is built at: a test's forced one, else the screen's (96 where it says none).
int SystemDpi();
// The DPI of the monitor the window is on, where the system tells each window its own; else 0.
// Always 0 while a test forces the DPI.
int MonitorDpi(HWND hwnd);

}  // namespace qelvane

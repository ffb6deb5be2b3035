// What tests reach in the ui layer, and the program never calls.
#pragma once

#include <windows.h>

#include <optional>

#include "base/Testing.h"

namespace qelvane::testing {

// Replaces PlaySound for the image buttons; gets what PlaySound would: the WAV
// bytes (SND_MEMORY), the resource name (SND_RESOURCE), or null to stop.
using SoundHook = void (*)(const void* sound, DWORD flags);
void SetSoundHook(SoundHook hook);
// Windows built from now on take this DPI instead of the system's (0: the system's again).
void SetDisplayDpi(int dpi);
int ForcedDisplayDpi();
// High contrast as if the system reported it on or off (nothing: as the system says). Wine
// always says off and ignores the call that sets it.
void ForceHighContrast(std::optional<bool> on);
// Accessible objects of ours alive now, whoever holds them.
int LiveAccessibleObjects();
// Whether the system has the live-region event (Windows 8 on), so that the label raises it.
bool HasLiveRegionEvent();

}  // namespace qelvane::testing

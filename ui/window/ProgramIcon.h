// The program icon: DEFAULT_ICON of the executable at both icon sizes, loaded on the
// first request and shared by every window until the process ends. Nothing destroys it.
#pragma once

#include <windows.h>

namespace qelvane {

struct ProgramIcons {
    HICON largeIcon = nullptr;  // 32 x 32
    HICON smallIcon = nullptr;  // 16 x 16, scaled by the system from the one 32 x 32 image
};

// Both handles null while the resource cannot be loaded; a later request tries again.
ProgramIcons LoadProgramIcon();

namespace testing {
// LoadImageA calls made for the program icon so far.
int ProgramIconLoads();
// Where the icon is looked for (null: the executable). Takes effect at the next load.
void SetProgramIconModule(HMODULE module);
// Destroys the cached icons and empties the cache. No window may still show them.
void ResetProgramIcon();
}  // namespace testing

}  // namespace qelvane

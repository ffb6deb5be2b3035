#include "ui/window/ProgramIcon.h"

namespace qelvane {
namespace {

constexpr char kIconName[] = "DEFAULT_ICON";
constexpr int kLargeSize = 32;
constexpr int kSmallSize = 16;

// Process-wide and never released: every window may be showing them.
ProgramIcons cache;
HMODULE iconModule = nullptr;
int loads = 0;

HICON LoadAtSize(int size) {
    ++loads;
    HMODULE module = iconModule ? iconModule : GetModuleHandleW(nullptr);
    return static_cast<HICON>(LoadImageA(module, kIconName, IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

}  // namespace

ProgramIcons LoadProgramIcon() {
    if (cache.largeIcon) return cache;
    // Without the large one the request fails and the next one starts over; a small icon
    // loaded on a failed request would be lost at that retry, so it is not asked for.
    HICON large = LoadAtSize(kLargeSize);
    if (!large) return {};
    cache.largeIcon = large;
    cache.smallIcon = LoadAtSize(kSmallSize);
    return cache;
}

namespace testing {

int ProgramIconLoads() { return loads; }

void SetProgramIconModule(HMODULE module) { iconModule = module; }

void ResetProgramIcon() {
    if (cache.largeIcon) DestroyIcon(cache.largeIcon);
    if (cache.smallIcon) DestroyIcon(cache.smallIcon);
    cache = {};
}

}  // namespace testing
}  // namespace qelvane

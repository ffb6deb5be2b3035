#include "ui/system/ColourScheme.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <type_traits>

#include "ui/Testing.h"

namespace qelvane {
namespace {

std::optional<bool> forcedHighContrast;

// The system's answer, or the user's stored setting where the system keeps it off: Wine never
// reports high contrast, while a profile with it on has bit 0 of this value set, on Windows too.
bool HighContrastOn() {
    if (forcedHighContrast) return *forcedHighContrast;
    HIGHCONTRASTW hc{};
    hc.cbSize = sizeof hc;
    if (SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof hc, &hc, 0) && (hc.dwFlags & HCF_HIGHCONTRASTON)) return true;
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Accessibility\\HighContrast", 0, KEY_QUERY_VALUE,
                      &opened) != ERROR_SUCCESS)
        return false;
    const std::unique_ptr<std::remove_pointer_t<HKEY>, decltype(&RegCloseKey)> key(opened, &RegCloseKey);
    wchar_t flags[16] = {};
    DWORD type = 0, size = sizeof flags - sizeof(wchar_t);
    const LONG read = RegQueryValueExW(key.get(), L"Flags", nullptr, &type, reinterpret_cast<BYTE*>(flags), &size);
    return read == ERROR_SUCCESS && type == REG_SZ && (wcstoul(flags, nullptr, 10) & HCF_HIGHCONTRASTON) != 0;
}

SchemeColours Read() {
    SchemeColours s;
    s.highContrast = HighContrastOn();
    s.face = GetSysColor(COLOR_BTNFACE);
    s.text = GetSysColor(COLOR_BTNTEXT);
    s.grayText = GetSysColor(COLOR_GRAYTEXT);
    s.highlight = GetSysColor(COLOR_HIGHLIGHT);
    s.highlightText = GetSysColor(COLOR_HIGHLIGHTTEXT);
    return s;
}

SchemeColours& Cached() {
    static SchemeColours scheme = Read();
    return scheme;
}

}  // namespace

const SchemeColours& CurrentScheme() { return Cached(); }
void ReloadScheme() { Cached() = Read(); }

namespace testing {
void ForceHighContrast(std::optional<bool> on) {
    forcedHighContrast = on;
    ReloadScheme();
}
}  // namespace testing

}  // namespace qelvane

// Tells Wine to prefer a DLL found on disk over its built-in one for one program, as Windows
// does for a DLL it does not protect, while this object lives. Wine reads the per-program
// overrides from the registry when the program starts.
#pragma once

#include <windows.h>

#include <string>

namespace qelvane::testing {

class PreferDiskDll {
public:
    PreferDiskDll(const std::wstring& exeName, const wchar_t* dll)
        : key_(L"Software\\Wine\\AppDefaults\\" + exeName) {
        const wchar_t order[] = L"native,builtin";
        ok_ = RegSetKeyValueW(HKEY_CURRENT_USER, (key_ + L"\\DllOverrides").c_str(), dll, REG_SZ, order,
                              sizeof order) == ERROR_SUCCESS;
    }
    ~PreferDiskDll() { RegDeleteTreeW(HKEY_CURRENT_USER, key_.c_str()); }
    PreferDiskDll(const PreferDiskDll&) = delete;
    PreferDiskDll& operator=(const PreferDiskDll&) = delete;
    bool Ok() const { return ok_; }

private:
    std::wstring key_;
    bool ok_ = false;
};

}  // namespace qelvane::testing

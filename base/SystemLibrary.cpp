#include "base/SystemLibrary.h"

#include <cwchar>

namespace qelvane {
namespace {

// The DLLs loaded here, freed when the program ends.
class LoadedLibraries {
public:
    LoadedLibraries() = default;
    LoadedLibraries(const LoadedLibraries&) = delete;
    LoadedLibraries& operator=(const LoadedLibraries&) = delete;
    ~LoadedLibraries() {
        for (Entry& e : entries_)
            if (e.module) FreeLibrary(e.module);
    }

    HMODULE Get(const wchar_t* dll) {
        for (const Entry& e : entries_)
            if (e.name && std::wcscmp(e.name, dll) == 0) return e.module;
        for (Entry& e : entries_) {
            if (e.name) continue;
            e.module = LoadFromSystemFolder(dll);
            if (e.module) e.name = dll;
            return e.module;
        }
        return nullptr;
    }

private:
    static HMODULE LoadFromSystemFolder(const wchar_t* dll) {
        wchar_t path[MAX_PATH];
        const UINT folder = GetSystemDirectoryW(path, MAX_PATH);
        const std::size_t length = std::wcslen(dll);
        if (folder == 0 || folder + 1 + length >= MAX_PATH) return nullptr;
        path[folder] = L'\\';
        std::wmemcpy(path + folder + 1, dll, length + 1);
        // A full path is not searched for; the altered search path has what the DLL imports
        // looked for in the system folder too, not in ours.
        return LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }

    struct Entry {
        const wchar_t* name = nullptr;
        HMODULE module = nullptr;
    };
    Entry entries_[4];
};

}  // namespace

void LimitDllSearchToSystemFolder() {
    // Both appeared in later updates of Windows; without them the imports are known DLLs anyway.
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    using SetDefaultDirectories = BOOL(WINAPI*)(DWORD);
    using SetDirectory = BOOL(WINAPI*)(LPCWSTR);
    auto find = [&](const char* name) { return reinterpret_cast<void (*)()>(GetProcAddress(kernel, name)); };
    if (auto set = reinterpret_cast<SetDefaultDirectories>(find("SetDefaultDllDirectories")))
        set(0x00000800);  // LOAD_LIBRARY_SEARCH_SYSTEM32
    if (auto set = reinterpret_cast<SetDirectory>(find("SetDllDirectoryW"))) set(L"");  // not the current folder
}

FARPROC SystemFunction(const wchar_t* dll, const char* name) {
    static LoadedLibraries libraries;
    HMODULE module = libraries.Get(dll);
    return module ? GetProcAddress(module, name) : nullptr;
}

}  // namespace qelvane

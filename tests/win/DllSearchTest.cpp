// The test program copied into a folder of its own beside a planted winmm.dll, and one of its
// cases run there: the sound must still play, from the system's winmm, and the planted DLL
// must never be loaded. Wine prefers its built-in DLLs, so the run is told to prefer one
// found on disk, as Windows does for a DLL it does not protect.
#include <windows.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "tests/support/PreferDiskDll.h"

namespace {

std::wstring ThisExe() {
    wchar_t path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::wstring(path, n);
}

// This process's environment with `name` set to `value`.
// This process's environment with these variables set (each NAME=value).
std::wstring EnvironmentWith(std::initializer_list<std::wstring> settings) {
    const auto isSet = [&](const wchar_t* entry) {
        for (const std::wstring& s : settings) {
            const std::size_t name = s.find(L'=') + 1;
            if (_wcsnicmp(entry, s.c_str(), name) == 0) return true;
        }
        return false;
    };
    std::wstring block;
    if (wchar_t* strings = GetEnvironmentStringsW()) {
        for (const wchar_t* e = strings; *e; e += wcslen(e) + 1)
            if (!isSet(e)) block.append(e).push_back(L'\0');
        FreeEnvironmentStringsW(strings);
    }
    for (const std::wstring& s : settings) block.append(s).push_back(L'\0');
    return block;  // the string's own terminator ends the block
}

TEST(DllSearchTest, APlantedWinmmIsNeverLoadedAndTheSoundStillPlays) {
    wchar_t temp[MAX_PATH] = {};
    ASSERT_NE(GetTempPathW(MAX_PATH, temp), 0u);
    const std::wstring folder = std::wstring(temp) + L"qelvane-plant-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    const std::wstring exe = folder + L"planted_tests.exe", planted = folder + L"winmm.dll";
    const std::wstring loaded = planted + L".loaded", ran = folder + L"ran";
    const std::wstring own = ThisExe();
    ASSERT_TRUE(CopyFileW(own.c_str(), exe.c_str(), FALSE));
    ASSERT_TRUE(CopyFileW((own.substr(0, own.find_last_of(L'\\') + 1) + L"PlantedDll.dll").c_str(), planted.c_str(), FALSE));

    const qelvane::testing::PreferDiskDll preferDisk(L"planted_tests.exe", L"winmm");
    ASSERT_TRUE(preferDisk.Ok());
    // Its exit code is read here, so it ends through Wine.
    std::wstring environment = EnvironmentWith({L"QELVANE_PLANTED_RUN_MARK=" + ran, L"QELVANE_EXIT_THROUGH_WINE=1"});
    std::wstring commandLine = L"\"" + exe + L"\" --gtest_filter=SuperBtnTest.TheSoundComesFromTheSystemWinmm";
    STARTUPINFOW startup{sizeof startup};
    PROCESS_INFORMATION child{};
    ASSERT_TRUE(CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                               environment.data(), folder.c_str(), &startup, &child));
    const bool ended = WaitForSingleObject(child.hProcess, 120000) == WAIT_OBJECT_0;
    if (!ended) TerminateProcess(child.hProcess, 1);
    DWORD code = 1;
    GetExitCodeProcess(child.hProcess, &code);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);

    EXPECT_TRUE(ended);
    EXPECT_EQ(code, 0u) << "the sound case failed in the planted folder";
    EXPECT_NE(GetFileAttributesW(ran.c_str()), INVALID_FILE_ATTRIBUTES) << "the sound case did not run";
    EXPECT_EQ(GetFileAttributesW(loaded.c_str()), INVALID_FILE_ATTRIBUTES) << "the planted winmm.dll was loaded";
    for (const std::wstring& file : {exe, planted, loaded, ran}) DeleteFileW(file.c_str());
    RemoveDirectoryW(folder.c_str());
}

}  // namespace

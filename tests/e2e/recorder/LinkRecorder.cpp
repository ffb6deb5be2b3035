// Stands in for the browser and the QQ client in the end-to-end tests: the
// test registers it as the handler of a link scheme, with the command line
//   LinkRecorder.exe FOLDER LINK
// and it writes what it received into a new file in FOLDER (UTF-8: the
// argument count after FOLDER, then one argument a line).
#include <windows.h>

#include <shellapi.h>

#include <string>

namespace {

std::string Utf8(const std::wstring& text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n, nullptr,
                            nullptr);
    return out;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 2) return 2;
    std::string record = std::to_string(argc - 2) + "\n";
    for (int i = 2; i < argc; ++i) record += Utf8(argv[i]) + "\n";

    // A file per request: requests that arrive together never share one.
    wchar_t path[MAX_PATH] = {};
    const bool named = GetTempFileNameW(argv[1], L"lnk", 0, path) != 0;
    LocalFree(argv);
    if (!named) return 3;
    // The test reads the folder while requests come in: while it has this file open, wait.
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int tries = 0; tries < 500; ++tries) {
        file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_SHARING_VIOLATION) break;
        Sleep(20);
    }
    if (file == INVALID_HANDLE_VALUE) return 4;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == record.size() ? 0 : 5;
}

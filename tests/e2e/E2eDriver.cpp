#include "tests/e2e/E2eDriver.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <span>

#include "tests/support/WindowTestSupport.h"
#include "ui/form/ByteIo.h"

namespace e2e {
namespace {

// Short pauses between polls: long enough not to starve the program of CPU under Wine.
constexpr DWORD kPollMs = 10;

std::wstring TrimTrailingSlash(std::wstring path) {
    while (!path.empty() && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
    return path;
}

}  // namespace

std::wstring ExeFolder() {
    wchar_t buffer[MAX_PATH * 2] = {};
    DWORD length = GetModuleFileNameW(nullptr, buffer, static_cast<DWORD>(std::size(buffer)));
    std::wstring path(buffer, length);
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

std::wstring ProgramPath() {
    // Another build of the program, when a check names one.
    if (const wchar_t* other = _wgetenv(L"QELVANE_E2E_PROGRAM"); other && *other) return other;
    return ExeFolder() + L"Qelvane.exe";
}

TempFolder::TempFolder() {
    wchar_t base[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, base);
    static unsigned serial = 0;
    for (;;) {
        wchar_t name[64];
        swprintf(name, std::size(name), L"qelvane-e2e-%lu-%u", GetCurrentProcessId(), serial++);
        std::wstring candidate = std::wstring(base) + name;
        if (CreateDirectoryW(candidate.c_str(), nullptr)) {
            path_ = candidate + L"\\";
            return;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) return;
    }
}

TempFolder::~TempFolder() {
    if (path_.empty()) return;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((path_ + L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileW((path_ + found.cFileName).c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(TrimTrailingSlash(path_).c_str());
}

Program::Program(const std::wstring& exePath, const std::wstring& currentDir) {
    std::wstring commandLine = L"\"" + exePath + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        currentDir.empty() ? nullptr : currentDir.c_str(), &startup, &info_)) {
        startError_ = GetLastError();
        info_ = {};
    }
}

Program::~Program() {
    if (!Started()) return;
    if (Running()) {
        TerminateProcess(info_.hProcess, 0xDEAD);
        WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

bool Program::Running() const {
    return Started() && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> Program::WaitForExit(Ms timeout) {
    if (!Started()) return std::nullopt;
    if (WaitForSingleObject(info_.hProcess, timeout) != WAIT_OBJECT_0)
        return std::nullopt;
    DWORD code = 0;
    if (!GetExitCodeProcess(info_.hProcess, &code)) return std::nullopt;
    return code;
}

std::vector<HWND> VisibleTopLevelWindows(DWORD pid) { return qelvane::testsupport::TopLevelWindowsOf(pid, true); }

std::wstring ClassName(HWND hwnd) {
    wchar_t name[256] = {};
    int length = GetClassNameW(hwnd, name, static_cast<int>(std::size(name)));
    return std::wstring(name, length > 0 ? length : 0);
}

std::wstring WindowText(HWND hwnd) {
    // Length and text are two messages, and the text may change between them (a routine sets
    // the label while we read): read again until the text came back whole and unchanged.
    for (int attempt = 0;; ++attempt) {
        DWORD_PTR length = 0, copied = 0, after = 0;
        if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length))
            return L"<no answer to WM_GETTEXTLENGTH>";
        std::wstring text(length + 64, L'\0');
        if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                                 SMTO_ABORTIFHUNG, 5000, &copied))
            return L"<no answer to WM_GETTEXT>";
        if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &after))
            return L"<no answer to WM_GETTEXTLENGTH>";
        const bool whole = copied < text.size() - 1 && copied == after;
        if (whole || attempt == 9) {
            text.resize(std::min<std::size_t>(copied, text.size() - 1));
            return text;
        }
    }
}

WaitResult WaitForWindow(DWORD pid, bool wantDialog, Ms timeout, HANDLE process) {
    WaitResult result;
    const Deadline deadline(timeout);
    for (;;) {
        for (HWND hwnd : VisibleTopLevelWindows(pid)) {
            const bool isDialog = ClassName(hwnd) == L"#32770";
            if (isDialog == wantDialog) {
                // The window is shown before start-up has ended: the first page is brought to the
                // front after that, and the focus moves there and back. A message sent to the
                // window is handled only once its thread is back in its loop.
                SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, std::max<Ms>(deadline.Left(), 1), nullptr);
                result.window = hwnd;
                return result;
            }
            std::wstring entry = ClassName(hwnd) + L"|" + WindowText(hwnd);
            if (std::find(result.seen.begin(), result.seen.end(), entry) == result.seen.end())
                result.seen.push_back(entry);
        }
        if (deadline.Passed()) return result;
        if (process && WaitForSingleObject(process, 0) == WAIT_OBJECT_0) return result;
        Sleep(kPollMs);
    }
}

void ParkPointer() {
    MovePointer(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
}

bool MakeForeground(HWND hwnd, Ms timeout) {
    const Deadline deadline(timeout);
    for (;;) {
        if (GetForegroundWindow() == hwnd) return true;
        SetForegroundWindow(hwnd);
        if (deadline.Passed()) return GetForegroundWindow() == hwnd;
        Sleep(kPollMs);
    }
}

HWND FocusOf(HWND topLevel, Ms timeout) {
    const DWORD thread = GetWindowThreadProcessId(topLevel, nullptr);
    const Deadline deadline(timeout);
    for (;;) {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        if (GetGUIThreadInfo(thread, &info) && info.hwndFocus) return info.hwndFocus;
        if (deadline.Passed()) return nullptr;
        Sleep(kPollMs);
    }
}

LRESULT HitTest(HWND hwnd, int x, int y) {
    DWORD_PTR code = HTNOWHERE;
    SendMessageTimeoutW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_ABORTIFHUNG, 2000, &code);
    return static_cast<LRESULT>(code);
}

std::map<LRESULT, RECT> CaptionHitAreas(HWND hwnd) {
    std::map<LRESULT, RECT> areas;
    RECT outer;
    if (!GetWindowRect(hwnd, &outer)) return areas;
    // Caption buttons are wider than 12 pixels and sit in the top band: a coarse grid there
    // finds each of them with a few hundred cross-process calls.
    const LONG bandBottom = std::min<LONG>(outer.bottom, outer.top + 40);
    for (LONG y = outer.top + 1; y < bandBottom; y += 3) {
        for (LONG x = outer.left + 1; x < outer.right; x += 3) {
            const LRESULT code = HitTest(hwnd, x, y);
            auto [it, added] = areas.try_emplace(code, RECT{x, y, x, y});
            if (added) continue;
            RECT& area = it->second;
            area.left = std::min(area.left, x);
            area.right = std::max(area.right, x);
            area.top = std::min(area.top, y);
            area.bottom = std::max(area.bottom, y);
        }
    }
    return areas;
}

std::optional<POINT> FindHitArea(HWND hwnd, LRESULT code) {
    const auto areas = CaptionHitAreas(hwnd);
    const auto it = areas.find(code);
    if (it == areas.end()) return std::nullopt;
    const RECT& area = it->second;
    return POINT{(area.left + area.right) / 2, (area.top + area.bottom) / 2};
}

std::string Escaped(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) {
        char buffer[16];
        if (c == L'\r') {
            out += "\\r";
        } else if (c == L'\n') {
            out += "\\n";
        } else if (c == L'\\') {
            out += "\\\\";
        } else if (c == L'"') {
            out += "\\\"";
        } else if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            std::snprintf(buffer, sizeof buffer, "\\u%04X", static_cast<unsigned>(c));
            out += buffer;
        }
    }
    return "\"" + out + "\"";
}

std::wstring FromGbk(const char* text) {
    int length = MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, text, -1, nullptr, 0);
    if (length <= 0) return L"<not GBK>";
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, text, -1, wide.data(), length);
    wide.resize(static_cast<std::size_t>(length - 1));
    return wide;
}

std::vector<std::uint8_t> ReadBytes(const std::wstring& path) {
    std::vector<std::uint8_t> bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file, &size) && size.QuadPart < 256LL * 1024 * 1024) {
        bytes.resize(static_cast<std::size_t>(size.QuadPart));
        DWORD read = 0;
        if (!ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
            read != bytes.size())
            bytes.clear();
    }
    CloseHandle(file);
    return bytes;
}

bool WriteBytes(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                              nullptr) &&
                    written == bytes.size();
    return CloseHandle(file) && ok;
}

std::vector<std::size_t> FindAll(const std::vector<std::uint8_t>& haystack,
                                 const std::vector<std::uint8_t>& needle) {
    std::vector<std::size_t> found;
    if (needle.empty()) return found;
    auto from = haystack.begin();
    for (;;) {
        auto hit = std::search(from, haystack.end(), needle.begin(), needle.end());
        if (hit == haystack.end()) return found;
        found.push_back(static_cast<std::size_t>(hit - haystack.begin()));
        from = hit + 1;
    }
}

std::uint16_t ReadU16(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return at <= bytes.size() ? qelvane::ByteReader(std::span(bytes).subspan(at)).U16() : 0;
}

std::uint32_t ReadU32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return at <= bytes.size() ? qelvane::ByteReader(std::span(bytes).subspan(at)).U32() : 0;
}

void WriteU32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

const std::vector<std::uint8_t> kFormSignature = {
    0x08, 0x00, 0x00, 0x00,  // window table: 8 bytes, one window
    0x01, 0x00, 0x01, 0x52,  // MainWindow
    0x00, 0x00, 0x00, 0x00,  // slot filled at run time
    0xA0, 0x2A, 0x88, 0x02,  // the window's two words
    0x0F, 0x00, 0x01, 0x19,
};

std::optional<FormLayout> LocateForm(const std::vector<std::uint8_t>& exe) {
    const auto hits = FindAll(exe, kFormSignature);
    if (hits.size() != 1) return std::nullopt;
    FormLayout form;
    form.start = hits[0];
    form.windowId = form.start + 4;
    const std::size_t texts = form.start + kFormSignature.size();
    if (texts + 16 > exe.size() || ReadU32(exe, texts) != 0 || ReadU32(exe, texts + 4) != 0)
        return std::nullopt;
    form.itemCount = texts + 8;
    form.itemDataLength = form.itemCount + 4;
    form.count = ReadU32(exe, form.itemCount);
    form.identifiers = form.itemDataLength + 4;
    if (form.count == 0 || form.count > 1000) return std::nullopt;
    form.offsets = form.identifiers + 4 * form.count;
    form.records = form.offsets + 4 * form.count;
    if (form.identifiers + ReadU32(exe, form.itemDataLength) > exe.size()) return std::nullopt;
    if (ReadU32(exe, form.identifiers) != 0x06010000u) return std::nullopt;
    return form;
}

OpenedProgram ProgramKeep::Open(Use use, const std::wstring& currentDir) {
    const std::string suite = ::testing::UnitTest::GetInstance()->current_test_suite()->name();
    if (kept_.program && suite == suite_ && kept_.program->Running() && IsWindowVisible(kept_.window)) {
        const OpenedProgram kept = kept_;
        if (use == Use::Acts) Drop();
        return kept;
    }
    Drop();
    OpenedProgram opened;
    opened.program = std::make_shared<Program>(ProgramPath(), currentDir);
    if (!opened.program->Started()) return opened;
    WaitResult wait = WaitForWindow(opened.program->Pid(), false, kStartTimeout, opened.program->Handle());
    opened.window = wait.window;
    opened.seen = std::move(wait.seen);
    if (use == Use::Looks && opened.window) {
        kept_ = opened;
        kept_.seen.clear();
        suite_ = suite;
    }
    return opened;
}

}  // namespace e2e

// Drives the shipped program from outside: starts it, finds its windows, sends real input,
// reads its state across the process boundary, and patches its embedded form for damage cases.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/WindowTestSupport.h"

namespace e2e {

// Milliseconds. <chrono> cannot be used here: its "µs" literal has no GBK form.
using Ms = DWORD;

inline constexpr Ms kStartTimeout = 15000;
inline constexpr Ms kExitTimeout = 10000;
inline constexpr Ms kStepTimeout = 5000;

// A point in time Ms from now, and whether it has passed.
class Deadline {
public:
    explicit Deadline(Ms timeout) : end_(GetTickCount64() + timeout) {}
    bool Passed() const { return GetTickCount64() >= end_; }
    Ms Left() const { return Passed() ? 0 : static_cast<Ms>(end_ - GetTickCount64()); }

private:
    ULONGLONG end_;
};

// Folder of the running test exe (the program is built beside it), with a trailing backslash.
std::wstring ExeFolder();
// Full path of the program under test.
std::wstring ProgramPath();
// A fresh, empty folder under the temp dir; removed (with its files) by the destructor.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::wstring& Path() const { return path_; }  // with a trailing backslash

private:
    std::wstring path_;
};

// A started program. The destructor ends it if the test did not see it exit, so no case
// leaves a process behind for the next.
class Program {
public:
    // Starts exePath with currentDir as its current directory; on failure Started() is false.
    Program(const std::wstring& exePath, const std::wstring& currentDir);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool Started() const { return info_.hProcess != nullptr; }
    DWORD Pid() const { return info_.dwProcessId; }
    HANDLE Handle() const { return info_.hProcess; }
    DWORD StartError() const { return startError_; }
    // The exit code once the process has ended within the timeout.
    std::optional<DWORD> WaitForExit(Ms timeout = kExitTimeout);
    bool Running() const;

private:
    PROCESS_INFORMATION info_{};
    DWORD startError_ = 0;
};

// Visible top-level windows of a process, in Z order.
std::vector<HWND> VisibleTopLevelWindows(DWORD pid);
std::wstring ClassName(HWND hwnd);
// Cross-process WM_GETTEXT with a timeout (a hung target fails the read, not the test run).
std::wstring WindowText(HWND hwnd);

// Waits for a visible top-level window of pid whose class is (or, with wantDialog false,
// is not) the dialog class "#32770". Every other visible top-level window seen meanwhile is
// added to seen, so a caller can tell that something else appeared on the way.
struct WaitResult {
    HWND window = nullptr;
    std::vector<std::wstring> seen;  // "class|title" of the other windows seen
};
WaitResult WaitForWindow(DWORD pid, bool wantDialog, Ms timeout = kStartTimeout,
                         HANDLE process = nullptr);

// Real input through the input queue.
void ParkPointer();  // bottom-right corner of the screen, away from every window we start
using qelvane::testsupport::ClickAt, qelvane::testsupport::MouseAt, qelvane::testsupport::MovePointer,
    qelvane::testsupport::PressKey;
// Brings hwnd to the foreground and waits until it is there.
bool MakeForeground(HWND hwnd, Ms timeout = kStepTimeout);

// Keyboard focus of the window's GUI thread (polls until some window has it).
HWND FocusOf(HWND topLevel, Ms timeout = kStepTimeout);

// Non-client hit test at a screen point, sent to the window's own thread.
LRESULT HitTest(HWND hwnd, int x, int y);
// Bounding boxes of the hit codes found in the caption band of hwnd's outer rectangle.
std::map<LRESULT, RECT> CaptionHitAreas(HWND hwnd);
// Centre of the caption-band area where hwnd reports code.
std::optional<POINT> FindHitArea(HWND hwnd, LRESULT code);

// Text with control characters and non-ASCII shown as escapes, for failure messages.
std::string Escaped(const std::wstring& text);
std::wstring FromGbk(const char* text);

// ---- Embedded form ----
std::vector<std::uint8_t> ReadBytes(const std::wstring& path);
bool WriteBytes(const std::wstring& path, const std::vector<std::uint8_t>& bytes);
// Offsets of every occurrence of needle in haystack.
std::vector<std::size_t> FindAll(const std::vector<std::uint8_t>& haystack,
                                 const std::vector<std::uint8_t>& needle);
// Little-endian values at `at`; 0 where they do not fit.
std::uint16_t ReadU16(const std::vector<std::uint8_t>& bytes, std::size_t at);
std::uint32_t ReadU32(const std::vector<std::uint8_t>& bytes, std::size_t at);
void WriteU32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value);

// The stored form starts with the window table of one window, MainWindow, then the window's
// two words, two empty counted texts and the item table; this is how it begins.
extern const std::vector<std::uint8_t> kFormSignature;

// Where the parts of the stored form lie inside the program file.
struct FormLayout {
    std::size_t start = 0;          // the window table's byte length
    std::size_t windowId = 0;       // MainWindow's identifier in the window table
    std::size_t itemCount = 0;
    std::size_t itemDataLength = 0;
    std::size_t identifiers = 0;    // item identifiers, 4 x N
    std::size_t offsets = 0;        // record offsets, 4 x N
    std::size_t records = 0;        // where record offsets count from
    std::uint32_t count = 0;
};
// Finds the form by its signature; nullopt unless it occurs exactly once and its item table
// is consistent with the file.
std::optional<FormLayout> LocateForm(const std::vector<std::uint8_t>& exe);

// A started program kept for the next cases of its suite: a start costs about a second under
// emulation. A case that only looks at the window as it was at start shares the kept one, or
// starts one and keeps it; a case that acts on the window takes the kept one out of the keep, so
// that no later case sees what it did, or starts its own. The keep ends with the suite.
enum class Use { Looks, Acts };
struct OpenedProgram {
    std::shared_ptr<Program> program;
    HWND window = nullptr;             // null when a started program showed none in time
    std::vector<std::wstring> seen;    // other windows seen while a new one started
};
class ProgramKeep {
public:
    // The kept program, if this suite kept one and it still shows its window; else the program
    // started with currentDir as its current directory (kept when the case only looks).
    static OpenedProgram Open(Use use, const std::wstring& currentDir);
    static void Drop() { kept_ = OpenedProgram{}; }

private:
    static inline OpenedProgram kept_;
    static inline std::string suite_;
};

// A case that starts the program and works on its main window.
class ProgramWindowTest : public ::testing::Test {
protected:
    // Starts the program (or takes the kept one), waits for its main window and brings it to
    // the front.
    void OpenProgram(Use use = Use::Acts) {
        // We read real pixels and click real places, as the program sees them at any scale.
        SetProcessDPIAware();
        ParkPointer();
        const OpenedProgram opened = ProgramKeep::Open(use, ExeFolder());
        program_ = opened.program;
        ASSERT_TRUE(program_->Started()) << "CreateProcess failed with " << program_->StartError();
        window_ = opened.window;
        ASSERT_NE(window_, nullptr) << "no main window";
        ASSERT_TRUE(MakeForeground(window_));
    }
    static void TearDownTestSuite() { ProgramKeep::Drop(); }

    std::shared_ptr<Program> program_;
    HWND window_ = nullptr;
};

}  // namespace e2e

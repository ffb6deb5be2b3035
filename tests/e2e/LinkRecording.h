// The recorder registered as the handler of the http, https and tencent schemes, and what
// it wrote down: one file per request, with the arguments it was started with.
#pragma once

#include <windows.h>

#include <tlhelp32.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/E2eDriver.h"
#include "tests/e2e/PriceWindow.h"
#include "vendor/VendorData.h"

namespace e2e {

inline const wchar_t* const kSchemes[] = {L"http", L"https", L"tencent"};

inline std::wstring ChatLink() {
    return L"tencent://message/?uin=" + FromGbk(qelvane::vendor::kQqNumber) + L"&Site=https://" +
           FromGbk(qelvane::vendor::kWebHost) + L"&Menu=yes";
}
inline std::wstring OrderLink() { return L"http://" + FromGbk(qelvane::vendor::kOrderHost) + L"/"; }

inline std::wstring FromUtf8(const std::string& text) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

inline std::optional<std::wstring> ReadValue(HKEY root, const std::wstring& key, const wchar_t* name) {
    wchar_t buffer[1024] = {};
    DWORD size = sizeof buffer - sizeof(wchar_t);
    if (RegGetValueW(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(buffer);
}

inline bool WriteValue(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    return RegSetKeyValueW(root, key.c_str(), name, REG_SZ, value.c_str(),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

// Makes the recorder the handler of the three schemes while it lives, and puts
// back what was there before.
class SchemeHandlers {
public:
    explicit SchemeHandlers(const std::wstring& folder) {
        // No backslash before a closing quote: it would escape the quote.
        const std::wstring bare = folder.substr(0, folder.find_last_not_of(L'\\') + 1);
        const std::wstring command = L"\"" + ExeFolder() + L"LinkRecorder.exe\" \"" + bare + L"\" \"%1\"";
        for (const wchar_t* scheme : kSchemes) {
            Saved saved{scheme, ReadValue(HKEY_CLASSES_ROOT, CommandKey(scheme), nullptr),
                        ReadValue(HKEY_CLASSES_ROOT, scheme, L"URL Protocol")};
            // A run that died before putting things back left the recorder there: put back what
            // a fresh prefix has (Wine's browser for the web schemes, nothing for tencent).
            if (saved.command && saved.command->find(L"LinkRecorder.exe") != std::wstring::npos) {
                if (saved.scheme == L"tencent") {
                    saved.command.reset();
                    saved.protocol.reset();
                } else {
                    saved.command = L"\"C:\\windows\\system32\\winebrowser.exe\" \"%1\"";
                }
            }
            saved_.push_back(saved);
            ok_ = ok_ && WriteValue(HKEY_CLASSES_ROOT, scheme, L"URL Protocol", L"") &&
                  WriteValue(HKEY_CLASSES_ROOT, CommandKey(scheme), nullptr, command);
        }
    }
    ~SchemeHandlers() {
        for (const Saved& s : saved_) {
            if (!s.command && !s.protocol) {
                RegDeleteTreeW(HKEY_CLASSES_ROOT, s.scheme.c_str());
                continue;
            }
            if (s.command)
                WriteValue(HKEY_CLASSES_ROOT, CommandKey(s.scheme), nullptr, *s.command);
            else
                RegDeleteKeyValueW(HKEY_CLASSES_ROOT, CommandKey(s.scheme).c_str(), nullptr);
            if (s.protocol)
                WriteValue(HKEY_CLASSES_ROOT, s.scheme, L"URL Protocol", *s.protocol);
            else
                RegDeleteKeyValueW(HKEY_CLASSES_ROOT, s.scheme.c_str(), L"URL Protocol");
        }
    }
    SchemeHandlers(const SchemeHandlers&) = delete;
    SchemeHandlers& operator=(const SchemeHandlers&) = delete;
    bool Ok() const { return ok_; }

private:
    static std::wstring CommandKey(const std::wstring& scheme) { return scheme + L"\\shell\\open\\command"; }
    struct Saved {
        std::wstring scheme;
        std::optional<std::wstring> command, protocol;
    };
    std::vector<Saved> saved_;
    bool ok_ = true;
};

// One request as the recorder wrote it: the arguments it was started with after the folder.
using Request = std::vector<std::wstring>;

inline std::vector<Request> ReadRequests(const std::wstring& folder) {
    std::vector<Request> requests;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"lnk*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return requests;
    do {
        const std::vector<std::uint8_t> bytes = ReadBytes(folder + found.cFileName);
        const std::wstring text = FromUtf8(std::string(bytes.begin(), bytes.end()));
        if (text.empty() || text.back() != L'\n') {
            requests.push_back({L"<incomplete>"});  // being written: counted, compared later
            continue;
        }
        Request lines;
        std::size_t start = 0;
        for (std::size_t end; (end = text.find(L'\n', start)) != std::wstring::npos; start = end + 1)
            lines.push_back(text.substr(start, end - start));
        lines.erase(lines.begin());  // the count, which the lines themselves give
        requests.push_back(lines);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return requests;
}

// The program's window with the recorder as the handler of its links, and its two image
// buttons: owner-drawn, the QQ chat one without a caption.
class RecordedLinksTest : public PriceWindowTest {
protected:
    void SetUp() override {
        PriceWindowTest::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_FALSE(records_.Path().empty());
        handlers_ = std::make_unique<SchemeHandlers>(records_.Path());
        ASSERT_TRUE(handlers_->Ok()) << "could not register the recorder";
        for (HWND hwnd : ChildWindows(window_)) {
            if (ClassName(hwnd) != L"Button" || (GetWindowLongW(hwnd, GWL_STYLE) & 0x1F) != BS_OWNERDRAW) continue;
            (WindowText(hwnd).empty() ? chat_ : order_) = hwnd;
        }
        ASSERT_NE(chat_, nullptr) << "no QQ chat button";
        ASSERT_NE(order_, nullptr) << "no ordering button";
    }
    void TearDown() override {
        handlers_.reset();
        PriceWindowTest::TearDown();
    }

    // How long a started recorder may take to write and end (a Wine process start is slow here).
    static constexpr Ms kRequestTimeout = 20000;

    // Waits for `count` complete requests: until the program has handled all its input (so that
    // every request it makes has started its recorder) and every recorder has ended.
    std::vector<Request> AwaitRequests(std::size_t count) {
        std::vector<Request> got;
        const bool settled = WaitFor(
            [&] {
                if (WaitForInputIdle(program_->Handle(), 0) != 0 || RecordersRunning() > 0) return false;
                got = ReadRequests(records_.Path());
                return got.size() >= count &&
                       std::none_of(got.begin(), got.end(), [](const Request& r) { return r == Request{L"<incomplete>"}; });
            },
            kRequestTimeout * static_cast<Ms>(count));
        EXPECT_TRUE(settled) << "waited " << kRequestTimeout * count / 1000 << " s for " << count
                             << " request(s) and their recorders to end; seen " << got.size() << ", recorders running "
                             << RecordersRunning();
        // Idle again with no recorder left: nothing more can come of the input given.
        WaitFor([&] { return WaitForInputIdle(program_->Handle(), 0) == 0 && RecordersRunning() == 0; });
        return ReadRequests(records_.Path());
    }

    // The recorder processes alive now.
    static int RecordersRunning() {
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        if (snapshot == INVALID_HANDLE_VALUE) return -1;
        PROCESSENTRY32W entry{};
        entry.dwSize = sizeof entry;
        int running = 0;
        for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
            running += _wcsicmp(entry.szExeFile, L"LinkRecorder.exe") == 0;
        CloseHandle(snapshot);
        return running;
    }

    TempFolder records_;
    std::unique_ptr<SchemeHandlers> handlers_;
    HWND chat_ = nullptr;
    HWND order_ = nullptr;
};

}  // namespace e2e

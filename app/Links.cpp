#include "app/Links.h"
#include "app/Testing.h"

#include <shellapi.h>

#include "vendor/VendorData.h"
#include "base/Gbk.h"
#include "base/SystemLibrary.h"

namespace qelvane {
namespace {

testing::ShellOpenHook shellOpenHook = nullptr;

}  // namespace

std::string OrderLink() { return std::string("http://") + vendor::kOrderHost + "/"; }

std::string ChatLink() {
    // The Site value goes as it stands: the chat client expects it unencoded.
    return std::string("tencent://message/?uin=") + vendor::kQqNumber + "&Site=https://" + vendor::kWebHost +
           "&Menu=yes";
}

void OpenLink(std::span<const CommandArgument> arguments) {
    // Only a text can be a link; anything else (or no text at all) opens nothing. No std::string
    // is assigned here: its out-of-line replace would bring the library's exception code in.
    const char* address = kDefaultLinkAddress;
    if (!arguments.empty() && arguments[0].type != kArgumentAbsent) {
        address = arguments[0].type == kArgumentText
                      ? reinterpret_cast<const char*>(static_cast<std::uintptr_t>(arguments[0].value))
                      : nullptr;
        if (!address) return;
    }
    const std::wstring file = WideFromGbk(address);

    // Looked up at every request: such a window may come and go.
    HWND owner = FindWindowExW(nullptr, nullptr, nullptr, kLinkOwnerTitle);
    if (shellOpenHook) {
        shellOpenHook(owner, L"open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        return;
    }
    // shell32 is large: loaded with the first link, not at every start.
    using ShellExecuteFunction = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
    if (auto open = SystemFunction<ShellExecuteFunction>(L"shell32.dll", "ShellExecuteW"))
        (void)open(owner, L"open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

namespace testing {
void SetShellOpenHook(ShellOpenHook hook) { shellOpenHook = hook; }
}  // namespace testing

}  // namespace qelvane

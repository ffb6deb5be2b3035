// Handing a link to the desktop shell, and the two links the program opens.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <string>

#include "vendor/VendorData.h"

namespace qelvane {

// One argument of a runtime command: a 64-bit value and the type code that
// says what it holds.
struct CommandArgument {
    std::uint64_t value = 0;
    std::uint32_t type = 0;
};

inline constexpr std::uint32_t kArgumentAbsent = 0;
inline constexpr std::uint32_t kArgumentText = 0x80000004u;  // value: zero-terminated GBK text

// Opened when the command is called without an argument: the vendor's web site, like every
// other address the program opens.
inline constexpr const char* kDefaultLinkAddress = vendor::kWebHost;
// A shell request that names this window names it as its owner.
inline constexpr wchar_t kLinkOwnerTitle[] = L"Microsoft Internet Explorer";

// The ordering page and the QQ chat with the vendor (vendor/price-list.toml).
std::string OrderLink();
std::string ChatLink();

// Asks the shell to open the text argument (the default address when there is
// none). The shell's answer is nobody's business: nothing is checked or shown.
void OpenLink(std::span<const CommandArgument> arguments);

}  // namespace qelvane

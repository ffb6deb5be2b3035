// Conversions at the Win32 edge: the model holds GBK (code page 936) bytes,
// the W functions take UTF-16. Explicit, so the system code page never matters.
#pragma once

#include <string>
#include <string_view>

namespace qelvane {

inline constexpr unsigned kGbkCodePage = 936;

std::wstring WideFromGbk(std::string_view gbk);
std::string GbkFromWide(std::wstring_view wide);

}  // namespace qelvane

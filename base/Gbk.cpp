#include "base/Gbk.h"

#include <windows.h>

namespace qelvane {

std::wstring WideFromGbk(std::string_view gbk) {
    if (gbk.empty()) return {};
    const int n = MultiByteToWideChar(kGbkCodePage, 0, gbk.data(), static_cast<int>(gbk.size()), nullptr, 0);
    if (n <= 0) return {};
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(kGbkCodePage, 0, gbk.data(), static_cast<int>(gbk.size()), out.data(), n);
    return out;
}

std::string GbkFromWide(std::wstring_view wide) {
    if (wide.empty()) return {};
    const int n = WideCharToMultiByte(kGbkCodePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                      nullptr, nullptr);
    if (n <= 0) return {};
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(kGbkCodePage, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr,
                        nullptr);
    return out;
}

}  // namespace qelvane

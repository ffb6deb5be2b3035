#include "runtime/ErrorText.h"

#include <algorithm>
#include <charconv>

namespace qelvane {
namespace {

constexpr char kCrLf[] = "\r\n";

// Decimal, without the C library's formatted output (which would bring its
// whole printf into the program).
template <class Integer>
void AppendNumber(std::string& out, Integer value) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, end);
}

void AppendQuoted(std::string& out, const Text& tag) {
    out += kCrLf;
    out += '"';
    out += tag;
    out += '"';
}

}  // namespace

AllocationFailureText::AllocationFailureText(std::uint64_t bytes) {
    static constexpr char kBefore[] = "分配 ";
    static constexpr char kAfter[] = " 字节内存失败!";
    char* at = std::copy_n(kBefore, sizeof kBefore - 1, text_);
    at = std::to_chars(at, text_ + sizeof text_ - sizeof kAfter, bytes).ptr;
    at = std::copy_n(kAfter, sizeof kAfter - 1, at);
    length_ = static_cast<std::size_t>(at - text_);
}

std::string BuildRuntimeErrorText(std::string_view message, std::int32_t code,
                                  std::uint32_t window, std::uint32_t component,
                                  std::span<const WindowTemplate> windows) {
    std::string detail = kCrLf;
    AppendNumber(detail, static_cast<std::int32_t>(window));
    detail += ", ";
    AppendNumber(detail, static_cast<std::int32_t>(component));

    if (window != 0 && IsWindowId(window)) {
        auto found = std::find_if(windows.begin(), windows.end(),
                                  [&](const WindowTemplate& w) { return w.id == window; });
        if (found == windows.end()) {
            detail += "\r\n未找到所指定的窗口";
        } else {
            AppendQuoted(detail, found->self.tag);
            const ComponentEntry* record = nullptr;
            if (NamesWindowItself(component)) {
                record = &found->self;
            } else if (!IsMenuItemId(component)) {
                auto c = std::find_if(found->components.begin(), found->components.end(),
                                      [&](const ComponentEntry& e) { return e.id == component; });
                if (c != found->components.end()) record = &*c;
            }
            if (record != nullptr) {
                AppendQuoted(detail, record->tag);
            } else {
                detail += "\r\n未找到所指定的窗口组件";
            }
        }
    }
    detail += kCrLf;

    std::string text = "运行时出错!\r\n";
    if (code != 0) {
        text += "\r\n错误代码：";
        AppendNumber(text, code);
        text += kCrLf;
    }
    if (!message.empty()) {
        text += "\r\n错误信息：";
        text += message;
        text += kCrLf;
    }
    text += detail;
    return text;
}

}  // namespace qelvane

#include "runtime/ErrorText.h"

#include <algorithm>
#include <cstdio>


namespace qelvane {
namespace {

constexpr char kCrLf[] = "\r\n";

void AppendQuoted(std::string& out, const Text& tag) {
    out += kCrLf;
    out += '"';
    out += tag;
    out += '"';
}

}  // namespace

AllocationFailureText::AllocationFailureText(std::uint64_t bytes) {
    const int n = std::snprintf(text_, sizeof text_, "分配 %llu 字节内存失败!", static_cast<unsigned long long>(bytes));
    length_ = n < 0 ? 0 : std::min(static_cast<std::size_t>(n), sizeof text_ - 1);
}

std::string BuildRuntimeErrorText(std::string_view message, std::int32_t code,
                                  std::uint32_t window, std::uint32_t component,
                                  std::span<const WindowTemplate> windows) {
    char numbers[32];
    std::snprintf(numbers, sizeof numbers, "\r\n%d, %d", static_cast<std::int32_t>(window),
                  static_cast<std::int32_t>(component));
    std::string detail = numbers;

    if (window != 0 && IsWindowId(window)) {
        auto found = std::find_if(windows.begin(), windows.end(),
                                  [&](const WindowTemplate& w) { return w.id == window; });
        if (found == windows.end()) {
            detail += "\r\n未找到所指定的窗口";
        } else {
            AppendQuoted(detail, found->self.tag);
            const ComponentEntry* record = nullptr;
            if (component == 0 || component == kOwnRecordId) {
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
        char codeLine[32];
        std::snprintf(codeLine, sizeof codeLine, "\r\n错误代码：%d\r\n", code);
        text += codeLine;
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

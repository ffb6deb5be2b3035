// The text of the fatal runtime error box. Portable so that it can be checked
// byte for byte on the host.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "ui/form/FormModel.h"

namespace qelvane {

// Message texts of the runtime's fatal failures (GBK).
namespace errors {
inline constexpr char kFormDataBroken[] = "载入窗口模板数据段出错!";
inline constexpr char kStartupWindowFailed[] = "载入启动窗口失败";
inline constexpr char kEventWindowMissing[] = "未找到引发事件的窗口";
inline constexpr char kEventRecordMissing[] = "未找到引发事件的窗口组件";
inline constexpr char kAccessWindowNotLoaded[] = "未载入欲访问窗口组件所在的窗口";
inline constexpr char kReadNoNativeWindow[] = "读取组件属性时发现指定窗口尚未载入";
inline constexpr char kWriteNoNativeWindow[] = "修改组件属性时发现指定窗口尚未载入";
inline constexpr char kCaption[] = "错误";
}  // namespace errors

// "分配 N 字节内存失败!", in a fixed buffer: it is needed exactly when the heap has nothing left.
class AllocationFailureText {
public:
    explicit AllocationFailureText(std::uint64_t bytes);
    std::string_view View() const { return {text_, length_}; }

private:
    char text_[48];
    std::size_t length_ = 0;
};

// Builds the box text for a failure with the given message, code, window and
// component. `windows` are the window templates the runtime knows (decoded),
// used for the tag lines; they may be empty (e.g. before decoding).
std::string BuildRuntimeErrorText(std::string_view message, std::int32_t code,
                                  std::uint32_t window, std::uint32_t component,
                                  std::span<const WindowTemplate> windows);

}  // namespace qelvane

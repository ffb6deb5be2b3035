#include "runtime/ErrorText.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/Identifiers.h"

namespace qelvane {
namespace {

std::vector<WindowTemplate> OneWindow(Text windowTag = {}, Text componentTag = {}) {
    WindowTemplate w;
    w.id = kMainWindowId;
    w.self.id = kOwnRecordId;
    w.self.tag = windowTag;
    ComponentEntry button;
    button.type = TypeCode::Button;
    button.id = 0x1601000Eu;
    button.tag = componentTag;
    w.components.push_back(button);
    return {w};
}

TEST(ErrorText, BrokenFormDataExactBytes) {
    const std::string text = BuildRuntimeErrorText(errors::kFormDataBroken, 0, 0, 0, {});
    EXPECT_EQ(text, "运行时出错!\r\n\r\n错误信息：载入窗口模板数据段出错!\r\n\r\n0, 0\r\n");
    // The head in GBK, so that a wrong source or execution charset is caught.
    const std::string head = "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!\r\n\r\n";
    EXPECT_EQ(text.substr(0, head.size()), head);
}

TEST(ErrorText, StartupWindowThatExistsShowsBothEmptyTags) {
    const auto windows = OneWindow();
    EXPECT_EQ(BuildRuntimeErrorText(errors::kStartupWindowFailed, 0, kMainWindowId, 0, windows),
              "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n\r\n1375797249, 0\r\n\"\"\r\n\"\"\r\n");
}

TEST(ErrorText, StartupWindowMissing) {
    EXPECT_EQ(BuildRuntimeErrorText(errors::kStartupWindowFailed, 0, kMainWindowId, 0, {}),
              "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n\r\n1375797249, 0\r\n未找到所指定的窗口\r\n");
}

TEST(ErrorText, ComponentTagsAndMissingComponent) {
    const auto windows = OneWindow("win", "btn");
    EXPECT_EQ(BuildRuntimeErrorText("m", 0, kMainWindowId, 0x1601000Eu, windows),
              "运行时出错!\r\n\r\n错误信息：m\r\n\r\n1375797249, 369164302\r\n\"win\"\r\n\"btn\"\r\n");
    EXPECT_EQ(BuildRuntimeErrorText("m", 0, kMainWindowId, 0x16019999u, windows),
              "运行时出错!\r\n\r\n错误信息：m\r\n\r\n1375797249, 369203609\r\n\"win\"\r\n未找到所指定的窗口组件\r\n");
    // A menu item never names a component.
    EXPECT_EQ(BuildRuntimeErrorText("m", 0, kMainWindowId, 0x26010001u, windows),
              "运行时出错!\r\n\r\n错误信息：m\r\n\r\n1375797249, 637599745\r\n\"win\"\r\n未找到所指定的窗口组件\r\n");
}

TEST(ErrorText, IdentifiersPrintSigned) {
    // 0x92010001 has the window kind and its top bit set.
    EXPECT_EQ(BuildRuntimeErrorText("", 0, 0x92010001u, 0xFFFFFFFFu, {}),
              "运行时出错!\r\n\r\n-1845428223, -1\r\n未找到所指定的窗口\r\n");
}

TEST(ErrorText, NonWindowIdentifierGetsNoTagLines) {
    EXPECT_EQ(BuildRuntimeErrorText("x", 0, 0x16010008u, 5, OneWindow()),
              "运行时出错!\r\n\r\n错误信息：x\r\n\r\n369164296, 5\r\n");
}

TEST(ErrorText, CodeLineAndEmptyMessage) {
    EXPECT_EQ(BuildRuntimeErrorText("", -3, 0, 0, {}), "运行时出错!\r\n\r\n错误代码：-3\r\n\r\n0, 0\r\n");
    EXPECT_EQ(BuildRuntimeErrorText("m", 7, 0, 0, {}),
              "运行时出错!\r\n\r\n错误代码：7\r\n\r\n错误信息：m\r\n\r\n0, 0\r\n");
}

TEST(ErrorText, AllocationFailure) {
    EXPECT_EQ(AllocationFailureText(4096).View(), "分配 4096 字节内存失败!");
    EXPECT_EQ(AllocationFailureText(18446744073709551615ull).View(), "分配 18446744073709551615 字节内存失败!");
}

}  // namespace
}  // namespace qelvane

#include "app/ServiceCatalogue.h"

namespace qelvane {
namespace {

// The pairing is by radio box, as sold; on page 2 it deliberately does not
// follow the boxes' captions.
constexpr std::array<std::array<Service, kServicesPerPage>, kPageCount> kCatalogue{{
    {{
        {0x16010009u, "点击右侧QQ图标，增加微信阅读量"},
        {0x1601000Bu, "价格：10元一百个微信关注"},
        {0x1601000Cu, "价格：30元一百个微信真人粉丝"},
        {0x1601000Du, "价格：40元一百个扫码关注"},
    }},
    {{
        {0x1601001Eu, "点击右侧QQ图标，发送投票链接"},
        {0x1601001Fu, "价格：30元一百个小程序扫码"},
        {0x16010020u, "价格：40元一百个微信视频播放"},
        {0x160121A0u, "价格：30元一百个微信H5授权"},
    }},
    {{
        {0x16010026u, "价格：100元一百人朋友圈转发"},
        {0x16010027u, "价格：20元一百条高级点赞"},
        {0x16010028u, "价格：10元一篇，20条留言内容"},
        {0x160121A3u, "价格：30元一百个"},
    }},
}};

}  // namespace

std::span<const Service> ServicesOfPage(std::int32_t page) {
    if (page < 0 || static_cast<std::size_t>(page) >= kPageCount) return {};
    return kCatalogue[static_cast<std::size_t>(page)];
}

}  // namespace qelvane

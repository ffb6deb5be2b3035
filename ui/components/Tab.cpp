#include "ui/components/Tab.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>

#include "runtime/Gbk.h"
#include "ui/PropertyBlocks.h"

namespace qelvane {
namespace {

// Styles by HeaderPos 0..3.
constexpr DWORD kHeaderStyles[] = {0, TCS_BOTTOM, TCS_VERTICAL, TCS_VERTICAL | TCS_RIGHT};

}  // namespace

Tab::Tab(const ComponentType& type, ComponentHost& host, const ComponentEntry& entry)
    : Component(type, host, entry.id), props_(std::get<TabProps>(entry.settings)) {}

std::unique_ptr<Component> Tab::Create(const CreateArgs& args) {
    return MakeComponent<Tab, TabProps>(TypeCode::Tab, args);
}

bool Tab::Build(const CreateArgs& args) {
    DWORD style = ChildStyle(args.entry, false) | kHeaderStyles[std::clamp(props_.headerPos, 0, 3)];
    if (props_.multiLine) style |= TCS_MULTILINE;
    if (!CreateNative(WC_TABCONTROLW, style, 0, args, L"")) return false;

    font_ = FontFromBlock(props_.font);
    SendMessageW(Hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(FontOrDefault(font_)), FALSE);
    for (std::size_t i = 0; i < props_.pageCaptions.size(); ++i) {
        std::wstring text = WideFromGbk(props_.pageCaptions[i]);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text.data();
        SendMessageW(Hwnd(), TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    const int pages = PageCount();
    props_.currentPage = pages > 0 ? std::clamp(props_.currentPage, 0, pages - 1) : 0;
    SendMessageW(Hwnd(), TCM_SETCURSEL, static_cast<WPARAM>(props_.currentPage), 0);
    return true;
}

std::int32_t Tab::CurrentPage() const {
    return static_cast<std::int32_t>(SendMessageW(Hwnd(), TCM_GETCURSEL, 0, 0));
}

int Tab::PageCount() const { return static_cast<int>(SendMessageW(Hwnd(), TCM_GETITEMCOUNT, 0, 0)); }

PropertyValue Tab::Read(int own) {
    if (own == kCurrentPage) return {CurrentPage(), {}};
    if (own == kPageCaptions) {
        const Bytes block = WritePageCaptions(props_.pageCaptions);
        return {0, std::string(block.begin(), block.end())};
    }
    return ReadField(kProperties, props_, own);
}

bool Tab::Apply(int own, const PropertyValue& value) {
    switch (own) {
    case kCurrentPage: {
        const int pages = PageCount();
        props_.currentPage = pages > 0 ? std::clamp(value.number, 0, pages - 1) : 0;
        // TCM_SETCURSEL sends no selection notices: the page events stay silent.
        SendMessageW(Hwnd(), TCM_SETCURSEL, static_cast<WPARAM>(props_.currentPage), 0);
        Host().SyncPage(Id(), props_.currentPage, props_.hideHeader == 0);
        return false;
    }
    case kPageCaptions:
        if (auto captions = ReadPageCaptions({reinterpret_cast<const std::uint8_t*>(value.bytes.data()),
                                              value.bytes.size()})) {
            // No caption at all still leaves one page.
            if (captions->empty()) captions->emplace_back();
            props_.pageCaptions = std::move(*captions);
        }
        return true;
    case kFont:
        StoreField(kProperties, props_, own, value);
        font_ = FontFromBlock(props_.font);
        SendMessageW(Hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(FontOrDefault(font_)), TRUE);
        return false;
    case kHeaderPos:
    case kMultiLine:
        // The header layout is fixed when the control is made.
        StoreField(kProperties, props_, own, value);
        return true;
    default:
        StoreField(kProperties, props_, own, value);
        return false;
    }
}

bool Tab::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    // The radio boxes on the pages are our children: their notices come here.
    return ReflectToChild(Host(), msg, wParam, lParam, result);
}

bool Tab::OnReflected(UINT msg, WPARAM, LPARAM lParam, LRESULT& result) {
    if (msg != WM_NOTIFY) return false;
    const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
    if (hdr->code == TCN_SELCHANGING) {
        const EventOutcome o = Raise(1, true);
        result = (o.hasResult && o.result == 0) ? TRUE : FALSE;  // TRUE keeps the old page
        return true;
    }
    if (hdr->code == TCN_SELCHANGE) {
        props_.currentPage = std::max(CurrentPage(), 0);
        Raise(2);
        Host().SyncPage(Id(), props_.currentPage, true);
        result = 0;
        return true;
    }
    return false;
}

}  // namespace qelvane

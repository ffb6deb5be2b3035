#include "ui/components/Tab.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>

#include "base/Gbk.h"
#include "ui/Schema.h"

namespace qelvane {
namespace {

// Styles by HeaderPos 0..3.
constexpr DWORD kHeaderStyles[] = {0, TCS_BOTTOM, TCS_VERTICAL, TCS_VERTICAL | TCS_RIGHT};
constexpr DWORD kLayoutStyles = TCS_BOTTOM | TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE;

// The headerless container: a window of our own.
constexpr wchar_t kContainerClass[] = L"Qelvane.Pages";
bool containerClassRegistered = false;

DWORD HeaderStyle(const TabProps& p) {
    return kHeaderStyles[std::clamp(p.headerPos, 0, 3)] | (p.multiLine ? TCS_MULTILINE : 0);
}

}  // namespace

Tab::Tab(const ComponentType& type, ComponentHost& host, const ComponentEntry& entry)
    : Component(type, host, entry.id), props_(std::get<TabProps>(entry.settings)) {}

std::unique_ptr<Component> Tab::Create(const CreateArgs& args) {
    return MakeComponent<Tab, TabProps>(TypeCode::Tab, args);
}

void Tab::ReleaseShared() {
    if (containerClassRegistered) {
        UnregisterComponentClass(kContainerClass);
        containerClassRegistered = false;
    }
}

bool Tab::BuildContainer(const CreateArgs& args) {
    if (!containerClassRegistered) containerClassRegistered = RegisterComponentClass(kContainerClass, 0);
    if (!containerClassRegistered) return false;
    headerless_ = true;
    if (!CreateOwnClass(kContainerClass, ChildStyle(args.entry, false), 0, args, L"")) return false;
    const int pages = static_cast<int>(props_.pageCaptions.size());
    props_.currentPage = pages > 0 ? std::clamp(props_.currentPage, 0, pages - 1) : 0;
    return true;
}

void Tab::PaintContainer(HDC dc) {
    RECT r;
    GetClientRect(Hwnd(), &r);
    if (props_.fillBack) {
        UniqueBrush brush(CreateSolidBrush(ResolveColour(props_.backColor)));
        FillRect(dc, &r, brush.get());
        return;
    }
    // Transparent: what the parent paints behind us.
    HWND parent = GetParent(Hwnd());
    POINT origin{0, 0};
    MapWindowPoints(Hwnd(), parent, &origin, 1);
    POINT old;
    SetViewportOrgEx(dc, -origin.x, -origin.y, &old);
    SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SetViewportOrgEx(dc, old.x, old.y, nullptr);
}

bool Tab::Build(const CreateArgs& args) {
    if (Headerless()) return BuildContainer(args);
    if (!CreateNative(WC_TABCONTROLW, ChildStyle(args.entry, false) | HeaderStyle(props_), 0, args, L""))
        return false;

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
    if (headerless_) return props_.currentPage;
    return static_cast<std::int32_t>(SendMessageW(Hwnd(), TCM_GETCURSEL, 0, 0));
}

int Tab::PageCount() const {
    if (headerless_) return static_cast<int>(props_.pageCaptions.size());
    return static_cast<int>(SendMessageW(Hwnd(), TCM_GETITEMCOUNT, 0, 0));
}

void Tab::ApplyHeaderStyle() {
    if (headerless_) return;
    const DWORD style = static_cast<DWORD>(GetWindowLongW(Hwnd(), GWL_STYLE));
    SetWindowLongW(Hwnd(), GWL_STYLE, static_cast<LONG>((style & ~kLayoutStyles) | HeaderStyle(props_)));
    SetWindowPos(Hwnd(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    InvalidateRect(Hwnd(), nullptr, TRUE);
}

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
        if (!headerless_) SendMessageW(Hwnd(), TCM_SETCURSEL, static_cast<WPARAM>(props_.currentPage), 0);
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
        if (!headerless_) SendMessageW(Hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(FontOrDefault(font_)), TRUE);
        return false;
    case kHeaderPos:
    case kMultiLine:
        StoreField(kProperties, props_, own, value);
        // Headers on the right do not follow a style change in place: rebuild.
        if (own == kHeaderPos && props_.headerPos == 3) return true;
        ApplyHeaderStyle();
        return false;
    case kFillBack:
    case kBackColor:
        StoreField(kProperties, props_, own, value);
        RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        return false;
    default:
        StoreField(kProperties, props_, own, value);
        return false;
    }
}

bool Tab::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    // The radio boxes on the pages are our children: their notices come here.
    if (ReflectToChild(Host(), msg, wParam, lParam, result)) return true;
    if (!headerless_) return false;
    switch (msg) {
    case WM_ERASEBKGND:
        result = 1;  // painted with the rest in WM_PAINT
        return true;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        PaintMessage(msg == WM_PRINTCLIENT ? wParam : 0, [&](HDC dc) { PaintContainer(dc); });
        result = 0;
        return true;
    default:
        return false;
    }
}

bool Tab::OnReflected(UINT msg, WPARAM, LPARAM lParam, LRESULT& result) {
    if (msg != WM_NOTIFY) return false;
    const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
    if (hdr->code == NM_CLICK) {
        Raise(events::kClicked);
        result = 0;
        return true;
    }
    if (hdr->code == TCN_SELCHANGING) {
        const EventOutcome o = Raise(events::kPageChanging, true);
        result = (o.hasResult && o.result == 0) ? TRUE : FALSE;  // TRUE keeps the old page
        return true;
    }
    if (hdr->code == TCN_SELCHANGE) {
        props_.currentPage = std::max(CurrentPage(), 0);
        Raise(events::kPageChanged);
        Host().SyncPage(Id(), props_.currentPage, true);
        result = 0;
        return true;
    }
    return false;
}

}  // namespace qelvane

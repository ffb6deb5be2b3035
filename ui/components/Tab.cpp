// `Tab` (选择夹): the tab control, its pages and their headers, the page in front kept in step
// with the components shown, and its painting kept in a bitmap of its own for what lies on it.
#include "ui/components/Controls.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>

#include "base/Gbk.h"
#include "base/Messages.h"

namespace qelvane {
namespace {

// Styles by HeaderPos 0..3.
constexpr DWORD kHeaderStyles[] = {0, TCS_BOTTOM, TCS_VERTICAL, TCS_VERTICAL | TCS_RIGHT};
constexpr DWORD kLayoutStyles = TCS_BOTTOM | TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE;

// The headerless container: a window of our own.
WindowClass containerClass{L"Qelvane.Pages", 0, nullptr};

DWORD HeaderStyle(const TabProps& p) {
    return kHeaderStyles[std::clamp(p.headerPos, 0, 3)] | (p.multiLine ? TCS_MULTILINE : 0);
}

}  // namespace

void Tab::Paint(HDC dc) {
    RECT r;
    GetClientRect(Hwnd(), &r);
    if (props_.fillBack) {
        UniqueBrush brush(Make("tab's background", [&] { return CreateSolidBrush(ResolveColour(props_.backColor)); }));
        FillRect(dc, &r, brush.get());
        return;
    }
    // Transparent: what the parent paints behind us.
    HWND parent = GetParent(Hwnd());
    POINT origin{0, 0};
    MapWindowPoints(Hwnd(), parent, &origin, 1);
    POINT old;
    SetViewportOrgEx(dc, -origin.x, -origin.y, &old);
    SendMessageW(parent, WM_ERASEBKGND, message::HandleParam(dc), 0);
    SetViewportOrgEx(dc, old.x, old.y, nullptr);
}

bool Tab::Build(const CreateArgs& args) {
    if (Headerless()) {
        headerless_ = true;
        if (!CreateWindowFor(args, {nullptr, &containerClass, ChildStyle(args.entry, false)})) return false;
        props_.currentPage = ClampedPage(props_.currentPage);
        return true;
    }
    if (!CreateWindowFor(args, {WC_TABCONTROLW, nullptr, ChildStyle(args.entry, false) | HeaderStyle(props_)}))
        return false;

    ApplyFont(props_.font);
    for (std::size_t i = 0; i < props_.pageCaptions.size(); ++i) {
        std::wstring text = WideFromGbk(props_.pageCaptions[i]);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text.data();
        SendMessageW(Hwnd(), TCM_INSERTITEMW, i, message::PointerParam(&item));
    }
    props_.currentPage = ClampedPage(props_.currentPage);
    SendMessageW(Hwnd(), TCM_SETCURSEL, message::IndexParam(props_.currentPage), 0);
    return true;
}

std::optional<std::int32_t> Tab::CurrentPage() const {
    if (headerless_) return props_.currentPage;
    return static_cast<std::int32_t>(SendMessageW(Hwnd(), TCM_GETCURSEL, 0, 0));
}

std::int32_t Tab::ClampedPage(std::int32_t page) const {
    const int pages = PageCount();
    return pages > 0 ? std::clamp(page, 0, pages - 1) : 0;
}

int Tab::PageCount() const {
    if (headerless_) return static_cast<int>(props_.pageCaptions.size());
    return static_cast<int>(SendMessageW(Hwnd(), TCM_GETITEMCOUNT, 0, 0));
}

void Tab::Restyle() {
    if (headerless_) return;
    const DWORD style = static_cast<DWORD>(GetWindowLongW(Hwnd(), GWL_STYLE));
    SetWindowLongW(Hwnd(), GWL_STYLE, static_cast<LONG>((style & ~kLayoutStyles) | HeaderStyle(props_)));
    SetWindowPos(Hwnd(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    InvalidateRect(Hwnd(), nullptr, TRUE);
}

bool Tab::ReadLive(const FieldRow& row, PropertyValue& value) {
    if (!Is(row, &props_.currentPage)) return false;
    value.number = *CurrentPage();
    return true;
}

void Tab::Repaint() { RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN); }

bool Tab::Written(std::uint8_t own, const PropertyValue&) {
    switch (static_cast<TabEffect>(own)) {
    case TabEffect::Page:
        props_.currentPage = ClampedPage(props_.currentPage);
        // TCM_SETCURSEL sends no selection notices: the page events stay silent.
        if (!headerless_) SendMessageW(Hwnd(), TCM_SETCURSEL, message::IndexParam(props_.currentPage), 0);
        Host().SyncPage(Id(), props_.currentPage, props_.hideHeader == 0);
        break;
    case TabEffect::Font:
        if (!headerless_) ApplyFont(props_.font);
        break;
    case TabEffect::HeaderPos:
        // Headers on the right do not follow a style change in place: rebuild.
        if (props_.headerPos == 3) return true;
        Restyle();
        break;
    }
    return false;
}

bool Tab::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (!headerless_) {
        switch (msg) {
        case WM_PAINT:
            if (!PaintThroughCache()) return false;
            result = 0;
            return true;
        case WM_PRINTCLIENT:
            if (!PrintFromCache(message::Dc(wParam))) return false;
            result = 0;
            return true;
        case WM_SIZE:
        case WM_SETFONT:
        case WM_STYLECHANGED:
        case WM_ENABLE:
        case WM_THEMECHANGED:
        case WM_SYSCOLORCHANGE:
            paintedWhole_ = false;  // painted whole again next time
            break;
        default:
            break;
        }
    }
    // The radio boxes on the pages are our children: their notices come here.
    return ReflectToChild(Host(), msg, wParam, lParam, result);
}

// The control paints what is due into its bitmap, which then goes to the screen.
bool Tab::PaintThroughCache() {
    RECT client;
    GetClientRect(Hwnd(), &client);
    if (client.right <= 0 || client.bottom <= 0) return false;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Hwnd(), &ps);
    if (!dc) return false;
    if (!painted_ || paintedSize_.cx != client.right || paintedSize_.cy != client.bottom) {
        painted_.reset(Make("tab's painting", [&] { return CreateCompatibleBitmap(dc, client.right, client.bottom); }));
        paintedSize_ = {client.right, client.bottom};
        paintedWhole_ = false;
    }
    UniqueDc memory(painted_ ? Make("tab's painting DC", [&] { return CreateCompatibleDC(dc); }) : nullptr);
    if (!memory) {
        // Straight to the screen, as the control would.
        paintedWhole_ = false;
        DefSubclassProc(Hwnd(), WM_PRINTCLIENT, message::HandleParam(dc), PRF_CLIENT | PRF_ERASEBKGND);
        EndPaint(Hwnd(), &ps);
        return true;
    }
    const RECT area = paintedWhole_ ? ps.rcPaint : client;
    {
        ScopedSelect bitmap(memory.get(), painted_.get());
        const int saved = SaveDC(memory.get());
        IntersectClipRect(memory.get(), area.left, area.top, area.right, area.bottom);
        // Erased first, as BeginPaint would have it: the control leaves what lies beside its
        // headers to its background.
        DefSubclassProc(Hwnd(), WM_ERASEBKGND, message::HandleParam(memory.get()), 0);
        DefSubclassProc(Hwnd(), WM_PRINTCLIENT, message::HandleParam(memory.get()), PRF_CLIENT | PRF_ERASEBKGND);
        RestoreDC(memory.get(), saved);
        BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left, ps.rcPaint.bottom - ps.rcPaint.top,
               memory.get(), ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
    }
    paintedWhole_ = true;
    EndPaint(Hwnd(), &ps);
    return true;
}

// A request for what the control shows, answered from its last painting while that is
// current: painted whole, at this size, with nothing due since.
bool Tab::PrintFromCache(HDC dc) {
    RECT client;
    GetClientRect(Hwnd(), &client);
    if (!dc || !painted_ || !paintedWhole_ || paintedSize_.cx != client.right || paintedSize_.cy != client.bottom ||
        GetUpdateRect(Hwnd(), nullptr, FALSE))
        return false;
    UniqueDc memory(Make("tab's painting DC", [&] { return CreateCompatibleDC(dc); }));
    if (!memory) return false;
    ScopedSelect bitmap(memory.get(), painted_.get());
    BitBlt(dc, 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
    return true;
}

bool Tab::OnReflected(UINT msg, WPARAM, LPARAM lParam, LRESULT& result) {
    if (msg != WM_NOTIFY) return false;
    const NMHDR* hdr = &message::Notification(lParam);
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
        props_.currentPage = std::max(*CurrentPage(), 0);
        Raise(events::kPageChanged);
        Host().SyncPage(Id(), props_.currentPage, true);
        result = 0;
        return true;
    }
    return false;
}

}  // namespace qelvane

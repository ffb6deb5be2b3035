// The native windows of MainWindow made directly, with no runtime, no form decoding and no
// pictures: the floor against which the program's start-up time is measured.
// Built a second time as BareMandated, which adds what the program must do whatever its
// design: initialise OLE, decode its form and its two pictures, and draw them.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <optional>
#include <string>

#include "vendor/VendorData.h"
#ifdef QELVANE_BARE_MANDATED
#include "app/StoredForm.h"
#include "ui/form/FormCodec.h"
#include "ui/pictures/PictureDraw.h"
#endif

namespace {

constexpr int kWidth = 495;
constexpr int kHeight = 398;

struct Radio {
    int page;
    int top;
    const wchar_t* caption;
};

// Form order is bottom to top on each page; creation runs from the last entry to the first.
constexpr Radio kRadios[] = {
    {0, 32, L"图文阅读：真人模式，下单就刷（速度随机有时慢有时快），搭配送点赞，安全不封号；"
            L"可定制阅读带来源（会话、转发、朋友圈、历史），适用于客户查后台"},
    {0, 80, L"微信关注：俗称僵尸粉或死粉，有昵称和头像"},
    {0, 128, L"人工活粉：即真人关注，因对公众号的喜爱程度会出现掉粉的情况，掉粉不包补。"
             L"真人粉丝第一次会带后台阅读，后面看粉丝对公众号的兴趣。"},
    {0, 176, L"扫码关注：扫描二维码关注公众号，可制定关注后回复指定内容"},
    {1, 32, L"微信投票：人工投票，具体价格请发投票链接和投票位置"},
    {1, 80, L"小程序扫码：扫码访问指定小程序，增加小程序授权量"},
    {1, 128, L"微信视频：访问微信图文中的视频，有效增加后台播放量和图文阅读量"},
    {1, 178, L"微信H5授权登录：真人使用微信号授权登录，打开指定H5链接，可增加指定操作"},
    {2, 35, L"朋友圈转发：海量真人分享，每人拥有300-1000个粉丝，立即引爆朋友圈！"},
    {2, 82, L"微信留言：真人按照指定内容留言，安全有效。"},
    {2, 129, L"留言点赞：对文章多条留言进行点赞，凸显微信图文人气；也可对指定留言进行点赞，"
             L"让留言排在第一！"},
    {2, 176, L"转发|收藏|原文阅读：提高微信图文后台统计的分享转发、图文收藏、原文阅读，安全不封号"},
};

const wchar_t* const kPages[] = {L"微信阅读粉丝", L"微信投票", L"公众号推广"};

HFONT guiFont = nullptr;  // stock object, not ours
HWND qrBox = nullptr;
HWND chatButton = nullptr;

#ifdef QELVANE_BARE_MANDATED
std::optional<qelvane::DecodedPicture> qr, badge;

void Nothing() {}

// The form decoded as the program decodes it, and its two pictures.
bool DecodeMandated() {
    using namespace qelvane;
    const Routine routines[3] = {&Nothing, &Nothing, &Nothing};
    const std::optional<FormDescription> form = DecodeForm({kStoredForm, kStoredFormSize}, routines);
    if (!form) return false;
    for (const ComponentEntry& e : form->windows[0].components) {
        if (const auto* box = std::get_if<PicBoxProps>(&e.settings))
            qr = DecodePicture(box->picture.data(), box->picture.size());
        if (const auto* button = std::get_if<SuperBtnProps>(&e.settings); button && !button->picOut.empty())
            badge = DecodePicture(button->picOut.data(), button->picOut.size());
    }
    return qr && badge;
}
#endif

HWND Child(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w,
           int h) {
    HWND hwnd = CreateWindowExW(0, cls, text, WS_CHILD | style, x, y, w, h, parent, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(guiFont), FALSE);
    return hwnd;
}

LRESULT CALLBACK MainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DRAWITEM: {
        // The image buttons' stand-in: a face-coloured rectangle.
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        FillRect(item->hDC, &item->rcItem, GetSysColorBrush(COLOR_BTNFACE));
#ifdef QELVANE_BARE_MANDATED
        const COLORREF face = GetSysColor(COLOR_BTNFACE);
        if (item->hwndItem == qrBox) qelvane::DrawPicture(*qr, item->hDC, 0, 0, 95, 95, face);
        if (item->hwndItem == chatButton) qelvane::DrawPicture(*badge, item->hDC, 0, 0, -1, -1, face);
#endif
        return TRUE;
    }
    case WM_COMMAND:
        // Esc closes, as in the program.
        if (LOWORD(wParam) == IDCANCEL) DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

std::wstring Title() {
    wchar_t qq[32] = {}, host[128] = {};
    MultiByteToWideChar(936, 0, qelvane::vendor::kQqNumber, -1, qq, 32);
    MultiByteToWideChar(936, 0, qelvane::vendor::kWebHost, -1, host, 128);
    return std::wstring(L"Qelvane QQ：") + qq + L" " + host;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
#ifdef QELVANE_BARE_MANDATED
    if (FAILED(OleInitialize(nullptr)) || !DecodeMandated()) return 1;
#endif
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    guiFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = MainProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"BareWindow";
    RegisterClassExW(&wc);

    const int x = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
    const std::wstring title = Title();
    HWND main = CreateWindowExW(0, wc.lpszClassName, title.c_str(),
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX |
                                    WS_CLIPCHILDREN,
                                x, y, kWidth, kHeight, nullptr, nullptr, instance, nullptr);
    SendMessageW(main, WM_SETFONT, reinterpret_cast<WPARAM>(guiFont), FALSE);

    HWND tab = Child(main, WC_TABCONTROLW, L"", WS_CLIPSIBLINGS | WS_TABSTOP, 0, 0, 488, 248);
    for (int page = 0; page < 3; ++page) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(kPages[page]);
        SendMessageW(tab, TCM_INSERTITEMW, page, reinterpret_cast<LPARAM>(&item));
    }
    HWND radios[12];
    for (int i = 11; i >= 0; --i) {
        const Radio& r = kRadios[i];
        radios[i] = Child(tab, L"BUTTON", r.caption, BS_AUTORADIOBUTTON | BS_MULTILINE | WS_TABSTOP,
                          8, r.top, 456, 32);
    }
    SendMessageW(radios[1], BM_SETCHECK, BST_CHECKED, 0);
    Child(main, L"BUTTON", L"获取最新价格", BS_PUSHBUTTON | WS_TABSTOP | WS_VISIBLE, 16, 300, 168,
          56);
    Child(main, L"STATIC", L"价格：", WS_VISIBLE, 8, 258, 192, 38);
    chatButton = Child(main, L"BUTTON", L"", BS_OWNERDRAW | WS_TABSTOP | WS_VISIBLE, 253, 264, 77, 22);
    Child(main, L"BUTTON", L"24 小时自助下单", BS_OWNERDRAW | WS_TABSTOP | WS_VISIBLE, 208, 300,
          168, 56);
    qrBox = Child(main, L"STATIC", L"", SS_OWNERDRAW | WS_VISIBLE, 383, 263, 95, 95);
    for (int i = 0; i < 12; ++i)
        if (kRadios[i].page == 0) ShowWindow(radios[i], SW_SHOWNA);
    ShowWindow(tab, SW_SHOWNA);

    ShowWindow(main, SW_SHOWNORMAL);
    SetFocus(radios[0]);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(main, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

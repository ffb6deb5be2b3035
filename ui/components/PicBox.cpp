#include "ui/components/PicBox.h"

#include <algorithm>

#include "ui/components/PictureDraw.h"

namespace qelvane {
namespace {

struct BorderStyle {
    DWORD exStyle;
    DWORD style;
};
// By `border` 0..5.
constexpr BorderStyle kBorders[] = {
    {0, 0},
    {WS_EX_CLIENTEDGE, 0},
    {WS_EX_DLGMODALFRAME, 0},
    {WS_EX_STATICEDGE, 0},
    {WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME, 0},
    {0, WS_BORDER},
};
constexpr DWORD kBorderExBits = WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME | WS_EX_STATICEDGE;

}  // namespace

PicBox::PicBox(const ComponentType& type, ComponentHost& host, const ComponentEntry& entry)
    : Component(type, host, entry.id), props_(std::get<PicBoxProps>(entry.settings)) {}

std::unique_ptr<Component> PicBox::Create(const CreateArgs& args) {
    if (!RegisterComponentClass(kClassName, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW)) return nullptr;
    return MakeComponent<PicBox, PicBoxProps>(TypeCode::PicBox, args);
}

void PicBox::ReleaseShared() {
    UnregisterComponentClass(kClassName);
}

bool PicBox::Build(const CreateArgs& args) {
    if (!CreateOwnClass(kClassName, ChildStyle(args.entry), 0, args, L"")) return false;
    back_.reset(CreateSolidBrush(ResolveColour(props_.backColor)));
    DecodeOwnPicture();
    ApplyBorder();
    return true;
}

void PicBox::DecodeOwnPicture() {
    decoded_.reset();
    decoded_ = DecodePicture(props_.picture.data(), props_.picture.size());
}

void PicBox::ApplyBorder() {
    const BorderStyle& b = kBorders[std::clamp(props_.border, 0, 5)];
    const DWORD ex = static_cast<DWORD>(GetWindowLongW(Hwnd(), GWL_EXSTYLE));
    const DWORD style = static_cast<DWORD>(GetWindowLongW(Hwnd(), GWL_STYLE));
    SetWindowLongW(Hwnd(), GWL_EXSTYLE, static_cast<LONG>((ex & ~kBorderExBits) | b.exStyle));
    SetWindowLongW(Hwnd(), GWL_STYLE, static_cast<LONG>((style & ~WS_BORDER) | b.style));
    SetWindowPos(Hwnd(), nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

bool PicBox::Apply(int own, const PropertyValue& value) {
    const std::int32_t oldMode = props_.drawMode;
    StoreField(kProperties, props_, own, value);
    props_.border = std::clamp(props_.border, 0, 5);
    props_.drawMode = std::clamp(props_.drawMode, 0, 2);
    switch (own) {
    case kBorder:
        ApplyBorder();
        break;
    case kBackColor:
        back_.reset(CreateSolidBrush(ResolveColour(props_.backColor)));
        InvalidateRect(Hwnd(), nullptr, FALSE);
        break;
    case kPicture:
        DecodeOwnPicture();
        InvalidateRect(Hwnd(), nullptr, FALSE);
        break;
    case kDrawMode:
        if (props_.drawMode != oldMode) {
            InvalidateRect(Hwnd(), nullptr, FALSE);
            UpdateWindow(Hwnd());
        }
        break;
    default:
        break;  // PlayAnimation matters for animated GIFs only; the data binding is not ours to run
    }
    return false;
}

void PicBox::Paint(HDC dc) {
    RECT client;
    GetClientRect(Hwnd(), &client);
    FillRect(dc, &client, back_.get());
    if (!decoded_) return;
    const PictureRect r = PictureLayout(props_.drawMode, client.right, client.bottom, decoded_->width,
                                        decoded_->height);
    DrawPicture(*decoded_, dc, r.x, r.y, r.width, r.height, ResolveColour(props_.backColor));
}

bool PicBox::OnMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
    switch (msg) {
    case WM_ERASEBKGND:
        result = 1;  // Paint fills the whole client area
        return true;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        PaintMessage(wParam, [this](HDC dc) { Paint(dc); });
        result = 0;
        return true;
    default:
        return false;
    }
}

}  // namespace qelvane

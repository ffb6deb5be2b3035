#include "ui/components/Controls.h"

#include <algorithm>

#include "base/Gbk.h"
#include "ui/system/ColourScheme.h"
#include "ui/pictures/PictureDraw.h"

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

WindowClass boxClass{L"Qelvane.PicBox", CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, nullptr};

}  // namespace

bool PicBox::Build(const CreateArgs& args) {
    if (!CreateWindowFor(args, {nullptr, &boxClass, ChildStyle(args.entry)})) return false;
    MakeBackground();
    DecodeOwnPicture();
    Restyle();
    return true;
}

std::wstring PicBox::AccName() const {
    const ComponentEntry* record = Host().Record(Id());
    return record ? WideFromGbk(record->tag) : std::wstring();
}

// A QR code must stay dark on light to scan: in high contrast the box is white, whatever the
// scheme's face, so that its margins and a picture's transparent pixels make a light border.
COLORREF PicBox::Background() const {
    return CurrentScheme().highContrast ? RGB(255, 255, 255) : ResolveColour(props_.backColor);
}

void PicBox::MakeBackground() {
    back_.reset(Make("picture box's background", [&] { return CreateSolidBrush(Background()); }));
}

void PicBox::DecodeOwnPicture() {
    decoded_.reset();
    decoded_ = DecodePicture(props_.picture.data(), props_.picture.size());
}

void PicBox::Restyle() {
    const BorderStyle& b = kBorders[std::clamp(props_.border, 0, 5)];
    const DWORD ex = static_cast<DWORD>(GetWindowLongW(Hwnd(), GWL_EXSTYLE));
    const DWORD style = static_cast<DWORD>(GetWindowLongW(Hwnd(), GWL_STYLE));
    SetWindowLongW(Hwnd(), GWL_EXSTYLE, static_cast<LONG>((ex & ~kBorderExBits) | b.exStyle));
    SetWindowLongW(Hwnd(), GWL_STYLE, static_cast<LONG>((style & ~WS_BORDER) | b.style));
    SetWindowPos(Hwnd(), nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

bool PicBox::Written(std::uint8_t own, const PropertyValue& old) {
    switch (static_cast<PicBoxEffect>(own)) {
    case PicBoxEffect::Background:
        MakeBackground();
        InvalidateRect(Hwnd(), nullptr, FALSE);
        break;
    case PicBoxEffect::Picture:
        DecodeOwnPicture();
        InvalidateRect(Hwnd(), nullptr, FALSE);
        break;
    case PicBoxEffect::DrawMode:
        if (props_.drawMode == old.number) break;
        InvalidateRect(Hwnd(), nullptr, FALSE);
        UpdateWindow(Hwnd());
        break;
    }
    return false;
}

void PicBox::Paint(HDC dc) {
    RECT client;
    GetClientRect(Hwnd(), &client);
    // Without a brush of its own the background is left as it is: a null brush would fill with
    // whatever the DC holds.
    if (back_) FillRect(dc, &client, back_.get());
    if (!decoded_) return;
    // The picture's own size is in form units, like the box's.
    const DisplayScale scale = Host().Scale();
    const PictureRect r = PictureLayout(props_.drawMode, client.right, client.bottom, scale.ToDevice(decoded_->width),
                                        scale.ToDevice(decoded_->height));
    DrawPicture(*decoded_, dc, r.x, r.y, r.width, r.height, Background());
}

}  // namespace qelvane

// What the types built on the native BUTTON control share: style bits, the
// picture, and the build.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>

#include "base/Gbk.h"
#include "base/Messages.h"
#include "base/WinHandles.h"
#include "ui/form/FormModel.h"
#include "ui/components/Component.h"
#include "ui/pictures/PictureDraw.h"

namespace qelvane {

inline DWORD HAlignStyle(std::int32_t hAlign) {
    constexpr DWORD kStyles[] = {BS_LEFT, BS_CENTER, BS_RIGHT};
    return kStyles[std::clamp(hAlign, 0, 2)];
}

inline DWORD VAlignStyle(std::int32_t vAlign) {
    constexpr DWORD kStyles[] = {BS_TOP, BS_VCENTER, BS_BOTTOM};
    return kStyles[std::clamp(vAlign, 0, 2)];
}

// What a `picture` property shows instead of the caption. An icon stays an icon,
// so that its transparency survives; anything else becomes a bitmap. Empty when
// the bytes do not decode, and the caption shows.
class ButtonPicture {
public:
    ButtonPicture() = default;
    explicit ButtonPicture(const Bytes& picture) {
        if (picture.empty()) return;
        if (const auto icon = FirstIconImage(picture.data(), picture.size())) {
            icon_.reset(CreateIconFromResourceEx(const_cast<PBYTE>(icon->data), static_cast<DWORD>(icon->size), TRUE,
                                                 0x00030000, icon->width, icon->height, LR_DEFAULTCOLOR));
            return;
        }
        bitmap_ = PictureToBitmap(picture.data(), picture.size());
    }
    DWORD Style() const { return icon_ ? BS_ICON : bitmap_ ? BS_BITMAP : 0; }
    void ShowIn(HWND button) const {
        if (icon_)
            SendMessageW(button, BM_SETIMAGE, IMAGE_ICON, message::HandleLParam(icon_.get()));
        else if (bitmap_)
            SendMessageW(button, BM_SETIMAGE, IMAGE_BITMAP, message::HandleLParam(bitmap_.get()));
    }

private:
    UniqueIcon icon_;
    UniqueBitmap bitmap_;
};

// Replaces the button-specific style bits in place (keeps the window bits) and repaints.
inline void ApplyButtonStyle(HWND hwnd, DWORD buttonStyle) {
    const DWORD windowBits = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)) & 0xFFFF0000u;
    SendMessageW(hwnd, BM_SETSTYLE, (windowBits | buttonStyle) & 0xFFFFu, TRUE);
    SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>(windowBits | buttonStyle));
    InvalidateRect(hwnd, nullptr, TRUE);
}

// A system BUTTON control showing its caption or its picture, its style bits
// from the settings (Button, RadioBox).
template <class P>
class ButtonControl : public ComponentOf<P> {
public:
    using ComponentOf<P>::ComponentOf;

protected:
    virtual DWORD ButtonStyle() const = 0;
    void Restyle() override { ApplyButtonStyle(this->Hwnd(), ButtonStyle()); }
    bool BuildButton(const CreateArgs& args) {
        picture_ = ButtonPicture(this->props_.picture);
        if (!this->CreateWindowFor(args, {L"BUTTON", nullptr, ChildStyle(args.entry) | ButtonStyle(), 0,
                                          WideFromGbk(this->props_.caption)}))
            return false;
        this->ApplyFont(this->props_.font);
        picture_.ShowIn(this->Hwnd());
        return true;
    }

    ButtonPicture picture_;  // shown instead of the caption while it holds one
};

}  // namespace qelvane

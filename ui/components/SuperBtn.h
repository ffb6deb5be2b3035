// `SuperBtn` (超级按钮): a native BUTTON switched to owner drawing, with a picture
// per state, colours per state, three looks, hover tracking, a tooltip and sounds.
#pragma once

#include "ui/components/Component.h"
#include "ui/components/SuperBtnLayout.h"
#include "ui/pictures/KeyedBitmap.h"

namespace qelvane {

class SuperBtn final : public ComponentOf<SuperBtnProps>, private AccessibleSource {
public:
    static constexpr bool kTakesFocus = true;
    using ComponentOf::ComponentOf;
    ~SuperBtn() override;

    bool Build(const CreateArgs& args) override;
    bool OnReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    bool Hot() const { return hot_; }
    HWND ToolTipWindow() const { return toolTip_.get(); }

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void Repaint() override { InvalidateRect(Hwnd(), nullptr, FALSE); }
    void ApplyCaption(const Text& caption) override {
        Component::ApplyCaption(caption);
        Repaint();
    }
    void BeforeWrite(std::uint8_t own) override;
    void SchemeChanged() override;
    AccessibleSource* Accessible() override { return this; }
    bool Written(std::uint8_t own, const PropertyValue& old) override;

private:
    // A push button to a screen reader, named by its caption or else its tooltip.
    long AccRole() const override;
    std::wstring AccName() const override;
    std::wstring AccDescription() const override;
    long AccState(long systemState) const override;
    std::wstring AccDefaultAction() const override;
    bool AccDoDefaultAction() override;
    // What a click does, whoever clicks.
    void Clicked();

    void Draw(const DRAWITEMSTRUCT& item);
    // The six colours of the settings, with the scheme's where they stand for it.
    struct Colours {
        COLORREF fgOut, bkOut, fgIn, bkIn, fgFocus, bkFocus;
    };
    Colours DrawingColours() const;
    void DrawPicture(HDC dc, const RECT& item, const superbtn::ButtonState& state, RECT& caption);
    void DrawCaption(HDC dc, RECT c, const superbtn::ButtonState& state, bool highContrast);
    bool CheckBoxMode() const { return (kind_ & BS_CHECKBOX) != 0; }
    bool DefaultButton() const { return kind_ == BS_DEFPUSHBUTTON; }
    bool TracksHover() const { return props_.btnStyle != 1; }
    void TrackMouse();
    void LeaveHot();
    void PlaySoundOf(const Bytes& own);
    void StopOwnSound();
    void UpdateToolTip();
    void EnsureToolTip();

    KeyedBitmap picOut_, picIn_, picDisabled_;
    UniqueWindow toolTip_;
    bool toolAdded_ = false;
    bool hot_ = false;
    bool focusTakenByDisable_ = false;
    const void* playing_ = nullptr;  // sound bytes of ours the system may still read
    DWORD kind_ = BS_PUSHBUTTON;  // the button kind asked for, before owner drawing replaced it
    // The scheme's face and text colours, as at creation and then at each change of scheme.
    // The colours the settings took from them at creation stay as they were.
    COLORREF schemeFace_ = 0;
    COLORREF schemeText_ = 0;
};

template <> struct ComponentClass<SuperBtnProps> { using Type = SuperBtn; };

}  // namespace qelvane

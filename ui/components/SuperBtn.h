// `SuperBtn` (超级按钮): a native BUTTON switched to owner drawing, with a picture
// per state, colours per state, three looks, hover tracking, a tooltip and sounds.
#pragma once

#include <array>
#include <memory>

#include "ui/components/ComponentTypes.h"
#include "ui/components/SuperBtnLayout.h"

namespace qelvane {

class SuperBtn final : public Component {
public:
    static constexpr int kBtnStyle = 0, kCheckBox = 1, kChecked = 2, kAlignStyle = 3, kPressStyle = 4,
                         kDrawBorder = 5, kDrawFocus = 6, kPicOut = 7, kTransColorOut = 8, kPicIn = 9,
                         kTransColorIn = 10, kPicDisabled = 11, kTransColorDisabled = 12, kFont = 13,
                         kCaption = 14, kDefaultColor = 15, kFgColorOut = 16, kBkColorOut = 17, kFgColorIn = 18,
                         kBkColorIn = 19, kFgColorFocus = 20, kBkColorFocus = 21, kStandardSound = 22,
                         kOverSound = 23, kClickSound = 24, kToolTip = 25, kDefaultStyle = 26;
    static constexpr std::array<PropertyRow<SuperBtnProps>, 27> kProperties{{
        {ChoiceProperty("BtnStyle", 2), &SuperBtnProps::btnStyle},
        {TruthProperty("CheckBox"), &SuperBtnProps::checkBox},
        {TruthProperty("Checked"), &SuperBtnProps::checked},
        {ChoiceProperty("AlignStyle", 3), &SuperBtnProps::alignStyle},
        {ChoiceProperty("PressStyle", 1), &SuperBtnProps::pressStyle},
        {TruthProperty("DrawBorder"), &SuperBtnProps::drawBorder},
        {TruthProperty("DrawFocus"), &SuperBtnProps::drawFocus},
        {BlockProperty("PicOut"), &SuperBtnProps::picOut},
        {IntegerProperty("TransColorOut"), &SuperBtnProps::transColorOut},
        {BlockProperty("PicIn"), &SuperBtnProps::picIn},
        {IntegerProperty("TransColorIn"), &SuperBtnProps::transColorIn},
        {BlockProperty("PicDisabled"), &SuperBtnProps::picDisabled},
        {IntegerProperty("TransColorDisabled"), &SuperBtnProps::transColorDisabled},
        {BlockProperty("font"), &SuperBtnProps::font},
        {TextProperty("caption"), &SuperBtnProps::caption},
        {TruthProperty("DefaultColor"), &SuperBtnProps::defaultColor},
        {IntegerProperty("FgColorOut"), &SuperBtnProps::fgColorOut},
        {IntegerProperty("BkColorOut"), &SuperBtnProps::bkColorOut},
        {IntegerProperty("FgColorIn"), &SuperBtnProps::fgColorIn},
        {IntegerProperty("BkColorIn"), &SuperBtnProps::bkColorIn},
        {IntegerProperty("FgColorFocus"), &SuperBtnProps::fgColorFocus},
        {IntegerProperty("BkColorFocus"), &SuperBtnProps::bkColorFocus},
        {TruthProperty("StandardSound"), &SuperBtnProps::standardSound},
        {BlockProperty("OverSound"), &SuperBtnProps::overSound},
        {BlockProperty("ClickSound"), &SuperBtnProps::clickSound},
        {TextProperty("ToolTip"), &SuperBtnProps::toolTip},
        {ChoiceProperty("DefaultStyle", 1), &SuperBtnProps::defaultStyle},
    }};

    static std::unique_ptr<Component> Create(const CreateArgs& args);
    static void ReleaseShared() {}
    ~SuperBtn() override;

    PropertyValue Read(int own) { return ReadField(kProperties, props_, own); }
    bool Apply(int own, const PropertyValue& value);
    TypeSettings Settings() const { return props_; }

    bool OnReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    bool Hot() const { return hot_; }
    HWND ToolTipWindow() const { return toolTip_.get(); }

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    template <class T, class P>
    friend std::unique_ptr<Component> MakeComponent(TypeCode, const CreateArgs&);
    SuperBtn(const ComponentType& type, ComponentHost& host, const ComponentEntry& entry);
    // A picture made ready for drawing: the bitmap with its transparent pixels
    // turned black, and the mask that is 1 where they were.
    struct Picture {
        UniqueBitmap image;
        UniqueBitmap mask;
        int width = 0;
        int height = 0;
        explicit operator bool() const { return static_cast<bool>(image); }
    };
    static Picture MakePicture(const Bytes& bytes, std::uint32_t transparent);

    bool Build(const CreateArgs& args);
    void ApplyFont();
    void Draw(const DRAWITEMSTRUCT& item);
    void DrawPicture(HDC dc, const RECT& item, const superbtn::ButtonState& state, RECT& caption);
    void DrawCaption(HDC dc, RECT c, const superbtn::ButtonState& state);
    bool CheckBoxMode() const { return (kind_ & BS_CHECKBOX) != 0; }
    bool DefaultButton() const { return kind_ == BS_DEFPUSHBUTTON; }
    bool TracksHover() const { return props_.btnStyle != 1; }
    void TrackMouse();
    void LeaveHot();
    void PlaySoundOf(const Bytes& own);
    void StopOwnSound();
    void UpdateToolTip();
    void EnsureToolTip();

    SuperBtnProps props_;
    UniqueFont font_;
    Picture picOut_, picIn_, picDisabled_;
    UniqueWindow toolTip_;
    bool toolAdded_ = false;
    bool hot_ = false;
    bool focusTakenByDisable_ = false;
    const void* playing_ = nullptr;  // sound bytes of ours the system may still read
    DWORD kind_ = BS_PUSHBUTTON;  // the button kind asked for, before owner drawing replaced it
};

namespace testing {
// Replaces PlaySound for the image buttons; gets what PlaySound would: the WAV
// bytes (SND_MEMORY), the resource name (SND_RESOURCE), or null to stop.
using SoundHook = void (*)(const void* sound, DWORD flags);
void SetSoundHook(SoundHook hook);
}  // namespace testing

}  // namespace qelvane

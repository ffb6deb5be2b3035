// `SuperBtn` (超级按钮): a native BUTTON switched to owner drawing, with its own
// colours, font and caption. Pictures, hover, sounds and the tooltip build on this.
#pragma once

#include <array>
#include <memory>

#include "ui/components/ComponentTypes.h"

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

    PropertyValue Read(int own) { return ReadField(kProperties, props_, own); }
    bool Apply(int own, const PropertyValue& value);
    TypeSettings Settings() const { return props_; }

    bool OnReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    template <class T, class P>
    friend std::unique_ptr<Component> MakeComponent(TypeCode, const CreateArgs&);
    SuperBtn(const ComponentType& type, ComponentHost& host, const ComponentEntry& entry);
    bool Build(const CreateArgs& args);
    void Draw(const DRAWITEMSTRUCT& item);

    SuperBtnProps props_;
    UniqueFont font_;
    DWORD kind_ = BS_PUSHBUTTON;  // the button kind asked for, before owner drawing replaced it
};

}  // namespace qelvane

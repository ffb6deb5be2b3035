// `RadioBox` (单选框): a native automatic radio button with wrapping text.
#pragma once

#include <array>
#include <memory>

#include "ui/components/ButtonStyles.h"
#include "ui/components/ComponentTypes.h"

namespace qelvane {

class RadioBox final : public Component {
public:
    static constexpr int kPicture = 0, kPushLike = 1, kFlat = 2, kCaption = 3, kLeftText = 4, kHAlign = 5,
                         kVAlign = 6, kTextColor = 7, kBackColor = 8, kFont = 9, kChecked = 10;
    static constexpr std::array<PropertyRow<RadioBoxProps>, 11> kProperties{{
        {BlockProperty("picture"), &RadioBoxProps::picture},
        {TruthProperty("PushLike"), &RadioBoxProps::pushLike},
        {TruthProperty("Flat"), &RadioBoxProps::flat},
        {TextProperty("caption"), &RadioBoxProps::caption},
        {TruthProperty("LeftText"), &RadioBoxProps::leftText},
        {ChoiceProperty("HAlign", 2), &RadioBoxProps::hAlign},
        {ChoiceProperty("VAlign", 2), &RadioBoxProps::vAlign},
        {IntegerProperty("TextColor"), &RadioBoxProps::textColor},
        {IntegerProperty("BackColor"), &RadioBoxProps::backColor},
        {BlockProperty("font"), &RadioBoxProps::font},
        {TruthProperty("Checked"), &RadioBoxProps::checked},
    }};

    static std::unique_ptr<Component> Create(const CreateArgs& args);
    static void ReleaseShared() {}

    PropertyValue Read(int own);
    bool Apply(int own, const PropertyValue& value);
    TypeSettings Settings() const;

    bool OnReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    template <class T, class P>
    friend std::unique_ptr<Component> MakeComponent(TypeCode, const CreateArgs&);
    RadioBox(const ComponentType& type, ComponentHost& host, const ComponentEntry& entry);
    bool Build(const CreateArgs& args);
    DWORD ButtonStyle() const;
    bool NativeChecked() const;

    RadioBoxProps props_;
    UniqueFont font_;
    UniqueBrush back_;  // null while the background is the face colour (system brush, not ours)
    ButtonPicture picture_;  // shown instead of the caption while it holds one
    bool focusing_ = false;  // inside WM_SETFOCUS: click notices then are no clicks
};

}  // namespace qelvane

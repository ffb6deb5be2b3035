// `Button` (按钮): a native push button with wrapping, centred text.
#pragma once

#include <array>
#include <memory>

#include "ui/components/ButtonStyles.h"
#include "ui/components/ComponentTypes.h"

namespace qelvane {

class Button final : public Component {
public:
    static constexpr int kPicture = 0, kButtonType = 1, kCaption = 2, kHAlign = 3, kVAlign = 4, kFont = 5;
    static constexpr std::array<PropertyRow<ButtonProps>, 6> kProperties{{
        {BlockProperty("picture"), &ButtonProps::picture},
        {ChoiceProperty("ButtonType", 1), &ButtonProps::buttonType},
        {TextProperty("caption"), &ButtonProps::caption},
        {ChoiceProperty("HAlign", 2), &ButtonProps::hAlign},
        {ChoiceProperty("VAlign", 2), &ButtonProps::vAlign},
        {BlockProperty("font"), &ButtonProps::font},
    }};

    static std::unique_ptr<Component> Create(const CreateArgs& args);
    static void ReleaseShared() {}

    PropertyValue Read(int own) { return ReadField(kProperties, props_, own); }
    bool Apply(int own, const PropertyValue& value);
    TypeSettings Settings() const { return props_; }

    bool OnReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    template <class T, class P>
    friend std::unique_ptr<Component> MakeComponent(TypeCode, const CreateArgs&);
    Button(const ComponentType& type, ComponentHost& host, const ComponentEntry& entry);
    bool Build(const CreateArgs& args);
    DWORD ButtonStyle() const;

    ButtonProps props_;
    UniqueFont font_;
    ButtonPicture picture_;  // shown instead of the caption while it holds one
};

}  // namespace qelvane

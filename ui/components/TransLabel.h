// `TransLabel` (透明标签): a child window of our own class that paints only its
// text, so what lies beneath shows through.
#pragma once

#include <array>
#include <memory>

#include "ui/components/ComponentTypes.h"

namespace qelvane {

class TransLabel final : public Component {
public:
    static constexpr int kCaption = 0, kTextEffect = 1, kFont = 2, kTextColor = 3, kHAlign = 4, kWordWrap = 5,
                         kVAlign = 6;
    static constexpr std::array<PropertyRow<TransLabelProps>, 7> kProperties{{
        {TextProperty("caption"), &TransLabelProps::caption},
        {ChoiceProperty("TextEffect", 3), &TransLabelProps::textEffect},
        {BlockProperty("font"), &TransLabelProps::font},
        {IntegerProperty("TextColor"), &TransLabelProps::textColor},
        {ChoiceProperty("HAlign", 2), &TransLabelProps::hAlign},
        {TruthProperty("WordWrap"), &TransLabelProps::wordWrap},
        {ChoiceProperty("VAlign", 2), &TransLabelProps::vAlign},
    }};
    static constexpr wchar_t kClassName[] = L"Qelvane.TransLabel";

    static std::unique_ptr<Component> Create(const CreateArgs& args);
    static void ReleaseShared();

    PropertyValue Read(int own) { return ReadField(kProperties, props_, own); }
    bool Apply(int own, const PropertyValue& value);
    TypeSettings Settings() const { return props_; }

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    template <class T, class P>
    friend std::unique_ptr<Component> MakeComponent(TypeCode, const CreateArgs&);
    TransLabel(const ComponentType& type, ComponentHost& host, const ComponentEntry& entry);
    bool Build(const CreateArgs& args);
    void Paint(HDC dc);
    void TransparentRepaint();

    TransLabelProps props_;
    UniqueFont font_;
};

}  // namespace qelvane

// `PicBox` (图片框): a child window of our own class filled with its background
// colour, its picture drawn over it by its draw mode.
#pragma once

#include <array>
#include <memory>
#include <optional>

#include "ui/components/ComponentTypes.h"
#include "ui/components/Picture.h"

namespace qelvane {

class PicBox final : public Component {
public:
    static constexpr int kBorder = 0, kBackColor = 1, kPicture = 2, kDrawMode = 3, kPlayAnimation = 4,
                         kDataSource = 5, kDataColumn = 6;
    static constexpr std::array<PropertyRow<PicBoxProps>, 7> kProperties{{
        {ChoiceProperty("border", 5), &PicBoxProps::border},
        {IntegerProperty("BackColor"), &PicBoxProps::backColor},
        {BlockProperty("picture"), &PicBoxProps::picture},
        {ChoiceProperty("DrawMode", 2), &PicBoxProps::drawMode},
        {TruthProperty("PlayAnimation"), &PicBoxProps::playAnimation},
        {TextProperty("DataSource"), &PicBoxProps::dataSource},
        {TextProperty("DataColumn"), &PicBoxProps::dataColumn},
    }};
    static constexpr wchar_t kClassName[] = L"Qelvane.PicBox";

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
    PicBox(const ComponentType& type, ComponentHost& host, const ComponentEntry& entry);
    bool Build(const CreateArgs& args);
    void ApplyBorder();
    void DecodeOwnPicture();
    void Paint(HDC dc);

    PicBoxProps props_;
    UniqueBrush back_;
    std::optional<DecodedPicture> decoded_;  // decoded once per `picture`, never while painting
};

}  // namespace qelvane

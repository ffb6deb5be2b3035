// `PicBox` (图片框): a child window of our own class filled with its background
// colour, its picture drawn over it by its draw mode.
#pragma once

#include <optional>

#include "ui/components/Component.h"
#include "ui/components/Picture.h"

namespace qelvane {

class PicBox final : public Component {
public:
    using Props = PicBoxProps;
    PicBox(ComponentHost& host, const ComponentEntry& entry) : Component(host, entry), props_(PropsAs<Props>()) {}

    bool Build(const CreateArgs& args) override;

protected:
    bool PaintsItself() const override { return true; }
    void Paint(HDC dc) override;
    void Restyle() override;  // the border
    bool Written(const FieldRow& row, const PropertyValue& old) override;

private:
    void DecodeOwnPicture();

    Props& props_;
    UniqueBrush back_;
    std::optional<DecodedPicture> decoded_;  // decoded once per `picture`, never while painting
};

}  // namespace qelvane

// `TransLabel` (透明标签): a child window of our own class that paints only its
// text, so what lies beneath shows through.
#pragma once

#include "ui/components/Component.h"

namespace qelvane {

class TransLabel final : public Component {
public:
    using Props = TransLabelProps;
    TransLabel(ComponentHost& host, const ComponentEntry& entry) : Component(host, entry), props_(PropsAs<Props>()) {}

    bool Build(const CreateArgs& args) override;

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool PaintsItself() const override { return true; }
    void Paint(HDC dc) override;
    // The label has no background: a change repaints what lies beneath it first.
    void Repaint() override;
    void ApplyCaption(const Text& caption) override;
    void ApplyFont(const Bytes& font) override;

private:
    Props& props_;
};

}  // namespace qelvane

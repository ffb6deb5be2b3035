// `Tab` (选择夹): the common tab control, one page per caption; its pages'
// components are shown and hidden by the window layer's page sync.
#pragma once

#include "ui/components/Component.h"

namespace qelvane {

class Tab final : public Component {
public:
    using Props = TabProps;
    Tab(ComponentHost& host, const ComponentEntry& entry) : Component(host, entry), props_(PropsAs<Props>()) {}

    bool Build(const CreateArgs& args) override;
    // The selected page, -1 when none; without headers the stored page.
    std::optional<std::int32_t> CurrentPage() const override;
    int PageCount() const;
    bool OnReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool PaintsItself() const override { return headerless_; }
    void Paint(HDC dc) override;
    void Repaint() override;
    void Restyle() override;
    bool Written(const FieldRow& row, const PropertyValue& old) override;
    bool ReadLive(const FieldRow& row, PropertyValue& value) override;

private:
    bool Headerless() const { return props_.hideHeader != 0; }

    Props& props_;
    bool headerless_ = false;  // built as a plain container; HideHeader counts only at creation
};

}  // namespace qelvane

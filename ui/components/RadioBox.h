// `RadioBox` (单选框): a native automatic radio button with wrapping text.
#pragma once

#include "ui/components/ButtonStyles.h"
#include "ui/components/Component.h"

namespace qelvane {

class RadioBox final : public Component {
public:
    using Props = RadioBoxProps;
    RadioBox(ComponentHost& host, const ComponentEntry& entry) : Component(host, entry), props_(PropsAs<Props>()) {}

    bool Build(const CreateArgs& args) override;
    bool OnReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void Repaint() override;
    void Restyle() override { ApplyButtonStyle(Hwnd(), ButtonStyle()); }
    bool Written(const FieldRow& row, const PropertyValue& old) override;
    bool ReadLive(const FieldRow& row, PropertyValue& value) override;
    void SyncSettings() override { props_.checked = NativeChecked() ? 1 : 0; }

private:
    DWORD ButtonStyle() const;
    bool NativeChecked() const;

    Props& props_;
    UniqueBrush back_;  // null while the background is the face colour (system brush, not ours)
    ButtonPicture picture_;  // shown instead of the caption while it holds one
    bool focusing_ = false;  // inside WM_SETFOCUS: click notices then are no clicks
};

}  // namespace qelvane

// `Button` (按钮): a native push button with wrapping, centred text.
#pragma once

#include "ui/components/ButtonStyles.h"
#include "ui/components/Component.h"

namespace qelvane {

class Button final : public Component {
public:
    using Props = ButtonProps;
    Button(ComponentHost& host, const ComponentEntry& entry) : Component(host, entry), props_(PropsAs<Props>()) {}

    bool Build(const CreateArgs& args) override;
    bool OnReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    void Restyle() override { ApplyButtonStyle(Hwnd(), ButtonStyle()); }

private:
    DWORD ButtonStyle() const;

    Props& props_;
    ButtonPicture picture_;  // shown instead of the caption while it holds one
};

}  // namespace qelvane

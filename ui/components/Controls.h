// The component types built on a system control or a plain window of ours:
// what each does differently from the Component base. (SuperBtn, larger, has
// its own header.)
#pragma once

#include <oleacc.h>

#include <optional>

#include "ui/components/ButtonStyles.h"
#include "ui/components/Component.h"
#include "ui/pictures/Picture.h"

namespace qelvane {

// `Tab` (选择夹): the common tab control, one page per caption; its pages'
// components are shown and hidden by the window layer's page sync.
class Tab final : public ComponentOf<TabProps> {
public:
    using ComponentOf::ComponentOf;

    bool Build(const CreateArgs& args) override;
    // The selected page, -1 when none; without headers the stored page.
    std::optional<std::int32_t> CurrentPage() const override;
    int PageCount() const;
    // A page index brought into the pages there are (0 when there are none).
    std::int32_t ClampedPage(std::int32_t page) const;
    bool OnReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool PaintsItself() const override { return headerless_; }
    void Paint(HDC dc) override;
    void Repaint() override;
    void Restyle() override;
    bool Written(std::uint8_t own, const PropertyValue& old) override;
    bool ReadLive(const FieldRow& row, PropertyValue& value) override;

private:
    bool Headerless() const { return props_.hideHeader != 0; }
    bool PaintThroughCache();
    bool PrintFromCache(HDC dc);

    bool headerless_ = false;  // built as a plain container; HideHeader counts only at creation
    // The control's own last painting. Under some themes its pane is slow to draw, and each
    // transparent radio box on it asks for the pane beneath it again (WM_PRINTCLIENT).
    UniqueBitmap painted_;
    SIZE paintedSize_{};
    bool paintedWhole_ = false;
};

// `RadioBox` (单选框): a native automatic radio button with wrapping text.
class RadioBox final : public ButtonControl<RadioBoxProps> {
public:
    static constexpr bool kTakesFocus = true;
    static constexpr bool kInRadioGroups = true;
    using ButtonControl::ButtonControl;

    bool Build(const CreateArgs& args) override;
    bool OnReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void Repaint() override;
    void SchemeChanged() override { MakeBackground(); }
    bool Written(std::uint8_t own, const PropertyValue& old) override;
    bool ReadLive(const FieldRow& row, PropertyValue& value) override;
    void SyncSettings() override { props_.checked = NativeChecked() ? 1 : 0; }

private:
    DWORD ButtonStyle() const override;
    bool NativeChecked() const;
    void MakeBackground();

    UniqueBrush back_;  // null while the background is the face colour (system brush, not ours)
    bool focusing_ = false;  // inside WM_SETFOCUS: click notices then are no clicks
};

// `Button` (按钮): a native push button with wrapping, centred text.
class Button final : public ButtonControl<ButtonProps> {
public:
    static constexpr bool kTakesFocus = true;
    // A push button of type 1: Enter clicks it.
    static bool IsDefaultButton(HWND hwnd);
    using ButtonControl::ButtonControl;

    bool Build(const CreateArgs& args) override;
    bool OnReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    DWORD ButtonStyle() const override;
};

// `TransLabel` (透明标签): a child window of our own class that paints only its
// text, so what lies beneath shows through.
class TransLabel final : public ComponentOf<TransLabelProps>, private AccessibleSource {
public:
    using ComponentOf::ComponentOf;

    bool Build(const CreateArgs& args) override;

protected:
    // Read-only static text to a screen reader, a polite live region: a new price is spoken.
    AccessibleSource* Accessible() override { return this; }
    long AccRole() const override { return ROLE_SYSTEM_STATICTEXT; }
    std::wstring AccName() const override;
    long AccState(long systemState) const override { return systemState | STATE_SYSTEM_READONLY; }
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool PaintsItself() const override { return true; }
    void Paint(HDC dc) override;
    // The label has no background: a change repaints what lies beneath it first.
    void Repaint() override;
    void ApplyCaption(const Text& caption) override;
    void ApplyFont(const Bytes& font) override;

private:
    static constexpr UINT kMsgAnnounce = WM_APP + 0x52;  // posted to ourselves after a caption change
    void Announce();
    std::wstring announced_;  // the text screen readers last heard of
    bool announcePending_ = false;
};

// `PicBox` (图片框): a child window of our own class filled with its background
// colour, its picture drawn over it by its draw mode.
class PicBox final : public ComponentOf<PicBoxProps>, private AccessibleSource {
public:
    using ComponentOf::ComponentOf;

    bool Build(const CreateArgs& args) override;

protected:
    // A graphic to a screen reader, named by the component's tag.
    AccessibleSource* Accessible() override { return this; }
    long AccRole() const override { return ROLE_SYSTEM_GRAPHIC; }
    std::wstring AccName() const override;
    long AccState(long systemState) const override { return systemState | STATE_SYSTEM_READONLY; }
    bool PaintsItself() const override { return true; }
    void Paint(HDC dc) override;
    void Restyle() override;  // the border
    void SchemeChanged() override { MakeBackground(); }
    bool Written(std::uint8_t own, const PropertyValue& old) override;

private:
    void DecodeOwnPicture();
    COLORREF Background() const;
    void MakeBackground();

    UniqueBrush back_;
    std::optional<DecodedPicture> decoded_;  // decoded once per `picture`, never while painting
};

// clang-format off
template <> struct ComponentClass<TabProps> { using Type = Tab; };
template <> struct ComponentClass<RadioBoxProps> { using Type = RadioBox; };
template <> struct ComponentClass<ButtonProps> { using Type = Button; };
template <> struct ComponentClass<TransLabelProps> { using Type = TransLabel; };
template <> struct ComponentClass<PicBoxProps> { using Type = PicBox; };
// clang-format on

}  // namespace qelvane

// What every component type shares: the base that owns the native window and
// the settings, serves the type's own properties through its schema, and runs
// the write effects; and the table of types the window layer builds from.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "base/WinHandles.h"
#include "base/WindowClass.h"
#include "ui/system/DisplayScale.h"
#include "ui/system/Accessible.h"
#include "ui/form/FormModel.h"
#include "ui/form/OwnEffects.h"
#include "ui/form/Schema.h"
#include "ui/components/WindowEvents.h"

namespace qelvane {

// In the 64-bit property slot a byte block travels as a pointer to this.
struct ByteBlockRef {
    const std::uint8_t* data = nullptr;
    std::uint32_t size = 0;
};

// Where the last window build failed and the system's error code then, so that a failed start
// can be told apart from an emulator fault. Written by the step that fails.
struct BuildFailure {
    const char* step = nullptr;
    std::uint32_t component = 0;
    unsigned long error = 0;
};
BuildFailure& LastBuildFailure();
inline void NoteBuildFailure(const char* step) {
    const DWORD error = GetLastError();
    LastBuildFailure().step = step;
    LastBuildFailure().error = error;
}

class Component;

// What a component needs from the window that holds it.
class ComponentHost {
public:
    // Raises an event of the component; nothing while the window is torn down.
    virtual EventOutcome Raise(std::uint32_t componentId, std::int32_t event, bool wantResult) = 0;
    virtual Component* ComponentFromHwnd(HWND hwnd) = 0;
    // Brings the page of a container to the front (shows its components, hides the others).
    virtual void SyncPage(std::uint32_t containerId, std::int32_t page, bool withFocus) = 0;
    // A radio box was clicked: the other boxes of its group that are in view lose their check.
    virtual void RadioClicked(std::uint32_t componentId) = 0;
    // From form units to the window's pixels.
    virtual DisplayScale Scale() const = 0;
    // The record of a component (its tag, place and flags as they are now); null for none.
    virtual const ComponentEntry* Record(std::uint32_t componentId) = 0;

protected:
    ~ComponentHost() = default;
};

struct CreateArgs {
    const ComponentEntry& entry;
    HWND parent;
    int controlId;
    ComponentHost& host;
};

// The native window a type asks for. Without `ownClass` it is a system control
// (e.g. "BUTTON"), subclassed at once; with it, a window of one of our classes.
struct WindowSpec {
    const wchar_t* systemClass = nullptr;
    WindowClass* ownClass = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    std::wstring text;
};

// Base of every built component.
class Component {
public:
    // The type table's traits; a type that differs says so in its own class.
    static constexpr bool kTakesFocus = false;
    static constexpr bool kInRadioGroups = false;

    Component(ComponentHost& host, const ComponentEntry& entry);
    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;
    virtual ~Component();

    HWND Hwnd() const { return window_.get(); }
    std::uint32_t Id() const { return id_; }
    const TypeSchema& Schema() const { return schema_; }
    ComponentHost& Host() const { return host_; }
    // Inside one of its own messages: destroying it now would pull the floor away.
    bool Busy() const { return depth_ > 0; }

    virtual bool Build(const CreateArgs& args) = 0;

    // The type's own properties (numbers from 8), by their schema rows. A write
    // returns whether the component must be re-created from its settings.
    PropertyValue Read(const FieldRow& row);
    bool Write(const FieldRow& row, const PropertyValue& value);
    // The current settings, for re-creation.
    TypeSettings Settings();
    // For a page container, the page in front (-1 for none).
    virtual std::optional<std::int32_t> CurrentPage() const { return std::nullopt; }

    // A notification the parent received from this component (WM_COMMAND,
    // WM_NOTIFY, WM_DRAWITEM, WM_CTLCOLOR*), handed back to it. True when handled.
    virtual bool OnReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

    EventOutcome Raise(std::int32_t event, bool wantResult = false);

    // The colour scheme changed (it has been read again): brushes and colours made from it
    // are made again. The window repaints everything afterwards.
    virtual void SchemeChanged() {}

    // For OwnerWindowProc: the handle of a window of our class, before CreateWindowEx returns.
    void AdoptWindow(HWND hwnd) { window_.reset(hwnd); }

protected:
    template <class Props>
    Props& PropsAs() {
        return std::get<Props>(settings_);
    }
    bool CreateWindowFor(const CreateArgs& args, const WindowSpec& spec);
    // Type-specific messages; true when handled (result set).
    virtual bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam);
    // Types that paint themselves: called for WM_PAINT and WM_PRINTCLIENT alike,
    // and the background is left to it.
    virtual bool PaintsItself() const { return false; }
    virtual void Paint(HDC) {}

    // Write effects (the rows say which); the defaults suit a system control.
    virtual void Repaint() { InvalidateRect(Hwnd(), nullptr, TRUE); }
    virtual void Restyle() {}
    virtual void ApplyCaption(const Text& caption);
    virtual void ApplyFont(const Bytes& font);
    // Effects of the type's own, as the row names them (`own`, from OwnEffects.h): before the
    // value is stored, and after it (with the old value). True: re-create the component.
    virtual void BeforeWrite(std::uint8_t own) { (void)own; }
    virtual bool Written(std::uint8_t own, const PropertyValue& old) {
        (void)own;
        (void)old;
        return false;
    }
    // A value that lives in the native control rather than in the settings.
    virtual bool ReadLive(const FieldRow&, PropertyValue&) { return false; }
    virtual void SyncSettings() {}
    // What a screen reader is told where the system's own object gets it wrong; null leaves the
    // window to the system's object.
    virtual AccessibleSource* Accessible() { return nullptr; }
    // Whether the row stores into `field` of this component's settings.
    bool Is(const FieldRow& row, const void* field) const { return row.In(PropsIn(settings_)) == field; }
    // The font to draw with: the component's own, else the stock GUI font.
    HFONT Font() const;

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR refData);
    friend LRESULT CALLBACK OwnerWindowProc<Component>(HWND, UINT, WPARAM, LPARAM);
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    // The same, inside the depth count: the type's own handling first, then the shared.
    LRESULT Dispatch(UINT msg, WPARAM wParam, LPARAM lParam);
    void PaintNow();  // WM_PAINT
    void Detach();

    ComponentHost& host_;
    std::uint32_t id_;
    TypeSettings settings_;
    const TypeSchema& schema_;
    bool takesFocus_;
    UniqueWindow window_;
    UniqueFont font_;
    AccessibleAnswer accessible_;
    bool subclassed_ = false;
    int depth_ = 0;
};

// The base with the settings of one type at hand, as `props_`.
template <class P>
class ComponentOf : public Component {
public:
    using Props = P;
    ComponentOf(ComponentHost& host, const ComponentEntry& entry) : Component(host, entry), props_(PropsAs<P>()) {}

protected:
    P& props_;
};

// What the window layer asks of a type. One entry per alternative of TypeSettings, made from
// the type's class (ComponentClass below): a settings type without a class does not compile.
struct ComponentType {
    TypeCode code;
    std::unique_ptr<Component> (*create)(const CreateArgs& args);  // null for the window
    bool takesFocus;
    bool inRadioGroups;  // the arrows move its check through its group; a click unchecks the rest
    // Whether this built component is the button Enter clicks; null for types that never are.
    bool (*isDefaultButton)(HWND hwnd);
};
// Null for an unknown code and for the window, which the window layer builds itself.
const ComponentType* FindComponentType(TypeCode code);

// The component class of a settings type, declared beside the class:
//   template <> struct ComponentClass<TabProps> { using Type = Tab; };
// The class gives its traits as `static constexpr bool kTakesFocus`, `kInRadioGroups`, and
// a `static bool IsDefaultButton(HWND)` where it can be the default button.
template <class Props>
struct ComponentClass;
// The window is built by the window layer, not from the table.
template <>
struct ComponentClass<WindowProps> {
    using Type = void;
};

// Hands a child's notification to the child's component; used by every parent
// that can hold components (the window, the tab control).
bool ReflectToChild(ComponentHost& host, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

// Child window styles every type starts from, with the entry's flags; never visible at creation.
DWORD ChildStyle(const ComponentEntry& entry, bool clipSiblings = true);

// A font from a 60-byte LOGFONTA with the fixed overrides, its sizes scaled from form units;
// empty for any other length.
UniqueFont FontFromBlock(const Bytes& logFont, const DisplayScale& scale);
// SystemFaceColour resolved to the current button-face colour (as the scheme was last read).
COLORREF ResolveColour(std::uint32_t colour);

}  // namespace qelvane

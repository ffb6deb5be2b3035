// The window layer: builds a program window from its decoded template, keeps
// per component the built object and its entry, answers property reads and
// writes by number, and keeps its pages and close rules; its keyboard and
// focus are a WindowKeyboard's. Events leave through the WindowEvents it was
// built with. Building is in WindowLayer.cpp, pages in WindowPages.cpp,
// property access in WindowProperties.cpp.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "base/WinHandles.h"
#include "ui/window/WindowKeyboard.h"
#include "ui/form/FormModel.h"
#include "ui/components/Component.h"

namespace qelvane {

struct ComponentSlot {
    ComponentEntry entry;  // as loaded; tag, visible, disable, cursor and rectangle follow writes
    const ComponentType* type = nullptr;
    std::unique_ptr<Component> object;
    int container = -1;  // slot of the Tab that lists it on a page, or -1
    int page = -1;       // its page there
};

class FormWindow final : public ComponentHost {
public:
    // Creates the window and its components, hidden and stacked; null when a
    // block is unusable or a native window cannot be created.
    static std::unique_ptr<FormWindow> Build(const WindowTemplate& form, WindowEvents& events);
    // Shows what is visible, the window itself, and brings the pages to the front.
    // Separate from Build so that the runtime knows the window before its first events.
    void Open();
    ~FormWindow();

    std::uint32_t Id() const { return id_; }
    HWND Hwnd() const { return window_.get(); }
    const ComponentEntry& OwnEntry() const { return self_; }

    // Component record by identifier (null when the window has none).
    ComponentSlot* Slot(std::uint32_t componentId);
    std::span<const ComponentSlot> Slots() const { return slots_; }
    // The record of a component, or of the window itself for 0 and its own identifier.
    const ComponentEntry* Record(std::uint32_t componentId) override;
    // The slot whose component has this native window, or -1.
    int IndexOf(HWND hwnd) const;
    const WindowProps& Props() const { return props_; }
    // False once the window is going: no routine runs for it any more.
    bool EventsOpen() const { return eventsOpen_; }

    // Property access by number (WindowProperties.cpp): 0-7 are common to every component and
    // to the window itself, from 8 on the type's own. Values travel in the routines' 64-bit
    // slot: a number or truth, or a pointer to a text or a byte block.
    enum class Access {
        Done,
        NoProperty,      // no such component or number: nothing happens
        NoNativeWindow,  // the component's native window is gone
    };
    // A text or block read points into storage that the next read of one replaces.
    Access ReadSlot(std::uint32_t componentId, std::int32_t number, std::uint64_t& slot);
    // Clamps choices, applies, and re-creates the component where its row asks for it.
    Access WriteSlot(std::uint32_t componentId, std::int32_t number, std::uint64_t slot);

    // Keyboard handling before the focused control sees the key.
    bool PreTranslate(const MSG& msg) { return keyboard_.PreTranslate(msg); }

    // Builds the window again at `dpi`, placed at `suggested` (screen pixels) or where it is.
    // Records and properties stay in form units.
    void Rescale(int dpi, const RECT* suggested);

    // For OwnerWindowProc: the handle, before CreateWindowEx returns it.
    void AdoptWindow(HWND hwnd) { window_.reset(hwnd); }

    // ComponentHost
    EventOutcome Raise(std::uint32_t componentId, std::int32_t event, bool wantResult) override;
    Component* ComponentFromHwnd(HWND hwnd) override;
    void SyncPage(std::uint32_t containerId, std::int32_t page, bool withFocus) override;
    void RadioClicked(std::uint32_t componentId) override { keyboard_.RadioClicked(componentId); }
    DisplayScale Scale() const override { return scale_; }

    // Unregisters the window classes of the windows and components.
    static void ReleaseShared();

private:
    FormWindow(const WindowTemplate& form, WindowEvents& events);
    // What a (component, number) pair names, resolved once per access.
    struct PropertyTarget {
        Access status = Access::NoProperty;
        const FieldRow* row = nullptr;
        bool common = false;              // 0-7, over the record
        ComponentEntry* entry = nullptr;  // the record (null for a component the window lacks)
        HWND hwnd = nullptr;              // its native window, while it stands
        ComponentSlot* slot = nullptr;    // null for the window itself
    };
    PropertyTarget Resolve(std::uint32_t componentId, std::int32_t number);
    PropertyValue ReadCommon(const PropertyTarget& t);
    void WriteCommon(const PropertyTarget& t, const PropertyValue& value);
    // Its rectangle counted from its parent's client area, in pixels and in form units.
    static RECT RectInParent(HWND hwnd);
    DisplayScale::Box FormRectOf(HWND hwnd) const;
    static DisplayScale::Box BoxOf(const ComponentEntry& e) { return {e.left, e.top, e.width, e.height}; }
    static void SetBox(ComponentEntry& e, const DisplayScale::Box& b);
    // Re-creates a component from its current settings (deferred while it is inside its own message).
    void Recreate(std::uint32_t componentId);
    bool CreateNativeWindow();
    bool CreateComponents();
    void Place(ComponentSlot& slot);
    void StackInFormOrder();

    std::unique_ptr<Component> CreateObject(const ComponentEntry& entry, int index);
    bool ShouldShow(const ComponentSlot& slot);
    // Re-creates it from its record; from its live window's state first unless the caller recorded that.
    void RecreateNow(std::size_t index, bool recordLiveState = true);
    void Close();
    // The user changed colours, contrast or theme: every component follows, at once.
    void SchemeChanged(UINT msg);

    friend LRESULT CALLBACK OwnerWindowProc<FormWindow>(HWND, UINT, WPARAM, LPARAM);
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

    std::uint32_t id_;
    WindowEvents& events_;
    ComponentEntry self_;
    WindowProps props_;
    std::vector<ComponentSlot> slots_;
    UniqueWindow window_;
    bool eventsOpen_ = true;
    WindowKeyboard keyboard_{*this};
    DisplayScale scale_;  // the system's DPI when the window was built, or its monitor's since
};

}  // namespace qelvane

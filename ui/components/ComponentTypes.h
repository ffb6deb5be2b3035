// The component types and what they share: one table per type (type code,
// names, create, read, apply, takes focus) and per type a table of
// its own properties by number. The runtime and the window layer dispatch
// through these tables only.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <type_traits>
#include <variant>

#include "base/WinHandles.h"
#include "ui/FormModel.h"
#include "ui/WindowEvents.h"

namespace qelvane {

// Declared value types of properties; the runtime converts by these.
enum class ValueType : std::uint32_t {
    Integer = 1001,
    Truth = 1003,
    String = 1005,  // text: GBK, zero-terminated in the slot
    Block = 1006,  // picture, font, sound, page captions: a byte block
};

struct PropertyInfo {
    const char* name;
    ValueType type;
    bool clamped = false;  // a written value is clamped into [min, max]
    std::int32_t min = 0;
    std::int32_t max = 0;
};

// A value as a component type reads or receives it: integers and truth values
// in `number`, texts (GBK) and byte blocks in `bytes`.
struct PropertyValue {
    std::int32_t number = 0;
    std::string bytes;
};

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

protected:
    ~ComponentHost() = default;
};

struct CreateArgs {
    const ComponentEntry& entry;
    HWND parent;
    int controlId;
    ComponentHost& host;
};

struct ComponentType {
    TypeCode code;
    const char* englishName;
    const char* chineseName;  // GBK
    // Null for the window type: the window layer builds windows itself.
    std::unique_ptr<Component> (*create)(const CreateArgs& args);
    PropertyValue (*read)(Component& c, int own);
    // Returns whether the component must be re-created from its current settings.
    bool (*apply)(Component& c, int own, const PropertyValue& value);
    // The component's current settings, for re-creation.
    TypeSettings (*settings)(const Component& c);
    // Null unless the type is a page container (the page in front, or -1).
    std::int32_t (*currentPage)(Component& c);
    // Releases what all instances share (window classes); may be null.
    void (*releaseShared)();
    // Own property `own` (number - 8), or null beyond the table.
    const PropertyInfo* (*property)(int own);
    bool canTakeFocus;
};

// The table of a type code, or null for an unknown one.
const ComponentType* FindComponentType(TypeCode code);
std::span<const ComponentType* const> AllComponentTypes();

// Base of every built component: owns its native window and attaches itself to
// it (a subclass for system controls, GWLP_USERDATA for our own classes).
class Component {
public:
    Component(const ComponentType& type, ComponentHost& host, std::uint32_t id);
    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;
    virtual ~Component();

    HWND Hwnd() const { return window_.get(); }
    std::uint32_t Id() const { return id_; }
    const ComponentType& Type() const { return type_; }
    ComponentHost& Host() const { return host_; }
    // Inside one of its own messages: destroying it now would pull the floor away.
    bool Busy() const { return depth_ > 0; }

    // A notification the parent received from this component (WM_COMMAND,
    // WM_NOTIFY, WM_DRAWITEM, WM_CTLCOLOR*), handed back to it. True when handled.
    virtual bool OnReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

    EventOutcome Raise(std::int32_t event, bool wantResult = false);

    // Window class procedure for the types with a class of their own.
    static LRESULT CALLBACK OwnClassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

protected:
    // A system control (e.g. "BUTTON"), subclassed at once.
    bool CreateNative(const wchar_t* className, DWORD style, DWORD exStyle, const CreateArgs& args,
                      const std::wstring& text);
    // A window of one of our classes registered with OwnClassProc.
    bool CreateOwnClass(const wchar_t* className, DWORD style, DWORD exStyle, const CreateArgs& args,
                        const std::wstring& text);
    // Type-specific messages; true when handled (result set).
    virtual bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // One paint routine for WM_PAINT and WM_PRINTCLIENT (the DC comes in wParam).
    template <class PaintFn>
    void PaintMessage(WPARAM wParam, PaintFn&& paint) {
        PAINTSTRUCT ps;
        HDC dc = wParam ? reinterpret_cast<HDC>(wParam) : BeginPaint(Hwnd(), &ps);
        paint(dc);
        if (!wParam) EndPaint(Hwnd(), &ps);
    }
    LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR refData);
    LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
    void Detach();

    const ComponentType& type_;
    ComponentHost& host_;
    std::uint32_t id_;
    UniqueWindow window_;
    bool subclassed_ = false;
    int depth_ = 0;
};

// What every type's Create does: refuse settings of another type, make the
// object, let it build its native window. Types befriend it for their
// private constructor and Build.
template <class T, class Props>
std::unique_ptr<Component> MakeComponent(TypeCode code, const CreateArgs& args) {
    if (!std::holds_alternative<Props>(args.entry.settings)) return nullptr;
    std::unique_ptr<T> object(new T(*FindComponentType(code), args.host, args.entry));
    if (!object->Build(args)) return nullptr;
    return object;
}

// Hands a child's notification to the child's component; used by every parent
// that can hold components (the window, the tab control).
bool ReflectToChild(ComponentHost& host, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

// Registers one of our component window classes (arrow cursor, null brush).
bool RegisterComponentClass(const wchar_t* className, UINT classStyle);
void UnregisterComponentClass(const wchar_t* className);

// Child window styles every type starts from, with the entry's flags; never visible at creation.
DWORD ChildStyle(const ComponentEntry& entry, bool clipSiblings = true);

// A font from a 60-byte LOGFONTA with the fixed overrides; empty for any other length.
UniqueFont FontFromBlock(const Bytes& logFont);
// The font to select: ours, else the stock default GUI font (not ours to delete).
HFONT FontOrDefault(const UniqueFont& font);
// SystemFaceColour resolved to the current button-face colour.
COLORREF ResolveColour(std::uint32_t colour);

// ---- Property tables of the types: one row per own property, bound to a field ----

// std::monostate: a property the type reads and stores itself.
template <class Props>
using PropertyField =
    std::variant<std::monostate, std::int32_t Props::*, std::uint32_t Props::*, Text Props::*, Bytes Props::*>;

template <class Props>
struct PropertyRow {
    PropertyInfo info;
    PropertyField<Props> field;
};

template <class Props, std::size_t N>
PropertyValue ReadField(const std::array<PropertyRow<Props>, N>& rows, const Props& props, int own) {
    PropertyValue v;
    if (own < 0 || static_cast<std::size_t>(own) >= N) return v;
    std::visit(
        [&](auto member) {
            if constexpr (std::is_same_v<decltype(member), std::monostate>) {
                return;
            } else {
            using Member = std::remove_cvref_t<decltype(props.*member)>;
            if constexpr (std::is_same_v<Member, Text>)
                v.bytes = props.*member;
            else if constexpr (std::is_same_v<Member, Bytes>)
                v.bytes.assign((props.*member).begin(), (props.*member).end());
            else
                v.number = static_cast<std::int32_t>(props.*member);
            }
        },
        rows[static_cast<std::size_t>(own)].field);
    return v;
}

template <class Props, std::size_t N>
void StoreField(const std::array<PropertyRow<Props>, N>& rows, Props& props, int own, const PropertyValue& v) {
    if (own < 0 || static_cast<std::size_t>(own) >= N) return;
    std::visit(
        [&](auto member) {
            if constexpr (std::is_same_v<decltype(member), std::monostate>) {
                return;
            } else {
            using Member = std::remove_cvref_t<decltype(props.*member)>;
            if constexpr (std::is_same_v<Member, Text>)
                props.*member = v.bytes;
            else if constexpr (std::is_same_v<Member, Bytes>)
                props.*member = Bytes(v.bytes.begin(), v.bytes.end());
            else
                props.*member = static_cast<Member>(v.number);
            }
        },
        rows[static_cast<std::size_t>(own)].field);
}

template <class Props, std::size_t N>
const PropertyInfo* InfoOf(const std::array<PropertyRow<Props>, N>& rows, int own) {
    if (own < 0 || static_cast<std::size_t>(own) >= N) return nullptr;
    return &rows[static_cast<std::size_t>(own)].info;
}

// Shorthands for the rows.
constexpr PropertyInfo IntegerProperty(const char* name) { return {name, ValueType::Integer}; }
constexpr PropertyInfo ChoiceProperty(const char* name, std::int32_t max) {
    return {name, ValueType::Integer, true, 0, max};
}
constexpr PropertyInfo TruthProperty(const char* name) { return {name, ValueType::Truth}; }
constexpr PropertyInfo TextProperty(const char* name) { return {name, ValueType::String}; }
constexpr PropertyInfo BlockProperty(const char* name) { return {name, ValueType::Block}; }

}  // namespace qelvane

// Property access by number on a built window: the common properties 0-7 of every component and
// of the window itself, over its record, and from 8 on the type's own, over its settings. Both
// go through their schema rows. Here a (component, number) pair is resolved once to its row and
// target, the routines' 64-bit slot is converted, and the value read or written: where a value
// lives while the native window stands, and what a written value does to it.
#include <algorithm>
#include <string>

#include "ui/form/PropertyNumbers.h"
#include "ui/window/WindowLayer.h"

namespace qelvane {
namespace {

constexpr std::uint64_t kLow32 = 0xFFFFFFFFu;

// Behind the pointers that text and block reads hand out, until the next such read.
struct ReadStorage {
    std::string text;
    std::string block;
    ByteBlockRef blockRef;
};

ReadStorage& Storage() {
    static ReadStorage storage;
    return storage;
}

std::uint64_t SlotFromValue(const PropertyValue& v, ValueType type) {
    ReadStorage& s = Storage();
    switch (type) {
    case ValueType::Truth:
        return v.number != 0 ? 1u : 0u;
    case ValueType::String:
        s.text = v.bytes;
        return reinterpret_cast<std::uintptr_t>(s.text.c_str());
    case ValueType::Block:
        s.block = v.bytes;
        s.blockRef = {reinterpret_cast<const std::uint8_t*>(s.block.data()), static_cast<std::uint32_t>(s.block.size())};
        return reinterpret_cast<std::uintptr_t>(&s.blockRef);
    case ValueType::Integer:
        break;
    }
    return static_cast<std::uint32_t>(v.number);
}

PropertyValue ValueFromSlot(std::uint64_t slot, ValueType type) {
    PropertyValue v;
    switch (type) {
    case ValueType::Truth:
        v.number = (slot & kLow32) != 0 ? 1 : 0;
        break;
    case ValueType::String:
        // No text becomes the empty text.
        if (const char* text = reinterpret_cast<const char*>(static_cast<std::uintptr_t>(slot))) v.bytes = text;
        break;
    case ValueType::Block:
        if (const auto* ref = reinterpret_cast<const ByteBlockRef*>(static_cast<std::uintptr_t>(slot));
            ref && ref->data)
            v.bytes.assign(reinterpret_cast<const char*>(ref->data), ref->size);
        break;
    case ValueType::Integer:
        v.number = static_cast<std::int32_t>(slot & kLow32);
        break;
    }
    return v;
}

}  // namespace

RECT FormWindow::RectInParent(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    if (HWND parent = GetParent(hwnd); parent && (GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD))
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

DisplayScale::Box FormWindow::FormRectOf(HWND hwnd) const {
    const RECT r = RectInParent(hwnd);
    return scale_.ToForm(DisplayScale::Box{r.left, r.top, r.right - r.left, r.bottom - r.top});
}

void FormWindow::SetBox(ComponentEntry& e, const DisplayScale::Box& b) {
    e.left = b.left;
    e.top = b.top;
    e.width = b.width;
    e.height = b.height;
}

// The lookups by identifier, here beside the property access that makes most of them.
ComponentSlot* FormWindow::Slot(std::uint32_t componentId) {
    for (ComponentSlot& s : slots_)
        if (s.entry.id == componentId) return &s;
    return nullptr;
}

const ComponentEntry* FormWindow::Record(std::uint32_t componentId) {
    if (NamesWindowItself(componentId)) return &self_;
    ComponentSlot* slot = Slot(componentId);
    return slot ? &slot->entry : nullptr;
}

FormWindow::PropertyTarget FormWindow::Resolve(std::uint32_t componentId, std::int32_t number) {
    PropertyTarget t;
    if (NamesWindowItself(componentId)) {
        t.entry = &self_;
        t.hwnd = window_.get();
    } else if ((t.slot = Slot(componentId))) {
        t.entry = &t.slot->entry;
        t.hwnd = t.slot->object ? t.slot->object->Hwnd() : nullptr;
    }
    if ((t.row = CommonProperty(number))) {
        // Over the record: a component the window lacks reads as nothing and takes no write.
        t.common = true;
        t.status = Access::Done;
        return t;
    }
    // The window type has no own properties here; the logic only names components that exist.
    if (number < prop::kFirstOwn || !t.slot) return t;
    if (!t.hwnd) {
        t.status = Access::NoNativeWindow;
        return t;
    }
    if ((t.row = t.slot->object->Schema().Property(number))) t.status = Access::Done;
    return t;
}

FormWindow::Access FormWindow::ReadSlot(std::uint32_t componentId, std::int32_t number, std::uint64_t& slot) {
    const PropertyTarget t = Resolve(componentId, number);
    if (t.status != Access::Done) return t.status;
    slot = SlotFromValue(t.common ? ReadCommon(t) : t.slot->object->Read(*t.row), t.row->info.type);
    return Access::Done;
}

FormWindow::Access FormWindow::WriteSlot(std::uint32_t componentId, std::int32_t number, std::uint64_t slot) {
    const PropertyTarget t = Resolve(componentId, number);
    if (t.status != Access::Done) return t.status;
    PropertyValue value = ValueFromSlot(slot, t.row->info.type);
    if (t.row->info.clamped) value.number = std::clamp(value.number, t.row->info.min, t.row->info.max);
    if (t.common) {
        WriteCommon(t, value);
    } else if (t.slot->object->Write(*t.row, value)) {
        Recreate(componentId);
    }
    return Access::Done;
}

PropertyValue FormWindow::ReadCommon(const PropertyTarget& t) {
    if (!t.entry) return {};
    // While the native window stands, place, visibility and state are its own; the place in
    // form units at every scale.
    ComponentEntry live = *t.entry;
    if (t.hwnd) {
        SetBox(live, FormRectOf(t.hwnd));
        live.visible = IsWindowVisible(t.hwnd) != 0;
        live.disable = IsWindowEnabled(t.hwnd) == 0;
    }
    return ReadRow(*t.row, &live);
}

void FormWindow::WriteCommon(const PropertyTarget& t, const PropertyValue& value) {
    ComponentEntry* entry = t.entry;
    if (!entry) return;
    const FieldRow& row = *t.row;
    HWND hwnd = t.hwnd;
    if (hwnd && row.effect == Effect::Place) SetBox(*entry, FormRectOf(hwnd));  // the other three stay
    StoreRow(row, entry, value);
    if (!hwnd) return;
    const bool own = !t.slot;
    switch (row.effect) {
    case Effect::Place: {
        const DisplayScale::Box r = scale_.ToDevice(BoxOf(*entry));
        SetWindowPos(hwnd, nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
        break;
    }
    case Effect::Show: {
        const bool show = own ? entry->visible : ShouldShow(*t.slot);
        ShowWindow(hwnd, show ? (own ? SW_SHOW : SW_SHOWNA) : SW_HIDE);
        break;
    }
    case Effect::Enable:
        EnableWindow(hwnd, !entry->disable);
        break;
    default:
        break;
    }
}

}  // namespace qelvane

// Property access by number on a built window: the common properties 0-7 of every component and
// of the window itself, over its record, and from 8 on the type's own, over its settings. Both
// go through their schema rows; what this file adds is where a value lives while the native
// window stands, and what a written value does to it.
#include <algorithm>

#include "ui/PropertyNumbers.h"
#include "ui/WindowLayer.h"

namespace qelvane {

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

const ComponentEntry* FormWindow::Record(std::uint32_t componentId) {
    if (componentId == 0 || componentId == kOwnRecordId) return &self_;
    ComponentSlot* slot = Slot(componentId);
    return slot ? &slot->entry : nullptr;
}

FormWindow::Property FormWindow::Describe(std::uint32_t componentId, std::int32_t number) {
    if (const FieldRow* common = CommonProperty(number)) return {Access::Done, common->info.type};
    if (number < prop::kFirstOwn) return {};
    if (componentId == 0 || componentId == kOwnRecordId) return {};  // the window type has no own properties here
    ComponentSlot* slot = Slot(componentId);
    if (!slot) return {};  // the logic only names components that exist
    if (!slot->object || !slot->object->Hwnd()) return {Access::NoNativeWindow};
    const FieldRow* row = slot->object->Schema().Property(number);
    if (!row) return {};
    return {Access::Done, row->info.type};
}

FormWindow::Property FormWindow::Get(std::uint32_t componentId, std::int32_t number) {
    Property p = Describe(componentId, number);
    if (p.status != Access::Done) return p;
    if (const FieldRow* common = CommonProperty(number)) {
        p.value = ReadCommon(componentId, *common);
    } else {
        Component& c = *Slot(componentId)->object;
        p.value = c.Read(*c.Schema().Property(number));
    }
    return p;
}

FormWindow::Access FormWindow::Set(std::uint32_t componentId, std::int32_t number, PropertyValue value) {
    const Property p = Describe(componentId, number);
    if (p.status != Access::Done) return p.status;
    const FieldRow* common = CommonProperty(number);
    const FieldRow& row = common ? *common : *Slot(componentId)->object->Schema().Property(number);
    if (row.info.clamped) value.number = std::clamp(value.number, row.info.min, row.info.max);
    if (common) {
        WriteCommon(componentId, row, value);
        return Access::Done;
    }
    if (Slot(componentId)->object->Write(row, value)) Recreate(componentId);
    return Access::Done;
}

HWND FormWindow::NativeOf(std::uint32_t componentId, ComponentEntry*& entry) {
    if (componentId == 0 || componentId == kOwnRecordId) {
        entry = &self_;
        return window_.get();
    }
    ComponentSlot* slot = Slot(componentId);
    entry = slot ? &slot->entry : nullptr;
    return slot && slot->object ? slot->object->Hwnd() : nullptr;
}

PropertyValue FormWindow::ReadCommon(std::uint32_t componentId, const FieldRow& row) {
    ComponentEntry* entry = nullptr;
    HWND hwnd = NativeOf(componentId, entry);
    if (!entry) return {};
    // While the native window stands, place, visibility and state are its own; the place in
    // form units at every scale.
    ComponentEntry live = *entry;
    if (hwnd) {
        SetBox(live, FormRectOf(hwnd));
        live.visible = IsWindowVisible(hwnd) != 0;
        live.disable = IsWindowEnabled(hwnd) == 0;
    }
    return ReadRow(row, &live);
}

void FormWindow::WriteCommon(std::uint32_t componentId, const FieldRow& row, const PropertyValue& value) {
    ComponentEntry* entry = nullptr;
    HWND hwnd = NativeOf(componentId, entry);
    if (!entry) return;
    if (hwnd && row.effect == Effect::Place) SetBox(*entry, FormRectOf(hwnd));  // the other three stay
    StoreRow(row, entry, value);
    if (!hwnd) return;
    const bool own = entry == &self_;
    switch (row.effect) {
    case Effect::Place: {
        const DisplayScale::Box r = scale_.ToDevice(BoxOf(*entry));
        SetWindowPos(hwnd, nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
        break;
    }
    case Effect::Show: {
        const bool show = own ? entry->visible : ShouldShow(*Slot(componentId));
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

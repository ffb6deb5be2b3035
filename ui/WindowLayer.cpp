#include "ui/WindowLayer.h"

#include <algorithm>
#include <array>

#include "base/Gbk.h"
#include "ui/ProgramIcon.h"

namespace qelvane {
namespace {

WindowClass formClass{L"Qelvane.Form", CS_DBLCLKS,
                      reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)};  // system colour, not a brush of ours
// Posted to the window: re-create the component whose identifier is in wParam.
constexpr UINT kMsgRecreate = WM_APP + 1;

struct FrameStyle {
    DWORD style;
    DWORD exStyle;
    bool resizable;
};
// By the window's `border` setting 0..6.
constexpr FrameStyle kFrames[] = {
    {WS_POPUP, 0, false},
    {WS_CAPTION | WS_THICKFRAME, 0, true},
    {WS_CAPTION, 0, false},  // fixed single: caption with the dialog frame, no sizing border
    {WS_CAPTION | WS_THICKFRAME, WS_EX_TOOLWINDOW, true},
    {WS_CAPTION, WS_EX_TOOLWINDOW, false},
    {WS_CAPTION | WS_THICKFRAME, WS_EX_CLIENTEDGE, true},
    {WS_CAPTION, WS_EX_CLIENTEDGE, false},
};

// Value types of the common properties 0-7: left, top, width, height, tag, visible, disable, MousePointer.
constexpr ValueType kCommonTypes[] = {ValueType::Integer, ValueType::Integer, ValueType::Integer,
                                      ValueType::Integer, ValueType::String,  ValueType::Truth,
                                      ValueType::Truth,   ValueType::Block};

constexpr std::int32_t kMaxExtent = 32627;

// For a window whose icon setting yields no icon of its own. The icons stay the program's:
// the window never destroys them.
void ShowProgramIcon(HWND hwnd) {
    const ProgramIcons icons = LoadProgramIcon();
    SendMessageW(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icons.largeIcon));
    SendMessageW(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icons.smallIcon));
}

RECT RectInParent(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    if (HWND parent = GetParent(hwnd); parent && (GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD))
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace

FormWindow::FormWindow(const WindowTemplate& form, WindowEvents& events)
    : id_(form.id), events_(events), self_(form.self), props_(std::get<WindowProps>(form.self.settings)) {
    slots_.reserve(form.components.size());
    for (const ComponentEntry& e : form.components) slots_.push_back({e, FindComponentType(e.type), nullptr});
    // Page membership, for visibility and the page sync.
    for (std::size_t t = 0; t < slots_.size(); ++t) {
        const auto& pages = slots_[t].entry.pageList;
        for (std::size_t p = 0; p < pages.size(); ++p)
            for (std::uint32_t id : pages[p])
                if (ComponentSlot* s = Slot(id)) {
                    s->container = static_cast<int>(t);
                    s->page = static_cast<int>(p);
                }
    }
}

FormWindow::~FormWindow() {
    eventsOpen_ = false;
    // Components first: each detaches from its window before the window goes.
    for (auto it = slots_.rbegin(); it != slots_.rend(); ++it) it->object.reset();
    if (HWND hwnd = window_.get()) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        window_.reset();
    }
}

std::unique_ptr<FormWindow> FormWindow::Build(const WindowTemplate& form, WindowEvents& events) {
    LastBuildFailure() = {};
    if (!std::holds_alternative<WindowProps>(form.self.settings) || !form.self.newerBlock.empty()) {
        LastBuildFailure().step = "window block unusable";
        return nullptr;
    }
    for (const ComponentEntry& e : form.components) {
        const ComponentType* type = FindComponentType(e.type);
        if (!type || !e.newerBlock.empty()) {
            LastBuildFailure() = {"component block unusable", e.id, 0};
            return nullptr;
        }
    }
    std::unique_ptr<FormWindow> w(new FormWindow(form, events));
    if (!w->CreateNativeWindow() || !w->CreateComponents()) return nullptr;
    w->StackInFormOrder();
    return w;
}

bool FormWindow::CreateNativeWindow() {
    if (!formClass.Register(&OwnerWindowProc<FormWindow>)) {
        NoteBuildFailure("RegisterClassExW");
        return false;
    }
    const FrameStyle& frame = kFrames[std::clamp(props_.border, 0, 6)];
    DWORD style = frame.style | WS_CLIPCHILDREN;
    DWORD exStyle = frame.exStyle;
    if (props_.controlBox) style |= WS_SYSMENU;
    if (props_.minButton) style |= WS_MINIMIZEBOX;
    if (props_.maxButton && frame.resizable) style |= WS_MAXIMIZEBOX;
    if (props_.showInTaskbar) exStyle |= WS_EX_APPWINDOW;
    if (props_.alwaysOnTop) exStyle |= WS_EX_TOPMOST;

    int x = self_.left, y = self_.top;
    if (props_.startPosition == 1) {
        x = (GetSystemMetrics(SM_CXSCREEN) - self_.width) / 2;
        y = (GetSystemMetrics(SM_CYSCREEN) - self_.height) / 2;
    }
    const std::wstring title = WideFromGbk(props_.title);
    HWND hwnd = Make("form window", [&] {
        return CreateWindowExW(exStyle, formClass.Name(), title.c_str(), style, x, y, self_.width, self_.height,
                               nullptr, nullptr, GetModuleHandleW(nullptr), this);
    });
    if (!hwnd) {
        NoteBuildFailure("CreateWindowExW (window)");
        return false;
    }
    window_.reset(hwnd);
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);  // stock
    // No icon is made from the window's own icon setting, so it shows the program's.
    ShowProgramIcon(hwnd);
    if (!props_.movable) {
        if (HMENU menu = GetSystemMenu(hwnd, FALSE)) DeleteMenu(menu, SC_MOVE, MF_BYCOMMAND);
    }
    return true;
}

std::unique_ptr<Component> FormWindow::CreateObject(const ComponentEntry& entry, int index) {
    const ComponentType* type = FindComponentType(entry.type);
    if (!type) return nullptr;
    // Straight onto its container when that stands already: moving a window later costs more
    // than making it.
    HWND parent = window_.get();
    if (ComponentSlot* container = entry.parent ? Slot(entry.parent) : nullptr;
        container && container->object && container->object->Hwnd())
        parent = container->object->Hwnd();
    return type->create(CreateArgs{entry, parent, index + 1, *this});
}

void FormWindow::Place(ComponentSlot& slot) {
    if (slot.entry.parent == 0) return;
    ComponentSlot* parent = Slot(slot.entry.parent);
    if (!parent || !parent->object) return;
    if (GetParent(slot.object->Hwnd()) == parent->object->Hwnd()) return;
    SetParent(slot.object->Hwnd(), parent->object->Hwnd());
    // Same numbers, now counted from the container's client area.
    SetWindowPos(slot.object->Hwnd(), nullptr, slot.entry.left, slot.entry.top, slot.entry.width, slot.entry.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

bool FormWindow::CreateComponents() {
    auto create = [&](std::size_t i) {
        slots_[i].object = CreateObject(slots_[i].entry, static_cast<int>(i));
        if (slots_[i].object) return true;
        BuildFailure& failure = LastBuildFailure();
        if (!failure.step) NoteBuildFailure("component creation");
        failure.component = slots_[i].entry.id;
        return false;
    };
    // In form order, what sits on the window first and then what sits in a container, so that
    // each is made straight onto its container; and as a new window goes beneath its siblings,
    // they stand in form order without being moved.
    for (bool contained : {false, true})
        for (std::size_t i = 0; i < slots_.size(); ++i)
            if ((slots_[i].entry.parent != 0) == contained && !create(i)) return false;
    for (ComponentSlot& slot : slots_) Place(slot);
    return true;
}

void FormWindow::StackInFormOrder() {
    // Per parent, the earlier entry lies above the later one.
    std::vector<std::pair<HWND, HWND>> lastOfParent;  // parent, last stacked child
    for (ComponentSlot& slot : slots_) {
        HWND child = slot.object ? slot.object->Hwnd() : nullptr;
        if (!child) continue;
        HWND parent = GetParent(child);
        auto it = std::find_if(lastOfParent.begin(), lastOfParent.end(), [&](auto& p) { return p.first == parent; });
        HWND after = it == lastOfParent.end() ? HWND_TOP : it->second;
        if (GetWindow(child, GW_HWNDPREV) != (after == HWND_TOP ? nullptr : after))
            SetWindowPos(child, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
        if (it == lastOfParent.end())
            lastOfParent.emplace_back(parent, child);
        else
            it->second = child;
    }
}

void FormWindow::Open() {
    // Components on pages other than 0 stay hidden until their page comes to the front.
    for (ComponentSlot& slot : slots_)
        if (slot.entry.visible && slot.page <= 0) ShowWindow(slot.object->Hwnd(), SW_SHOWNA);

    constexpr int kShowCommands[] = {SW_SHOW, SW_SHOW, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED};
    int show = kShowCommands[std::clamp(props_.startPosition, 0, 3)];
    // Only a frame that can be sized can be maximised.
    if (show == SW_SHOWMAXIMIZED && !kFrames[std::clamp(props_.border, 0, 6)].resizable) show = SW_SHOW;
    if (self_.visible) ShowWindow(window_.get(), show);
    if (FocusedIndex() < 0) RestoreFocus();

    // Each container brings its current page to the front; the focus goes back afterwards.
    HWND focus = GetFocus();
    for (ComponentSlot& slot : slots_)
        if (const auto page = slot.object->CurrentPage()) SyncPage(slot.entry.id, std::max(*page, 0), true);
    if (focus && IsWindow(focus)) SetFocus(focus);
    // Painted once, after the focus and the page have settled: each radio box drawn again for
    // a focus change asks the tab control beneath it to paint once more.
    if (self_.visible) UpdateWindow(window_.get());
}

ComponentSlot* FormWindow::Slot(std::uint32_t componentId) {
    for (ComponentSlot& s : slots_)
        if (s.entry.id == componentId) return &s;
    return nullptr;
}

int FormWindow::IndexOf(HWND hwnd) const {
    if (!hwnd) return -1;
    for (std::size_t i = 0; i < slots_.size(); ++i)
        if (slots_[i].object && slots_[i].object->Hwnd() == hwnd) return static_cast<int>(i);
    return -1;
}

Component* FormWindow::ComponentFromHwnd(HWND hwnd) {
    const int i = IndexOf(hwnd);
    return i < 0 ? nullptr : slots_[static_cast<std::size_t>(i)].object.get();
}

int FormWindow::FocusedIndex() const {
    // The focus may sit in a child of a component: count it as the component's.
    for (HWND h = GetFocus(); h && h != window_.get(); h = GetParent(h))
        if (const int i = IndexOf(h); i >= 0) return i;
    return -1;
}

std::vector<FocusCandidate> FormWindow::FocusCandidates() const {
    std::vector<FocusCandidate> c(slots_.size());
    for (std::size_t i = 0; i < slots_.size(); ++i) {
        const ComponentSlot& s = slots_[i];
        HWND h = s.object ? s.object->Hwnd() : nullptr;
        c[i] = {s.entry.focusOrder, h && IsWindowVisible(h), h && IsWindowEnabled(h), s.entry.tabStop,
                s.type->canTakeFocus};
    }
    return c;
}

std::vector<RadioMember> FormWindow::RadioMembers() const {
    std::vector<RadioMember> m(slots_.size());
    for (std::size_t i = 0; i < slots_.size(); ++i) {
        const ComponentSlot& s = slots_[i];
        HWND h = s.object ? s.object->Hwnd() : nullptr;
        m[i] = {h && s.entry.type == TypeCode::RadioBox, s.entry.parent, s.entry.focusOrder,
                h && IsWindowVisible(h), h && IsWindowEnabled(h), s.entry.tabStop};
    }
    return m;
}

void FormWindow::RadioClicked(std::uint32_t componentId) {
    ComponentSlot* clicked = Slot(componentId);
    if (!clicked) return;
    for (std::size_t i : UncheckedByClick(RadioMembers(), static_cast<std::size_t>(clicked - slots_.data())))
        SendMessageW(slots_[i].object->Hwnd(), BM_SETCHECK, BST_UNCHECKED, 0);
}

bool FormWindow::MoveRadioCheck(bool forward) {
    const int current = FocusedIndex();
    if (current < 0 || slots_[static_cast<std::size_t>(current)].entry.type != TypeCode::RadioBox) return false;
    const auto members = RadioMembers();
    const auto target = ArrowTarget(members, static_cast<std::size_t>(current), forward);
    if (!target) return true;
    // The check leaves the whole group, hidden pages included.
    for (std::size_t i : GroupOf(members, *target)) {
        HWND h = slots_[i].object->Hwnd();
        if (i != *target && SendMessageW(h, BM_GETCHECK, 0, 0) != BST_UNCHECKED)
            SendMessageW(h, BM_SETCHECK, BST_UNCHECKED, 0);
    }
    const std::uint32_t id = slots_[*target].entry.id;
    SendMessageW(slots_[*target].object->Hwnd(), BM_SETCHECK, BST_CHECKED, 0);
    slots_[*target].object->Raise(events::kClicked);
    // The routine may have rebuilt or closed things: look the box up again.
    if (ComponentSlot* s = eventsOpen_ ? Slot(id) : nullptr; s && s->object && s->object->Hwnd())
        SetFocus(s->object->Hwnd());
    return true;
}

HWND FormWindow::DefaultButton() const {
    for (const ComponentSlot& slot : slots_) {
        HWND h = slot.object && slot.entry.type == TypeCode::Button ? slot.object->Hwnd() : nullptr;
        if (h && (GetWindowLongW(h, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON && IsWindowVisible(h) &&
            IsWindowEnabled(h))
            return h;
    }
    return nullptr;
}

void FormWindow::MoveFocus(bool backwards) {
    const int current = FocusedIndex();
    const auto candidates = FocusCandidates();
    const auto next = NextInTabOrder(candidates, current < 0 ? std::nullopt : std::optional<std::size_t>(current),
                                     backwards);
    if (next) SetFocus(slots_[*next].object->Hwnd());
}

void FormWindow::SaveFocus() {
    // With no component focused (minimised, or the window itself) the last one is kept.
    if (const int i = FocusedIndex(); i >= 0) savedFocus_ = slots_[static_cast<std::size_t>(i)].entry.id;
}

void FormWindow::RestoreFocus() {
    if (ComponentSlot* saved = savedFocus_ ? Slot(savedFocus_) : nullptr; saved && saved->object && saved->object->Hwnd()) {
        SetFocus(saved->object->Hwnd());
        return;
    }
    if (const auto first = FirstInTabOrder(FocusCandidates())) SetFocus(slots_[*first].object->Hwnd());
}

bool FormWindow::ShouldShow(const ComponentSlot& slot) {
    if (!slot.entry.visible) return false;
    if (slot.container < 0) return true;
    ComponentSlot& container = slots_[static_cast<std::size_t>(slot.container)];
    const auto page = container.object ? container.object->CurrentPage() : std::nullopt;
    return !page || slot.page == std::max(*page, 0);
}

void FormWindow::SyncPage(std::uint32_t containerId, std::int32_t page, bool withFocus) {
    ComponentSlot* container = Slot(containerId);
    if (!container) return;
    const auto& pages = container->entry.pageList;
    const std::size_t front = static_cast<std::size_t>(std::max(page, 0));
    for (std::size_t p = 0; p < pages.size(); ++p)
        for (std::uint32_t id : pages[p]) {
            ComponentSlot* s = Slot(id);
            if (!s || !s->object) continue;
            HWND h = s->object->Hwnd();
            const bool show = p == front && s->entry.visible;
            if (show && !IsWindowVisible(h)) ShowWindow(h, SW_SHOWNA);
            if (!show && (GetWindowLongW(h, GWL_STYLE) & WS_VISIBLE)) ShowWindow(h, SW_HIDE);
        }
    if (!withFocus || front >= pages.size()) return;
    // Lowest FocusOrder among the page's shown, enabled focus takers; the first in the list on a tie.
    // A component left hidden by its `visible` flag must not swallow the keyboard.
    ComponentSlot* best = nullptr;
    for (std::uint32_t id : pages[front]) {
        ComponentSlot* s = Slot(id);
        if (!s || !s->object || !s->type->canTakeFocus || !IsWindowEnabled(s->object->Hwnd())) continue;
        if (!(GetWindowLongW(s->object->Hwnd(), GWL_STYLE) & WS_VISIBLE)) continue;
        if (!best || s->entry.focusOrder < best->entry.focusOrder) best = s;
    }
    if (best) SetFocus(best->object->Hwnd());
}

EventOutcome FormWindow::Raise(std::uint32_t componentId, std::int32_t event, bool wantResult) {
    if (!eventsOpen_) return {};
    return events_.Raise(id_, componentId, event, wantResult);
}

const ComponentEntry* FormWindow::Record(std::uint32_t componentId) {
    if (componentId == 0 || componentId == kOwnRecordId) return &self_;
    ComponentSlot* slot = Slot(componentId);
    return slot ? &slot->entry : nullptr;
}

FormWindow::Property FormWindow::Describe(std::uint32_t componentId, std::int32_t number) {
    if (number < 0) return {};
    if (number < 8) return {Access::Done, kCommonTypes[number]};
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
    if (number < 8) {
        p.value = ReadCommon(componentId, number);
    } else {
        Component& c = *Slot(componentId)->object;
        p.value = c.Read(*c.Schema().Property(number));
    }
    return p;
}

FormWindow::Access FormWindow::Set(std::uint32_t componentId, std::int32_t number, PropertyValue value) {
    const Property p = Describe(componentId, number);
    if (p.status != Access::Done) return p.status;
    if (number < 8) {
        WriteCommon(componentId, number, value);
        return Access::Done;
    }
    Component& c = *Slot(componentId)->object;
    const FieldRow& row = *c.Schema().Property(number);
    if (row.info.clamped) value.number = std::clamp(value.number, row.info.min, row.info.max);
    if (c.Write(row, value)) Recreate(componentId);
    return Access::Done;
}

PropertyValue FormWindow::ReadCommon(std::uint32_t componentId, int number) {
    const bool own = componentId == 0 || componentId == kOwnRecordId;
    ComponentSlot* slot = own ? nullptr : Slot(componentId);
    if (!own && !slot) return {};
    ComponentEntry& entry = own ? self_ : slot->entry;
    HWND hwnd = own ? window_.get() : (slot->object ? slot->object->Hwnd() : nullptr);

    PropertyValue v;
    switch (number) {
    case 0:
    case 1:
    case 2:
    case 3: {
        if (!hwnd) {
            const std::int32_t stored[] = {entry.left, entry.top, entry.width, entry.height};
            v.number = stored[number];
            break;
        }
        const RECT r = RectInParent(hwnd);
        const std::int32_t live[] = {r.left, r.top, r.right - r.left, r.bottom - r.top};
        v.number = live[number];
        break;
    }
    case 4:
        v.bytes = entry.tag;
        break;
    case 5:
        v.number = hwnd ? IsWindowVisible(hwnd) != 0 : entry.visible;
        break;
    case 6:
        v.number = hwnd ? IsWindowEnabled(hwnd) == 0 : entry.disable;
        break;
    case 7:
        v.bytes.assign(entry.cursor.begin(), entry.cursor.end());
        break;
    default:
        break;
    }
    return v;
}

void FormWindow::WriteCommon(std::uint32_t componentId, int number, const PropertyValue& value) {
    const bool own = componentId == 0 || componentId == kOwnRecordId;
    ComponentSlot* slot = own ? nullptr : Slot(componentId);
    if (!own && !slot) return;
    ComponentEntry& entry = own ? self_ : slot->entry;
    HWND hwnd = own ? window_.get() : (slot->object ? slot->object->Hwnd() : nullptr);

    switch (number) {
    case 0:
    case 1:
    case 2:
    case 3: {
        std::int32_t* fields[] = {&entry.left, &entry.top, &entry.width, &entry.height};
        if (hwnd) {
            const RECT r = RectInParent(hwnd);
            entry.left = r.left;
            entry.top = r.top;
            entry.width = r.right - r.left;
            entry.height = r.bottom - r.top;
        }
        std::int32_t v = value.number;
        if (number >= 2) v = std::clamp(v, 0, kMaxExtent);
        *fields[number] = v;
        if (hwnd)
            SetWindowPos(hwnd, nullptr, entry.left, entry.top, entry.width, entry.height,
                         SWP_NOZORDER | SWP_NOACTIVATE);
        break;
    }
    case 4:
        entry.tag = value.bytes;
        break;
    case 5:
        entry.visible = value.number != 0;
        if (hwnd) {
            const bool show = own ? entry.visible : ShouldShow(*slot);
            ShowWindow(hwnd, show ? (own ? SW_SHOW : SW_SHOWNA) : SW_HIDE);
        }
        break;
    case 6:
        entry.disable = value.number != 0;
        if (hwnd) EnableWindow(hwnd, !entry.disable);
        break;
    case 7:
        entry.cursor.assign(value.bytes.begin(), value.bytes.end());
        break;
    default:
        break;
    }
}

void FormWindow::Recreate(std::uint32_t componentId) {
    ComponentSlot* slot = Slot(componentId);
    if (!slot || !slot->object) return;
    if (slot->object->Busy()) {
        // Inside its own message: rebuild once that has returned.
        PostMessageW(window_.get(), kMsgRecreate, componentId, 0);
        return;
    }
    RecreateNow(static_cast<std::size_t>(slot - slots_.data()));
}

void FormWindow::RecreateNow(std::size_t index) {
    ComponentSlot& slot = slots_[index];
    HWND old = slot.object->Hwnd();
    if (!old) return;
    const RECT r = RectInParent(old);
    slot.entry.left = r.left;
    slot.entry.top = r.top;
    slot.entry.width = r.right - r.left;
    slot.entry.height = r.bottom - r.top;
    slot.entry.settings = slot.object->Settings();
    const bool hadFocus = FocusedIndex() == static_cast<int>(index);

    // Components sitting on this one would go down with its native window:
    // park them on the window until the new one stands.
    std::vector<ComponentSlot*> children;
    for (ComponentSlot& other : slots_) {
        if (other.entry.parent != slot.entry.id || !other.object || !other.object->Hwnd()) continue;
        SetParent(other.object->Hwnd(), window_.get());
        children.push_back(&other);
    }

    slot.object.reset();
    slot.object = CreateObject(slot.entry, static_cast<int>(index));
    if (!slot.object) {
        // It stays without a native window (common properties use the record); what sat on it
        // has no page to be shown on.
        for (ComponentSlot* child : children) ShowWindow(child->object->Hwnd(), SW_HIDE);
        return;
    }
    Place(slot);
    for (ComponentSlot* child : children) Place(*child);
    StackInFormOrder();
    HWND hwnd = slot.object->Hwnd();
    if (ShouldShow(slot)) ShowWindow(hwnd, SW_SHOWNA);
    // The rebuilt container may hold fewer pages: show what its page in front holds now.
    if (const auto page = slot.object->CurrentPage()) SyncPage(slot.entry.id, std::max(*page, 0), false);
    if (hadFocus) SetFocus(hwnd);
}

bool FormWindow::PreTranslate(const MSG& msg) {
    if (msg.message == WM_KEYDOWN) {
        switch (msg.wParam) {
        case VK_TAB:
            MoveFocus(GetKeyState(VK_SHIFT) < 0);
            return true;
        case VK_ESCAPE:
            if (!props_.escCloses) return false;
            SendMessageW(window_.get(), WM_SYSCOMMAND, SC_CLOSE, 0);  // as from the close box
            return true;
        case VK_RETURN:
            if (HWND button = DefaultButton())
                SendMessageW(button, BM_CLICK, 0, 0);
            else if (props_.enterMovesFocus)
                MoveFocus(false);
            return true;
        case VK_F1:
            return true;  // help is off
        case VK_LEFT:
        case VK_UP:
            return MoveRadioCheck(false);
        case VK_RIGHT:
        case VK_DOWN:
            return MoveRadioCheck(true);
        default:
            return false;
        }
    }
    if (msg.message == WM_SYSKEYDOWN) {
        // No caption carries a mnemonic: Alt with a letter or digit does nothing.
        const WPARAM k = msg.wParam;
        return (k >= 'A' && k <= 'Z') || (k >= '0' && k <= '9');
    }
    return false;
}

void FormWindow::Close() {
    for (const std::int32_t event : {events::kWindowMayClose, events::kWindowClosing}) {
        const EventOutcome o = events_.Raise(id_, 0, event, true);
        if (o.hasResult && o.result == 0) return;  // a routine refused
    }
    window_.reset();
}

LRESULT FormWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND hwnd = window_.get();
    LRESULT result = 0;
    if (ReflectToChild(*this, msg, wParam, lParam, result)) return result;
    switch (msg) {
    case WM_CLOSE:
        Close();
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            SaveFocus();
            // Nothing stays pressed or hot in a window the user has left.
            for (ComponentSlot& slot : slots_)
                if (HWND h = slot.object ? slot.object->Hwnd() : nullptr) SendMessageW(h, WM_CANCELMODE, 0, 0);
            break;
        }
        if (HIWORD(wParam)) break;  // activated while minimised: no focus to give
        if (FocusedIndex() >= 0)
            SaveFocus();  // still on a component: leave it there
        else
            RestoreFocus();
        return 0;
    case WM_SYSCOMMAND:
        // Minimising keeps the window active, so no deactivation would save the focus.
        if ((wParam & 0xFFF0) == SC_MINIMIZE) SaveFocus();
        break;
    case WM_SIZE:
        if (wParam == SIZE_MINIMIZED) SaveFocus();
        break;
    case kMsgRecreate:
        if (ComponentSlot* slot = Slot(static_cast<std::uint32_t>(wParam)); slot && slot->object)
            RecreateNow(static_cast<std::size_t>(slot - slots_.data()));
        return 0;
    case WM_DESTROY:
        eventsOpen_ = false;
        break;
    case WM_NCDESTROY: {
        const LRESULT r = DefWindowProcW(hwnd, msg, wParam, lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        window_.Forget();
        events_.Destroyed();
        return r;
    }
    default:
        break;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

void FormWindow::ReleaseShared() { WindowClass::UnregisterAll(); }

}  // namespace qelvane

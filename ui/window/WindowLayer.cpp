// The window layer's building: a program window and its components from the decoded template,
// stacked and placed on their containers; opening it; re-creating a component whose settings
// ask for it; closing; and the window's own messages.
#include "ui/window/WindowLayer.h"

#include <algorithm>
#include <array>

#include "base/Gbk.h"
#include "base/Messages.h"
#include "ui/window/ProgramIcon.h"
#include "ui/Testing.h"
#include "ui/system/ColourScheme.h"
#include "ui/system/SystemDpi.h"

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

// For a window whose icon setting yields no icon of its own. The icons stay the program's:
// the window never destroys them.
void ShowProgramIcon(HWND hwnd) {
    const ProgramIcons icons = LoadProgramIcon();
    SendMessageW(hwnd, WM_SETICON, ICON_BIG, message::HandleLParam(icons.largeIcon));
    SendMessageW(hwnd, WM_SETICON, ICON_SMALL, message::HandleLParam(icons.smallIcon));
}

}  // namespace

FormWindow::FormWindow(const WindowTemplate& form, WindowEvents& events)
    : id_(form.id), events_(events), self_(form.self), props_(std::get<WindowProps>(form.self.settings)),
      scale_{SystemDpi()} {
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
    // Made on a monitor of another scale than the system's.
    if (const int dpi = MonitorDpi(w->Hwnd()); dpi > 0) w->Rescale(dpi, nullptr);
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

    const DisplayScale::Box place = scale_.ToDevice(BoxOf(self_));
    int x = place.left, y = place.top;
    if (props_.startPosition == 1) {
        x = (GetSystemMetrics(SM_CXSCREEN) - place.width) / 2;
        y = (GetSystemMetrics(SM_CYSCREEN) - place.height) / 2;
    }
    const std::wstring title = WideFromGbk(props_.title);
    HWND hwnd = Make("form window", [&] {
        return CreateWindowExW(exStyle, formClass.Name(), title.c_str(), style, x, y, place.width, place.height,
                               nullptr, nullptr, GetModuleHandleW(nullptr), this);
    });
    if (!hwnd) {
        NoteBuildFailure("CreateWindowExW (window)");
        return false;
    }
    window_.reset(hwnd);
    SendMessageW(hwnd, WM_SETFONT, message::HandleParam(GetStockObject(DEFAULT_GUI_FONT)), FALSE);  // stock
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
    const DisplayScale::Box r = scale_.ToDevice(BoxOf(slot.entry));
    SetWindowPos(slot.object->Hwnd(), nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
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
    if (keyboard_.FocusedIndex() < 0) keyboard_.RestoreFocus();

    // Each container brings its current page to the front; the focus goes back afterwards.
    HWND focus = GetFocus();
    for (ComponentSlot& slot : slots_)
        if (const auto page = slot.object->CurrentPage()) SyncPage(slot.entry.id, std::max(*page, 0), true);
    if (focus && IsWindow(focus)) SetFocus(focus);
    // Painted once, after the focus and the page have settled: each radio box drawn again for
    // a focus change asks the tab control beneath it to paint once more.
    if (self_.visible) UpdateWindow(window_.get());
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

EventOutcome FormWindow::Raise(std::uint32_t componentId, std::int32_t event, bool wantResult) {
    if (!eventsOpen_) return {};
    return events_.Raise(id_, componentId, event, wantResult);
}

void FormWindow::Recreate(std::uint32_t componentId) {
    ComponentSlot* slot = Slot(componentId);
    if (!slot || !slot->object) return;
    if (slot->object->Busy()) {
        // Inside its own message: rebuild once that has returned.
        PostMessageW(window_.get(), kMsgRecreate, message::FromComponentId(componentId), 0);
        return;
    }
    RecreateNow(static_cast<std::size_t>(slot - slots_.data()));
}

void FormWindow::Rescale(int dpi, const RECT* suggested) {
    HWND hwnd = window_.get();
    if (!hwnd || dpi <= 0 || dpi == scale_.dpi) return;
    // Every record in form units at the old scale, before anything moves.
    for (ComponentSlot& slot : slots_) {
        if (!slot.object || !slot.object->Hwnd()) continue;
        SetBox(slot.entry, FormRectOf(slot.object->Hwnd()));
        slot.entry.settings = slot.object->Settings();
    }
    RECT outer;
    GetWindowRect(hwnd, &outer);
    const DisplayScale::Box own = scale_.ToForm(DisplayScale::Box{0, 0, outer.right - outer.left, outer.bottom - outer.top});
    scale_ = DisplayScale{dpi};
    const RECT to = suggested ? *suggested
                              : RECT{outer.left, outer.top, outer.left + scale_.ToDevice(own.width),
                                     outer.top + scale_.ToDevice(own.height)};
    SetWindowPos(hwnd, nullptr, to.left, to.top, to.right - to.left, to.bottom - to.top, SWP_NOZORDER | SWP_NOACTIVATE);
    // Each component made again at the new scale: fonts, pictures and all.
    for (std::size_t i = 0; i < slots_.size(); ++i)
        if (slots_[i].object) RecreateNow(i, false);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void FormWindow::RecreateNow(std::size_t index, bool recordLiveState) {
    ComponentSlot& slot = slots_[index];
    HWND old = slot.object->Hwnd();
    if (!old) return;
    if (recordLiveState) {
        SetBox(slot.entry, FormRectOf(old));
        slot.entry.settings = slot.object->Settings();
    }
    const bool hadFocus = keyboard_.FocusedIndex() == static_cast<int>(index);

    // Components sitting on this one would go down with its native window:
    // park them on the window until the new one stands.
    std::vector<ComponentSlot*> children;
    for (ComponentSlot& other : slots_) {
        if (other.entry.parent != slot.entry.id || !other.object || !other.object->Hwnd()) continue;
        SetParent(other.object->Hwnd(), window_.get());
        children.push_back(&other);
    }

    // A radio box made checked unchecks the boxes in view in its native group, which our
    // groups need not share: those are put back as they were.
    std::vector<std::pair<HWND, LRESULT>> checks;
    for (const ComponentSlot& other : slots_)
        if (&other != &slot && other.type->inRadioGroups && other.object && other.object->Hwnd())
            checks.emplace_back(other.object->Hwnd(), SendMessageW(other.object->Hwnd(), BM_GETCHECK, 0, 0));

    slot.object.reset();
    slot.object = CreateObject(slot.entry, static_cast<int>(index));
    for (const auto& [hwnd, check] : checks)
        if (SendMessageW(hwnd, BM_GETCHECK, 0, 0) != check) SendMessageW(hwnd, BM_SETCHECK, static_cast<WPARAM>(check), 0);
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

void FormWindow::Close() {
    for (const std::int32_t event : {events::kWindowMayClose, events::kWindowClosing}) {
        const EventOutcome o = events_.Raise(id_, 0, event, true);
        if (o.hasResult && o.result == 0) return;  // a routine refused
    }
    window_.reset();
}

void FormWindow::SchemeChanged(UINT msg) {
    ReloadScheme();
    // The system controls hear of it only from their parent; ours make their brushes again.
    const UINT told = msg == WM_THEMECHANGED ? WM_THEMECHANGED : WM_SYSCOLORCHANGE;
    for (ComponentSlot& slot : slots_) {
        if (!slot.object) continue;
        slot.object->SchemeChanged();
        if (HWND h = slot.object->Hwnd()) SendMessageW(h, told, 0, 0);
    }
    RedrawWindow(window_.get(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
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
        if (message::ActivationOf(wParam).inactive) {
            keyboard_.SaveFocus();
            // Nothing stays pressed or hot in a window the user has left.
            for (ComponentSlot& slot : slots_)
                if (HWND h = slot.object ? slot.object->Hwnd() : nullptr) SendMessageW(h, WM_CANCELMODE, 0, 0);
            break;
        }
        if (message::ActivationOf(wParam).minimised) break;  // no focus to give
        keyboard_.Activated();
        return 0;
    case WM_SYSCOMMAND:
        // Minimising keeps the window active, so no deactivation would save the focus.
        if (message::SystemCommand(wParam) == SC_MINIMIZE) keyboard_.SaveFocus();
        break;
    case WM_SIZE:
        if (wParam == SIZE_MINIMIZED) keyboard_.SaveFocus();
        break;
    case message::kDpiChanged: {
        // Moved to a monitor of another scale: the system suggests where the window goes.
        const message::DpiChange change = message::DpiChangeOf(wParam, lParam);
        Rescale(change.dpi, change.suggested);
        return 0;
    }
    case kMsgRecreate:
        if (ComponentSlot* slot = Slot(message::ComponentId(wParam)); slot && slot->object)
            RecreateNow(static_cast<std::size_t>(slot - slots_.data()));
        return 0;
    case WM_SETTINGCHANGE:
        if (wParam == SPI_SETHIGHCONTRAST) SchemeChanged(msg);
        break;
    case WM_SYSCOLORCHANGE:
    case WM_THEMECHANGED:
        SchemeChanged(msg);
        break;
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

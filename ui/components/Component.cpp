#include "ui/components/Component.h"

#include "ui/system/ColourScheme.h"

#include <commctrl.h>

#include <algorithm>

#include "base/Gbk.h"
#include "base/Messages.h"
#include "ui/form/LogFont.h"

namespace qelvane {
namespace {

constexpr UINT_PTR kSubclassId = 0x51656C76;  // one subclass of ours per control

}  // namespace

BuildFailure& LastBuildFailure() {
    static BuildFailure failure;
    return failure;
}

// ---- Component ----

Component::Component(ComponentHost& host, const ComponentEntry& entry)
    : host_(host),
      id_(entry.id),
      settings_(entry.settings),
      schema_(SchemaOf(settings_)),
      takesFocus_(FindComponentType(entry.type) && FindComponentType(entry.type)->takesFocus) {}

Component::~Component() {
    // Detach first: messages of the destruction must not reach a half-destroyed object, nor a
    // screen reader's questions.
    accessible_.Disconnect();
    if (!window_) return;
    Detach();
    window_.reset();
}

bool Component::CreateWindowFor(const CreateArgs& args, const WindowSpec& spec) {
    if (spec.ownClass && !spec.ownClass->Register(&OwnerWindowProc<Component>)) {
        NoteBuildFailure("RegisterClassExW (component)");
        return false;
    }
    const ComponentEntry& e = args.entry;
    const DisplayScale::Box r = host_.Scale().ToDevice({e.left, e.top, e.width, e.height});
    HWND hwnd = Make("component window", [&] {
        return CreateWindowExW(spec.exStyle, spec.ownClass ? spec.ownClass->Name() : spec.systemClass,
                               spec.text.c_str(), spec.style, r.left, r.top, r.width, r.height, args.parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(args.controlId)),
                               GetModuleHandleW(nullptr), spec.ownClass ? this : nullptr);
    });
    if (!hwnd) {
        NoteBuildFailure("CreateWindowExW (component)");
        return false;
    }
    window_.reset(hwnd);
    if (spec.ownClass) return true;
    subclassed_ = SetWindowSubclass(hwnd, &Component::SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    if (!subclassed_) NoteBuildFailure("SetWindowSubclass");
    return subclassed_;
}

void Component::Detach() {
    HWND hwnd = window_.get();
    if (!hwnd) return;
    if (subclassed_) {
        RemoveWindowSubclass(hwnd, &Component::SubclassProc, kSubclassId);
        subclassed_ = false;
    } else {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    }
}

LRESULT CALLBACK Component::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR refData) {
    auto* self = reinterpret_cast<Component*>(refData);
    if (!self) return DefSubclassProc(hwnd, msg, wParam, lParam);
    return self->HandleMessage(msg, wParam, lParam);
}

LRESULT Component::Default(UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND hwnd = window_.get();
    return subclassed_ ? DefSubclassProc(hwnd, msg, wParam, lParam) : DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT Component::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    ++depth_;
    const LRESULT result = Dispatch(msg, wParam, lParam);
    --depth_;
    return result;
}

LRESULT Component::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (msg == WM_NCDESTROY) {
        accessible_.Disconnect();
        result = Default(msg, wParam, lParam);
        Detach();
        window_.Forget();
        return result;
    }
    // Our accessible object for the client area, where the type has one.
    if (msg == WM_GETOBJECT)
        if (AccessibleSource* accessible = Accessible();
            accessible && (result = accessible_.Answer(Hwnd(), wParam, lParam, *accessible)) != 0)
            return result;
    if (OnMessage(msg, wParam, lParam, result)) return result;
    if (PaintsItself()) {
        switch (msg) {
        case WM_ERASEBKGND:
            return 1;  // painted with the rest in WM_PAINT
        case WM_PAINT:
            PaintNow();
            return 0;
        case WM_PRINTCLIENT:
            Paint(message::Dc(wParam));
            return 0;
        default:
            break;
        }
    }
    result = Default(msg, wParam, lParam);
    // Generic focus events of the types that take the focus.
    if (takesFocus_ && msg == WM_SETFOCUS) Raise(events::kFocusGained);
    if (takesFocus_ && msg == WM_KILLFOCUS) Raise(events::kFocusLost);
    return result;
}

void Component::PaintNow() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Hwnd(), &ps);
    Paint(dc);
    EndPaint(Hwnd(), &ps);
}

bool Component::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }
bool Component::OnReflected(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

EventOutcome Component::Raise(std::int32_t event, bool wantResult) { return host_.Raise(id_, event, wantResult); }

PropertyValue Component::Read(const FieldRow& row) {
    PropertyValue live;
    if (ReadLive(row, live)) return live;
    return ReadRow(row, PropsIn(settings_));
}

bool Component::Write(const FieldRow& row, const PropertyValue& value) {
    void* props = PropsIn(settings_);
    PropertyValue old;
    if (row.effect == Effect::Custom) {
        BeforeWrite(row.own);
        old = ReadRow(row, props);
    }
    StoreRow(row, props, value);
    switch (row.effect) {
    case Effect::None:
        return false;
    case Effect::Repaint:
        Repaint();
        return false;
    case Effect::Restyle:
        Restyle();
        return false;
    case Effect::Caption:
        ApplyCaption(*static_cast<const Text*>(row.In(props)));
        return false;
    case Effect::Font:
        ApplyFont(*static_cast<const Bytes*>(row.In(props)));
        return false;
    case Effect::Rebuild:
        return true;
    case Effect::Custom:
        return Written(row.own, old);
    case Effect::Place:
    case Effect::Show:
    case Effect::Enable:
        return false;  // effects of the common properties, which the window layer runs
    }
    return false;
}

TypeSettings Component::Settings() {
    SyncSettings();
    return settings_;
}

void Component::ApplyCaption(const Text& caption) { SetWindowTextW(Hwnd(), WideFromGbk(caption).c_str()); }

void Component::ApplyFont(const Bytes& font) {
    font_ = FontFromBlock(font, host_.Scale());
    SendMessageW(Hwnd(), WM_SETFONT, message::HandleParam(Font()), TRUE);
}

HFONT Component::Font() const {
    if (font_) return font_.get();
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));  // stock object, not ours
}

// ---- Shared helpers ----

bool ReflectToChild(ComponentHost& host, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    HWND child = nullptr;
    switch (msg) {
    case WM_COMMAND:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        child = message::Control(lParam);
        break;
    case WM_NOTIFY:
        child = message::Notification(lParam).hwndFrom;
        break;
    case WM_DRAWITEM:
        child = message::DrawItem(lParam).hwndItem;
        break;
    default:
        return false;
    }
    Component* c = child ? host.ComponentFromHwnd(child) : nullptr;
    return c && c->OnReflected(msg, wParam, lParam, result);
}

DWORD ChildStyle(const ComponentEntry& entry, bool clipSiblings) {
    DWORD style = WS_CHILD;
    if (clipSiblings) style |= WS_CLIPSIBLINGS;
    if (entry.disable) style |= WS_DISABLED;
    if (entry.tabStop) style |= WS_TABSTOP;
    return style;
}

UniqueFont FontFromBlock(const Bytes& logFont, const DisplayScale& scale) {
    const std::optional<LogFontA> f = ParseLogFont(logFont);
    if (!f) return UniqueFont{};
    LOGFONTW lf{};
    lf.lfHeight = scale.ToDevice(f->height);
    lf.lfWidth = scale.ToDevice(f->width);
    lf.lfEscapement = f->escapement;
    lf.lfOrientation = f->orientation;
    lf.lfWeight = f->weight;
    lf.lfItalic = f->italic;
    lf.lfUnderline = f->underline;
    lf.lfStrikeOut = f->strikeOut;
    // Fixed overrides whatever the stored font says.
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = PROOF_QUALITY;
    lf.lfPitchAndFamily = 0;
    const std::wstring face = WideFromGbk(f->faceName);
    const std::size_t n = std::min<std::size_t>(face.size(), LF_FACESIZE - 1);
    std::copy_n(face.begin(), n, lf.lfFaceName);
    lf.lfFaceName[n] = L'\0';
    return UniqueFont(Make("component font", [&] { return CreateFontIndirectW(&lf); }));
}

COLORREF ResolveColour(std::uint32_t colour) {
    return colour == kSystemFaceColour ? static_cast<COLORREF>(CurrentScheme().face) : static_cast<COLORREF>(colour);
}

}  // namespace qelvane

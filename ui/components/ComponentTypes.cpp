#include "ui/components/ComponentTypes.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>

#include "base/Gbk.h"
#include "ui/LogFont.h"
#include "ui/components/Button.h"
#include "ui/components/PicBox.h"
#include "ui/components/RadioBox.h"
#include "ui/components/SuperBtn.h"
#include "ui/components/Tab.h"
#include "ui/components/TransLabel.h"

namespace qelvane {
namespace {

constexpr UINT_PTR kSubclassId = 0x51656C76;  // one subclass of ours per control

template <class T>
struct Adapter {
    static std::unique_ptr<Component> Create(const CreateArgs& args) { return T::Create(args); }
    // The table that created a component is the only one that reads it back.
    static PropertyValue Read(Component& c, int own) { return static_cast<T&>(c).Read(own); }
    static bool Apply(Component& c, int own, const PropertyValue& v) { return static_cast<T&>(c).Apply(own, v); }
    static TypeSettings Settings(const Component& c) { return static_cast<const T&>(c).Settings(); }
    static const PropertyInfo* Property(int own) { return InfoOf(T::kProperties, own); }
};

template <class T>
constexpr ComponentType MakeType(TypeCode code, const char* english, const char* chinese, bool canTakeFocus,
                                 std::int32_t (*currentPage)(Component&) = nullptr) {
    return {code,
            english,
            chinese,
            &Adapter<T>::Create,
            &Adapter<T>::Read,
            &Adapter<T>::Apply,
            &Adapter<T>::Settings,
            currentPage,
            &T::ReleaseShared,
            &Adapter<T>::Property,
            canTakeFocus};
}

std::int32_t TabCurrentPage(Component& c) { return static_cast<Tab&>(c).CurrentPage(); }

PropertyValue NoRead(Component&, int) { return {}; }
bool NoApply(Component&, int, const PropertyValue&) { return false; }
TypeSettings NoSettings(const Component&) { return WindowProps{}; }
const PropertyInfo* NoProperty(int) { return nullptr; }

// The window's own record has a type too, built by the window layer.
const ComponentType kWindowType{TypeCode::Window, "window", "窗口", nullptr,  &NoRead, &NoApply, &NoSettings,
                                nullptr,          nullptr,  &NoProperty, false};
const ComponentType kTabType = MakeType<Tab>(TypeCode::Tab, "Tab", "选择夹", false, &TabCurrentPage);
const ComponentType kRadioBoxType = MakeType<RadioBox>(TypeCode::RadioBox, "RadioBox", "单选框", true);
const ComponentType kButtonType = MakeType<Button>(TypeCode::Button, "Button", "按钮", true);
const ComponentType kTransLabelType = MakeType<TransLabel>(TypeCode::TransLabel, "TransLabel", "透明标签", false);
const ComponentType kSuperBtnType = MakeType<SuperBtn>(TypeCode::SuperBtn, "SuperBtn", "超级按钮", true);
const ComponentType kPicBoxType = MakeType<PicBox>(TypeCode::PicBox, "PicBox", "图片框", false);

const ComponentType* const kAllTypes[] = {&kWindowType,     &kPicBoxType,   &kButtonType, &kRadioBoxType,
                                          &kTabType,        &kTransLabelType, &kSuperBtnType};

}  // namespace

const ComponentType* FindComponentType(TypeCode code) {
    for (const ComponentType* t : kAllTypes)
        if (t->code == code) return t;
    return nullptr;
}

std::span<const ComponentType* const> AllComponentTypes() { return kAllTypes; }

// ---- Component ----

Component::Component(const ComponentType& type, ComponentHost& host, std::uint32_t id)
    : type_(type), host_(host), id_(id) {}

Component::~Component() {
    // Detach first: messages of the destruction must not reach a half-destroyed object.
    HWND hwnd = window_.get();
    if (!hwnd) return;
    Detach();
    window_.reset();
}

BuildFailure& LastBuildFailure() {
    static BuildFailure failure;
    return failure;
}

bool Component::CreateNative(const wchar_t* className, DWORD style, DWORD exStyle, const CreateArgs& args,
                             const std::wstring& text) {
    const ComponentEntry& e = args.entry;
    HWND hwnd = CreateWindowExW(exStyle, className, text.c_str(), style, e.left, e.top, e.width, e.height,
                                args.parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(args.controlId)),
                                GetModuleHandleW(nullptr), nullptr);
    if (!hwnd) {
        NoteBuildFailure("CreateWindowExW (native control)");
        return false;
    }
    window_.reset(hwnd);
    subclassed_ = SetWindowSubclass(hwnd, &Component::SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    if (!subclassed_) NoteBuildFailure("SetWindowSubclass");
    return subclassed_;
}

bool Component::CreateOwnClass(const wchar_t* className, DWORD style, DWORD exStyle, const CreateArgs& args,
                               const std::wstring& text) {
    const ComponentEntry& e = args.entry;
    HWND hwnd = CreateWindowExW(exStyle, className, text.c_str(), style, e.left, e.top, e.width, e.height,
                                args.parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(args.controlId)),
                                GetModuleHandleW(nullptr), this);
    if (!hwnd) {
        NoteBuildFailure("CreateWindowExW (own class)");
        return false;
    }
    window_.reset(hwnd);
    return true;
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
    return self->Handle(msg, wParam, lParam);
}

LRESULT CALLBACK Component::OwnClassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* self = static_cast<Component*>(cs->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        // The owner learns the handle only when CreateWindowEx returns; messages before that need it.
        if (self) self->window_.reset(hwnd);
    }
    auto* self = reinterpret_cast<Component*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
    return self->Handle(msg, wParam, lParam);
}

LRESULT Component::Default(UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND hwnd = window_.get();
    return subclassed_ ? DefSubclassProc(hwnd, msg, wParam, lParam) : DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT Component::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    ++depth_;
    LRESULT result = 0;
    if (msg == WM_NCDESTROY) {
        result = Default(msg, wParam, lParam);
        Detach();
        window_.Forget();
    } else if (!OnMessage(msg, wParam, lParam, result)) {
        result = Default(msg, wParam, lParam);
        // Generic focus events of the types that take the focus.
        if (type_.canTakeFocus && msg == WM_SETFOCUS) Raise(events::kFocusGained);
        if (type_.canTakeFocus && msg == WM_KILLFOCUS) Raise(events::kFocusLost);
    }
    --depth_;
    return result;
}

bool Component::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }
bool Component::OnReflected(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

EventOutcome Component::Raise(std::int32_t event, bool wantResult) {
    return host_.Raise(id_, event, wantResult);
}

// ---- Shared helpers ----

bool ReflectToChild(ComponentHost& host, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    HWND child = nullptr;
    switch (msg) {
    case WM_COMMAND:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        child = reinterpret_cast<HWND>(lParam);
        break;
    case WM_NOTIFY:
        child = reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
        break;
    case WM_DRAWITEM:
        child = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem;
        break;
    default:
        return false;
    }
    Component* c = child ? host.ComponentFromHwnd(child) : nullptr;
    return c && c->OnReflected(msg, wParam, lParam, result);
}

bool RegisterComponentClass(const wchar_t* className, UINT classStyle) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = classStyle;
    wc.lpfnWndProc = &Component::OwnClassProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);  // shared system cursor, not ours
    wc.hbrBackground = nullptr;
    wc.lpszClassName = className;
    return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

void UnregisterComponentClass(const wchar_t* className) { UnregisterClassW(className, GetModuleHandleW(nullptr)); }

DWORD ChildStyle(const ComponentEntry& entry, bool clipSiblings) {
    DWORD style = WS_CHILD;
    if (clipSiblings) style |= WS_CLIPSIBLINGS;
    if (entry.disable) style |= WS_DISABLED;
    if (entry.tabStop) style |= WS_TABSTOP;
    return style;
}

UniqueFont FontFromBlock(const Bytes& logFont) {
    const std::optional<LogFontA> f = ParseLogFont(logFont);
    if (!f) return UniqueFont{};
    LOGFONTW lf{};
    lf.lfHeight = f->height;
    lf.lfWidth = f->width;
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
    return UniqueFont(CreateFontIndirectW(&lf));
}

HFONT FontOrDefault(const UniqueFont& font) {
    if (font) return font.get();
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));  // stock object, not ours
}

COLORREF ResolveColour(std::uint32_t colour) {
    return colour == kSystemFaceColour ? GetSysColor(COLOR_BTNFACE) : static_cast<COLORREF>(colour);
}

}  // namespace qelvane

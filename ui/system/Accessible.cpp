#include "ui/system/Accessible.h"

#include <oleacc.h>

#include "base/Messages.h"
#include "base/SystemLibrary.h"
#include "ui/Testing.h"

namespace qelvane {
namespace {

int liveObjects = 0;  // ours, for the tests that count what is left behind

constexpr DWORD kLiveRegionChanged = 0x8019;  // EVENT_OBJECT_LIVEREGIONCHANGED, Windows 8 on
// The live-region setting of UI Automation, which the system reads from MSAA annotations.
constexpr GUID kLiveSettingProperty{0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
constexpr GUID kAccPropServices{0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr GUID kIAccPropServices{0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr long kPolite = 1;

// oleacc is no known DLL: from the system folder, when a screen reader first asks.
HRESULT StdObject(HWND hwnd, IAccessible** out) {
    using Create = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
    auto create = SystemFunction<Create>(L"oleacc.dll", "CreateStdAccessibleObject");
    return create ? create(hwnd, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(out)) : E_FAIL;
}

LRESULT ResultFromObject(WPARAM wParam, IUnknown* object) {
    using Result = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
    auto result = SystemFunction<Result>(L"oleacc.dll", "LresultFromObject");
    return result ? result(__uuidof(IAccessible), wParam, object) : 0;
}

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

HRESULT Text(const std::wstring& text, BSTR* out) {
    if (!out) return E_INVALIDARG;
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

bool IsWindows8OrLater() {
    OSVERSIONINFOEXW want{};
    want.dwOSVersionInfoSize = sizeof want;
    want.dwMajorVersion = 6;
    want.dwMinorVersion = 2;
    DWORDLONG mask = 0;
    mask = VerSetConditionMask(mask, VER_MAJORVERSION, VER_GREATER_EQUAL);
    mask = VerSetConditionMask(mask, VER_MINORVERSION, VER_GREATER_EQUAL);
    return VerifyVersionInfoW(&want, VER_MAJORVERSION | VER_MINORVERSION, mask) != FALSE;
}

}  // namespace

// The system's object for the window with the source's answers in front for the window itself;
// every other question, and every child, goes to the system's.
class AccessibleObject final : public IAccessible {
public:
    AccessibleObject(IAccessible* system, AccessibleSource* source) : system_(system), source_(source) { ++liveObjects; }
    AccessibleObject(const AccessibleObject&) = delete;
    AccessibleObject& operator=(const AccessibleObject&) = delete;

    void Disconnect() {
        source_ = nullptr;
        if (system_) system_->Release();
        system_ = nullptr;
        CoDisconnectObject(static_cast<IAccessible*>(this), 0);  // remote clients' references go
    }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    // COM may count references from its own threads (a client that goes away, say).
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = static_cast<ULONG>(InterlockedDecrement(&references_));
        if (left == 0) {
            if (system_) system_->Release();
            --liveObjects;
            delete this;
        }
        return left;
    }

    // IDispatch: screen readers use the interface, not automation.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count) *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    // IAccessible: ours for the window itself where the source answers.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        return OwnText(child, name, &AccessibleSource::AccName, &IAccessible::get_accName);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        return OwnText(child, description, &AccessibleSource::AccDescription, &IAccessible::get_accDescription);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!system_) return RPC_E_DISCONNECTED;
        if (IsSelf(child) && source_ && role && source_->AccRole()) {
            role->vt = VT_I4;
            role->lVal = source_->AccRole();
            return S_OK;
        }
        return system_->get_accRole(child, role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (!system_) return RPC_E_DISCONNECTED;
        const HRESULT hr = system_->get_accState(child, state);
        if (IsSelf(child) && source_ && state) {
            const long system = SUCCEEDED(hr) && state->vt == VT_I4 ? state->lVal : 0;
            state->vt = VT_I4;
            state->lVal = source_->AccState(system);
            return S_OK;
        }
        return hr;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return OwnText(child, action, &AccessibleSource::AccDefaultAction, &IAccessible::get_accDefaultAction);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        if (!system_) return RPC_E_DISCONNECTED;
        if (IsSelf(child) && source_ && source_->AccDoDefaultAction()) return S_OK;
        return system_->accDoDefaultAction(child);
    }

    // The rest: the system's.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return system_ ? system_->get_accParent(parent) : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        return system_ ? system_->get_accChildCount(count) : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        return system_ ? system_->get_accChild(child, out) : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return system_ ? system_->get_accValue(child, value) : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return system_ ? system_->get_accHelp(child, help) : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        return system_ ? system_->get_accHelpTopic(file, child, topic) : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return system_ ? system_->get_accKeyboardShortcut(child, shortcut) : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        return system_ ? system_->get_accFocus(focus) : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        return system_ ? system_->get_accSelection(selection) : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        return system_ ? system_->accSelect(flags, child) : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* x, long* y, long* w, long* h, VARIANT child) override {
        return system_ ? system_->accLocation(x, y, w, h, child) : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        return system_ ? system_->accNavigate(direction, start, end) : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
        return system_ ? system_->accHitTest(x, y, child) : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    ~AccessibleObject() = default;

    // A text the source gives for the window itself, else the system's.
    HRESULT OwnText(const VARIANT& child, BSTR* out, std::wstring (AccessibleSource::*own)() const,
                    HRESULT (STDMETHODCALLTYPE IAccessible::*system)(VARIANT, BSTR*)) {
        if (!system_) return RPC_E_DISCONNECTED;
        if (IsSelf(child) && source_) {
            if (std::wstring text = (source_->*own)(); !text.empty()) return Text(text, out);
        }
        return (system_->*system)(child, out);
    }

    LONG references_ = 1;
    IAccessible* system_;
    AccessibleSource* source_;
};

LRESULT AccessibleAnswer::Answer(HWND hwnd, WPARAM wParam, LPARAM lParam, AccessibleSource& source) {
    if (message::ObjectId(lParam) != OBJID_CLIENT) return 0;
    if (!object_) {
        IAccessible* system = nullptr;
        if (FAILED(StdObject(hwnd, &system)) || !system) return 0;
        object_ = new AccessibleObject(system, &source);
    }
    return ResultFromObject(wParam, static_cast<IAccessible*>(object_));
}

void AccessibleAnswer::Disconnect() {
    if (!object_) return;
    object_->Disconnect();
    object_->Release();
    object_ = nullptr;
}

void NotifyNameChanged(HWND hwnd) { NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, hwnd, OBJID_CLIENT, CHILDID_SELF); }

// The system's annotation service, where it has one (Windows 8 on for live regions); null else.
static IAccPropServices* Annotations() {
    if (!IsWindows8OrLater()) return nullptr;
    IAccPropServices* services = nullptr;
    if (FAILED(CoCreateInstance(kAccPropServices, nullptr, CLSCTX_INPROC_SERVER, kIAccPropServices,
                                reinterpret_cast<void**>(&services))))
        return nullptr;
    return services;
}

void MarkLiveRegion(HWND hwnd) {
    IAccPropServices* services = Annotations();
    if (!services) return;
    VARIANT polite;
    VariantInit(&polite);
    polite.vt = VT_I4;
    polite.lVal = kPolite;
    services->SetHwndProp(hwnd, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, kLiveSettingProperty, polite);
    services->Release();
}

void ForgetLiveRegion(HWND hwnd) {
    IAccPropServices* services = Annotations();
    if (!services) return;
    MSAAPROPID property = kLiveSettingProperty;
    services->ClearHwndProps(hwnd, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &property, 1);
    services->Release();
}

void NotifyLiveRegionChanged(HWND hwnd) {
    if (IsWindows8OrLater()) NotifyWinEvent(kLiveRegionChanged, hwnd, OBJID_CLIENT, CHILDID_SELF);
}

namespace testing {
int LiveAccessibleObjects() { return liveObjects; }
bool HasLiveRegionEvent() { return IsWindows8OrLater(); }
}  // namespace testing

}  // namespace qelvane

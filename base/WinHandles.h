// Move-only owners of the Win32 handles the runtime and its components create.
// Each kind keeps a count of live handles: GetGuiResources is a stub under
// Wine, so tests read these counters to find leaks (base/Testing.h).
#pragma once

#include <windows.h>

#include <utility>

namespace qelvane {

enum class HandleKind { Window, Font, Brush, Bitmap, Icon, Dc, Count };

namespace detail {
void CountHandle(HandleKind kind, int delta);

struct WindowTraits {
    using Handle = HWND;
    static constexpr HandleKind kKind = HandleKind::Window;
    static void Release(HWND h) { DestroyWindow(h); }
};
// Fonts, brushes and bitmaps: GDI objects, released with DeleteObject.
template <class H, HandleKind K>
struct GdiTraits {
    using Handle = H;
    static constexpr HandleKind kKind = K;
    static void Release(H h) { DeleteObject(h); }
};
struct IconTraits {
    using Handle = HICON;
    static constexpr HandleKind kKind = HandleKind::Icon;
    static void Release(HICON h) { DestroyIcon(h); }
};
// Memory device contexts (CreateCompatibleDC); DCs from GetDC are not ours.
struct DcTraits {
    using Handle = HDC;
    static constexpr HandleKind kKind = HandleKind::Dc;
    static void Release(HDC h) { DeleteDC(h); }
};
}  // namespace detail

template <class Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() = default;
    // Takes ownership of a freshly created handle (null is allowed: creation failed).
    explicit UniqueHandle(Handle h) : handle_(h) {
        if (handle_) detail::CountHandle(Traits::kKind, +1);
    }
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

    void reset(Handle h = nullptr) {
        Handle old = handle_;
        if (old && old != h) {
            Traits::Release(old);
            // Releasing a window re-enters us through WM_NCDESTROY, which calls Forget().
            if (handle_ == old) Forget();
        }
        if (h && h != old) {
            handle_ = h;
            detail::CountHandle(Traits::kKind, +1);
        }
    }

    // The handle is gone without our doing (a window destroyed with its parent).
    void Forget() {
        if (handle_) {
            handle_ = nullptr;
            detail::CountHandle(Traits::kKind, -1);
        }
    }

private:
    Handle handle_ = nullptr;
};

using UniqueWindow = UniqueHandle<detail::WindowTraits>;
using UniqueFont = UniqueHandle<detail::GdiTraits<HFONT, HandleKind::Font>>;
using UniqueBrush = UniqueHandle<detail::GdiTraits<HBRUSH, HandleKind::Brush>>;
using UniqueBitmap = UniqueHandle<detail::GdiTraits<HBITMAP, HandleKind::Bitmap>>;
using UniqueIcon = UniqueHandle<detail::IconTraits>;
using UniqueDc = UniqueHandle<detail::DcTraits>;

namespace detail {
bool CreationRefused(const char* site);
}

// Every font, brush, bitmap, DC and window of ours is made through here, named by the place that
// makes it, so that a test can have any one creation fail as if the system had refused it.
template <class Create>
auto Make(const char* site, Create&& create) -> decltype(create()) {
    if (detail::CreationRefused(site)) return nullptr;
    return create();
}

// Selects a GDI object into a DC and puts the previous one back, into the same DC.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;
    ~ScopedSelect() {
        if (previous_) SelectObject(dc_, previous_);
    }

private:
    HDC dc_;
    HGDIOBJ previous_;  // belongs to whoever selected it before us
};

}  // namespace qelvane

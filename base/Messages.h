// What a window message carries, read by name: the only place where a WPARAM or an LPARAM is
// taken apart or cast. Each reader names the messages it is for.
#pragma once

#include <windows.h>
#include <windowsx.h>

#include <cstdint>

namespace qelvane::message {

// Messages that the headers do not name.
inline constexpr UINT kSystemTimer = 0x0118;  // WM_SYSTIMER: the system timer behind the caret blink
inline constexpr UINT kDpiChanged = 0x02E0;   // WM_DPICHANGED, Windows 8.1 on

// WM_PAINT's WM_PRINTCLIENT twin, WM_ERASEBKGND, WM_CTLCOLOR*: the device context.
inline HDC Dc(WPARAM wParam) { return reinterpret_cast<HDC>(wParam); }
// WM_COMMAND: the notification code and the control that sent it.
inline UINT CommandCode(WPARAM wParam) { return HIWORD(wParam); }
// WM_COMMAND, WM_CTLCOLOR*: the control.
inline HWND Control(LPARAM lParam) { return reinterpret_cast<HWND>(lParam); }
// WM_NOTIFY.
inline const NMHDR& Notification(LPARAM lParam) { return *reinterpret_cast<const NMHDR*>(lParam); }
// WM_DRAWITEM.
inline const DRAWITEMSTRUCT& DrawItem(LPARAM lParam) { return *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam); }
// WM_NCCREATE, WM_CREATE.
inline const CREATESTRUCTW& Creation(LPARAM lParam) { return *reinterpret_cast<const CREATESTRUCTW*>(lParam); }

// WM_ACTIVATE.
struct Activation {
    bool inactive;   // the window loses the activation
    bool minimised;  // activated while minimised
};
inline Activation ActivationOf(WPARAM wParam) { return {LOWORD(wParam) == WA_INACTIVE, HIWORD(wParam) != 0}; }
// WM_SYSCOMMAND: the command, without the bits the system uses itself.
inline UINT SystemCommand(WPARAM wParam) { return static_cast<UINT>(wParam & 0xFFF0); }

// WM_DPICHANGED: the new DPI and where the system suggests the window goes.
struct DpiChange {
    int dpi;
    const RECT* suggested;
};
inline DpiChange DpiChangeOf(WPARAM wParam, LPARAM lParam) {
    return {LOWORD(wParam), reinterpret_cast<const RECT*>(lParam)};
}

// BM_SETSTYLE: the button style asked for.
inline DWORD ButtonStyle(WPARAM wParam) { return static_cast<DWORD>(wParam); }
inline WPARAM FromButtonStyle(DWORD style) { return static_cast<WPARAM>(style); }
// WM_GETOBJECT: which object is asked for.
inline LONG ObjectId(LPARAM lParam) { return static_cast<LONG>(lParam); }
// A point packed as GetMessagePos packs it (screen coordinates).
inline POINT PackedPoint(DWORD pos) { return {GET_X_LPARAM(pos), GET_Y_LPARAM(pos)}; }

// Parameters of messages we send: a handle (a DC, a font, an icon) or a pointer to a structure.
inline WPARAM HandleParam(const void* handle) { return reinterpret_cast<WPARAM>(handle); }
inline LPARAM HandleLParam(const void* handle) { return reinterpret_cast<LPARAM>(handle); }
inline LPARAM PointerParam(const void* structure) { return reinterpret_cast<LPARAM>(structure); }
inline WPARAM IndexParam(int index) { return static_cast<WPARAM>(index); }

// Our own messages that carry a component identifier in wParam.
inline std::uint32_t ComponentId(WPARAM wParam) { return static_cast<std::uint32_t>(wParam); }
inline WPARAM FromComponentId(std::uint32_t id) { return static_cast<WPARAM>(id); }

}  // namespace qelvane::message

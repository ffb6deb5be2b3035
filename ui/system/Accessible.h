// What screen readers are told about the components whose system object says the wrong thing:
// the system's standard object for the window, with the component's answers in front of it for
// the window itself (Microsoft Active Accessibility).
#pragma once

#include <windows.h>

#include <string>

namespace qelvane {

// A component's answers; an empty text, a zero role or false leaves the system's.
class AccessibleSource {
public:
    virtual long AccRole() const = 0;
    virtual std::wstring AccName() const { return {}; }
    virtual std::wstring AccDescription() const { return {}; }
    virtual long AccState(long systemState) const { return systemState; }
    virtual std::wstring AccDefaultAction() const { return {}; }
    // Starts what the default action does; false leaves it to the system.
    virtual bool AccDoDefaultAction() { return false; }

protected:
    ~AccessibleSource() = default;
};

class AccessibleObject;

// The one accessible object of a component's window: made on the first request, cut off from
// every client when the window goes, so that a screen reader holding it gets an error, not us.
class AccessibleAnswer {
public:
    AccessibleAnswer() = default;
    AccessibleAnswer(const AccessibleAnswer&) = delete;
    AccessibleAnswer& operator=(const AccessibleAnswer&) = delete;
    ~AccessibleAnswer() { Disconnect(); }

    // The WM_GETOBJECT answer for the client area; 0 (the system's object) for anything else.
    LRESULT Answer(HWND hwnd, WPARAM wParam, LPARAM lParam, AccessibleSource& source);
    void Disconnect();

private:
    AccessibleObject* object_ = nullptr;
};

// Tells screen readers that what they read of the window's client area changed.
void NotifyNameChanged(HWND hwnd);
// Marks the window a polite live region (Windows 8 on: speak its changes once, without
// taking the focus) and raises the live-region event where the system has one.
void MarkLiveRegion(HWND hwnd);
void NotifyLiveRegionChanged(HWND hwnd);
// Takes the mark off again; for a window that goes.
void ForgetLiveRegion(HWND hwnd);

}  // namespace qelvane

// How the window layer reaches whoever dispatches its events: the runtime
// implements this and hands it to each window it builds.
#pragma once

#include <cstdint>

namespace qelvane {

struct EventOutcome {
    bool handled = false;    // a routine ran
    bool hasResult = false;  // it handed back a value (our routines never do)
    std::int32_t result = 0;
};

class WindowEvents {
public:
    // Event `event` of a component of window `window` (component 0: the window's own record).
    virtual EventOutcome Raise(std::uint32_t window, std::uint32_t component, std::int32_t event,
                               bool wantResult) = 0;
    // A window of the program has been destroyed.
    virtual void Destroyed() = 0;

protected:
    ~WindowEvents() = default;
};

}  // namespace qelvane

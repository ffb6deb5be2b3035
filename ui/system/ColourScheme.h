// The user's colour scheme as our components draw with it: read once, and again whenever the
// window hears that the scheme changed.
#pragma once

#include "ui/system/ColourContrast.h"

namespace qelvane {

const SchemeColours& CurrentScheme();
// Reads the system colours and the high-contrast setting again.
void ReloadScheme();

}  // namespace qelvane

// The stored form of MainWindow, generated at build time by `formc --emit-cpp`
// from the typed tables; the runtime decodes these bytes at start.
#pragma once

#include <cstddef>

namespace qelvane {

extern const unsigned char kStoredForm[];
extern const std::size_t kStoredFormSize;

}  // namespace qelvane

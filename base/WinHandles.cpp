#include "base/WinHandles.h"

#include <array>

namespace qelvane {
namespace {
std::array<int, static_cast<std::size_t>(HandleKind::Count)> liveHandles{};
}

int LiveHandles(HandleKind kind) { return liveHandles[static_cast<std::size_t>(kind)]; }

void detail::CountHandle(HandleKind kind, int delta) {
    liveHandles[static_cast<std::size_t>(kind)] += delta;
}

}  // namespace qelvane

#include "base/WinHandles.h"
#include "base/Testing.h"

#include <array>

namespace qelvane {
namespace {
std::array<int, static_cast<std::size_t>(HandleKind::Count)> liveHandles{};
unsigned creations = 0;
unsigned failingCreation = 0;
const char* refusedSite = nullptr;
}  // namespace

int LiveHandles(HandleKind kind) { return liveHandles[static_cast<std::size_t>(kind)]; }

void detail::CountHandle(HandleKind kind, int delta) {
    liveHandles[static_cast<std::size_t>(kind)] += delta;
}

bool detail::CreationRefused(const char* site) {
    if (++creations != failingCreation) return false;
    refusedSite = site;
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return true;
}

void testing::FailCreationNumber(unsigned n) {
    creations = 0;
    failingCreation = n;
    refusedSite = nullptr;
}
unsigned testing::CreationCount() { return creations; }
const char* testing::RefusedCreation() { return refusedSite; }

}  // namespace qelvane

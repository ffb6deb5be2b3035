#include "app/Routines.h"

#include <array>

#include "app/RoutineOffsets.h"
#include "runtime/Identifiers.h"
#include "runtime/Runtime.h"

namespace qelvane {
namespace {

constexpr std::array<Routine, kRoutineCount> kRoutines = [] {
    std::array<Routine, kRoutineCount> table{};
    table[kRefreshPriceLabelOffset] = &RefreshPriceLabel;
    table[kOpenOrderPageOffset] = &OpenOrderPage;
    table[kOpenQqChatOffset] = &OpenQqChat;
    return table;
}();

}  // namespace

std::span<const Routine> ProgramRoutines() { return kRoutines; }

std::int32_t ProgramEntry() {
    InitializeRuntime();
    InitGlobals();
    RegisterExitRoutine(&ExitRoutine);
    (void)StartupRoutine();
    LoadWindow(kMainWindowId);
    RunMessageLoop();
    return 0;
}

void InitGlobals() {}  // the program has no global variables

void ExitRoutine() {}

std::int32_t StartupRoutine() { return 0; }

void RefreshPriceLabel() {}

void OpenOrderPage() {}

void OpenQqChat() {}

}  // namespace qelvane

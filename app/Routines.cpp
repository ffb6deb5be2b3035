#include "app/Routines.h"

#include <array>

#include "app/Links.h"
#include "app/RoutineOffsets.h"
#include "app/ServiceCatalogue.h"
#include "app/StoredForm.h"
#include "app/Identifiers.h"
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
    InitializeRuntime(std::span<const std::uint8_t>(kStoredForm, kStoredFormSize), ProgramRoutines());
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

namespace {

std::uint64_t TextSlot(const char* text) { return reinterpret_cast<std::uintptr_t>(text); }

void OpenTextLink(const std::string& link) {
    const CommandArgument argument{TextSlot(link.c_str()), kArgumentText};
    OpenLink(std::span(&argument, 1));
}

}  // namespace

void RefreshPriceLabel() {
    SetProperty(kMainWindowId, kPriceLabelId, kLabelCaptionProperty, -1, TextSlot(kDefaultPriceText));
    const auto page = static_cast<std::int32_t>(GetProperty(kMainWindowId, kTabId, kCurrentPageProperty, -1));
    // Each checked box overwrites the text of an earlier one.
    for (const Service& service : ServicesOfPage(page))
        if (GetProperty(kMainWindowId, service.radioBoxId, kCheckedProperty, -1) == 1)
            SetProperty(kMainWindowId, kPriceLabelId, kLabelCaptionProperty, -1, TextSlot(service.priceText));
}

void OpenOrderPage() { OpenTextLink(OrderLink()); }

void OpenQqChat() { OpenTextLink(ChatLink()); }

}  // namespace qelvane

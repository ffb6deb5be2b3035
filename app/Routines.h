// The program's own routines and its start-up sequence.
#pragma once

#include <cstdint>
#include <span>

#include "ui/form/FormModel.h"

namespace qelvane {

// Start-up through the message loop; returns 0 when the window has been closed.
std::int32_t ProgramEntry();

void InitGlobals();
void ExitRoutine();
std::int32_t StartupRoutine();

// Event routines, bound by the form.
void RefreshPriceLabel();
void OpenOrderPage();
void OpenQqChat();

// The routine area in offset order (app/RoutineOffsets.h).
std::span<const Routine> ProgramRoutines();

}  // namespace qelvane

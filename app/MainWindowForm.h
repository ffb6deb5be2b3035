// The form of MainWindow as typed tables: the single source of the stored form.
#pragma once

#include "ui/form/FormModel.h"

namespace qelvane {

// MainWindow: its own entry and its eighteen components in form order. Built
// on first use; bindings carry routine offsets only (routine == nullptr).
const FormDescription& MainWindowForm();

// The font both super buttons carry: 宋体, 12 pixels, as a 60-byte LOGFONTA.
Bytes SuperBtnFont();

}  // namespace qelvane

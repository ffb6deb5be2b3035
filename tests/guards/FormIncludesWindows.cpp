// Must not compile: code of the form model including windows.h.
#include "ui/form/FormModel.h"

#include <windows.h>

// First on the include path of the form model: the form model is portable (the host tools and
// tests build it), so windows.h has no place there.
#error "the form model is portable: ui/form includes no windows.h"

// Must not compile: code of the ui layer including a header of the runtime, above it.
#include "runtime/Runtime.h"

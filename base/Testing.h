// What tests reach in the base layer, and the program never calls.
#pragma once

#include "base/WinHandles.h"

namespace qelvane {

// Live handles per kind, created and not yet released by one of our owners.
int LiveHandles(HandleKind kind);

namespace testing {
// Counts creations from now on and makes the nth fail (1: the next one; 0: none).
void FailCreationNumber(unsigned n);
unsigned CreationCount();
// The place whose creation was made to fail, or null.
const char* RefusedCreation();
}  // namespace testing

}  // namespace qelvane

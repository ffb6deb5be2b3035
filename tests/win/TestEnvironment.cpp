// A fatal error inside any test ends its process with the box text on stderr
// instead of a modal box that nobody closes.
#include <cstdio>

#include "app/Testing.h"
#include "runtime/Runtime.h"

namespace {

void PrintBox(const std::string& text) {
    std::fprintf(stderr, "fatal runtime error box (GBK):\n%s\n", text.c_str());
    std::fflush(stderr);
}

const bool installed = [] {
    qelvane::testing::SetFatalBoxHook(&PrintBox);
    return true;
}();

}  // namespace

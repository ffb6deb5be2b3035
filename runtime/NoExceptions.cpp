// Linked into the program only (the test programs keep the library's own):
// the library's throw helpers, replaced, so that none of its exception
// machinery comes into the exe.
#include <cstdint>
#include <string>

#include "runtime/Heap.h"

// A request too large to allocate (a container asked to grow past its limit)
// gets the allocation failure's fatal report. A new use of another of the
// library's throw helpers shows at link time as a second definition.
namespace std {
void __throw_bad_alloc() { qelvane::heap::Fail(SIZE_MAX); }
void __throw_bad_array_new_length() { qelvane::heap::Fail(SIZE_MAX); }
void __throw_length_error(const char*) { qelvane::heap::Fail(SIZE_MAX); }
// A string made from a null pointer: a fault of ours, ended the same way.
void __throw_logic_error(const char*) { qelvane::heap::Fail(SIZE_MAX); }
}  // namespace std

// Since GCC 13 a string's replace (an assignment from a C string, an insert, some operator+)
// calls an out-of-line cold part, which the library keeps beside its exception code; made here,
// it does not bring that in.
#if defined(__GLIBCXX__) && __GNUC__ >= 13
template void std::string::_M_replace_cold(char*, std::string::size_type, const char*, std::string::size_type,
                                           std::string::size_type);
#endif

// The stored form: FormDescription <-> bytes. Portable; no platform headers.
//
// The decoder trusts nothing it reads. Anything malformed gives nothing: truncated,
// trailing bytes, a reserved field or run-time slot not zero, an offset or length that
// does not match the records as laid out, an unknown type, a block with bytes missing or
// left over, broken parent or page lists, an unknown routine offset, ...
// A property block older than its type reads over the defaults and is written back at the
// type's own version; a newer one is kept as stored, for the window layer to refuse. A form
// whose blocks are all at their types' versions re-encodes to the same bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "ui/form/FormModel.h"

namespace qelvane {

// The stored bytes of `form`; empty when the form cannot be stored (a name,
// remark or tag holding a zero byte, a zero identifier in a page list, a page
// list on a type other than Tab, settings of another type than the entry's,
// or a size beyond 32 bits).
Bytes EncodeForm(const FormDescription& form);

// Decodes a stored form and resolves its event bindings: routine offset -1
// gives no routine; an offset k with 0 <= k < routines.size() gives
// routines[k]; any other offset rejects the form (so an empty table accepts
// offset -1 only). routineOffset is kept as stored.
//
// The program passes its real routine table. Tools and tests that only need
// the offsets checked pass kRoutineCount null entries: the bindings then keep
// their offsets with routine == nullptr, exactly as the typed tables hold them.
//
// On failure, *whyNot (when given) names the reason and the byte offset.
std::optional<FormDescription> DecodeForm(std::span<const std::uint8_t> bytes,
                                          std::span<const Routine> routines,
                                          std::string* whyNot = nullptr);

// Whether `text` is well-formed GBK (code page 936) without a zero byte.
bool IsGbkText(std::string_view text);

}  // namespace qelvane

// Must not compile: an `absent` value, which is stored as a number, on a text field.
#include "ui/form/SchemaRows.h"

namespace {
struct Props {
    qelvane::Text caption;
};
constexpr qelvane::FieldRow kRow = qelvane::rows::Row<&Props::caption>("Caption", 8, {.since = 2, .absent = 1});
}  // namespace

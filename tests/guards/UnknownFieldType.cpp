// Must not compile: a schema row over a field of a type the schema cannot store.
#include "ui/form/SchemaRows.h"

namespace {
struct Props {
    short small = 0;
};
constexpr qelvane::FieldRow kRow = qelvane::rows::Row<&Props::small>("Small", 8);
}  // namespace

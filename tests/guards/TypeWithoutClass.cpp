// Must not compile: a settings type in the variant with no component class to build it.
#include "ui/components/ComponentTable.h"

namespace {
struct OrphanProps {
    static constexpr qelvane::TypeCode kCode = static_cast<qelvane::TypeCode>(0x00090001);
};
using Settings = std::variant<qelvane::WindowProps, OrphanProps>;
constexpr auto kTable = qelvane::table::TableOf(static_cast<const Settings*>(nullptr));
}  // namespace

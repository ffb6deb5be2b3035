// The table of component types, made from the alternatives of TypeSettings: each settings type
// names its class (ComponentClass, beside the class), and the entry takes the class's traits.
#include "ui/components/ComponentTable.h"
#include "ui/components/Controls.h"
#include "ui/components/SuperBtn.h"

namespace qelvane {
namespace {

constexpr auto kTypes = table::TableOf(static_cast<const TypeSettings*>(nullptr));

}  // namespace

const ComponentType* FindComponentType(TypeCode code) {
    for (const ComponentType& t : kTypes)
        if (t.code == code && t.create) return &t;
    return nullptr;
}

}  // namespace qelvane

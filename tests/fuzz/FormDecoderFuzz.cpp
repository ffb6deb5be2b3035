// libFuzzer target for the stored-form decoder and the property-block readers.
// Built and run by scripts/fuzz-form. Whatever is accepted must encode to bytes
// that decode to the same form; anything else must be refused without a fault.

#include <array>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "app/RoutineOffsets.h"
#include "ui/form/FormCodec.h"
#include "ui/form/Schema.h"

namespace {

constexpr std::array<qelvane::TypeCode, 7> kTypes = {
    qelvane::TypeCode::Window, qelvane::TypeCode::Tab,        qelvane::TypeCode::RadioBox,
    qelvane::TypeCode::Button, qelvane::TypeCode::TransLabel, qelvane::TypeCode::SuperBtn,
    qelvane::TypeCode::PicBox,
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qelvane;
    std::span<const std::uint8_t> bytes(data, size);

    std::array<Routine, kRoutineCount> routines{};
    if (auto form = DecodeForm(bytes, routines)) {
        // An older property block comes back at its type's own version, so the bytes may
        // differ there; what is written must read back as the same form and write itself again.
        Bytes again = EncodeForm(*form);
        auto second = DecodeForm(again, routines);
        if (!second || !(*second == *form) || EncodeForm(*second) != again) std::abort();
    }

    // The same bytes as a property block of every type: a block at the type's
    // own version that reads must be exactly what the writer gives back.
    for (TypeCode type : kTypes) {
        auto settings = ReadTypeSettings(type, bytes);
        if (!settings) continue;
        if (BlockVersion(bytes) != OwnBlockVersion(type)) continue;
        Bytes again = WriteTypeSettings(*settings);
        if (again.size() != size || !std::equal(again.begin(), again.end(), data)) std::abort();
    }
    return 0;
}

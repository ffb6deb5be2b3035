// How the table of component types is made from the alternatives of a settings variant: one
// entry per alternative, from the class its ComponentClass names. An alternative without a
// class does not compile. Used by ComponentTypes.cpp only.
#pragma once

#include <array>
#include <memory>
#include <type_traits>
#include <variant>

#include "ui/components/Component.h"

namespace qelvane::table {

template <class T>
std::unique_ptr<Component> Create(const CreateArgs& args) {
    if (!std::holds_alternative<typename T::Props>(args.entry.settings)) return nullptr;
    auto object = std::make_unique<T>(args.host, args.entry);
    if (!object->Build(args)) return nullptr;
    return object;
}

template <class T>
constexpr bool (*DefaultButtonTest())(HWND) {
    if constexpr (requires(HWND h) { T::IsDefaultButton(h); })
        return &T::IsDefaultButton;
    else
        return nullptr;
}

template <class Props>
constexpr ComponentType EntryFor() {
    using T = typename ComponentClass<Props>::Type;
    if constexpr (std::is_void_v<T>) {
        return {Props::kCode, nullptr, false, false, nullptr};
    } else {
        static_assert(std::is_same_v<typename T::Props, Props>, "a class for other settings");
        return {Props::kCode, &Create<T>, T::kTakesFocus, T::kInRadioGroups, DefaultButtonTest<T>()};
    }
}

template <class... Props>
constexpr std::array<ComponentType, sizeof...(Props)> TableOf(const std::variant<Props...>*) {
    return {EntryFor<Props>()...};
}

}  // namespace qelvane::table

// The window's components in form order, read from the program's own form
// tables: what the focus and radio-group rules are tested against.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/MainWindowForm.h"

namespace qelvane::testing {

struct Layout {
    std::string name;
    int page;  // the tab control's page it sits on, -1 when it is on the window
    bool radio;
    bool tabStop;
    bool canFocus;  // a type that takes the keyboard focus
};

inline const std::vector<Layout>& FormLayout() {
    static const std::vector<Layout> layout = [] {
        std::vector<Layout> out;
        const auto& components = MainWindowForm().windows[0].components;
        for (const ComponentEntry& e : components) {
            int page = -1;
            for (const ComponentEntry& tab : components)
                for (std::size_t p = 0; p < tab.pageList.size(); ++p)
                    for (std::uint32_t id : tab.pageList[p])
                        if (id == e.id) page = static_cast<int>(p);
            const bool radio = e.type == TypeCode::RadioBox;
            out.push_back({e.name, page, radio, e.tabStop,
                           radio || e.type == TypeCode::Button || e.type == TypeCode::SuperBtn});
        }
        return out;
    }();
    return layout;
}

inline std::size_t IndexOf(const std::string& name) {
    const auto& form = FormLayout();
    for (std::size_t i = 0; i < form.size(); ++i)
        if (name == form[i].name) return i;
    ADD_FAILURE() << "no component " << name;
    return 0;
}

// The name of the component at `index`, "(none)" for no index.
inline std::string NameOf(std::optional<std::size_t> index) {
    return index ? FormLayout()[*index].name : "(none)";
}

// One value per component of the form, made by `make(layout, inView)`, with the components of
// page `front` and those on no page in view.
template <class Make>
auto WithPageInFront(int front, Make make) {
    std::vector<decltype(make(FormLayout().front(), true))> out;
    for (const Layout& l : FormLayout()) out.push_back(make(l, l.page < 0 || l.page == front));
    return out;
}

}  // namespace qelvane::testing

// `Tab` (选择夹): the common tab control, one page per caption; its pages'
// components are shown and hidden by the window layer's page sync.
#pragma once

#include <array>
#include <memory>

#include "ui/components/ComponentTypes.h"

namespace qelvane {

class Tab final : public Component {
public:
    static constexpr int kHeaderPos = 0, kMultiLine = 1, kFont = 2, kPageCaptions = 3, kCurrentPage = 4,
                         kHideHeader = 5, kFillBack = 6, kBackColor = 7;
    static constexpr std::array<PropertyRow<TabProps>, 8> kProperties{{
        {ChoiceProperty("HeaderPos", 3), &TabProps::headerPos},
        {TruthProperty("MultiLine"), &TabProps::multiLine},
        {BlockProperty("font"), &TabProps::font},
        {BlockProperty("PageCaptions"), std::monostate{}},  // one block: u16 count, counted texts
        {IntegerProperty("CurrentPage"), &TabProps::currentPage},
        {TruthProperty("HideHeader"), &TabProps::hideHeader},
        {TruthProperty("FillBack"), &TabProps::fillBack},
        {IntegerProperty("BackColor"), &TabProps::backColor},
    }};

    static std::unique_ptr<Component> Create(const CreateArgs& args);
    static void ReleaseShared();

    PropertyValue Read(int own);
    bool Apply(int own, const PropertyValue& value);
    TypeSettings Settings() const { return props_; }

    // The selected page, -1 when none; without headers the stored page.
    std::int32_t CurrentPage() const;
    int PageCount() const;

    bool OnReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    template <class T, class P>
    friend std::unique_ptr<Component> MakeComponent(TypeCode, const CreateArgs&);
    Tab(const ComponentType& type, ComponentHost& host, const ComponentEntry& entry);
    bool Build(const CreateArgs& args);
    bool BuildContainer(const CreateArgs& args);
    void PaintContainer(HDC dc);
    void ApplyHeaderStyle();
    bool Headerless() const { return props_.hideHeader != 0; }

    TabProps props_;
    UniqueFont font_;
    bool headerless_ = false;  // built as a plain container; HideHeader counts only at creation
};

}  // namespace qelvane

#pragma once
// The bar of tabs at the bottom of a tab controller: one button per tab item, the
// selected one marked. A touch on a tab is handed to the tab controller, which decides.
//
// Ownership: the bar shares the tab items (their controllers own them) and owns its
// buttons. The selection handler is set by the tab controller that owns the bar.

#include "platform/ui/View.h"

#include <functional>
#include <memory>
#include <vector>

namespace ui {

class TabBarItem;

class TabBar : public View {
public:
    static constexpr double height = 49;

    TabBar();
    explicit TabBar(const Rect& frame);
    ~TabBar() override;

    std::string typeName() const override { return "TabBar"; }

    void setItems(std::vector<std::shared_ptr<TabBarItem>> items);
    const std::vector<std::shared_ptr<TabBarItem>>& items() const { return m_items; }
    // The marked item; -1 for none.
    int selectedIndex() const { return m_selectedIndex; }
    void setSelectedIndex(int index);

    bool isTranslucent() const { return m_translucent; }
    void setTranslucent(bool translucent);

    // Called with the index of a tab the user touched.
    void setSelectionHandler(std::function<void(int)> handler) { m_selectionHandler = std::move(handler); }

    void layoutSubviews() override;
    void draw(Painter& painter) override;

private:
    void forgetItems();

    std::vector<std::shared_ptr<TabBarItem>> m_items;
    std::vector<std::shared_ptr<View>> m_buttons;
    int m_selectedIndex { -1 };
    bool m_translucent { true };
    std::function<void(int)> m_selectionHandler;
};

} // namespace ui

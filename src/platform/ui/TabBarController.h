#pragma once
// Screens side by side behind a tab bar; one shows at a time. The delegate may refuse a
// tab the user touches and hears of every tab the user selects (touching the selected tab
// again included); choosing a tab in code tells the delegate nothing.
//
// Ownership: the tab controller owns its screens (as children) and its tab bar; the
// delegate is a plain pointer, which its owner clears (or outlives the tab controller).

#include "platform/ui/ViewController.h"

#include <memory>
#include <vector>

namespace ui {

class TabBar;
class TabBarController;

class TabBarControllerDelegate {
public:
    virtual ~TabBarControllerDelegate() = default;
    // Asked before the user's choice takes effect; false keeps the current tab.
    virtual bool shouldSelectViewController(TabBarController&, ViewController&) { return true; }
    // Told after the user chose a tab.
    virtual void didSelectViewController(TabBarController&, ViewController&) { }
};

class TabBarController : public ViewController {
public:
    TabBarController();
    ~TabBarController() override;

    void setViewControllers(std::vector<std::shared_ptr<ViewController>> controllers, bool animated = false);
    const std::vector<std::shared_ptr<ViewController>>& viewControllers() const { return m_controllers; }
    // Which screens the user may rearrange; kept only (the tabs are never rearranged here).
    void setCustomizableViewControllers(std::vector<std::shared_ptr<ViewController>> controllers)
    {
        m_customizable = std::move(controllers);
    }

    // -1 when there are no tabs. Setting an index out of range does nothing.
    int selectedIndex() const { return m_selectedIndex; }
    void setSelectedIndex(int index);
    ViewController* selectedViewController() const;
    void setSelectedViewController(const ViewController& controller);

    TabBar& tabBar();
    TabBarControllerDelegate* delegate() const { return m_delegate; }
    void setDelegate(TabBarControllerDelegate* delegate) { m_delegate = delegate; }

    // A touch on tab `index`: asks the delegate, selects, tells the delegate. Touching the
    // selected tab of a navigation stack takes that stack back to its root.
    void userSelectedTab(int index);

    // The tab items of the screens changed; the bar shows them again.
    void tabItemsChanged();

    void loadView() override;

protected:
    std::vector<ViewController*> childrenForAppearance() const override;

private:
    Rect contentFrame() const;
    void showSelected(int previous);

    std::vector<std::shared_ptr<ViewController>> m_controllers;
    std::vector<std::shared_ptr<ViewController>> m_customizable;
    std::shared_ptr<TabBar> m_tabBar;
    int m_selectedIndex { -1 };
    TabBarControllerDelegate* m_delegate { nullptr };
};

} // namespace ui

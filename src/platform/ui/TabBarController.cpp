#include "platform/ui/TabBarController.h"

#include "platform/ui/NavigationController.h"
#include "platform/ui/TabBar.h"
#include "platform/ui/TabBarItem.h"
#include "platform/ui/View.h"

#include <algorithm>

namespace ui {

TabBarController::TabBarController()
    : m_tabBar(std::make_shared<TabBar>())
{
    m_tabBar->setSelectionHandler([this](int index) { userSelectedTab(index); });
}

TabBarController::~TabBarController()
{
    m_tabBar->setSelectionHandler(nullptr);
    m_tabBar->setItems({});
}

TabBar& TabBarController::tabBar()
{
    return *m_tabBar;
}

void TabBarController::loadView()
{
    auto container = std::make_shared<View>(Rect { 0, 0, 320, 460 });
    container->setBackgroundColor(Color::whiteColor());
    setView(container);
    Rect bounds = container->bounds();
    m_tabBar->setFrame({ 0, bounds.height() - TabBar::height, bounds.width(), TabBar::height });
    container->addSubview(m_tabBar);
    showSelected(-1);
}

Rect TabBarController::contentFrame() const
{
    auto* container = viewIfLoaded();
    if (!container)
        return {};
    Rect bounds = container->bounds();
    return { 0, 0, bounds.width(), std::max(0.0, bounds.height() - TabBar::height) };
}

void TabBarController::tabItemsChanged()
{
    std::vector<std::shared_ptr<TabBarItem>> items;
    for (auto& controller : m_controllers)
        items.push_back(controller->tabBarItem());
    m_tabBar->setItems(std::move(items));
    m_tabBar->setSelectedIndex(m_selectedIndex);
}

void TabBarController::setViewControllers(std::vector<std::shared_ptr<ViewController>> controllers, bool)
{
    std::erase(controllers, nullptr);
    auto* previous = selectedViewController();
    bool onScreen = isVisible();
    if (previous && onScreen)
        previous->beginAppearanceTransition(false, false);
    if (previous && previous->viewIfLoaded() && viewIfLoaded() && previous->viewIfLoaded()->superview() == viewIfLoaded())
        previous->viewIfLoaded()->removeFromSuperview();
    if (previous && onScreen)
        previous->endAppearanceTransition();
    for (auto& old : std::vector(m_controllers)) {
        if (std::find(controllers.begin(), controllers.end(), old) == controllers.end())
            old->removeFromParentViewController();
    }
    m_controllers = std::move(controllers);
    for (auto& controller : m_controllers)
        addChildViewController(controller);
    m_selectedIndex = m_controllers.empty() ? -1 : 0;
    tabItemsChanged();
    showSelected(-1);
}

ViewController* TabBarController::selectedViewController() const
{
    if (m_selectedIndex < 0 || m_selectedIndex >= static_cast<int>(m_controllers.size()))
        return nullptr;
    return m_controllers[static_cast<std::size_t>(m_selectedIndex)].get();
}

void TabBarController::setSelectedIndex(int index)
{
    if (index < 0 || index >= static_cast<int>(m_controllers.size()) || index == m_selectedIndex)
        return;
    int previous = m_selectedIndex;
    m_selectedIndex = index;
    m_tabBar->setSelectedIndex(index);
    showSelected(previous);
}

void TabBarController::setSelectedViewController(const ViewController& controller)
{
    auto found = std::find_if(m_controllers.begin(), m_controllers.end(), [&](const auto& c) { return c.get() == &controller; });
    if (found != m_controllers.end())
        setSelectedIndex(static_cast<int>(found - m_controllers.begin()));
}

void TabBarController::showSelected(int previous)
{
    auto* container = viewIfLoaded();
    if (!container)
        return;
    ViewController* from = previous >= 0 && previous < static_cast<int>(m_controllers.size())
        ? m_controllers[static_cast<std::size_t>(previous)].get()
        : nullptr;
    ViewController* to = selectedViewController();
    bool onScreen = isVisible();
    if (from == to)
        from = nullptr;
    if (onScreen) {
        if (from)
            from->beginAppearanceTransition(false, false);
    }
    if (from && from->viewIfLoaded() && from->viewIfLoaded()->superview() == container)
        from->viewIfLoaded()->removeFromSuperview();
    if (to) {
        auto toView = to->view();
        toView->setFrame(contentFrame());
        toView->setAutoresizingMask(AutoresizingMask::FlexibleWidth | AutoresizingMask::FlexibleHeight);
        if (toView->superview() != container)
            container->insertSubview(toView, 0);
    }
    if (onScreen) {
        if (to)
            to->beginAppearanceTransition(true, false);
        if (from)
            from->endAppearanceTransition();
        if (to)
            to->endAppearanceTransition();
    }
}

void TabBarController::userSelectedTab(int index)
{
    if (index < 0 || index >= static_cast<int>(m_controllers.size()))
        return;
    // The delegate may change the tabs while it is asked; hold the screen meanwhile.
    auto chosen = m_controllers[static_cast<std::size_t>(index)];
    if (m_delegate && !m_delegate->shouldSelectViewController(*this, *chosen))
        return;
    if (index == m_selectedIndex) {
        if (auto* navigation = dynamic_cast<NavigationController*>(chosen.get()))
            navigation->popToRootViewControllerAnimated(true);
    } else {
        setSelectedIndex(index);
    }
    if (m_delegate)
        m_delegate->didSelectViewController(*this, *chosen);
}

std::vector<ViewController*> TabBarController::childrenForAppearance() const
{
    std::vector<ViewController*> result;
    if (auto* selected = selectedViewController(); selected && viewIfLoaded())
        result.push_back(selected);
    return result;
}

} // namespace ui

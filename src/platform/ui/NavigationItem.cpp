#include "platform/ui/NavigationItem.h"

#include "platform/ui/BarButtonItem.h"
#include "platform/ui/View.h"

namespace ui {

NavigationItem::NavigationItem(std::string title)
    : m_title(std::move(title))
{
}

void NavigationItem::changed()
{
    m_observer.notify();
}

void NavigationItem::setTitle(std::string title)
{
    m_title = std::move(title);
    changed();
}

void NavigationItem::setTitleView(std::shared_ptr<View> view)
{
    m_titleView = std::move(view);
    changed();
}

std::shared_ptr<BarButtonItem> NavigationItem::leftBarButtonItem() const
{
    return m_left.empty() ? nullptr : m_left.front();
}

std::shared_ptr<BarButtonItem> NavigationItem::rightBarButtonItem() const
{
    return m_right.empty() ? nullptr : m_right.front();
}

void NavigationItem::setLeftBarButtonItem(std::shared_ptr<BarButtonItem> item, bool)
{
    m_left.clear();
    if (item)
        m_left.push_back(std::move(item));
    changed();
}

void NavigationItem::setRightBarButtonItem(std::shared_ptr<BarButtonItem> item, bool)
{
    m_right.clear();
    if (item)
        m_right.push_back(std::move(item));
    changed();
}

void NavigationItem::setLeftBarButtonItems(std::vector<std::shared_ptr<BarButtonItem>> items, bool)
{
    std::erase(items, nullptr);
    m_left = std::move(items);
    changed();
}

void NavigationItem::setRightBarButtonItems(std::vector<std::shared_ptr<BarButtonItem>> items, bool)
{
    std::erase(items, nullptr);
    m_right = std::move(items);
    changed();
}

void NavigationItem::setBackBarButtonItem(std::shared_ptr<BarButtonItem> item)
{
    m_back = std::move(item);
    changed();
}

void NavigationItem::setHidesBackButton(bool hides, bool)
{
    m_hidesBackButton = hides;
    changed();
}

void NavigationItem::setObserver(const void* owner, std::function<void()> changed)
{
    m_observer.set(owner, std::move(changed));
}

void NavigationItem::removeObserver(const void* owner)
{
    m_observer.remove(owner);
}

} // namespace ui

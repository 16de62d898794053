#pragma once
// What a screen shows in the navigation bar while it is on top: a title (or a title view),
// left and right bar items, and the item that leads back to it from the next screen.
//
// Ownership: a controller owns its navigation item; the item shares its bar items and
// title view. The bar showing the item registers as its observer and is told of changes.

#include "platform/ui/ItemObserver.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ui {

class BarButtonItem;
class View;

class NavigationItem {
public:
    explicit NavigationItem(std::string title = {});
    NavigationItem(const NavigationItem&) = delete;
    NavigationItem& operator=(const NavigationItem&) = delete;

    const std::string& title() const { return m_title; }
    void setTitle(std::string title);
    const std::shared_ptr<View>& titleView() const { return m_titleView; }
    void setTitleView(std::shared_ptr<View> view);

    // One item per side; the plural forms hold several, outermost first.
    std::shared_ptr<BarButtonItem> leftBarButtonItem() const;
    std::shared_ptr<BarButtonItem> rightBarButtonItem() const;
    void setLeftBarButtonItem(std::shared_ptr<BarButtonItem> item, bool animated = false);
    void setRightBarButtonItem(std::shared_ptr<BarButtonItem> item, bool animated = false);
    const std::vector<std::shared_ptr<BarButtonItem>>& leftBarButtonItems() const { return m_left; }
    const std::vector<std::shared_ptr<BarButtonItem>>& rightBarButtonItems() const { return m_right; }
    void setLeftBarButtonItems(std::vector<std::shared_ptr<BarButtonItem>> items, bool animated = false);
    void setRightBarButtonItems(std::vector<std::shared_ptr<BarButtonItem>> items, bool animated = false);

    // The item the next screen's back button shows; by default a back button with this title.
    const std::shared_ptr<BarButtonItem>& backBarButtonItem() const { return m_back; }
    void setBackBarButtonItem(std::shared_ptr<BarButtonItem> item);
    bool hidesBackButton() const { return m_hidesBackButton; }
    void setHidesBackButton(bool hides, bool animated = false);

    // For the bar: one observer at a time, told of every change.
    void setObserver(const void* owner, std::function<void()> changed);
    void removeObserver(const void* owner);

private:
    void changed();

    std::string m_title;
    std::shared_ptr<View> m_titleView;
    std::vector<std::shared_ptr<BarButtonItem>> m_left;
    std::vector<std::shared_ptr<BarButtonItem>> m_right;
    std::shared_ptr<BarButtonItem> m_back;
    bool m_hidesBackButton { false };
    ItemObserver m_observer;
};

} // namespace ui

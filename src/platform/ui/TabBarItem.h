#pragma once
// The entry of one screen in the tab bar: a title and an image, or one of the system's own
// items (whose title and picture the system chooses), with a tag and a badge.
//
// Ownership: a controller owns its tab item; the tab bar showing it observes it.

#include "platform/ui/ItemObserver.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace ui {

class Image;

enum class TabBarSystemItem {
    More,
    Favorites,
    Featured,
    TopRated,
    Recents,
    Contacts,
    History,
    Bookmarks,
    Search,
    Downloads,
    MostRecent,
    MostViewed,
};

class TabBarItem {
public:
    TabBarItem(std::string title, std::shared_ptr<const Image> image, int tag);
    TabBarItem(TabBarSystemItem systemItem, int tag);
    TabBarItem(const TabBarItem&) = delete;
    TabBarItem& operator=(const TabBarItem&) = delete;

    // A system item keeps its own title, whatever is set, as on the handset.
    const std::string& title() const { return m_title; }
    void setTitle(std::string title);
    std::string displayTitle() const;
    const std::shared_ptr<const Image>& image() const { return m_image; }
    void setImage(std::shared_ptr<const Image> image);
    // The picture the bar shows: the one set, else the system's own for a system item.
    std::shared_ptr<const Image> displayImage() const;
    std::optional<TabBarSystemItem> systemItem() const { return m_systemItem; }
    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }
    const std::string& badgeValue() const { return m_badgeValue; }
    void setBadgeValue(std::string value);
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);

    void setObserver(const void* owner, std::function<void()> changed);
    void removeObserver(const void* owner);

private:
    void changed();

    std::string m_title;
    std::shared_ptr<const Image> m_image;
    std::optional<TabBarSystemItem> m_systemItem;
    int m_tag { 0 };
    std::string m_badgeValue;
    bool m_enabled { true };
    ItemObserver m_observer;
};

} // namespace ui

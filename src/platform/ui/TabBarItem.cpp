#include "platform/ui/TabBarItem.h"

#include "platform/foundation/Device.h"
#include "platform/ui/Image.h"

namespace ui {

namespace {

const char* systemTitle(TabBarSystemItem item, bool japanese)
{
    switch (item) {
    case TabBarSystemItem::More:
        return japanese ? "その他" : "More";
    case TabBarSystemItem::Favorites:
        return japanese ? "よく使う項目" : "Favorites";
    case TabBarSystemItem::Featured:
        return japanese ? "おすすめ" : "Featured";
    case TabBarSystemItem::TopRated:
        return japanese ? "トップレート" : "Top Rated";
    case TabBarSystemItem::Recents:
        return japanese ? "履歴" : "Recents";
    case TabBarSystemItem::Contacts:
        return japanese ? "連絡先" : "Contacts";
    case TabBarSystemItem::History:
        return japanese ? "履歴" : "History";
    case TabBarSystemItem::Bookmarks:
        return japanese ? "ブックマーク" : "Bookmarks";
    case TabBarSystemItem::Search:
        return japanese ? "検索" : "Search";
    case TabBarSystemItem::Downloads:
        return japanese ? "ダウンロード" : "Downloads";
    case TabBarSystemItem::MostRecent:
        return japanese ? "最新" : "Most Recent";
    case TabBarSystemItem::MostViewed:
        return japanese ? "最も多く表示" : "Most Viewed";
    }
    return "";
}

} // namespace

TabBarItem::TabBarItem(std::string title, std::shared_ptr<const Image> image, int tag)
    : m_title(std::move(title))
    , m_image(std::move(image))
    , m_tag(tag)
{
}

TabBarItem::TabBarItem(TabBarSystemItem systemItem, int tag)
    : m_systemItem(systemItem)
    , m_tag(tag)
{
}

std::string TabBarItem::displayTitle() const
{
    if (m_systemItem)
        return systemTitle(*m_systemItem, foundation::Device::current().language() == "ja");
    return m_title;
}

std::shared_ptr<const Image> TabBarItem::displayImage() const
{
    if (m_image || !m_systemItem)
        return m_image;
    // Only the two system items the application shows have pictures of their own; the
    // newer system draws them in outline.
    const char* base = nullptr;
    if (*m_systemItem == TabBarSystemItem::Favorites)
        base = "system_favorites";
    else if (*m_systemItem == TabBarSystemItem::Contacts)
        base = "system_contacts";
    if (!base)
        return nullptr;
    bool outline = foundation::Device::current().systemMajorVersion() >= 7;
    return Image::named(std::string(base) + (outline ? "-ios7.png" : ".png"));
}

void TabBarItem::changed()
{
    m_observer.notify();
}

void TabBarItem::setTitle(std::string title)
{
    m_title = std::move(title);
    changed();
}

void TabBarItem::setImage(std::shared_ptr<const Image> image)
{
    m_image = std::move(image);
    changed();
}

void TabBarItem::setBadgeValue(std::string value)
{
    m_badgeValue = std::move(value);
    changed();
}

void TabBarItem::setEnabled(bool enabled)
{
    m_enabled = enabled;
    changed();
}

void TabBarItem::setObserver(const void* owner, std::function<void()> changed)
{
    m_observer.set(owner, std::move(changed));
}

void TabBarItem::removeObserver(const void* owner)
{
    m_observer.remove(owner);
}

} // namespace ui

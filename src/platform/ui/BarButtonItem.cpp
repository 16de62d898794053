#include "platform/ui/BarButtonItem.h"

#include "platform/ui/Image.h"
#include "platform/ui/SystemWords.h"
#include "platform/ui/View.h"

namespace ui {

BarButtonItem::BarButtonItem(std::string title, BarButtonItemStyle style, Action action)
    : m_title(std::move(title))
    , m_style(style)
    , m_action(std::move(action))
{
}

BarButtonItem::BarButtonItem(std::shared_ptr<const Image> image, BarButtonItemStyle style, Action action)
    : m_image(std::move(image))
    , m_style(style)
    , m_action(std::move(action))
{
}

BarButtonItem::BarButtonItem(BarButtonSystemItem systemItem, Action action)
    : m_style(systemItem == BarButtonSystemItem::Done ? BarButtonItemStyle::Done : BarButtonItemStyle::Bordered)
    , m_systemItem(systemItem)
    , m_action(std::move(action))
{
}

BarButtonItem::BarButtonItem(std::shared_ptr<View> customView)
    : m_customView(std::move(customView))
{
}

BarButtonItem::~BarButtonItem() = default;

void BarButtonItem::changed()
{
    m_observer.notify();
}

void BarButtonItem::setTitle(std::string title)
{
    m_title = std::move(title);
    changed();
}

std::string BarButtonItem::displayTitle() const
{
    return m_systemItem ? systemTitle(*m_systemItem) : m_title;
}

std::string BarButtonItem::systemTitle(BarButtonSystemItem item)
{
    switch (item) {
    case BarButtonSystemItem::Done:
        return systemWord(SystemWord::Done);
    case BarButtonSystemItem::Cancel:
        return systemWord(SystemWord::Cancel);
    case BarButtonSystemItem::Edit:
        return systemWord(SystemWord::Edit);
    case BarButtonSystemItem::Save:
        return systemWord(SystemWord::Save);
    case BarButtonSystemItem::Undo:
        return systemWord(SystemWord::Undo);
    case BarButtonSystemItem::Redo:
        return systemWord(SystemWord::Redo);
    case BarButtonSystemItem::Add:
        return "+";
    case BarButtonSystemItem::Compose:
        return "Compose";
    case BarButtonSystemItem::Reply:
        return "Reply";
    case BarButtonSystemItem::Action:
        return "Action";
    case BarButtonSystemItem::Organize:
        return "Organize";
    case BarButtonSystemItem::Bookmarks:
        return "Bookmarks";
    case BarButtonSystemItem::Search:
        return "Search";
    case BarButtonSystemItem::Refresh:
        return "Refresh";
    case BarButtonSystemItem::Stop:
        return "Stop";
    case BarButtonSystemItem::Camera:
        return "Camera";
    case BarButtonSystemItem::Trash:
        return "Trash";
    case BarButtonSystemItem::Play:
        return "Play";
    case BarButtonSystemItem::Pause:
        return "Pause";
    case BarButtonSystemItem::Rewind:
        return "Rewind";
    case BarButtonSystemItem::FastForward:
        return "FastForward";
    case BarButtonSystemItem::FlexibleSpace:
    case BarButtonSystemItem::FixedSpace:
        return {};
    }
    return {};
}

void BarButtonItem::setImage(std::shared_ptr<const Image> image)
{
    m_image = std::move(image);
    changed();
}

void BarButtonItem::setStyle(BarButtonItemStyle style)
{
    m_style = style;
    changed();
}

void BarButtonItem::setCustomView(std::shared_ptr<View> view)
{
    m_customView = std::move(view);
    changed();
}

void BarButtonItem::setWidth(double width)
{
    m_width = width;
    changed();
}

void BarButtonItem::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    changed();
}

void BarButtonItem::setTintColor(std::optional<Color> color)
{
    m_tintColor = color;
    changed();
}

void BarButtonItem::setAccessibilityIdentifier(std::string identifier)
{
    m_accessibilityIdentifier = std::move(identifier);
    changed();
}

void BarButtonItem::trigger()
{
    if (!m_enabled || !m_action)
        return;
    // The item stays alive through its own action even if the action drops it from its bar.
    auto keep = weak_from_this().lock();
    auto action = m_action;
    action(*this);
}

void BarButtonItem::setObserver(const void* owner, std::function<void()> changed)
{
    m_observer.set(owner, std::move(changed));
}

void BarButtonItem::removeObserver(const void* owner)
{
    m_observer.remove(owner);
}

} // namespace ui

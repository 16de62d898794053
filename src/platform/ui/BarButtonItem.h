#pragma once
// A button of a navigation bar or a toolbar: a title, an image, one of the system's own
// items (Edit, Done, Add, flexible space, ...) or a custom view, with an action.
//
// Ownership: items are shared (a controller keeps its items, the bar that shows them keeps
// them too). The bar showing an item registers itself as the item's observer so that a
// new title or a disabled item shows at once; the bar removes itself when it goes.
// Subclass it to carry data of your own (a table row, say) and read it back in the action
// through the sender.

#include "platform/ui/Color.h"
#include "platform/ui/ItemObserver.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace ui {

class Image;
class View;

enum class BarButtonSystemItem {
    Done,
    Cancel,
    Edit,
    Save,
    Add,
    FlexibleSpace,
    FixedSpace,
    Compose,
    Reply,
    Action,
    Organize,
    Bookmarks,
    Search,
    Refresh,
    Stop,
    Camera,
    Trash,
    Play,
    Pause,
    Rewind,
    FastForward,
    Undo,
    Redo,
};

enum class BarButtonItemStyle { Plain, Bordered, Done };

class BarButtonItem : public std::enable_shared_from_this<BarButtonItem> {
public:
    using Action = std::function<void(BarButtonItem& sender)>;

    BarButtonItem(std::string title, BarButtonItemStyle style, Action action);
    BarButtonItem(std::shared_ptr<const Image> image, BarButtonItemStyle style, Action action);
    BarButtonItem(BarButtonSystemItem systemItem, Action action);
    explicit BarButtonItem(std::shared_ptr<View> customView);
    virtual ~BarButtonItem();
    BarButtonItem(const BarButtonItem&) = delete;
    BarButtonItem& operator=(const BarButtonItem&) = delete;

    const std::string& title() const { return m_title; }
    void setTitle(std::string title);
    // The text the bar shows: the title, or the system item's own word or symbol.
    std::string displayTitle() const;
    // The system's word for an item in the device's language ("Edit", "編集"); empty for
    // spaces.
    static std::string systemTitle(BarButtonSystemItem item);
    const std::shared_ptr<const Image>& image() const { return m_image; }
    void setImage(std::shared_ptr<const Image> image);
    BarButtonItemStyle style() const { return m_style; }
    void setStyle(BarButtonItemStyle style);
    std::optional<BarButtonSystemItem> systemItem() const { return m_systemItem; }
    const std::shared_ptr<View>& customView() const { return m_customView; }
    void setCustomView(std::shared_ptr<View> view);
    // Width of a fixed space, or of the button when above 0.
    double width() const { return m_width; }
    void setWidth(double width);
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    std::optional<Color> tintColor() const { return m_tintColor; }
    void setTintColor(std::optional<Color> color);
    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }
    const std::string& accessibilityIdentifier() const { return m_accessibilityIdentifier; }
    void setAccessibilityIdentifier(std::string identifier);

    void setAction(Action action) { m_action = std::move(action); }
    bool hasAction() const { return static_cast<bool>(m_action); }
    // What a touch on the item does: runs the action when the item is enabled.
    void trigger();

    bool isFlexibleSpace() const { return m_systemItem == BarButtonSystemItem::FlexibleSpace; }
    bool isFixedSpace() const { return m_systemItem == BarButtonSystemItem::FixedSpace; }

    // For the bars: one observer at a time, told of every change of the item.
    void setObserver(const void* owner, std::function<void()> changed);
    void removeObserver(const void* owner);

private:
    void changed();

    std::string m_title;
    std::shared_ptr<const Image> m_image;
    BarButtonItemStyle m_style { BarButtonItemStyle::Plain };
    std::optional<BarButtonSystemItem> m_systemItem;
    std::shared_ptr<View> m_customView;
    double m_width { 0 };
    bool m_enabled { true };
    std::optional<Color> m_tintColor;
    int m_tag { 0 };
    std::string m_accessibilityIdentifier;
    Action m_action;
    ItemObserver m_observer;
};

} // namespace ui

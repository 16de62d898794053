#include "platform/ui/Toolbar.h"

#include "platform/ui/BarButtonItem.h"
#include "platform/ui/BarItemButton.h"
#include "platform/ui/Painter.h"

#include <algorithm>

namespace ui {

namespace {

constexpr double edgeMargin = 6;
constexpr double itemGap = 4;

} // namespace

Toolbar::Toolbar()
    : Toolbar(Rect { 0, 0, 320, height })
{
}

Toolbar::Toolbar(const Rect& frame)
    : View(frame)
{
}

Toolbar::~Toolbar()
{
    forgetItems();
}

void Toolbar::forgetItems()
{
    for (auto& item : m_items)
        item->removeObserver(this);
}

void Toolbar::setItems(std::vector<std::shared_ptr<BarButtonItem>> items, bool)
{
    forgetItems();
    std::erase(items, nullptr);
    m_items = std::move(items);
    setNeedsLayout();
}

void Toolbar::setBarStyle(BarStyle style)
{
    m_barStyle = style;
    setNeedsDisplay();
}

void Toolbar::setTranslucent(bool translucent)
{
    m_translucent = translucent;
    setNeedsDisplay();
}

void Toolbar::setTintColor(std::optional<Color> color)
{
    m_tintColor = color;
    setNeedsLayout();
}

void Toolbar::layoutSubviews()
{
    for (auto& view : m_shown)
        view->removeFromSuperview();
    m_shown.clear();

    struct Slot {
        std::shared_ptr<BarButtonItem> item;
        std::shared_ptr<View> view;
        double width { 0 };
    };
    std::vector<Slot> slots;
    double fixed = 0;
    int flexible = 0;
    for (auto& item : m_items) {
        Slot slot { item, nullptr, 0 };
        if (item->isFlexibleSpace()) {
            ++flexible;
        } else if (item->isFixedSpace()) {
            slot.width = item->width();
        } else if (item->customView()) {
            slot.view = item->customView();
            slot.width = slot.view->frame().width();
        } else {
            auto button = BarItemButton::makeForBar(item, *this, m_tintColor);
            slot.width = button->preferredWidth();
            slot.view = button;
        }
        fixed += slot.width;
        slots.push_back(std::move(slot));
    }
    double gaps = slots.empty() ? 0 : itemGap * double(slots.size() - 1);
    double room = bounds().width() - 2 * edgeMargin - gaps;
    if (fixed > room) {
        // Titles longer than the bar (a translation's words are wider) share the room that is
        // left, their texts shrinking to fit, rather than running past the bar's edge over
        // whatever lies beside it.
        double titled = 0;
        for (const auto& slot : slots) {
            if (slot.view && !slot.item->customView() && !slot.item->image())
                titled += slot.width;
        }
        double others = fixed - titled;
        if (titled > 0 && room > others) {
            double factor = (room - others) / titled;
            for (auto& slot : slots) {
                if (slot.view && !slot.item->customView() && !slot.item->image())
                    slot.width *= factor;
            }
            fixed = room;
        }
    }
    double spare = std::max(0.0, room - fixed);
    double flexibleWidth = flexible > 0 ? spare / flexible : 0;

    // Items that still do not fit (pictures keep their size) stand centred on the bar,
    // running over both its ends alike rather than all past one, onto what lies beside.
    double x = fixed > room ? (bounds().width() - fixed - gaps) / 2 : edgeMargin;
    for (auto& slot : slots) {
        if (slot.item->isFlexibleSpace()) {
            x += flexibleWidth + itemGap;
            continue;
        }
        if (slot.view) {
            double viewHeight = slot.item->customView() ? slot.view->frame().height() : BarItemButton::height;
            slot.view->setFrame({ x, (bounds().height() - viewHeight) / 2, slot.width, viewHeight });
            addSubview(slot.view);
            m_shown.push_back(slot.view);
        }
        x += slot.width + itemGap;
    }
}

void Toolbar::draw(Painter& painter)
{
    paintBarBackground(painter, bounds(), m_barStyle, m_tintColor, m_translucent, 0.25);
}

} // namespace ui

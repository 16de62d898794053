#include "platform/ui/BarItemButton.h"

#include "platform/ui/Label.h"
#include "platform/ui/Painter.h"
#include "platform/ui/TextMeasurer.h"

#include <algorithm>

namespace ui {

BarItemButton::BarItemButton(const std::shared_ptr<BarButtonItem>& item)
    : Button(ButtonType::Custom)
    , m_item(item)
{
    addAction(ControlEvent::TouchUpInside, [this](Control&) {
        if (auto target = m_item.lock())
            target->trigger();
    });
    refresh();
}

std::shared_ptr<BarItemButton> BarItemButton::makeForBar(const std::shared_ptr<BarButtonItem>& item, View& bar,
                                                         const std::optional<Color>& barTint)
{
    auto button = std::make_shared<BarItemButton>(item);
    if (barTint && !item->tintColor())
        button->setTitleColor(*barTint);
    std::weak_ptr<BarItemButton> weakButton = button;
    item->setObserver(&bar, [&bar, weakButton] {
        if (auto shown = weakButton.lock())
            shown->refresh();
        bar.setNeedsLayout();
    });
    return button;
}

void BarItemButton::refresh()
{
    auto target = m_item.lock();
    if (!target)
        return;
    Color tint = target->tintColor().value_or(Color::systemBlueColor());
    setTitle(target->image() ? std::string() : target->displayTitle());
    setImage(target->image());
    setTitleColor(tint);
    setTitleColor(tint.withAlpha(0.3), ControlState::Highlighted);
    setTitleColor(Color::grayColor().withAlpha(0.6), ControlState::Disabled);
    titleLabel().setFont(target->style() == BarButtonItemStyle::Done ? Font::boldSystemFontOfSize(17) : Font::systemFontOfSize(17));
    // A bar short of room narrows its buttons; their titles then shrink rather than lose letters.
    titleLabel().setAdjustsFontSizeToFitWidth(true);
    titleLabel().setMinimumScaleFactor(0.5);
    setEnabled(target->isEnabled());
    setAccessibilityIdentifier(target->accessibilityIdentifier());
    setTag(target->tag());
    setNeedsLayout();
}

double BarItemButton::preferredWidth() const
{
    auto target = m_item.lock();
    if (!target)
        return 0;
    if (target->width() > 0)
        return target->width();
    if (target->image())
        return target->image()->size().width + 2 * padding;
    Font font = target->style() == BarButtonItemStyle::Done ? Font::boldSystemFontOfSize(17) : Font::systemFontOfSize(17);
    double text = TextMeasurer::current().measure(target->displayTitle(), font).width;
    return std::max(text + 2 * padding, 30.0);
}

void BarItemButton::draw(Painter& painter)
{
    auto target = m_item.lock();
    if (target && target->style() == BarButtonItemStyle::Bordered && !target->image() && !target->systemItem()) {
        // A thin outline marks the bordered style.
        painter.strokeRect(bounds().insetBy(1, 1), Color::systemBlueColor().withAlpha(isEnabled() ? 0.5 : 0.2), 1, 5);
    }
    Button::draw(painter);
}

} // namespace ui

#include "platform/ui/BarItemButton.h"

#include "platform/ui/Label.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/Painter.h"
#include "platform/ui/SystemLook.h"
#include "platform/ui/TextMeasurer.h"

#include <algorithm>
#include <cmath>

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
    if (barTint && !item->tintColor() && !isGlossyLook())
        button->setTitleColor(*barTint);
    button->m_bezelColor = mixColors(glossyBarBase(BarStyle::Default, barTint), Color::blackColor(), 0.08);
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
    setTitle(target->image() ? std::string() : target->displayTitle());
    setImage(target->image());
    if (isGlossyLook()) {
        // White on the shaded bezel, whatever the tint.
        setTitleColor(Color::whiteColor());
        setTitleColor(Color::whiteColor().withAlpha(0.8), ControlState::Highlighted);
        setTitleColor(Color::whiteColor().withAlpha(0.45), ControlState::Disabled);
    } else {
        Color tint = target->tintColor().value_or(Color::systemBlueColor());
        setTitleColor(tint);
        setTitleColor(tint.withAlpha(0.3), ControlState::Highlighted);
        setTitleColor(Color::grayColor().withAlpha(0.6), ControlState::Disabled);
    }
    titleLabel().setFont(titleFont());
    // A bar short of room narrows its buttons; their titles then shrink rather than lose letters.
    titleLabel().setAdjustsFontSizeToFitWidth(true);
    titleLabel().setMinimumScaleFactor(0.5);
    setEnabled(target->isEnabled());
    setAccessibilityIdentifier(target->accessibilityIdentifier());
    setTag(target->tag());
    setNeedsLayout();
}

void BarItemButton::setPointsBack(bool pointsBack)
{
    m_pointsBack = pointsBack;
    setTitleEdgeInsets({ 0, pointsBack ? backPointWidth : 0, 0, 0 });
    setNeedsDisplay();
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
    double text = TextMeasurer::current().measure(target->displayTitle(), titleFont()).width;
    return std::max(std::ceil(text) + 2 * padding + (m_pointsBack ? backPointWidth : 0), 30.0);
}

Font BarItemButton::titleFont() const
{
    auto target = m_item.lock();
    bool done = target && target->style() == BarButtonItemStyle::Done;
    if (isGlossyLook())
        return Font::boldSystemFontOfSize(12);
    return done ? Font::boldSystemFontOfSize(17) : Font::systemFontOfSize(17);
}

void BarItemButton::draw(Painter& painter)
{
    auto target = m_item.lock();
    if (target && isGlossyLook()) {
        // Every item of a glossy bar sits in a bezel; Done in the system's blue.
        Color face = target->style() == BarButtonItemStyle::Done ? Color::rgb255(34, 96, 221)
                                                                 : target->tintColor().value_or(m_bezelColor);
        if (m_pointsBack)
            paintGlossyBackBezel(painter, bounds().insetBy(0.5, 0.5), face, backPointWidth, isHighlighted());
        else
            paintGlossyBezel(painter, bounds().insetBy(0.5, 0.5), face, 5, isHighlighted());
    } else if (m_pointsBack) {
        // The flat look's back chevron, in the title's colour.
        Color ink = titleColorForState(isHighlighted() ? ControlState::Highlighted : ControlState::Normal);
        double mid = bounds().height() / 2;
        painter.drawLine({ 11, mid - 8 }, { 3, mid }, ink, 2.5);
        painter.drawLine({ 3, mid }, { 11, mid + 8 }, ink, 2.5);
    }
    Button::draw(painter);
}

} // namespace ui

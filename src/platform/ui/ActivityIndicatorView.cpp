#include "platform/ui/ActivityIndicatorView.h"

#include "platform/foundation/RunLoop.h"
#include "platform/ui/Painter.h"

#include <cmath>
#include <numbers>

namespace ui {

namespace {

double sideFor(ActivityIndicatorViewStyle style)
{
    return style == ActivityIndicatorViewStyle::WhiteLarge ? 37 : 20;
}

} // namespace

ActivityIndicatorView::ActivityIndicatorView(ActivityIndicatorViewStyle style)
    : View(Rect { 0, 0, sideFor(style), sideFor(style) })
    , m_style(style)
{
    setUserInteractionEnabled(false);
    setHidden(true);
}

void ActivityIndicatorView::setStyle(ActivityIndicatorViewStyle style)
{
    m_style = style;
    setNeedsDisplay();
}

void ActivityIndicatorView::setColor(std::optional<Color> color)
{
    m_color = color;
    setNeedsDisplay();
}

void ActivityIndicatorView::startAnimating()
{
    m_animating = true;
    setHidden(false);
    setNeedsDisplay();
}

void ActivityIndicatorView::stopAnimating()
{
    m_animating = false;
    if (m_hidesWhenStopped)
        setHidden(true);
    setNeedsDisplay();
}

void ActivityIndicatorView::setHidesWhenStopped(bool hides)
{
    m_hidesWhenStopped = hides;
    setHidden(hides && !m_animating);
}

Size ActivityIndicatorView::sizeThatFits(const Size&) const
{
    return { sideFor(m_style), sideFor(m_style) };
}

void ActivityIndicatorView::draw(Painter& painter)
{
    constexpr int spokes = 12;
    Color base = m_color.value_or(m_style == ActivityIndicatorViewStyle::Gray ? Color::grayColor() : Color::whiteColor());
    Rect b = bounds();
    double radius = std::min(b.width(), b.height()) / 2;
    Point centre = b.center();
    // One turn a second, in twelve steps, as the handset's wheel does.
    int lead = m_animating ? static_cast<int>(std::floor(foundation::RunLoop::main().now() * spokes)) % spokes : 0;
    for (int i = 0; i < spokes; ++i) {
        double angle = 2 * std::numbers::pi * i / spokes;
        double fade = double((i - lead + spokes) % spokes) / spokes;
        Point inner { centre.x + std::sin(angle) * radius * 0.45, centre.y - std::cos(angle) * radius * 0.45 };
        Point outer { centre.x + std::sin(angle) * radius * 0.95, centre.y - std::cos(angle) * radius * 0.95 };
        painter.drawLine(inner, outer, base.withAlpha(base.alpha * (1.0 - 0.8 * fade)), radius * 0.18);
    }
}

} // namespace ui

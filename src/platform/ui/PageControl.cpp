#include "platform/ui/PageControl.h"

#include "platform/ui/Painter.h"
#include "platform/ui/Touch.h"
#include "platform/ui/ViewDescription.h"

#include <algorithm>

namespace ui {

PageControl::PageControl()
    : PageControl(Rect {})
{
}

PageControl::PageControl(const Rect& frame)
    : Control(frame)
{
    setBackgroundColor(std::nullopt);
}

void PageControl::setNumberOfPages(int pages)
{
    m_numberOfPages = std::max(0, pages);
    m_currentPage = std::clamp(m_currentPage, 0, std::max(0, m_numberOfPages - 1));
    setNeedsDisplay();
}

void PageControl::setCurrentPage(int page)
{
    m_currentPage = std::clamp(page, 0, std::max(0, m_numberOfPages - 1));
    setNeedsDisplay();
}

void PageControl::setHidesForSinglePage(bool hides)
{
    m_hidesForSinglePage = hides;
    setNeedsDisplay();
}

void PageControl::setPageIndicatorTintColor(std::optional<Color> color)
{
    m_pageIndicatorTintColor = color;
    setNeedsDisplay();
}

void PageControl::setCurrentPageIndicatorTintColor(std::optional<Color> color)
{
    m_currentPageIndicatorTintColor = color;
    setNeedsDisplay();
}

Size PageControl::sizeForNumberOfPages(int pages)
{
    pages = std::max(0, pages);
    double width = pages * dotDiameter + std::max(0, pages - 1) * dotSpacing;
    return { width, 36 };
}

Size PageControl::sizeThatFits(const Size&) const
{
    return sizeForNumberOfPages(m_numberOfPages);
}

Rect PageControl::frameOfPageIndicator(int page) const
{
    Size dots = sizeForNumberOfPages(m_numberOfPages);
    double left = (bounds().width() - dots.width) / 2;
    return { left + page * (dotDiameter + dotSpacing), (bounds().height() - dotDiameter) / 2, dotDiameter, dotDiameter };
}

void PageControl::touchesEnded(const Touch& touch)
{
    bool inside = isTouchInside(touch);
    Control::touchesEnded(touch);
    if (!inside || !isEnabled() || m_numberOfPages < 2)
        return;
    double x = touch.locationIn(*this).x;
    double current = frameOfPageIndicator(m_currentPage).midX();
    int page = std::clamp(m_currentPage + (x > current ? 1 : -1), 0, m_numberOfPages - 1);
    if (x == current || page == m_currentPage)
        return;
    m_currentPage = page;
    setNeedsDisplay();
    sendActionsForControlEvents(ControlEvent::ValueChanged);
}

void PageControl::draw(Painter& painter)
{
    if (m_numberOfPages == 0 || (m_hidesForSinglePage && m_numberOfPages == 1))
        return;
    Color other = m_pageIndicatorTintColor.value_or(Color::colorWithWhite(1, 0.3));
    Color current = m_currentPageIndicatorTintColor.value_or(Color::whiteColor());
    for (int page = 0; page < m_numberOfPages; ++page)
        painter.fillEllipse(frameOfPageIndicator(page), page == m_currentPage ? current : other);
}

void PageControl::describe(ViewDescription& description) const
{
    Control::describe(description);
    description.setInteger("currentPage", m_currentPage);
    description.setInteger("numberOfPages", m_numberOfPages);
}

} // namespace ui

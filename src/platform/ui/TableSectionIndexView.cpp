#include "platform/ui/TableSectionIndexView.h"

#include "platform/ui/Painter.h"
#include "platform/ui/TableView.h"
#include "platform/ui/Touch.h"

#include <algorithm>
#include <cmath>

namespace ui {

void TableSectionIndexView::setTitles(std::vector<std::string> titles)
{
    if (titles == m_titles)
        return;
    m_titles = std::move(titles);
    setNeedsDisplay();
}

double TableSectionIndexView::step() const
{
    return std::min(entryHeight, bounds().height() / double(m_titles.size()));
}

double TableSectionIndexView::firstTop() const
{
    return (bounds().height() - step() * double(m_titles.size())) / 2;
}

int TableSectionIndexView::positionAt(double y) const
{
    if (m_titles.empty())
        return -1;
    int position = static_cast<int>(std::floor((y - firstTop()) / step()));
    return std::clamp(position, 0, static_cast<int>(m_titles.size()) - 1);
}

void TableSectionIndexView::touchesBegan(const Touch& touch)
{
    m_last = -1;
    report(touch);
}

void TableSectionIndexView::touchesMoved(const Touch& touch)
{
    report(touch);
}

void TableSectionIndexView::touchesEnded(const Touch&)
{
    m_last = -1;
}

void TableSectionIndexView::touchesCancelled(const Touch&)
{
    m_last = -1;
}

void TableSectionIndexView::draw(Painter& painter)
{
    if (m_titles.empty())
        return;
    double height = step();
    double top = firstTop();
    TextStyle style;
    style.font = Font::boldSystemFontOfSize(11);
    style.color = Color::systemBlueColor();
    style.alignment = TextAlignment::Center;
    for (std::size_t i = 0; i < m_titles.size(); ++i) {
        Rect entry { 0, top + height * double(i), bounds().width(), height };
        if (m_titles[i] == TableViewIndexSearch) {
            // The magnifying glass: a ring and its handle.
            Point c { entry.midX() - 1, entry.midY() - 1 };
            painter.fillEllipse({ c.x - 4, c.y - 4, 8, 8 }, Color::systemBlueColor());
            painter.fillEllipse({ c.x - 2.5, c.y - 2.5, 5, 5 }, Color::whiteColor());
            painter.drawLine({ c.x + 3, c.y + 3 }, { c.x + 6, c.y + 6 }, Color::systemBlueColor(), 1.5);
        } else {
            painter.drawText(m_titles[i], entry, style);
        }
    }
}

void TableSectionIndexView::report(const Touch& touch)
{
    int position = positionAt(touch.locationIn(*this).y);
    if (position < 0 || position == m_last)
        return;
    m_last = position;
    if (touched)
        touched(position);
}

} // namespace ui

// A finger over the table's rows: undecided until it moves, then a tap (on release where it
// began), a swipe to the left (the row's Delete button) or a scroll. The first touch while
// a Delete button shows only puts it away.

#include "platform/ui/TableView.h"

#include "platform/ui/Touch.h"

#include <cmath>
#include <utility>

namespace ui {

std::optional<IndexPath> TableView::rowAtWindowPoint(const Point& point) const
{
    Point inContent = convertPointFromView(point, nullptr);
    if (inContent.x - contentOffset().x >= cellWidth())
        return std::nullopt;
    return indexPathForRowAtPoint(inContent);
}

void TableView::unhighlight(const std::optional<IndexPath>& indexPath)
{
    if (!indexPath)
        return;
    if (auto cell = cellForRowAtIndexPath(*indexPath))
        cell->setHighlighted(false);
}

void TableView::touchesBegan(const Touch& touch)
{
    m_touchStart = touch.locationInWindow;
    m_touchRow.reset();
    if (m_confirmationRow) {
        // The first touch anywhere else only puts the Delete button away.
        hideDeleteConfirmation();
        m_touchMode = TouchMode::Swallowed;
        return;
    }
    m_touchMode = TouchMode::Undecided;
    m_touchRow = rowAtWindowPoint(touch.locationInWindow);
    bool selectable = m_allowsSelection && (!m_editing || m_allowsSelectionDuringEditing);
    if (m_touchRow && selectable) {
        if (auto cell = cellForRowAtIndexPath(*m_touchRow))
            cell->setHighlighted(true);
    }
}

void TableView::touchesMoved(const Touch& touch)
{
    if (m_touchMode == TouchMode::Undecided) {
        Point moved = touch.locationInWindow - m_touchStart;
        bool horizontal = std::abs(moved.x) > dragThreshold && std::abs(moved.x) > std::abs(moved.y);
        if (horizontal && !m_editing) {
            m_touchMode = TouchMode::Swipe;
        } else if (std::hypot(moved.x, moved.y) > dragThreshold) {
            m_touchMode = TouchMode::Scroll;
            if (isScrollEnabled())
                beginDragging(touch);
        }
        if (m_touchMode != TouchMode::Undecided)
            unhighlight(m_touchRow);
    }
    if (m_touchMode == TouchMode::Scroll)
        continueDragging(touch);
}

void TableView::touchesEnded(const Touch& touch)
{
    TouchMode mode = std::exchange(m_touchMode, TouchMode::None);
    auto row = std::exchange(m_touchRow, std::nullopt);
    unhighlight(row);
    switch (mode) {
    case TouchMode::Undecided:
        if (row && rowAtWindowPoint(touch.locationInWindow) == row)
            userTappedRow(*row);
        break;
    case TouchMode::Swipe:
        if (row && touch.locationInWindow.x - m_touchStart.x <= -swipeToDeleteDistance)
            showDeleteConfirmationForRowAtIndexPath(*row);
        break;
    case TouchMode::Scroll:
        endDragging(touch);
        break;
    case TouchMode::None:
    case TouchMode::Swallowed:
        break;
    }
}

void TableView::touchesCancelled(const Touch& touch)
{
    TouchMode mode = std::exchange(m_touchMode, TouchMode::None);
    unhighlight(std::exchange(m_touchRow, std::nullopt));
    if (mode == TouchMode::Scroll)
        endDragging(touch);
}

} // namespace ui

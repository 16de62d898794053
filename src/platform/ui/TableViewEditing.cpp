// The table while the user edits it: the editing controls of the rows, the Delete button a
// swipe or the delete control brings up, and rows dragged by their grip to another place.

#include "platform/ui/TableView.h"

#include "platform/ui/SystemWords.h"
#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"
#include "platform/ui/Touch.h"

#include <algorithm>
#include <utility>

namespace ui {

void TableView::setEditing(bool editing, bool animated)
{
    if (editing == m_editing)
        return;
    hideDeleteConfirmation();
    m_editing = editing;
    auto shown = m_visibleCells;
    for (auto& [indexPath, cell] : shown) {
        if (editing)
            applyEditingStyle(*cell, indexPath);
        cell->setEditing(editing, animated);
    }
}

bool TableView::showDeleteConfirmationForRowAtIndexPath(const IndexPath& indexPath)
{
    if (!m_loaded)
        reloadData();
    if (!isValidIndexPath(indexPath) || rectForRowAtIndexPath(indexPath).height() <= 0)
        return false;
    if (!rowIsEditable(indexPath) || editingStyleFor(indexPath) != TableViewCellEditingStyle::Delete)
        return false;
    hideDeleteConfirmation();
    scrollToRowAtIndexPath(indexPath, TableViewScrollPosition::None, false);
    bool bySwipe = !m_editing;
    if (bySwipe && m_delegate)
        m_delegate->willBeginEditingRowAtIndexPath(*this, indexPath);
    auto cell = cellForRowAtIndexPath(indexPath);
    if (!cell)
        return false;
    m_confirmationRow = indexPath;
    m_confirmationBySwipe = bySwipe;
    std::string title = m_delegate ? m_delegate->titleForDeleteConfirmationButtonForRowAtIndexPath(*this, indexPath)
                                     : systemWord(SystemWord::Delete);
    cell->showDeleteConfirmation(title);
    return true;
}

void TableView::hideDeleteConfirmation()
{
    if (!m_confirmationRow)
        return;
    IndexPath indexPath = *m_confirmationRow;
    bool bySwipe = m_confirmationBySwipe;
    m_confirmationRow.reset();
    if (auto cell = cellForRowAtIndexPath(indexPath))
        cell->hideDeleteConfirmation();
    if (bySwipe && m_delegate && isValidIndexPath(indexPath))
        m_delegate->didEndEditingRowAtIndexPath(*this, indexPath);
}

void TableView::deleteConfirmationTapped(TableViewCell& cell)
{
    auto indexPath = indexPathForCell(cell);
    if (!indexPath || indexPath != m_confirmationRow)
        return;
    auto keep = weak_from_this().lock();
    bool bySwipe = m_confirmationBySwipe;
    m_confirmationRow.reset();
    cell.hideDeleteConfirmation();
    if (m_dataSource)
        m_dataSource->commitEditingStyle(*this, TableViewCellEditingStyle::Delete, *indexPath);
    if (bySwipe && m_delegate)
        m_delegate->didEndEditingRowAtIndexPath(*this, *indexPath);
}

void TableView::editingControlTapped(TableViewCell& cell)
{
    auto indexPath = indexPathForCell(cell);
    if (!indexPath || !m_editing)
        return;
    if (cell.editingStyle() == TableViewCellEditingStyle::Insert) {
        if (m_dataSource)
            m_dataSource->commitEditingStyle(*this, TableViewCellEditingStyle::Insert, *indexPath);
        return;
    }
    if (m_confirmationRow == indexPath)
        hideDeleteConfirmation();
    else
        showDeleteConfirmationForRowAtIndexPath(*indexPath);
}

void TableView::accessoryButtonTapped(TableViewCell& cell)
{
    auto indexPath = indexPathForCell(cell);
    if (indexPath && m_delegate)
        m_delegate->accessoryButtonTappedForRowWithIndexPath(*this, *indexPath);
}

std::optional<IndexPath> TableView::moveRowByUser(const IndexPath& from, const IndexPath& to)
{
    if (!m_editing || !m_dataSource || !isValidIndexPath(from) || !m_dataSource->canMoveRowAtIndexPath(*this, from))
        return std::nullopt;
    auto landing = [&](IndexPath proposed) {
        proposed.section = std::clamp(proposed.section, 0, numberOfSections() - 1);
        int rows = numberOfRowsInSection(proposed.section) - (proposed.section == from.section ? 1 : 0);
        proposed.row = std::clamp(proposed.row, 0, std::max(0, rows));
        return proposed;
    };
    IndexPath target = landing(to);
    if (m_delegate)
        target = landing(m_delegate->targetIndexPathForMoveFromRowAtIndexPath(*this, from, target));
    auto keep = weak_from_this().lock();
    if (target != from) {
        std::vector<int> expected = m_layout.rowCounts();
        --expected[static_cast<std::size_t>(from.section)];
        ++expected[static_cast<std::size_t>(target.section)];
        m_dataSource->moveRowAtIndexPath(*this, from, target);
        if (!acceptUpdate(expected, "moving a row"))
            return target;
    }
    // The rows in sight are built again in their new order; editing stays on.
    auto shown = std::exchange(m_visibleCells, {});
    for (auto& [indexPath, cell] : shown)
        park(cell);
    m_selectedRow.reset();
    rebuildLayout();
    tile();
    return target;
}

void TableView::reorderBegan(TableViewCell& cell, const Touch& touch)
{
    auto indexPath = indexPathForCell(cell);
    if (!indexPath || !m_editing)
        return;
    m_reorderFrom = indexPath;
    m_reorderGrab = touch.locationIn(*this).y - cell.frame().y();
    bringSubviewToFront(cell);
}

void TableView::reorderMoved(TableViewCell& cell, const Touch& touch)
{
    if (!m_reorderFrom)
        return;
    Rect frame = cell.frame();
    frame.origin.y = std::clamp(touch.locationIn(*this).y - m_reorderGrab, 0.0, std::max(0.0, contentSize().height - frame.height()));
    cell.setFrame(frame);
}

void TableView::reorderEnded(TableViewCell& cell, const Touch& touch, bool cancelled)
{
    if (!m_reorderFrom)
        return;
    IndexPath from = *m_reorderFrom;
    m_reorderFrom.reset();
    auto target = m_layout.dropTarget(from, touch.locationIn(*this).y - m_reorderGrab + cell.frame().height() / 2);
    if (cancelled || !target) {
        tile();
        return;
    }
    if (!moveRowByUser(from, *target))
        tile();
}

} // namespace ui

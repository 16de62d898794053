// The table's rows deleted, inserted and reloaded while it shows: the data source has
// changed already, the table checks it agrees with what it announced, moves the cells in
// sight to their new rows and lets the deleted ones fade on the run-loop clock.

#include "platform/ui/TableView.h"

#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/TableViewDataSource.h"

#include <algorithm>
#include <set>

namespace ui {

bool TableView::acceptUpdate(const std::vector<int>& expectedRows, const char* what)
{
    int sections = m_dataSource ? m_dataSource->numberOfSectionsInTableView(*this) : 0;
    bool agrees = sections == static_cast<int>(expectedRows.size());
    for (int s = 0; agrees && s < sections; ++s)
        agrees = m_dataSource->numberOfRowsInSection(*this, s) == expectedRows[static_cast<std::size_t>(s)];
    if (agrees)
        return true;
    foundation::log(std::string("table view: the data source's row counts do not match after ") + what + "; reloading");
    reloadData();
    return false;
}

void TableView::removeDyingCellLater(const std::shared_ptr<TableViewCell>& cell, double delay)
{
    std::weak_ptr<const void> guard = weak_from_this();
    foundation::RunLoop::main().performAfterDelay(delay, guard, [this, cell] {
        auto found = std::find(m_dyingCells.begin(), m_dyingCells.end(), cell);
        if (found == m_dyingCells.end())
            return;
        m_dyingCells.erase(found);
        enqueue(cell);
    });
}

void TableView::deleteRowsAtIndexPaths(const std::vector<IndexPath>& indexPaths, TableViewRowAnimation animation)
{
    if (!m_loaded) {
        reloadData();
        return;
    }
    std::set<IndexPath> gone;
    for (const auto& indexPath : indexPaths) {
        if (!isValidIndexPath(indexPath)) {
            foundation::log("table view: deleting row " + indexPath.toString() + ", which the table does not have; reloading");
            reloadData();
            return;
        }
        gone.insert(indexPath);
    }
    std::vector<int> expected = m_layout.rowCounts();
    for (const auto& indexPath : gone)
        --expected[static_cast<std::size_t>(indexPath.section)];
    if (!acceptUpdate(expected, "deleting rows"))
        return;

    auto shift = [&](const IndexPath& indexPath) {
        auto below = std::distance(gone.lower_bound({ indexPath.section, 0 }), gone.lower_bound(indexPath));
        return IndexPath { indexPath.section, indexPath.row - static_cast<int>(below) };
    };
    bool animated = animation != TableViewRowAnimation::None;
    std::map<IndexPath, std::shared_ptr<TableViewCell>> remaining;
    for (auto& [indexPath, cell] : m_visibleCells) {
        if (!gone.count(indexPath)) {
            remaining[shift(indexPath)] = cell;
            continue;
        }
        if (!animated) {
            enqueue(cell);
            continue;
        }
        m_dyingCells.push_back(cell);
        View::animate(rowAnimationDuration, [&] { cell->setAlpha(0); });
        removeDyingCellLater(cell, rowAnimationDuration);
    }
    m_visibleCells = std::move(remaining);
    if (m_selectedRow)
        m_selectedRow = gone.count(*m_selectedRow) ? std::nullopt : std::optional(shift(*m_selectedRow));
    if (m_confirmationRow)
        m_confirmationRow = gone.count(*m_confirmationRow) ? std::nullopt : std::optional(shift(*m_confirmationRow));
    rebuildLayout();
    Point maximum = maximumContentOffset();
    if (contentOffset().y > maximum.y)
        setContentOffset({ contentOffset().x, maximum.y });
    tile(animated);
}

void TableView::insertRowsAtIndexPaths(const std::vector<IndexPath>& indexPaths, TableViewRowAnimation animation)
{
    if (!m_loaded) {
        reloadData();
        return;
    }
    std::set<IndexPath> added(indexPaths.begin(), indexPaths.end());
    std::vector<int> expected = m_layout.rowCounts();
    for (const auto& indexPath : added) {
        if (indexPath.section < 0 || indexPath.section >= numberOfSections()) {
            foundation::log("table view: inserting row " + indexPath.toString() + " into a section the table does not have; reloading");
            reloadData();
            return;
        }
        ++expected[static_cast<std::size_t>(indexPath.section)];
    }
    for (const auto& indexPath : added) {
        if (indexPath.row < 0 || indexPath.row >= expected[static_cast<std::size_t>(indexPath.section)]) {
            foundation::log("table view: inserting row " + indexPath.toString() + " beyond its section; reloading");
            reloadData();
            return;
        }
    }
    if (!acceptUpdate(expected, "inserting rows"))
        return;
    auto shift = [&](const IndexPath& indexPath) {
        int row = indexPath.row;
        for (auto it = added.lower_bound({ indexPath.section, 0 }); it != added.end() && it->section == indexPath.section; ++it) {
            if (it->row <= row)
                ++row;
        }
        return IndexPath { indexPath.section, row };
    };
    std::map<IndexPath, std::shared_ptr<TableViewCell>> moved;
    for (auto& [indexPath, cell] : m_visibleCells)
        moved[shift(indexPath)] = cell;
    m_visibleCells = std::move(moved);
    if (m_selectedRow)
        m_selectedRow = shift(*m_selectedRow);
    if (m_confirmationRow)
        m_confirmationRow = shift(*m_confirmationRow);
    rebuildLayout();
    tile(animation != TableViewRowAnimation::None);
}

void TableView::reloadRowsAtIndexPaths(const std::vector<IndexPath>& indexPaths, TableViewRowAnimation)
{
    if (!m_loaded) {
        reloadData();
        return;
    }
    for (const auto& indexPath : indexPaths) {
        auto found = m_visibleCells.find(indexPath);
        if (found == m_visibleCells.end())
            continue;
        auto cell = found->second;
        m_visibleCells.erase(found);
        park(cell);
    }
    rebuildLayout();
    tile();
}

void TableView::beginUpdates()
{
    ++m_updateDepth;
}

void TableView::endUpdates()
{
    if (m_updateDepth > 0)
        --m_updateDepth;
    if (m_updateDepth > 0 || !m_loaded)
        return;
    rebuildLayout();
    tile(true);
}

} // namespace ui

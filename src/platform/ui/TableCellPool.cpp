#include "platform/ui/TableCellPool.h"

#include "platform/ui/TableViewCell.h"

#include <algorithm>
#include <utility>

namespace ui {

std::shared_ptr<TableViewCell> TableCellPool::dequeue(const std::string& identifier)
{
    auto found = m_waiting.find(identifier);
    if (found == m_waiting.end() || found->second.empty())
        return nullptr;
    auto cell = std::move(found->second.back());
    found->second.pop_back();
    cell->prepareForReuse();
    return cell;
}

void TableCellPool::enqueue(std::shared_ptr<TableViewCell> cell)
{
    if (cell->reuseIdentifier().empty())
        return;
    auto& waiting = m_waiting[cell->reuseIdentifier()];
    if (waiting.size() < limit)
        waiting.push_back(std::move(cell));
}

void TableCellPool::park(const std::shared_ptr<TableViewCell>& cell)
{
    m_parked.push_back(cell);
    enqueue(cell);
}

std::vector<std::shared_ptr<TableViewCell>> TableCellPool::takeParked()
{
    return std::exchange(m_parked, {});
}

void TableCellPool::remove(const TableViewCell& cell)
{
    auto found = m_waiting.find(cell.reuseIdentifier());
    if (found == m_waiting.end())
        return;
    auto& waiting = found->second;
    waiting.erase(std::remove_if(waiting.begin(), waiting.end(), [&](const auto& kept) { return kept.get() == &cell; }),
                  waiting.end());
}

} // namespace ui

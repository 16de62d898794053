#pragma once
// The cells a table keeps for rows still to come, by reuse identifier. A cell that scrolls
// out of sight waits here until dequeueReusableCellWithIdentifier hands it to another row;
// a cell of a reloaded row is "parked": it waits in the pool too, but stays where it is on
// screen until the table has built its rows again, so that a cell which comes back (for
// its row or another) was never off the screen and a field in it keeps the keyboard.
//
// Ownership: the pool shares the cells it holds with the table; it never touches the view
// tree, which stays the table's business.

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace ui {

class TableViewCell;

class TableCellPool {
public:
    // Cells kept per reuse identifier: a screenful and then some; more would only hold memory.
    static constexpr std::size_t limit = 32;

    // A waiting cell of that identifier, readied for its new row, or null.
    std::shared_ptr<TableViewCell> dequeue(const std::string& identifier);
    // Keeps the cell for another row, unless it has no identifier or its kind is full.
    void enqueue(std::shared_ptr<TableViewCell> cell);
    // Keeps the cell for another row and remembers it until takeParked.
    void park(const std::shared_ptr<TableViewCell>& cell);
    // The parked cells, forgotten as parked (they stay in the pool).
    std::vector<std::shared_ptr<TableViewCell>> takeParked();
    // A cell a screen handed out for a row of its own choice must not also wait for another.
    void remove(const TableViewCell& cell);

private:
    std::unordered_map<std::string, std::vector<std::shared_ptr<TableViewCell>>> m_waiting;
    std::vector<std::shared_ptr<TableViewCell>> m_parked;
};

} // namespace ui

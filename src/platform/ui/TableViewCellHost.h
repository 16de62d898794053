#pragma once
// What a cell may ask of the table it lies in: where it stands, and what the user did with
// its own controls (the detail button, the delete or insert control, the Delete button,
// the reorder grip). The cell knows nothing else of tables; the table decides what each
// touch means.
//
// Ownership: the table sets itself as the host of each cell it shows and clears it when it
// takes the cell back, so a cell never points to a table that is gone.

#include "platform/ui/IndexPath.h"

#include <optional>

namespace ui {

class TableViewCell;
struct Touch;

class TableViewCellHost {
public:
    virtual ~TableViewCellHost() = default;

    // The row the cell shows, if it shows one.
    virtual std::optional<IndexPath> indexPathForCell(const TableViewCell& cell) const = 0;
    virtual void accessoryButtonTapped(TableViewCell& cell) = 0;
    virtual void editingControlTapped(TableViewCell& cell) = 0;
    virtual void deleteConfirmationTapped(TableViewCell& cell) = 0;
    // A drag of the cell's reorder grip: where it began, moved, and ended or was cancelled.
    virtual void reorderBegan(TableViewCell& cell, const Touch& touch) = 0;
    virtual void reorderMoved(TableViewCell& cell, const Touch& touch) = 0;
    virtual void reorderEnded(TableViewCell& cell, const Touch& touch, bool cancelled) = 0;
};

} // namespace ui

#pragma once
// What a table tells the screen that runs it, and the layout questions it asks: row and
// header heights (0 hides a row: it takes no space and no touches), custom header views,
// selection, the accessory button, editing styles and the target of a move. Every call is
// optional; the defaults are the handset's. A table delegate hears of scrolling too.
//
// Ownership: a plain pointer in the table, like the data source.

#include "platform/ui/IndexPath.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TableViewCell.h"

#include <memory>
#include <optional>
#include <string>

namespace ui {

class TableView;
class View;

// A height meaning "what the table would use by itself": its sectionHeaderHeight when the
// section has a header title or view, no header otherwise.
inline constexpr double TableViewAutomaticDimension = -1;

class TableViewDelegate : public ScrollViewDelegate {
public:
    // The table's rowHeight by default.
    virtual double heightForRowAtIndexPath(TableView& tableView, const IndexPath&);
    virtual double heightForHeaderInSection(TableView&, int /*section*/) { return TableViewAutomaticDimension; }
    virtual double heightForFooterInSection(TableView&, int /*section*/) { return TableViewAutomaticDimension; }
    // A view of the screen's own as the section's header, in place of the title.
    virtual std::shared_ptr<View> viewForHeaderInSection(TableView&, int /*section*/) { return nullptr; }

    virtual void willDisplayCell(TableView&, TableViewCell&, const IndexPath&) { }

    // The row to select when the user touches one; empty refuses the touch.
    virtual std::optional<IndexPath> willSelectRowAtIndexPath(TableView&, const IndexPath& indexPath) { return indexPath; }
    virtual void didSelectRowAtIndexPath(TableView&, const IndexPath&) { }
    // Told when a touch on another row takes the selection away from this one.
    virtual void didDeselectRowAtIndexPath(TableView&, const IndexPath&) { }
    virtual void accessoryButtonTappedForRowWithIndexPath(TableView&, const IndexPath&) { }

    // The control an editable row shows while the table edits.
    virtual TableViewCellEditingStyle editingStyleForRowAtIndexPath(TableView&, const IndexPath&)
    {
        return TableViewCellEditingStyle::Delete;
    }
    // The system's own word by default.
    virtual std::string titleForDeleteConfirmationButtonForRowAtIndexPath(TableView&, const IndexPath&);
    // A swipe brought up, and later took away, the Delete button of one row.
    virtual void willBeginEditingRowAtIndexPath(TableView&, const IndexPath&) { }
    virtual void didEndEditingRowAtIndexPath(TableView&, const IndexPath&) { }
    // Where a dragged row may land; the proposal by default.
    virtual IndexPath targetIndexPathForMoveFromRowAtIndexPath(TableView&, const IndexPath& /*from*/, const IndexPath& proposed)
    {
        return proposed;
    }
};

} // namespace ui

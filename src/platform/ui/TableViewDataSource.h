#pragma once
// What a table asks the screen that fills it: how many sections and rows there are, the
// cell of a row, the section titles and the section index, and whether and how rows may be
// edited and moved. Only the row count and the cell are required; the other calls have
// the handset's defaults.
//
// The table never asks about a section or row outside the counts it was last given.
//
// Ownership: the table holds its data source as a plain pointer; a screen that is the data
// source of a table it owns needs nothing more, any other owner clears it before it goes.

#include "platform/ui/IndexPath.h"
#include "platform/ui/TableViewCell.h"

#include <memory>
#include <string>
#include <vector>

namespace ui {

class TableView;

class TableViewDataSource {
public:
    virtual ~TableViewDataSource() = default;

    virtual int numberOfSectionsInTableView(TableView&) { return 1; }
    virtual int numberOfRowsInSection(TableView&, int section) = 0;
    // The cell for a row; take one from dequeueReusableCellWithIdentifier when there is one.
    // A cell the screen keeps for one row (a form's field) needs a reuse identifier no other
    // row uses: a cell that scrolls out of sight waits for any row of its identifier.
    virtual std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView&, const IndexPath&) = 0;

    // The header text of a section; empty for none.
    virtual std::string titleForHeaderInSection(TableView&, int /*section*/) { return {}; }

    // The titles of the index at the table's right edge; TableViewIndexSearch (TableView.h)
    // draws the search symbol. Empty for no index.
    virtual std::vector<std::string> sectionIndexTitlesForTableView(TableView&) { return {}; }
    // The section to show when the user touches index entry `index`; the table scrolls to
    // its top. A section outside the table (-1) scrolls nowhere, for entries the screen
    // handles itself, such as the search symbol revealing the search bar.
    virtual int sectionForSectionIndexTitle(TableView&, const std::string& /*title*/, int index) { return index; }

    // Whether the row takes part in editing (delete or insert control, swipe-to-delete).
    virtual bool canEditRowAtIndexPath(TableView&, const IndexPath&) { return true; }
    // Whether the row shows a reorder grip while editing. False by default: moving must be
    // asked for.
    virtual bool canMoveRowAtIndexPath(TableView&, const IndexPath&) { return false; }
    // The user confirmed a deletion or touched an insert control. A screen that deletes the
    // row removes it from its data first, then calls deleteRowsAtIndexPaths.
    virtual void commitEditingStyle(TableView&, TableViewCellEditingStyle, const IndexPath&) { }
    // The user dragged a row from one place to another; the table already shows it there.
    virtual void moveRowAtIndexPath(TableView&, const IndexPath& /*from*/, const IndexPath& /*to*/) { }
};

} // namespace ui

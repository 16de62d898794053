#pragma once
// A scrolling list of rows in sections, filled by a data source and run by a delegate.
//
// Layout: the table asks for every row's height when it (re)loads and keeps the running
// totals (TableLayout), so finding the rows in sight is a binary search and only those rows
// get cells; a table of 50,000 rows builds a dozen cells, and cells out of sight wait in
// its pool (TableCellPool) for the next rows. A row of height 0 keeps its place in the
// order but takes no space, gets no cell and takes no touches. Sections have a header
// (a title or a view of the delegate's) that floats at the top while its rows scroll under
// it in the plain style. A table header view (the search bar) lies above the first section,
// and the section index lies over the right edge.
//
// Editing: in editing mode every editable row shows the delete or insert control of its
// editing style and, when the data source allows it, a reorder grip; outside it, a swipe
// to the left brings up a Delete button. Deletions and inserts are committed through the
// data source, which updates its data and tells the table with deleteRowsAtIndexPaths or
// insertRowsAtIndexPaths; rows then fade or slide on the run-loop clock while the table's
// model is final at once. A data source whose counts do not match the update it announced
// is logged and reloaded rather than trusted.
//
// Ownership: the table owns its cells (shown, fading out and waiting for reuse), its
// header views and its index; the table header view is shared with the screen that made
// it. Data source and delegate are plain pointers (see TableViewDataSource.h). The table is
// the host of each cell it shows (TableViewCellHost), and the only thing a cell knows of it.
//
// The table's work lies in four files: TableView.cpp (loading, laying out and tiling rows,
// headers and the index, selection and scrolling), TableViewUpdates.cpp (rows deleted,
// inserted and reloaded), TableViewEditing.cpp (editing, Delete buttons, moving rows) and
// TableViewTouches.cpp (taps, swipes and scrolls over the rows).

#include "platform/ui/IndexPath.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TableCellPool.h"
#include "platform/ui/TableLayout.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/TableViewCellHost.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {

class TableSectionHeaderView;
class TableSectionIndexView;
class TableViewDataSource;
class TableViewDelegate;

enum class TableViewStyle { Plain, Grouped };
enum class TableViewScrollPosition { None, Top, Middle, Bottom };
enum class TableViewRowAnimation { Fade, Right, Left, Top, Bottom, None, Middle, Automatic };
enum class TableViewCellSeparatorStyle { None, SingleLine };

// The index title that shows as the search symbol, by convention the first entry.
inline const std::string TableViewIndexSearch { "{search}" };

class TableView : public ScrollView, private TableViewCellHost {
public:
    static constexpr double defaultRowHeight = 44;
    static constexpr double plainHeaderHeight = 22;
    static constexpr double groupedHeaderHeight = 38;
    // The gap a grouped table leaves around sections without header or footer.
    static constexpr double groupedSectionSpacing = 10;
    static constexpr double sectionIndexWidth = 16;
    static constexpr double rowAnimationDuration = 0.3;
    // How far a finger must swipe to the left over a row to bring up its Delete button.
    static constexpr double swipeToDeleteDistance = 30;

    explicit TableView(const Rect& frame = {}, TableViewStyle style = TableViewStyle::Plain);
    ~TableView() override;

    std::string typeName() const override { return "TableView"; }
    // Also its style, editing, sections (rows and titles), index and selected row.
    void describe(ViewDescription& description) const override;

    TableViewStyle style() const { return m_style; }
    TableViewDataSource* dataSource() const { return m_dataSource; }
    void setDataSource(TableViewDataSource* dataSource);
    TableViewDelegate* delegate() const { return m_delegate; }
    // Also the scroll delegate.
    void setDelegate(TableViewDelegate* delegate);

    double rowHeight() const { return m_rowHeight; }
    void setRowHeight(double height);
    double sectionHeaderHeight() const { return m_sectionHeaderHeight; }
    void setSectionHeaderHeight(double height);
    TableViewCellSeparatorStyle separatorStyle() const { return m_separatorStyle; }
    void setSeparatorStyle(TableViewCellSeparatorStyle style);

    // The view above the first section (a search bar), at its own height.
    const std::shared_ptr<View>& tableHeaderView() const { return m_tableHeaderView; }
    void setTableHeaderView(std::shared_ptr<View> view);
    const std::shared_ptr<View>& tableFooterView() const { return m_tableFooterView; }
    void setTableFooterView(std::shared_ptr<View> view);

    bool allowsSelection() const { return m_allowsSelection; }
    void setAllowsSelection(bool allows) { m_allowsSelection = allows; }
    bool allowsSelectionDuringEditing() const { return m_allowsSelectionDuringEditing; }
    void setAllowsSelectionDuringEditing(bool allows) { m_allowsSelectionDuringEditing = allows; }

    // Asks the data source and delegate everything again and rebuilds the rows in sight.
    // The selection is cleared; the scroll position is kept where the content allows.
    void reloadData();
    // Only the heights: rows move to their new places (animated inside beginUpdates).
    void beginUpdates();
    void endUpdates();
    // The rows are gone from the data source already; their cells fade (or vanish with
    // TableViewRowAnimation::None) and the rows below move up.
    void deleteRowsAtIndexPaths(const std::vector<IndexPath>& indexPaths, TableViewRowAnimation animation);
    // The rows are in the data source already (index paths after the insertion).
    void insertRowsAtIndexPaths(const std::vector<IndexPath>& indexPaths, TableViewRowAnimation animation);
    // Builds the cells of these rows again.
    void reloadRowsAtIndexPaths(const std::vector<IndexPath>& indexPaths, TableViewRowAnimation animation);

    // As last loaded.
    int numberOfSections() const { return m_layout.numberOfSections(); }
    // 0 for a section outside the table.
    int numberOfRowsInSection(int section) const { return m_layout.numberOfRowsInSection(section); }
    bool isValidIndexPath(const IndexPath& indexPath) const { return m_layout.isValidIndexPath(indexPath); }
    std::vector<std::string> sectionIndexTitles() const { return m_indexTitles; }
    // Whether the index column shows now (it has titles, and no search runs over the list).
    bool isShowingSectionIndex() const;
    std::string headerTitleInSection(int section) const { return m_layout.headerTitle(section); }

    // Rectangles in the table's content coordinates; empty for a section or row outside.
    Rect rectForSection(int section) const;
    Rect rectForHeaderInSection(int section) const;
    Rect rectForRowAtIndexPath(const IndexPath& indexPath) const;
    // The row (never one of height 0) under a point in content coordinates.
    std::optional<IndexPath> indexPathForRowAtPoint(const Point& point) const;
    std::optional<IndexPath> indexPathForCell(const TableViewCell& cell) const override;
    std::vector<IndexPath> indexPathsForVisibleRows() const;
    std::vector<std::shared_ptr<TableViewCell>> visibleCells() const;
    // The cell shown for the row, or null when the row is out of sight, of height 0 or
    // outside the table. Never asks the data source.
    std::shared_ptr<TableViewCell> cellForRowAtIndexPath(const IndexPath& indexPath) const;
    // The header view shown for a section, or null.
    std::shared_ptr<View> headerViewForSection(int section) const;

    // A cell that went out of sight, ready for another row, or null.
    std::shared_ptr<TableViewCell> dequeueReusableCellWithIdentifier(const std::string& identifier);

    void scrollToRowAtIndexPath(const IndexPath& indexPath, TableViewScrollPosition position, bool animated);

    // Selection. Selecting or deselecting in code tells the delegate nothing.
    std::optional<IndexPath> indexPathForSelectedRow() const { return m_selectedRow; }
    void selectRowAtIndexPath(const std::optional<IndexPath>& indexPath, bool animated, TableViewScrollPosition position);
    void deselectRowAtIndexPath(const IndexPath& indexPath, bool animated);

    bool isEditing() const { return m_editing; }
    void setEditing(bool editing, bool animated = false);

    // What a touch on index entry `position` does: asks the data source for the section
    // and scrolls to it. False when there is no such entry.
    bool selectSectionIndexEntry(int position);
    // What a swipe over the row does: brings up its Delete button (the delete control does
    // the same in editing mode). False when the row cannot be deleted: outside the table,
    // of height 0, not editable, or of another editing style.
    bool showDeleteConfirmationForRowAtIndexPath(const IndexPath& indexPath);
    void hideDeleteConfirmation();
    // The row whose Delete button shows, if any.
    std::optional<IndexPath> indexPathForDeleteConfirmation() const { return m_confirmationRow; }
    // What dropping a dragged row does while editing: asks the delegate where it may land
    // and tells the data source. Returns where it landed, or nothing when the row may not
    // move (not editing, outside the table, not movable).
    std::optional<IndexPath> moveRowByUser(const IndexPath& from, const IndexPath& to);

    void touchesBegan(const Touch& touch) override;
    void touchesMoved(const Touch& touch) override;
    void touchesEnded(const Touch& touch) override;
    void touchesCancelled(const Touch& touch) override;

    void layoutSubviews() override;

protected:
    void contentOffsetDidChange() override;

private:
    enum class TouchMode { None, Undecided, Scroll, Swipe, Swallowed };

    // Queries the counts, titles and heights again and lays the sections out.
    void rebuildLayout();
    double resolveHeaderHeight(int section, bool hasTitle);
    double resolveFooterHeight(int section);
    double cellWidth() const;
    // Gives cells to the rows in sight and takes them from rows out of sight.
    void tile(bool animateFrames = false);
    void orderSubviews();
    void layoutHeaders();
    void layoutIndex();
    // A cell leaves the table: off the screen, into the pool.
    void enqueue(std::shared_ptr<TableViewCell> cell);
    // A cell of a reloaded row stays on screen until the rows are built again.
    void park(const std::shared_ptr<TableViewCell>& cell);
    void detachParkedCells();
    void configure(TableViewCell& cell, const IndexPath& indexPath);
    std::shared_ptr<TableViewCell> makeCell(const IndexPath& indexPath);
    Rect floatingHeaderRect(int section) const;
    bool rowIsEditable(const IndexPath& indexPath);
    TableViewCellEditingStyle editingStyleFor(const IndexPath& indexPath);
    // The editing controls a row shows while the table edits.
    void applyEditingStyle(TableViewCell& cell, const IndexPath& indexPath);
    // After the data source changed by the announced deltas: false (and reloaded) when its
    // counts disagree.
    bool acceptUpdate(const std::vector<int>& expectedRows, const char* what);
    void removeDyingCellLater(const std::shared_ptr<TableViewCell>& cell, double delay);
    std::optional<IndexPath> rowAtWindowPoint(const Point& point) const;
    void userTappedRow(const IndexPath& indexPath);
    void unhighlight(const std::optional<IndexPath>& indexPath);

    // What the cells' controls report.
    void accessoryButtonTapped(TableViewCell& cell) override;
    void editingControlTapped(TableViewCell& cell) override;
    void deleteConfirmationTapped(TableViewCell& cell) override;
    void reorderBegan(TableViewCell& cell, const Touch& touch) override;
    void reorderMoved(TableViewCell& cell, const Touch& touch) override;
    void reorderEnded(TableViewCell& cell, const Touch& touch, bool cancelled) override;

    TableViewStyle m_style { TableViewStyle::Plain };
    TableViewDataSource* m_dataSource { nullptr };
    TableViewDelegate* m_delegate { nullptr };
    double m_rowHeight { defaultRowHeight };
    double m_sectionHeaderHeight { plainHeaderHeight };
    TableViewCellSeparatorStyle m_separatorStyle { TableViewCellSeparatorStyle::SingleLine };
    std::shared_ptr<View> m_tableHeaderView;
    std::shared_ptr<View> m_tableFooterView;
    bool m_allowsSelection { true };
    bool m_allowsSelectionDuringEditing { false };
    bool m_editing { false };

    bool m_loaded { false };
    TableLayout m_layout;
    std::vector<std::string> m_indexTitles;
    std::map<IndexPath, std::shared_ptr<TableViewCell>> m_visibleCells;
    std::map<int, std::shared_ptr<View>> m_visibleHeaders;
    std::vector<std::shared_ptr<TableSectionHeaderView>> m_titleHeaderPool;
    TableCellPool m_pool;
    std::vector<std::shared_ptr<TableViewCell>> m_dyingCells;
    std::shared_ptr<TableSectionIndexView> m_indexView;
    std::optional<IndexPath> m_selectedRow;
    std::optional<IndexPath> m_confirmationRow;
    bool m_confirmationBySwipe { false };
    int m_updateDepth { 0 };
    bool m_tiling { false };
    bool m_needsRetile { false };
    bool m_reloadPending { false };

    TouchMode m_touchMode { TouchMode::None };
    std::optional<IndexPath> m_touchRow;
    Point m_touchStart;

    std::optional<IndexPath> m_reorderFrom;
    double m_reorderGrab { 0 };
};

} // namespace ui

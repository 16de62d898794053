#include "platform/ui/TableView.h"

#include "platform/foundation/Log.h"
#include "platform/ui/SearchBar.h"
#include "platform/ui/TableSectionHeaderView.h"
#include "platform/ui/TableSectionIndexView.h"
#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"
#include "platform/ui/ViewDescription.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <utility>

namespace ui {

namespace {

constexpr std::size_t headerPoolLimit = 8;

double sanitizedHeight(double height)
{
    return std::isfinite(height) && height > 0 ? height : 0;
}

} // namespace

TableView::TableView(const Rect& frame, TableViewStyle style)
    : ScrollView(frame)
    , m_style(style)
{
    if (style == TableViewStyle::Grouped) {
        m_sectionHeaderHeight = groupedHeaderHeight;
        setBackgroundColor(Color::groupTableViewBackgroundColor());
    } else {
        setBackgroundColor(Color::whiteColor());
    }
}

TableView::~TableView()
{
    for (auto& [indexPath, cell] : m_visibleCells)
        cell->setHost(nullptr);
    for (auto& cell : m_dyingCells)
        cell->setHost(nullptr);
    for (auto& cell : m_pool.takeParked())
        cell->setHost(nullptr);
}

void TableView::setDataSource(TableViewDataSource* dataSource)
{
    m_dataSource = dataSource;
    m_loaded = false;
    setNeedsLayout();
}

void TableView::setDelegate(TableViewDelegate* delegate)
{
    m_delegate = delegate;
    ScrollView::setDelegate(delegate);
    m_loaded = false;
    setNeedsLayout();
}

void TableView::setRowHeight(double height)
{
    m_rowHeight = sanitizedHeight(height);
    m_loaded = false;
    setNeedsLayout();
}

void TableView::setSectionHeaderHeight(double height)
{
    m_sectionHeaderHeight = sanitizedHeight(height);
    m_loaded = false;
    setNeedsLayout();
}

void TableView::setSeparatorStyle(TableViewCellSeparatorStyle style)
{
    m_separatorStyle = style;
    for (auto& [indexPath, cell] : m_visibleCells)
        cell->setDrawsSeparator(style == TableViewCellSeparatorStyle::SingleLine);
}

void TableView::setTableHeaderView(std::shared_ptr<View> view)
{
    if (view == m_tableHeaderView)
        return;
    if (m_tableHeaderView && m_tableHeaderView->superview() == this)
        m_tableHeaderView->removeFromSuperview();
    m_tableHeaderView = std::move(view);
    if (m_tableHeaderView)
        insertSubview(m_tableHeaderView, 0);
    if (m_loaded) {
        rebuildLayout();
        tile();
    }
}

void TableView::setTableFooterView(std::shared_ptr<View> view)
{
    if (view == m_tableFooterView)
        return;
    if (m_tableFooterView && m_tableFooterView->superview() == this)
        m_tableFooterView->removeFromSuperview();
    m_tableFooterView = std::move(view);
    if (m_tableFooterView)
        insertSubview(m_tableFooterView, 0);
    if (m_loaded) {
        rebuildLayout();
        tile();
    }
}

void TableView::describe(ViewDescription& description) const
{
    ScrollView::describe(description);
    description.setGroup("table", [this](ViewDescription& table) {
        table.setText("style", m_style == TableViewStyle::Grouped ? "grouped" : "plain");
        table.setFlag("editing", m_editing);
        table.setGroups("sections", numberOfSections(), [this](int index, ViewDescription& section) {
            section.setInteger("rows", numberOfRowsInSection(index));
            if (std::string title = headerTitleInSection(index); !title.empty())
                section.setText("title", title);
        });
        if (!m_indexTitles.empty())
            table.setTexts("index", m_indexTitles);
        if (m_selectedRow)
            table.setIntegers("selected", { m_selectedRow->section, m_selectedRow->row });
    });
}

// ---- Loading and layout ----------------------------------------------------------------

void TableView::reloadData()
{
    if (m_tiling) {
        // Asked from inside a data-source call while rows are being built: finish those first.
        m_reloadPending = true;
        return;
    }
    if (m_confirmationRow) {
        if (auto cell = cellForRowAtIndexPath(*m_confirmationRow))
            cell->hideDeleteConfirmation();
        m_confirmationRow.reset();
    }
    auto shown = std::exchange(m_visibleCells, {});
    for (auto& [indexPath, cell] : shown)
        park(cell);
    auto headers = std::exchange(m_visibleHeaders, {});
    for (auto& [section, header] : headers)
        header->removeFromSuperview();
    m_selectedRow.reset();
    m_reorderFrom.reset();
    rebuildLayout();
    m_loaded = true;
    Point offset = contentOffset();
    Point maximum = maximumContentOffset();
    if (offset.y > maximum.y)
        setContentOffset({ offset.x, maximum.y });
    tile();
}

double TableView::resolveHeaderHeight(int section, bool hasTitle)
{
    double height = m_delegate ? m_delegate->heightForHeaderInSection(*this, section) : TableViewAutomaticDimension;
    if (height == TableViewAutomaticDimension) {
        if (hasTitle)
            return m_sectionHeaderHeight;
        return m_style == TableViewStyle::Grouped ? groupedSectionSpacing : 0;
    }
    return sanitizedHeight(height);
}

double TableView::resolveFooterHeight(int section)
{
    double height = m_delegate ? m_delegate->heightForFooterInSection(*this, section) : TableViewAutomaticDimension;
    if (height == TableViewAutomaticDimension)
        return m_style == TableViewStyle::Grouped ? groupedSectionSpacing : 0;
    return sanitizedHeight(height);
}

void TableView::rebuildLayout()
{
    int count = m_dataSource ? std::max(0, m_dataSource->numberOfSectionsInTableView(*this)) : 0;
    m_indexTitles = m_dataSource ? m_dataSource->sectionIndexTitlesForTableView(*this) : std::vector<std::string> {};
    double width = bounds().width();
    double top = 0;
    if (m_tableHeaderView) {
        Rect frame = m_tableHeaderView->frame();
        m_tableHeaderView->setFrame({ 0, 0, width, frame.height() });
        top = frame.height();
    }
    TableLayout layout(top);
    for (int s = 0; s < count; ++s) {
        int rows = std::max(0, m_dataSource->numberOfRowsInSection(*this, s));
        std::string title = m_dataSource->titleForHeaderInSection(*this, s);
        double headerHeight = resolveHeaderHeight(s, !title.empty());
        layout.beginSection(std::move(title), headerHeight, rows);
        for (int row = 0; row < rows; ++row)
            layout.appendRow(m_delegate ? m_delegate->heightForRowAtIndexPath(*this, { s, row }) : m_rowHeight);
        layout.endSection(resolveFooterHeight(s));
    }
    m_layout = std::move(layout);
    double y = m_layout.bottom();
    if (m_tableFooterView) {
        Rect frame = m_tableFooterView->frame();
        m_tableFooterView->setFrame({ 0, y, width, frame.height() });
        y += frame.height();
    }
    setContentSize({ width, y });
}

double TableView::cellWidth() const
{
    return std::max(0.0, bounds().width() - (m_indexTitles.empty() ? 0 : sectionIndexWidth));
}

Rect TableView::rectForSection(int section) const
{
    if (section < 0 || section >= numberOfSections())
        return {};
    auto span = m_layout.sectionSpan(section);
    return { 0, span.top, bounds().width(), span.height };
}

Rect TableView::rectForHeaderInSection(int section) const
{
    const TableLayout::Section* found = m_layout.section(section);
    if (!found)
        return {};
    return { 0, found->top, bounds().width(), found->headerHeight };
}

Rect TableView::rectForRowAtIndexPath(const IndexPath& indexPath) const
{
    if (!isValidIndexPath(indexPath))
        return {};
    auto span = m_layout.rowSpan(indexPath);
    return { 0, span.top, cellWidth(), span.height };
}

Rect TableView::floatingHeaderRect(int section) const
{
    const TableLayout::Section& s = *m_layout.section(section);
    // The band runs the whole width; the index lies over its end.
    Rect rect { 0, s.top, bounds().width(), s.headerHeight };
    // A plain header stays at the top while its rows scroll under it, until the next
    // section's header pushes it away.
    if (m_style == TableViewStyle::Plain)
        rect.origin.y = m_layout.floatingHeaderTop(section, contentOffset().y);
    return rect;
}

std::optional<IndexPath> TableView::indexPathForRowAtPoint(const Point& point) const
{
    if (point.x < 0)
        return std::nullopt;
    return m_layout.rowAt(point.y);
}

std::optional<IndexPath> TableView::indexPathForCell(const TableViewCell& cell) const
{
    for (const auto& [indexPath, shown] : m_visibleCells) {
        if (shown.get() == &cell)
            return indexPath;
    }
    return std::nullopt;
}

std::vector<IndexPath> TableView::indexPathsForVisibleRows() const
{
    std::vector<IndexPath> rows;
    rows.reserve(m_visibleCells.size());
    for (const auto& [indexPath, cell] : m_visibleCells)
        rows.push_back(indexPath);
    return rows;
}

std::vector<std::shared_ptr<TableViewCell>> TableView::visibleCells() const
{
    std::vector<std::shared_ptr<TableViewCell>> cells;
    cells.reserve(m_visibleCells.size());
    for (const auto& [indexPath, cell] : m_visibleCells)
        cells.push_back(cell);
    return cells;
}

std::shared_ptr<TableViewCell> TableView::cellForRowAtIndexPath(const IndexPath& indexPath) const
{
    auto found = m_visibleCells.find(indexPath);
    return found == m_visibleCells.end() ? nullptr : found->second;
}

std::shared_ptr<View> TableView::headerViewForSection(int section) const
{
    auto found = m_visibleHeaders.find(section);
    return found == m_visibleHeaders.end() ? nullptr : found->second;
}

// ---- Cells -----------------------------------------------------------------------------

std::shared_ptr<TableViewCell> TableView::dequeueReusableCellWithIdentifier(const std::string& identifier)
{
    return m_pool.dequeue(identifier);
}

void TableView::enqueue(std::shared_ptr<TableViewCell> cell)
{
    cell->removeFromSuperview();
    cell->setHost(nullptr);
    cell->setHighlighted(false);
    m_pool.enqueue(std::move(cell));
}

void TableView::park(const std::shared_ptr<TableViewCell>& cell)
{
    cell->setHighlighted(false);
    m_pool.park(cell);
}

void TableView::detachParkedCells()
{
    for (auto& cell : m_pool.takeParked()) {
        // Built again for a row (its own or another): it stays.
        if (cell->host() == this && indexPathForCell(*cell))
            continue;
        cell->removeFromSuperview();
        cell->setHost(nullptr);
    }
}

bool TableView::rowIsEditable(const IndexPath& indexPath)
{
    return m_dataSource && m_dataSource->canEditRowAtIndexPath(*this, indexPath);
}

TableViewCellEditingStyle TableView::editingStyleFor(const IndexPath& indexPath)
{
    return m_delegate ? m_delegate->editingStyleForRowAtIndexPath(*this, indexPath) : TableViewCellEditingStyle::Delete;
}

void TableView::applyEditingStyle(TableViewCell& cell, const IndexPath& indexPath)
{
    auto style = rowIsEditable(indexPath) ? editingStyleFor(indexPath) : TableViewCellEditingStyle::None;
    bool movable = m_dataSource && m_dataSource->canMoveRowAtIndexPath(*this, indexPath);
    cell.setEditingStyle(style, movable);
}

void TableView::configure(TableViewCell& cell, const IndexPath& indexPath)
{
    cell.setHost(this);
    if (m_editing)
        applyEditingStyle(cell, indexPath);
    cell.setEditing(m_editing);
    cell.setDrawsSeparator(m_separatorStyle == TableViewCellSeparatorStyle::SingleLine);
    cell.setSelected(m_selectedRow == indexPath);
    bool confirming = m_confirmationRow == indexPath;
    if (!confirming)
        cell.hideDeleteConfirmation();
}

std::shared_ptr<TableViewCell> TableView::makeCell(const IndexPath& indexPath)
{
    auto cell = m_dataSource ? m_dataSource->cellForRowAtIndexPath(*this, indexPath) : nullptr;
    if (cell && cell->host() == this && indexPathForCell(*cell)) {
        foundation::log("table view: the data source gave row " + indexPath.toString()
                        + " a cell that another row shows; using a blank one");
        cell.reset();
    } else if (!cell) {
        foundation::log("table view: the data source gave no cell for row " + indexPath.toString());
    }
    if (!cell)
        cell = std::make_shared<TableViewCell>(TableViewCellStyle::Default, std::string());
    // A screen that keeps a cell of its own hands it back itself; it must not also wait
    // in the pool for another row.
    m_pool.remove(*cell);
    return cell;
}

// ---- Tiling ----------------------------------------------------------------------------

void TableView::tile(bool animateFrames)
{
    if (!m_loaded) {
        detachParkedCells();
        return;
    }
    if (m_tiling) {
        m_needsRetile = true;
        return;
    }
    m_tiling = true;
    auto keep = weak_from_this().lock();
    do {
        m_needsRetile = false;
        double top = contentOffset().y;
        std::vector<IndexPath> wanted = m_layout.rowsInBand(top, top + bounds().height());
        std::set<IndexPath> wantedSet(wanted.begin(), wanted.end());
        for (auto it = m_visibleCells.begin(); it != m_visibleCells.end();) {
            if (wantedSet.count(it->first)) {
                ++it;
                continue;
            }
            auto cell = it->second;
            it = m_visibleCells.erase(it);
            enqueue(std::move(cell));
        }
        double width = cellWidth();
        for (const auto& indexPath : wanted) {
            Rect frame = rectForRowAtIndexPath(indexPath);
            frame.size.width = width;
            auto found = m_visibleCells.find(indexPath);
            if (found != m_visibleCells.end()) {
                auto& cell = *found->second;
                if (animateFrames)
                    View::animate(rowAnimationDuration, [&] { cell.setFrame(frame); });
                else
                    cell.setFrame(frame);
                configure(cell, indexPath);
                continue;
            }
            auto cell = makeCell(indexPath);
            if (m_needsRetile && !isValidIndexPath(indexPath))
                break;
            cell->setFrame(frame);
            configure(*cell, indexPath);
            addSubview(cell);
            m_visibleCells[indexPath] = cell;
            cell->layoutIfNeeded();
            if (m_delegate)
                m_delegate->willDisplayCell(*this, *cell, indexPath);
        }
        orderSubviews();
        layoutHeaders();
        layoutIndex();
    } while (m_needsRetile && !m_reloadPending);
    m_tiling = false;
    detachParkedCells();
    if (m_reloadPending) {
        m_reloadPending = false;
        reloadData();
    }
}

void TableView::orderSubviews()
{
    // The table's own views at the bottom, then the rows from top to bottom; the headers
    // and the index go above them afterwards. Painting order is dump order too.
    std::vector<View*> wanted;
    if (m_tableHeaderView && m_tableHeaderView->superview() == this)
        wanted.push_back(m_tableHeaderView.get());
    if (m_tableFooterView && m_tableFooterView->superview() == this)
        wanted.push_back(m_tableFooterView.get());
    for (auto& [indexPath, cell] : m_visibleCells)
        wanted.push_back(cell.get());
    const auto& present = subviews();
    bool ordered = present.size() >= wanted.size();
    for (std::size_t i = 0; ordered && i < wanted.size(); ++i)
        ordered = present[i].get() == wanted[i];
    if (ordered)
        return;
    for (std::size_t i = 0; i < wanted.size(); ++i)
        insertSubview(wanted[i]->shared_from_this(), i);
}

void TableView::layoutHeaders()
{
    double top = contentOffset().y;
    Rect visible { contentOffset().x, top, bounds().width(), bounds().height() };
    std::map<int, std::shared_ptr<View>> shown;
    auto [first, last] = m_layout.sectionsInBand(top, visible.maxY());
    for (int section = first; section < last; ++section) {
        const TableLayout::Section& s = *m_layout.section(section);
        if (s.headerHeight <= 0)
            continue;
        Rect rect = floatingHeaderRect(section);
        if (!rect.intersects(visible))
            continue;
        std::shared_ptr<View> header;
        if (auto found = m_visibleHeaders.find(section); found != m_visibleHeaders.end()) {
            header = found->second;
            m_visibleHeaders.erase(found);
        } else {
            header = m_delegate ? m_delegate->viewForHeaderInSection(*this, section) : nullptr;
            if (!header && !s.headerTitle.empty()) {
                std::shared_ptr<TableSectionHeaderView> titled;
                if (!m_titleHeaderPool.empty()) {
                    titled = std::move(m_titleHeaderPool.back());
                    m_titleHeaderPool.pop_back();
                } else {
                    titled = std::make_shared<TableSectionHeaderView>(m_style);
                }
                titled->setTitle(s.headerTitle);
                header = std::move(titled);
            }
        }
        if (!header)
            continue;
        header->setFrame(rect);
        if (header->superview() != this)
            addSubview(header);
        else
            bringSubviewToFront(*header);
        shown[section] = header;
    }
    for (auto& [section, header] : m_visibleHeaders) {
        header->removeFromSuperview();
        auto titled = std::dynamic_pointer_cast<TableSectionHeaderView>(header);
        if (titled && m_titleHeaderPool.size() < headerPoolLimit)
            m_titleHeaderPool.push_back(std::move(titled));
    }
    m_visibleHeaders = std::move(shown);
}

bool TableView::isShowingSectionIndex() const
{
    return m_indexView && !m_indexView->isHidden() && m_indexView->superview() == this;
}

void TableView::layoutIndex()
{
    // The list's own search field heads it. While its search runs the list is dimmed or
    // covered by the results, and the index goes, so that it never lies over the field and
    // its Cancel; otherwise the field keeps clear of the index.
    auto* searchBar = dynamic_cast<SearchBar*>(m_tableHeaderView.get());
    bool searching = searchBar && searchBar->isSearching();
    if (m_indexTitles.empty() || searching) {
        if (m_indexView)
            m_indexView->setHidden(true);
        if (searchBar)
            searchBar->setIndexColumnWidth(0);
        return;
    }
    if (searchBar)
        searchBar->setIndexColumnWidth(sectionIndexWidth);
    if (!m_indexView) {
        m_indexView = std::make_shared<TableSectionIndexView>();
        m_indexView->touched = [this](int position) { selectSectionIndexEntry(position); };
    }
    m_indexView->setTitles(m_indexTitles);
    m_indexView->setHidden(false);
    m_indexView->setFrame({ contentOffset().x + bounds().width() - sectionIndexWidth, contentOffset().y, sectionIndexWidth, bounds().height() });
    if (m_indexView->superview() != this)
        addSubview(m_indexView);
    else
        bringSubviewToFront(*m_indexView);
}

void TableView::layoutSubviews()
{
    if (!m_loaded) {
        reloadData();
        return;
    }
    double width = bounds().width();
    if (m_tableHeaderView)
        m_tableHeaderView->setFrame({ 0, 0, width, m_tableHeaderView->frame().height() });
    if (m_tableFooterView)
        m_tableFooterView->setFrame({ 0, m_tableFooterView->frame().y(), width, m_tableFooterView->frame().height() });
    setContentSize({ width, contentSize().height });
    tile();
}

void TableView::contentOffsetDidChange()
{
    tile();
}

// ---- Scrolling and selection -----------------------------------------------------------

void TableView::scrollToRowAtIndexPath(const IndexPath& indexPath, TableViewScrollPosition position, bool animated)
{
    if (!m_loaded)
        reloadData();
    if (!isValidIndexPath(indexPath))
        return;
    Rect row = rectForRowAtIndexPath(indexPath);
    double height = bounds().height();
    double y = contentOffset().y;
    switch (position) {
    case TableViewScrollPosition::None:
        scrollRectToVisible(row, animated);
        return;
    case TableViewScrollPosition::Top:
        y = row.y();
        break;
    case TableViewScrollPosition::Middle:
        y = row.midY() - height / 2;
        break;
    case TableViewScrollPosition::Bottom:
        y = row.maxY() - height;
        break;
    }
    Point minimum = minimumContentOffset();
    Point maximum = maximumContentOffset();
    setContentOffset({ contentOffset().x, std::clamp(y, minimum.y, maximum.y) }, animated);
}

void TableView::selectRowAtIndexPath(const std::optional<IndexPath>& indexPath, bool animated, TableViewScrollPosition position)
{
    if (m_selectedRow) {
        if (auto cell = cellForRowAtIndexPath(*m_selectedRow))
            cell->setSelected(false, animated);
        m_selectedRow.reset();
    }
    if (!indexPath || !isValidIndexPath(*indexPath))
        return;
    m_selectedRow = indexPath;
    if (position != TableViewScrollPosition::None)
        scrollToRowAtIndexPath(*indexPath, position, animated);
    if (auto cell = cellForRowAtIndexPath(*indexPath))
        cell->setSelected(true, animated);
}

void TableView::deselectRowAtIndexPath(const IndexPath& indexPath, bool animated)
{
    if (m_selectedRow == indexPath)
        m_selectedRow.reset();
    if (auto cell = cellForRowAtIndexPath(indexPath)) {
        cell->setSelected(false, animated);
        cell->setHighlighted(false, animated);
    }
}

void TableView::userTappedRow(const IndexPath& indexPath)
{
    if (!m_allowsSelection || (m_editing && !m_allowsSelectionDuringEditing))
        return;
    auto keep = weak_from_this().lock();
    std::optional<IndexPath> target = m_delegate ? m_delegate->willSelectRowAtIndexPath(*this, indexPath) : indexPath;
    if (!target || !isValidIndexPath(*target))
        return;
    if (m_selectedRow && *m_selectedRow != *target) {
        IndexPath old = *m_selectedRow;
        deselectRowAtIndexPath(old, false);
        if (m_delegate)
            m_delegate->didDeselectRowAtIndexPath(*this, old);
    }
    m_selectedRow = target;
    if (auto cell = cellForRowAtIndexPath(*target))
        cell->setSelected(true);
    if (m_delegate)
        m_delegate->didSelectRowAtIndexPath(*this, *target);
}

bool TableView::selectSectionIndexEntry(int position)
{
    if (position < 0 || position >= static_cast<int>(m_indexTitles.size()) || !m_dataSource)
        return false;
    auto keep = weak_from_this().lock();
    std::string title = m_indexTitles[static_cast<std::size_t>(position)];
    int section = m_dataSource->sectionForSectionIndexTitle(*this, title, position);
    if (section >= 0 && section < numberOfSections()) {
        Point maximum = maximumContentOffset();
        double y = std::clamp(m_layout.sectionSpan(section).top, minimumContentOffset().y, maximum.y);
        setContentOffset({ contentOffset().x, y });
    }
    return true;
}

} // namespace ui

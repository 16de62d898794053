#include "platform/ui/TableView.h"

#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/Label.h"
#include "platform/ui/Painter.h"
#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"
#include "platform/ui/Touch.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <utility>

namespace ui {

namespace {

// Cells kept per reuse identifier: a screenful and then some; more would only hold memory.
constexpr std::size_t reusePoolLimit = 32;
constexpr std::size_t headerPoolLimit = 8;

double sanitizedHeight(double height)
{
    return std::isfinite(height) && height > 0 ? height : 0;
}

// The header of a section that has a title and no view of the screen's own.
class SectionHeaderView final : public View {
public:
    explicit SectionHeaderView(TableViewStyle style)
        : m_label(std::make_shared<Label>())
    {
        if (style == TableViewStyle::Plain) {
            setBackgroundColor(Color::rgb255(247, 247, 247));
            m_label->setFont(Font::boldSystemFontOfSize(16));
            m_label->setTextColor(Color::darkGrayColor());
        } else {
            setBackgroundColor(std::nullopt);
            m_label->setFont(Font::systemFontOfSize(14));
            m_label->setTextColor(Color::grayColor());
        }
        addSubview(m_label);
    }
    std::string typeName() const override { return "TableViewSectionHeader"; }
    void setTitle(const std::string& title) { m_label->setText(title); }
    void layoutSubviews() override { m_label->setFrame({ 15, 0, std::max(0.0, bounds().width() - 30), bounds().height() }); }

private:
    std::shared_ptr<Label> m_label;
};

// The column of index titles over the table's right edge. A finger on it (or sliding
// along it) jumps to the section of the title under it.
class SectionIndexView final : public View {
public:
    static constexpr double entryHeight = 15;

    std::function<void(int)> touched;

    std::string typeName() const override { return "TableViewIndex"; }
    void setTitles(std::vector<std::string> titles)
    {
        if (titles == m_titles)
            return;
        m_titles = std::move(titles);
        setNeedsDisplay();
    }
    int positionAt(double y) const
    {
        if (m_titles.empty())
            return -1;
        double step = std::min(entryHeight, bounds().height() / double(m_titles.size()));
        double top = (bounds().height() - step * double(m_titles.size())) / 2;
        int position = static_cast<int>(std::floor((y - top) / step));
        return std::clamp(position, 0, static_cast<int>(m_titles.size()) - 1);
    }
    void touchesBegan(const Touch& touch) override
    {
        m_last = -1;
        report(touch);
    }
    void touchesMoved(const Touch& touch) override { report(touch); }
    void touchesEnded(const Touch&) override { m_last = -1; }
    void touchesCancelled(const Touch&) override { m_last = -1; }
    void draw(Painter& painter) override
    {
        if (m_titles.empty())
            return;
        double step = std::min(entryHeight, bounds().height() / double(m_titles.size()));
        double top = (bounds().height() - step * double(m_titles.size())) / 2;
        TextStyle style;
        style.font = Font::boldSystemFontOfSize(11);
        style.color = Color::systemBlueColor();
        style.alignment = TextAlignment::Center;
        for (std::size_t i = 0; i < m_titles.size(); ++i) {
            Rect entry { 0, top + step * double(i), bounds().width(), step };
            if (m_titles[i] == TableViewIndexSearch) {
                // The magnifying glass: a ring and its handle.
                Point c { entry.midX() - 1, entry.midY() - 1 };
                painter.fillEllipse({ c.x - 4, c.y - 4, 8, 8 }, Color::systemBlueColor());
                painter.fillEllipse({ c.x - 2.5, c.y - 2.5, 5, 5 }, Color::whiteColor());
                painter.drawLine({ c.x + 3, c.y + 3 }, { c.x + 6, c.y + 6 }, Color::systemBlueColor(), 1.5);
            } else {
                painter.drawText(m_titles[i], entry, style);
            }
        }
    }

private:
    void report(const Touch& touch)
    {
        int position = positionAt(touch.locationIn(*this).y);
        if (position < 0 || position == m_last)
            return;
        m_last = position;
        if (touched)
            touched(position);
    }

    std::vector<std::string> m_titles;
    int m_last { -1 };
};

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
        cell->m_tableView = nullptr;
    for (auto& cell : m_dyingCells)
        cell->m_tableView = nullptr;
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

void TableView::computeHeights(Section& section, int index)
{
    section.rowOffsets.assign(static_cast<std::size_t>(section.rows) + 1, 0.0);
    double y = 0;
    for (int row = 0; row < section.rows; ++row) {
        double height = m_delegate ? m_delegate->heightForRowAtIndexPath(*this, { index, row }) : m_rowHeight;
        y += sanitizedHeight(height);
        section.rowOffsets[static_cast<std::size_t>(row) + 1] = y;
    }
}

void TableView::rebuildLayout()
{
    int count = m_dataSource ? std::max(0, m_dataSource->numberOfSectionsInTableView(*this)) : 0;
    m_indexTitles = m_dataSource ? m_dataSource->sectionIndexTitlesForTableView(*this) : std::vector<std::string> {};
    m_sections.assign(static_cast<std::size_t>(count), Section {});
    double width = bounds().width();
    double y = 0;
    if (m_tableHeaderView) {
        Rect frame = m_tableHeaderView->frame();
        m_tableHeaderView->setFrame({ 0, 0, width, frame.height() });
        y = frame.height();
    }
    for (int s = 0; s < count; ++s) {
        auto& section = m_sections[static_cast<std::size_t>(s)];
        section.rows = std::max(0, m_dataSource->numberOfRowsInSection(*this, s));
        section.headerTitle = m_dataSource->titleForHeaderInSection(*this, s);
        section.headerHeight = resolveHeaderHeight(s, !section.headerTitle.empty());
        computeHeights(section, s);
        section.footerHeight = resolveFooterHeight(s);
        section.top = y;
        y = section.bottom();
    }
    if (m_tableFooterView) {
        Rect frame = m_tableFooterView->frame();
        m_tableFooterView->setFrame({ 0, y, width, frame.height() });
        y += frame.height();
    }
    setContentSize({ width, y });
}

int TableView::numberOfRowsInSection(int section) const
{
    if (section < 0 || section >= numberOfSections())
        return 0;
    return m_sections[static_cast<std::size_t>(section)].rows;
}

bool TableView::isValidIndexPath(const IndexPath& indexPath) const
{
    return indexPath.section >= 0 && indexPath.section < numberOfSections() && indexPath.row >= 0
        && indexPath.row < m_sections[static_cast<std::size_t>(indexPath.section)].rows;
}

std::string TableView::headerTitleInSection(int section) const
{
    if (section < 0 || section >= numberOfSections())
        return {};
    return m_sections[static_cast<std::size_t>(section)].headerTitle;
}

double TableView::cellWidth() const
{
    return std::max(0.0, bounds().width() - (m_indexTitles.empty() ? 0 : sectionIndexWidth));
}

Rect TableView::rectForSection(int section) const
{
    if (section < 0 || section >= numberOfSections())
        return {};
    const auto& s = m_sections[static_cast<std::size_t>(section)];
    return { 0, s.top, bounds().width(), s.bottom() - s.top };
}

Rect TableView::rectForHeaderInSection(int section) const
{
    if (section < 0 || section >= numberOfSections())
        return {};
    const auto& s = m_sections[static_cast<std::size_t>(section)];
    return { 0, s.top, bounds().width(), s.headerHeight };
}

Rect TableView::rectForRowAtIndexPath(const IndexPath& indexPath) const
{
    if (!isValidIndexPath(indexPath))
        return {};
    const auto& s = m_sections[static_cast<std::size_t>(indexPath.section)];
    auto row = static_cast<std::size_t>(indexPath.row);
    return { 0, s.rowsTop() + s.rowOffsets[row], cellWidth(), s.rowOffsets[row + 1] - s.rowOffsets[row] };
}

Rect TableView::floatingHeaderRect(int section) const
{
    const auto& s = m_sections[static_cast<std::size_t>(section)];
    Rect rect { 0, s.top, bounds().width() - (m_indexTitles.empty() ? 0 : sectionIndexWidth), s.headerHeight };
    if (m_style == TableViewStyle::Plain) {
        // A plain header stays at the top while its rows scroll under it, until the next
        // section's header pushes it away.
        double top = contentOffset().y;
        rect.origin.y = std::max(s.top, std::min(top, s.rowsBottom() - s.headerHeight));
    }
    return rect;
}

std::optional<IndexPath> TableView::indexPathForRowAtPoint(const Point& point) const
{
    auto found = std::partition_point(m_sections.begin(), m_sections.end(),
                                      [&](const Section& s) { return s.bottom() <= point.y; });
    if (found == m_sections.end() || point.x < 0)
        return std::nullopt;
    if (point.y < found->rowsTop() || point.y >= found->rowsBottom())
        return std::nullopt;
    double local = point.y - found->rowsTop();
    auto after = std::upper_bound(found->rowOffsets.begin(), found->rowOffsets.end(), local);
    int row = static_cast<int>(after - found->rowOffsets.begin()) - 1;
    if (row < 0 || row >= found->rows)
        return std::nullopt;
    return IndexPath { static_cast<int>(found - m_sections.begin()), row };
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

std::shared_ptr<TableViewCell> TableView::dequeueReusableCellWithIdentifier(const std::string& identifier)
{
    auto found = m_reusePool.find(identifier);
    if (found == m_reusePool.end() || found->second.empty())
        return nullptr;
    auto cell = std::move(found->second.back());
    found->second.pop_back();
    cell->prepareForReuse();
    return cell;
}

void TableView::enqueue(std::shared_ptr<TableViewCell> cell)
{
    cell->removeFromSuperview();
    cell->m_tableView = nullptr;
    cell->setHighlighted(false);
    if (cell->reuseIdentifier().empty())
        return;
    auto& pool = m_reusePool[cell->reuseIdentifier()];
    if (pool.size() < reusePoolLimit)
        pool.push_back(std::move(cell));
}

void TableView::park(const std::shared_ptr<TableViewCell>& cell)
{
    // A cell of a reloaded row stays where it is until the rows are built again: when it
    // comes back (for its row or another) it was never off the screen, so a field in it
    // keeps the keyboard.
    cell->setHighlighted(false);
    m_parkedCells.push_back(cell);
    if (cell->reuseIdentifier().empty())
        return;
    auto& pool = m_reusePool[cell->reuseIdentifier()];
    if (pool.size() < reusePoolLimit)
        pool.push_back(cell);
}

void TableView::detachParkedCells()
{
    auto parked = std::exchange(m_parkedCells, {});
    for (auto& cell : parked) {
        if (cell->m_tableView == this && indexPathForCell(*cell))
            continue;
        cell->removeFromSuperview();
        cell->m_tableView = nullptr;
    }
}

void TableView::takeOutOfPool(const TableViewCell& cell)
{
    // A screen that keeps a cell of its own hands it back itself; it must not also wait
    // in the pool for another row.
    auto found = m_reusePool.find(cell.reuseIdentifier());
    if (found == m_reusePool.end())
        return;
    auto& pool = found->second;
    pool.erase(std::remove_if(pool.begin(), pool.end(), [&](const auto& waiting) { return waiting.get() == &cell; }), pool.end());
}

bool TableView::rowIsEditable(const IndexPath& indexPath)
{
    return m_dataSource && m_dataSource->canEditRowAtIndexPath(*this, indexPath);
}

TableViewCellEditingStyle TableView::editingStyleFor(const IndexPath& indexPath)
{
    return m_delegate ? m_delegate->editingStyleForRowAtIndexPath(*this, indexPath) : TableViewCellEditingStyle::Delete;
}

void TableView::configure(TableViewCell& cell, const IndexPath& indexPath)
{
    cell.m_tableView = this;
    if (m_editing) {
        auto style = rowIsEditable(indexPath) ? editingStyleFor(indexPath) : TableViewCellEditingStyle::None;
        bool movable = m_dataSource && m_dataSource->canMoveRowAtIndexPath(*this, indexPath);
        cell.setEditingStyle(style, movable);
    }
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
    if (cell && cell->m_tableView == this && indexPathForCell(*cell)) {
        foundation::log("table view: the data source gave row " + indexPath.toString()
                        + " a cell that another row shows; using a blank one");
        cell.reset();
    } else if (!cell) {
        foundation::log("table view: the data source gave no cell for row " + indexPath.toString());
    }
    if (!cell)
        cell = std::make_shared<TableViewCell>(TableViewCellStyle::Default, std::string());
    takeOutOfPool(*cell);
    return cell;
}

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
        std::vector<IndexPath> wanted;
        double top = contentOffset().y;
        double bottom = top + bounds().height();
        if (bounds().height() > 0) {
            auto first = std::partition_point(m_sections.begin(), m_sections.end(),
                                              [&](const Section& s) { return s.bottom() <= top; });
            for (auto it = first; it != m_sections.end() && it->top < bottom; ++it) {
                if (it->rows == 0)
                    continue;
                int section = static_cast<int>(it - m_sections.begin());
                double base = it->rowsTop();
                auto after = std::upper_bound(it->rowOffsets.begin(), it->rowOffsets.end(), top - base);
                int row = std::max(0, static_cast<int>(after - it->rowOffsets.begin()) - 1);
                for (; row < it->rows; ++row) {
                    double y0 = base + it->rowOffsets[static_cast<std::size_t>(row)];
                    double y1 = base + it->rowOffsets[static_cast<std::size_t>(row) + 1];
                    if (y0 >= bottom)
                        break;
                    if (y1 > y0 && y1 > top)
                        wanted.push_back({ section, row });
                }
            }
        }
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
    auto first = std::partition_point(m_sections.begin(), m_sections.end(),
                                      [&](const Section& s) { return s.bottom() <= top; });
    for (auto it = first; it != m_sections.end() && it->top < visible.maxY(); ++it) {
        int section = static_cast<int>(it - m_sections.begin());
        if (it->headerHeight <= 0)
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
            if (!header && !it->headerTitle.empty()) {
                if (!m_titleHeaderPool.empty()) {
                    header = std::move(m_titleHeaderPool.back());
                    m_titleHeaderPool.pop_back();
                } else {
                    header = std::make_shared<SectionHeaderView>(m_style);
                }
                static_cast<SectionHeaderView&>(*header).setTitle(it->headerTitle);
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
        if (dynamic_cast<SectionHeaderView*>(header.get()) && m_titleHeaderPool.size() < headerPoolLimit)
            m_titleHeaderPool.push_back(header);
    }
    m_visibleHeaders = std::move(shown);
}

void TableView::layoutIndex()
{
    if (m_indexTitles.empty()) {
        if (m_indexView)
            m_indexView->setHidden(true);
        return;
    }
    if (!m_indexView) {
        auto index = std::make_shared<SectionIndexView>();
        index->touched = [this](int position) { selectSectionIndexEntry(position); };
        m_indexView = index;
    }
    auto& index = static_cast<SectionIndexView&>(*m_indexView);
    index.setTitles(m_indexTitles);
    index.setHidden(false);
    index.setFrame({ contentOffset().x + bounds().width() - sectionIndexWidth, contentOffset().y, sectionIndexWidth, bounds().height() });
    if (index.superview() != this)
        addSubview(m_indexView);
    else
        bringSubviewToFront(index);
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

// ---- Updates ---------------------------------------------------------------------------

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
    std::vector<int> expected;
    for (const auto& section : m_sections)
        expected.push_back(section.rows);
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
    std::vector<int> expected;
    for (const auto& section : m_sections)
        expected.push_back(section.rows);
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
        double y = std::clamp(m_sections[static_cast<std::size_t>(section)].top, minimumContentOffset().y, maximum.y);
        setContentOffset({ contentOffset().x, y });
    }
    return true;
}

// ---- Editing ---------------------------------------------------------------------------

void TableView::setEditing(bool editing, bool animated)
{
    if (editing == m_editing)
        return;
    hideDeleteConfirmation();
    m_editing = editing;
    auto shown = m_visibleCells;
    for (auto& [indexPath, cell] : shown) {
        if (editing) {
            auto style = rowIsEditable(indexPath) ? editingStyleFor(indexPath) : TableViewCellEditingStyle::None;
            bool movable = m_dataSource && m_dataSource->canMoveRowAtIndexPath(*this, indexPath);
            cell->setEditingStyle(style, movable);
        }
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
    std::string title = m_delegate ? m_delegate->titleForDeleteConfirmationButtonForRowAtIndexPath(*this, indexPath) : "Delete";
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
        std::vector<int> expected;
        for (const auto& section : m_sections)
            expected.push_back(section.rows);
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
    if (cancelled || m_sections.empty()) {
        tile();
        return;
    }
    double middle = touch.locationIn(*this).y - m_reorderGrab + cell.frame().height() / 2;
    auto found = std::partition_point(m_sections.begin(), m_sections.end(),
                                      [&](const Section& s) { return s.bottom() <= middle; });
    if (found == m_sections.end())
        --found;
    int section = static_cast<int>(found - m_sections.begin());
    int row = 0;
    for (int r = 0; r < found->rows; ++r) {
        if (section == from.section && r == from.row)
            continue;
        double y0 = found->rowsTop() + found->rowOffsets[static_cast<std::size_t>(r)];
        double y1 = found->rowsTop() + found->rowOffsets[static_cast<std::size_t>(r) + 1];
        if (y1 > y0 && (y0 + y1) / 2 < middle)
            ++row;
    }
    if (!moveRowByUser(from, { section, row }))
        tile();
}

// ---- Touches ---------------------------------------------------------------------------

std::optional<IndexPath> TableView::rowAtWindowPoint(const Point& point) const
{
    Point inContent = convertPointFromView(point, nullptr);
    if (inContent.x - contentOffset().x >= cellWidth())
        return std::nullopt;
    return indexPathForRowAtPoint(inContent);
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
        if (m_touchMode != TouchMode::Undecided && m_touchRow) {
            if (auto cell = cellForRowAtIndexPath(*m_touchRow))
                cell->setHighlighted(false);
        }
    }
    if (m_touchMode == TouchMode::Scroll)
        continueDragging(touch);
}

void TableView::touchesEnded(const Touch& touch)
{
    TouchMode mode = std::exchange(m_touchMode, TouchMode::None);
    auto row = std::exchange(m_touchRow, std::nullopt);
    if (row) {
        if (auto cell = cellForRowAtIndexPath(*row))
            cell->setHighlighted(false);
    }
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
    if (auto row = std::exchange(m_touchRow, std::nullopt)) {
        if (auto cell = cellForRowAtIndexPath(*row))
            cell->setHighlighted(false);
    }
    if (mode == TouchMode::Scroll)
        endDragging(touch);
}

} // namespace ui

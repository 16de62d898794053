#include "platform/ui/TableLayout.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

double roomFor(double height)
{
    return std::isfinite(height) && height > 0 ? height : 0;
}

} // namespace

TableLayout::TableLayout(double top)
    : m_top(roomFor(top))
{
}

void TableLayout::beginSection(std::string headerTitle, double headerHeight, int rows)
{
    Section section;
    section.top = bottom();
    section.headerTitle = std::move(headerTitle);
    section.headerHeight = roomFor(headerHeight);
    section.rowOffsets.reserve(static_cast<std::size_t>(std::max(0, rows)) + 1);
    m_sections.push_back(std::move(section));
}

void TableLayout::appendRow(double height)
{
    if (m_sections.empty())
        return;
    auto& section = m_sections.back();
    section.rowOffsets.push_back(section.rowOffsets.back() + roomFor(height));
    ++section.rows;
}

void TableLayout::endSection(double footerHeight)
{
    if (!m_sections.empty())
        m_sections.back().footerHeight = roomFor(footerHeight);
}

double TableLayout::bottom() const
{
    return m_sections.empty() ? m_top : m_sections.back().bottom();
}

int TableLayout::numberOfRowsInSection(int section) const
{
    const Section* found = this->section(section);
    return found ? found->rows : 0;
}

std::vector<int> TableLayout::rowCounts() const
{
    std::vector<int> counts;
    counts.reserve(m_sections.size());
    for (const auto& section : m_sections)
        counts.push_back(section.rows);
    return counts;
}

bool TableLayout::isValidIndexPath(const IndexPath& indexPath) const
{
    return indexPath.row >= 0 && indexPath.row < numberOfRowsInSection(indexPath.section);
}

const TableLayout::Section* TableLayout::section(int section) const
{
    if (section < 0 || section >= numberOfSections())
        return nullptr;
    return &m_sections[static_cast<std::size_t>(section)];
}

std::string TableLayout::headerTitle(int section) const
{
    const Section* found = this->section(section);
    return found ? found->headerTitle : std::string();
}

TableLayout::Span TableLayout::sectionSpan(int section) const
{
    const Section* found = this->section(section);
    return found ? Span { found->top, found->bottom() - found->top } : Span {};
}

TableLayout::Span TableLayout::rowSpan(const IndexPath& indexPath) const
{
    if (!isValidIndexPath(indexPath))
        return {};
    const Section& section = m_sections[static_cast<std::size_t>(indexPath.section)];
    return { section.rowTop(indexPath.row), section.rowHeight(indexPath.row) };
}

int TableLayout::firstSectionEndingBelow(double y) const
{
    auto found = std::partition_point(m_sections.begin(), m_sections.end(), [&](const Section& s) { return s.bottom() <= y; });
    return static_cast<int>(found - m_sections.begin());
}

std::optional<IndexPath> TableLayout::rowAt(double y) const
{
    int index = firstSectionEndingBelow(y);
    if (index >= numberOfSections())
        return std::nullopt;
    const Section& section = m_sections[static_cast<std::size_t>(index)];
    if (y < section.rowsTop() || y >= section.rowsBottom())
        return std::nullopt;
    // The last row starting at or above y; rows of height 0 start where the next one does,
    // so upper_bound steps past them.
    auto after = std::upper_bound(section.rowOffsets.begin(), section.rowOffsets.end(), y - section.rowsTop());
    int row = static_cast<int>(after - section.rowOffsets.begin()) - 1;
    if (row < 0 || row >= section.rows)
        return std::nullopt;
    return IndexPath { index, row };
}

std::vector<IndexPath> TableLayout::rowsInBand(double top, double bottom) const
{
    std::vector<IndexPath> rows;
    if (!(bottom > top))
        return rows;
    auto [first, last] = sectionsInBand(top, bottom);
    for (int index = first; index < last; ++index) {
        const Section& section = m_sections[static_cast<std::size_t>(index)];
        double base = section.rowsTop();
        auto after = std::upper_bound(section.rowOffsets.begin(), section.rowOffsets.end(), top - base);
        int row = std::max(0, static_cast<int>(after - section.rowOffsets.begin()) - 1);
        for (; row < section.rows; ++row) {
            double rowTop = base + section.rowOffsets[static_cast<std::size_t>(row)];
            double rowBottom = base + section.rowOffsets[static_cast<std::size_t>(row) + 1];
            if (rowTop >= bottom)
                break;
            if (rowBottom > rowTop && rowBottom > top)
                rows.push_back({ index, row });
        }
    }
    return rows;
}

std::pair<int, int> TableLayout::sectionsInBand(double top, double bottom) const
{
    int first = firstSectionEndingBelow(top);
    int last = first;
    while (last < numberOfSections() && m_sections[static_cast<std::size_t>(last)].top < bottom)
        ++last;
    return { first, last };
}

double TableLayout::floatingHeaderTop(int section, double offset) const
{
    const Section* found = this->section(section);
    if (!found)
        return 0;
    return std::max(found->top, std::min(offset, found->rowsBottom() - found->headerHeight));
}

std::optional<IndexPath> TableLayout::dropTarget(const IndexPath& from, double y) const
{
    if (m_sections.empty())
        return std::nullopt;
    int index = std::min(firstSectionEndingBelow(y), numberOfSections() - 1);
    const Section& section = m_sections[static_cast<std::size_t>(index)];
    int row = 0;
    for (int r = 0; r < section.rows; ++r) {
        if (index == from.section && r == from.row)
            continue;
        double rowTop = section.rowTop(r);
        double rowBottom = rowTop + section.rowHeight(r);
        if (rowBottom > rowTop && (rowTop + rowBottom) / 2 < y)
            ++row;
    }
    return IndexPath { index, row };
}

} // namespace ui

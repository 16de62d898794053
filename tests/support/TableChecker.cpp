#include "support/TableChecker.h"

#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace testsupport {

namespace {

void collectTexts(const ui::View& view, std::vector<std::string>& texts)
{
    if (view.isHidden())
        return;
    auto text = view.displayText();
    if (!text.empty())
        texts.push_back(std::move(text));
    for (const auto& child : view.subviews())
        collectTexts(*child, texts);
}

std::string where(int section, int row = -1)
{
    return row < 0 ? "section " + std::to_string(section) : "row " + ui::IndexPath::forRow(row, section).toString();
}

} // namespace

int TableContents::rowCount() const
{
    int count = 0;
    for (const auto& section : sections)
        count += static_cast<int>(section.rows.size());
    return count;
}

std::vector<std::string> TableContents::rowTexts(int section) const
{
    std::vector<std::string> texts;
    if (section < 0 || section >= static_cast<int>(sections.size()))
        return texts;
    for (const auto& row : sections[static_cast<std::size_t>(section)].rows)
        texts.push_back(row.text);
    return texts;
}

std::vector<std::string> TableContents::allRowTexts() const
{
    std::vector<std::string> texts;
    for (std::size_t s = 0; s < sections.size(); ++s) {
        auto part = rowTexts(static_cast<int>(s));
        texts.insert(texts.end(), part.begin(), part.end());
    }
    return texts;
}

std::vector<std::string> TableContents::headers() const
{
    std::vector<std::string> titles;
    for (const auto& section : sections)
        titles.push_back(section.header);
    return titles;
}

std::optional<ui::IndexPath> TableContents::find(const std::string& text) const
{
    for (std::size_t s = 0; s < sections.size(); ++s) {
        const auto& rows = sections[s].rows;
        for (std::size_t r = 0; r < rows.size(); ++r) {
            if (rows[r].text == text)
                return ui::IndexPath::forRow(static_cast<int>(r), static_cast<int>(s));
        }
    }
    return std::nullopt;
}

TableContents checkTable(ui::TableView& table, const TableCheckOptions& options)
{
    TableContents contents;
    auto* source = table.dataSource();
    if (!source) {
        ADD_FAILURE() << "the table has no data source";
        return contents;
    }
    auto* delegate = table.delegate();
    // A table that was never laid out loads now, as it would when first shown.
    table.layoutIfNeeded();

    int sections = source->numberOfSectionsInTableView(table);
    if (sections < 0) {
        ADD_FAILURE() << "negative section count " << sections;
        return contents;
    }
    EXPECT_EQ(table.numberOfSections(), sections) << "the table shows another number of sections than its data source has: reloadData missing?";

    int cellsLeft = options.cellLimit;
    for (int s = 0; s < sections; ++s) {
        TableContents::Section section;
        int rows = source->numberOfRowsInSection(table, s);
        if (rows < 0) {
            ADD_FAILURE() << "negative row count " << rows << " in " << where(s);
            rows = 0;
        }
        EXPECT_EQ(table.numberOfRowsInSection(s), rows) << "the table shows another number of rows in " << where(s)
                                                        << " than its data source has: reloadData missing?";
        section.header = source->titleForHeaderInSection(table, s);
        if (delegate) {
            double header = delegate->heightForHeaderInSection(table, s);
            EXPECT_TRUE(header >= 0 || header == ui::TableViewAutomaticDimension) << "header height " << header << " in " << where(s);
            delegate->viewForHeaderInSection(table, s);
        }
        for (int r = 0; r < rows; ++r) {
            if (cellsLeft <= 0) {
                TableContents::Row unread;
                unread.built = false;
                section.rows.push_back(std::move(unread));
                continue;
            }
            --cellsLeft;
            auto path = ui::IndexPath::forRow(r, s);
            auto cell = source->cellForRowAtIndexPath(table, path);
            if (!cell) {
                ADD_FAILURE() << "no cell for " << where(s, r);
                section.rows.push_back({});
                continue;
            }
            if (delegate) {
                double height = delegate->heightForRowAtIndexPath(table, path);
                EXPECT_GE(height, 0) << "row height of " << where(s, r);
            }
            source->canEditRowAtIndexPath(table, path);
            source->canMoveRowAtIndexPath(table, path);
            TableContents::Row row;
            row.text = cell->textLabel().text();
            if (auto* detail = cell->detailTextLabel())
                row.detail = detail->text();
            collectTexts(*cell, row.allTexts);
            section.rows.push_back(std::move(row));
        }
        if (options.probeOutOfRange) {
            // Whatever comes back is fine; reading past the end of a list is not (the
            // sanitizer build turns that into a failure).
            source->cellForRowAtIndexPath(table, ui::IndexPath::forRow(rows, s));
            source->canEditRowAtIndexPath(table, ui::IndexPath::forRow(rows, s));
        }
        contents.sections.push_back(std::move(section));
    }
    if (options.probeOutOfRange) {
        source->numberOfRowsInSection(table, sections);
        source->titleForHeaderInSection(table, sections);
        source->cellForRowAtIndexPath(table, ui::IndexPath::forRow(0, sections));
    }

    contents.indexTitles = source->sectionIndexTitlesForTableView(table);
    for (std::size_t i = 1; i < contents.indexTitles.size(); ++i)
        EXPECT_NE(contents.indexTitles[i], ui::TableViewIndexSearch) << "the search symbol is index entry " << i << ", not the first";
    for (int i = 0; i < static_cast<int>(contents.indexTitles.size()); ++i) {
        int target = source->sectionForSectionIndexTitle(table, contents.indexTitles[static_cast<std::size_t>(i)], i);
        EXPECT_TRUE(target >= -1 && target < sections)
            << "index entry " << i << " (\"" << contents.indexTitles[static_cast<std::size_t>(i)] << "\") leads to section "
            << target << " of " << sections;
    }
    return contents;
}

} // namespace testsupport

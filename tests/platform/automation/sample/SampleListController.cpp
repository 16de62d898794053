#include "SampleListController.h"

#include "SampleDetailController.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/TextFolding.h"
#include "platform/ui/Application.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Pasteboard.h"
#include "platform/ui/TableView.h"

#include <algorithm>
#include <map>

namespace tessaro::sample {

namespace {

const std::string cellIdentifier = "name";

// "#" collects the names that do not start with a letter, after Z as on the handset.
std::string sectionTitleFor(const std::string& folded)
{
    if (!folded.empty() && folded.front() >= 'a' && folded.front() <= 'z')
        return std::string(1, static_cast<char>(folded.front() - 'a' + 'A'));
    return "#";
}

std::string withoutBlanks(std::string text)
{
    text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
    return text;
}

} // namespace

SampleListController::SampleListController(std::vector<std::string> names)
    : m_names(std::move(names))
{
    buildSections();
}

SampleListController::~SampleListController()
{
    if (m_tableView) {
        m_tableView->setDataSource(nullptr);
        m_tableView->setDelegate(nullptr);
    }
    if (m_searchBar)
        m_searchBar->setDelegate(nullptr);
}

void SampleListController::buildSections()
{
    const auto& folding = foundation::TextFolding::shared();
    std::map<std::string, std::vector<std::pair<std::string, std::string>>> byTitle;
    for (const auto& name : m_names) {
        std::string folded = folding.fold(name);
        byTitle[sectionTitleFor(folded)].emplace_back(folded, name);
    }
    m_sections.clear();
    for (auto& [title, entries] : byTitle) {
        std::sort(entries.begin(), entries.end());
        Section section { title, {} };
        for (auto& entry : entries)
            section.names.push_back(entry.second);
        m_sections.push_back(std::move(section));
    }
    // "#" sorts before the letters as text; the index shows it last.
    if (!m_sections.empty() && m_sections.front().title == "#")
        std::rotate(m_sections.begin(), m_sections.begin() + 1, m_sections.end());
}

void SampleListController::viewDidLoad()
{
    setTitle("Names");
    auto content = view();
    m_tableView = std::make_shared<ui::TableView>(content->bounds(), ui::TableViewStyle::Plain);
    m_tableView->setAutoresizingMask(ui::AutoresizingMask::FlexibleWidth | ui::AutoresizingMask::FlexibleHeight);
    m_tableView->setAccessibilityIdentifier("sample.list");
    m_searchBar = std::make_shared<ui::SearchBar>(ui::Rect { 0, 0, content->bounds().width(), ui::SearchBar::height });
    m_searchBar->setPlaceholder("Search");
    m_searchBar->setAutocorrectionType(ui::TextAutocorrectionType::No);
    m_searchBar->setAutocapitalizationType(ui::TextAutocapitalizationType::None);
    m_searchBar->setAccessibilityIdentifier("sample.search");
    m_searchBar->textField().setAccessibilityIdentifier("sample.search.field");
    m_searchBar->setDelegate(this);
    m_tableView->setTableHeaderView(m_searchBar);
    m_searchController = std::make_unique<ui::SearchDisplayController>(m_searchBar, *this);
    m_searchController->setDelegate(this);
    m_searchController->setSearchResultsDataSource(this);
    m_searchController->setSearchResultsDelegate(this);
    m_searchController->searchResultsTableView()->setAccessibilityIdentifier("sample.results");
    m_tableView->setDataSource(this);
    m_tableView->setDelegate(this);
    content->addSubview(m_tableView);

    navigationItem().setLeftBarButtonItem(editButtonItem());
    navigationItem().setRightBarButtonItem(std::make_shared<ui::BarButtonItem>(
        "Actions", ui::BarButtonItemStyle::Bordered, [this](ui::BarButtonItem&) { showActions(); }));
}

void SampleListController::setEditing(bool editing, bool animated)
{
    ViewController::setEditing(editing, animated);
    if (m_tableView)
        m_tableView->setEditing(editing, animated);
}

std::vector<std::string> SampleListController::listedNames() const
{
    std::vector<std::string> listed;
    for (const auto& section : m_sections)
        listed.insert(listed.end(), section.names.begin(), section.names.end());
    return listed;
}

void SampleListController::reload()
{
    m_names = listedNames();
    buildSections();
    if (m_tableView)
        m_tableView->reloadData();
}

bool SampleListController::isResults(const ui::TableView& tableView) const
{
    return m_searchController && m_searchController->searchResultsTableView().get() == &tableView;
}

const std::string& SampleListController::nameAt(ui::TableView& tableView, const ui::IndexPath& indexPath) const
{
    if (isResults(tableView))
        return m_matches[static_cast<std::size_t>(indexPath.row)];
    return m_sections[static_cast<std::size_t>(indexPath.section)].names[static_cast<std::size_t>(indexPath.row)];
}

int SampleListController::numberOfSectionsInTableView(ui::TableView& tableView)
{
    return isResults(tableView) ? 1 : static_cast<int>(m_sections.size());
}

int SampleListController::numberOfRowsInSection(ui::TableView& tableView, int section)
{
    if (isResults(tableView))
        return static_cast<int>(m_matches.size());
    return static_cast<int>(m_sections[static_cast<std::size_t>(section)].names.size());
}

std::shared_ptr<ui::TableViewCell> SampleListController::cellForRowAtIndexPath(ui::TableView& tableView,
                                                                              const ui::IndexPath& indexPath)
{
    auto cell = tableView.dequeueReusableCellWithIdentifier(cellIdentifier);
    if (!cell)
        cell = std::make_shared<ui::TableViewCell>(ui::TableViewCellStyle::Default, cellIdentifier);
    cell->textLabel().setText(nameAt(tableView, indexPath));
    cell->setAccessoryType(ui::TableViewCellAccessoryType::DisclosureIndicator);
    return cell;
}

std::string SampleListController::titleForHeaderInSection(ui::TableView& tableView, int section)
{
    if (isResults(tableView))
        return {};
    return m_sections[static_cast<std::size_t>(section)].title;
}

std::vector<std::string> SampleListController::sectionIndexTitlesForTableView(ui::TableView& tableView)
{
    if (isResults(tableView))
        return {};
    std::vector<std::string> titles { ui::TableViewIndexSearch };
    for (const auto& section : m_sections)
        titles.push_back(section.title);
    return titles;
}

int SampleListController::sectionForSectionIndexTitle(ui::TableView& tableView, const std::string&, int index)
{
    if (index == 0) {
        tableView.scrollRectToVisible(m_searchBar->frame(), false);
        return -1;
    }
    return index - 1;
}

bool SampleListController::canEditRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath&)
{
    return !isResults(tableView);
}

bool SampleListController::canMoveRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath&)
{
    return !isResults(tableView);
}

void SampleListController::commitEditingStyle(ui::TableView& tableView, ui::TableViewCellEditingStyle style,
                                              const ui::IndexPath& indexPath)
{
    if (style != ui::TableViewCellEditingStyle::Delete || isResults(tableView))
        return;
    auto& section = m_sections[static_cast<std::size_t>(indexPath.section)];
    std::string name = section.names[static_cast<std::size_t>(indexPath.row)];
    section.names.erase(section.names.begin() + indexPath.row);
    if (auto found = std::find(m_names.begin(), m_names.end(), name); found != m_names.end())
        m_names.erase(found);
    foundation::log("sample: deleted " + name);
    if (section.names.empty()) {
        // The section goes with its last name.
        m_sections.erase(m_sections.begin() + indexPath.section);
        tableView.reloadData();
        return;
    }
    tableView.deleteRowsAtIndexPaths({ indexPath }, ui::TableViewRowAnimation::Fade);
}

ui::IndexPath SampleListController::targetIndexPathForMoveFromRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& from,
                                                                            const ui::IndexPath& proposed)
{
    // Names stay in the section of their letter.
    if (proposed.section == from.section)
        return proposed;
    int last = tableView.numberOfRowsInSection(from.section) - 1;
    return { from.section, proposed.section < from.section ? 0 : last };
}

void SampleListController::moveRowAtIndexPath(ui::TableView&, const ui::IndexPath& from, const ui::IndexPath& to)
{
    if (from.section != to.section)
        return;
    auto& names = m_sections[static_cast<std::size_t>(from.section)].names;
    std::string name = names[static_cast<std::size_t>(from.row)];
    names.erase(names.begin() + from.row);
    names.insert(names.begin() + to.row, name);
    foundation::log("sample: moved " + name + " to row " + std::to_string(to.row));
}

void SampleListController::didSelectRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath)
{
    std::string name = nameAt(tableView, indexPath);
    tableView.deselectRowAtIndexPath(indexPath, true);
    if (auto* navigation = navigationController())
        navigation->pushViewController(std::make_shared<SampleDetailController>(name), true);
}

void SampleListController::textDidChange(ui::SearchBar&, const std::string& searchText)
{
    const auto& folding = foundation::TextFolding::shared();
    std::string wanted = folding.fold(withoutBlanks(searchText));
    m_matches.clear();
    for (const auto& name : listedNames()) {
        if (foundation::TextFolding::contains(folding.fold(withoutBlanks(name)), wanted))
            m_matches.push_back(name);
    }
}

void SampleListController::searchBarCancelButtonClicked(ui::SearchBar&)
{
    m_matches.clear();
}

void SampleListController::showActions()
{
    auto sheet = std::make_shared<ui::ActionSheet>("Actions", this, "Cancel", std::string(),
                                                   std::vector<std::string> { "Copy first name", "Call the help line", "Visit the web site" });
    sheet->setAccessibilityIdentifier("sample.actions");
    sheet->showInView(*view());
}

void SampleListController::clickedButtonAtIndex(ui::ActionSheet&, int buttonIndex)
{
    switch (buttonIndex) {
    case 0:
        if (auto names = listedNames(); !names.empty())
            ui::Pasteboard::generalPasteboard().setString(names.front());
        break;
    case 1:
        ui::Application::shared().openURL("tel://5550100");
        break;
    case 2:
        ui::Application::shared().openURL("https://example.org/tessaro");
        break;
    default:
        break;
    }
}

} // namespace tessaro::sample

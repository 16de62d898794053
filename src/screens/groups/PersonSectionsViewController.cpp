#include "screens/groups/PersonSectionsViewController.h"

#include "addressbook/AddressBookQueries.h"
#include "app/PersonRowPieces.h"
#include "platform/foundation/LocalizedStrings.h"
#include "platform/foundation/Log.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/LocalizedIndexedCollation.h"
#include "platform/ui/SearchDisplayController.h"
#include "platform/ui/TableView.h"
#include "screens/groups/PersonIndexSections.h"

namespace tessaro {

namespace {

constexpr double kSquare = PersonRowPieces::kSquare;

// A full name typed with a blank between given and family name is looked for as one run of
// letters in each field; the ideographic blank of Japanese input counts as a blank too.
std::string withoutBlanks(const std::string& text)
{
    static const std::string ideographicSpace = "\xE3\x80\x80";
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == ' ')
            continue;
        if (text.compare(i, ideographicSpace.size(), ideographicSpace) == 0) {
            i += ideographicSpace.size() - 1;
            continue;
        }
        result += text[i];
    }
    return result;
}

} // namespace

PersonSectionsViewController::PersonSectionsViewController() = default;

PersonSectionsViewController::~PersonSectionsViewController()
{
    // The results table and the search display controller may still call back while they
    // go; by now the screen built on this one is gone, so nothing may reach it.
    if (_searchDC) {
        _searchDC->setDelegate(nullptr);
        _searchDC->setSearchResultsDataSource(nullptr);
        _searchDC->setSearchResultsDelegate(nullptr);
    }
    _searchDC.reset();
    if (_searchBar)
        _searchBar->setDelegate(nullptr);
    if (_myTableView) {
        _myTableView->setDataSource(nullptr);
        _myTableView->setDelegate(nullptr);
    }
}

double PersonSectionsViewController::rowOffset()
{
    return PersonRowPieces::rowOffset();
}

void PersonSectionsViewController::buildSearchableList(ui::View& page, const ui::Rect& frame, const std::string& name)
{
    _myTableView = std::make_shared<ui::TableView>(frame, ui::TableViewStyle::Plain);
    _myTableView->setBackgroundColor(ui::Color::whiteColor());
    _myTableView->setAccessibilityIdentifier(name + ".list");

    _searchBar = std::make_shared<ui::SearchBar>(ui::Rect { 0, 0, 320, ui::SearchBar::height });
    _searchBar->setAutocorrectionType(ui::TextAutocorrectionType::No);
    _searchBar->setAutocapitalizationType(ui::TextAutocapitalizationType::None);
    _searchBar->setKeyboardType(ui::KeyboardType::Default);
    _searchBar->setPlaceholder(foundation::localized("SearchBarPlaceHolderTitle"));
    _searchBar->setAccessibilityIdentifier(name + ".search");
    _searchBar->setDelegate(this);
    _myTableView->setTableHeaderView(_searchBar);
    _myTableView->setDataSource(this);
    _myTableView->setDelegate(this);
    page.addSubview(_myTableView);

    _searchDC = std::make_unique<ui::SearchDisplayController>(_searchBar, *this);
    _searchDC->setSearchResultsDataSource(this);
    _searchDC->setSearchResultsDelegate(this);
    _searchDC->searchResultsTableView()->setAccessibilityIdentifier(name + ".results");
}

// ---- Data ----

void PersonSectionsViewController::clearSections()
{
    _arrSection.clear();
    _arrSectionTitle.assign(1, ui::TableViewIndexSearch);
}

std::string PersonSectionsViewController::searchText() const
{
    return withoutBlanks(_searchBar ? _searchBar->text() : std::string());
}

void PersonSectionsViewController::showPersons(std::vector<Contact> persons)
{
    clearSections();
    const auto& collation = ui::LocalizedIndexedCollation::currentCollation();
    if (_isSearch) {
        auto matches = AddressBookQueries::contactsMatchingName(searchText(), persons);
        PersonIndexSections::sortByName(matches, collation);
        showMatches(std::move(matches));
        return;
    }
    auto sections = PersonIndexSections::build(std::move(persons), collation);
    _arrSection = std::move(sections.sections);
    _arrSectionTitle.insert(_arrSectionTitle.end(), sections.titles.begin(), sections.titles.end());
}

void PersonSectionsViewController::showMatches(std::vector<Contact> sortedMatches)
{
    clearSections();
    if (!sortedMatches.empty())
        _arrSection.push_back(std::move(sortedMatches));
}

const Contact* PersonSectionsViewController::personAt(const ui::IndexPath& indexPath) const
{
    if (indexPath.section < 0 || indexPath.section >= static_cast<int>(_arrSection.size()))
        return nullptr;
    const auto& section = _arrSection[static_cast<std::size_t>(indexPath.section)];
    if (indexPath.row < 0 || indexPath.row >= static_cast<int>(section.size()))
        return nullptr;
    return &section[static_cast<std::size_t>(indexPath.row)];
}

void PersonSectionsViewController::reloadSearchResultsIfActive()
{
    if (_searchDC && _searchDC->isActive())
        _searchDC->searchResultsTableView()->reloadData();
}

void PersonSectionsViewController::reloadViewData()
{
    initData();
    reloadSearchResultsIfActive();
    if (_myTableView)
        _myTableView->reloadData();
}

void PersonSectionsViewController::reloadSearchData()
{
    initData();
    reloadSearchResultsIfActive();
}

// ---- Table answers, for the list and the search results alike ----

int PersonSectionsViewController::numberOfSectionsInTableView(ui::TableView&)
{
    return static_cast<int>(_arrSection.size());
}

int PersonSectionsViewController::numberOfRowsInSection(ui::TableView&, int section)
{
    if (section < 0 || section >= static_cast<int>(_arrSection.size()))
        return 0;
    return static_cast<int>(_arrSection[static_cast<std::size_t>(section)].size());
}

std::string PersonSectionsViewController::titleForHeaderInSection(ui::TableView&, int section)
{
    if (_isSearch || section < 0 || section + 1 >= static_cast<int>(_arrSectionTitle.size()))
        return {};
    return _arrSectionTitle[static_cast<std::size_t>(section) + 1];
}

std::vector<std::string> PersonSectionsViewController::sectionIndexTitlesForTableView(ui::TableView&)
{
    if (_isSearch)
        return {};
    return _arrSectionTitle;
}

int PersonSectionsViewController::sectionForSectionIndexTitle(ui::TableView&, const std::string&, int index)
{
    // The search symbol heads the index: it scrolls the search field into sight.
    if (index <= 0) {
        if (_myTableView && _searchBar)
            _myTableView->scrollRectToVisible(_searchBar->frame(), false);
        return -1;
    }
    return index - 1 < static_cast<int>(_arrSection.size()) ? index - 1 : -1;
}

// ---- Rows ----

ui::Size PersonSectionsViewController::photoSize(const ui::Size& imageSize)
{
    return PersonRowPieces::photoSize(imageSize);
}

std::string PersonSectionsViewController::personRowName(const Contact& person)
{
    return PersonRowPieces::displayName(person);
}

std::string PersonSectionsViewController::personRowDetail(const Contact& person)
{
    return PersonRowPieces::jobLine(person);
}

std::shared_ptr<ui::TableViewCell> PersonSectionsViewController::emptyPersonCell(ui::TableView& tableView, const std::string& identifier)
{
    auto cell = tableView.dequeueReusableCellWithIdentifier(identifier);
    if (!cell)
        cell = std::make_shared<ui::TableViewCell>(ui::TableViewCellStyle::Default, identifier);
    cell->removeContentSubviews();
    cell->setAccessoryType(ui::TableViewCellAccessoryType::None);
    return cell;
}

void PersonSectionsViewController::addPersonPieces(ui::View& content, const Contact& person, double x, double nameWidth, double detailWidth,
                                                   const ui::Color& nameColor)
{
    content.addSubview(PersonRowPieces::photoView(PersonRowPieces::photoOf(&person), x));

    auto name = std::make_shared<ui::Label>(ui::Rect { x + kSquare, 2, nameWidth, 32 });
    name->setFont(ui::Font::boldSystemFontOfSize(18));
    name->setBackgroundColor(ui::Color::clearColor());
    name->setTextColor(nameColor);
    name->setText(personRowName(person));
    content.addSubview(name);

    auto detail = std::make_shared<ui::Label>(ui::Rect { x + kSquare, 26, detailWidth, 22 });
    detail->setFont(ui::Font::systemFontOfSize(14));
    detail->setTextColor(ui::Color::lightGrayColor());
    detail->setBackgroundColor(ui::Color::clearColor());
    detail->setText(personRowDetail(person));
    content.addSubview(detail);
}

void PersonSectionsViewController::addExchangeTagIfAny(ui::View& content, const Contact& person, double x)
{
    if (!AddressBookQueries::isExchangePeople(person))
        return;
    auto tag = std::make_shared<ui::Label>(ui::Rect { x + kSquare, 1, 100, 8 });
    tag->setFont(ui::Font::systemFontOfSize(8));
    tag->setTextColor(ui::Color::redColor());
    tag->setBackgroundColor(ui::Color::clearColor());
    tag->setText("Exchange");
    content.addSubview(tag);
}

// ---- The search field ----

bool PersonSectionsViewController::searchBarShouldBeginEditing(ui::SearchBar&)
{
    foundation::log("searchBarShouldBeginEditing");
    _isSearch = true;
    _isSearchCancelButtonClicked = false;
    // While the keyboard slides in, so that the first letter typed is answered at once.
    AddressBookQueries::prepareSearch();
    return true;
}

void PersonSectionsViewController::textDidChange(ui::SearchBar&, const std::string&)
{
    foundation::log("textDidChange");
    if (!_isSearchCancelButtonClicked && _isSearch)
        reloadSearchData();
}

void PersonSectionsViewController::searchBarSearchButtonClicked(ui::SearchBar&)
{
    foundation::log("searchBarSearchButtonClicked");
}

void PersonSectionsViewController::searchBarCancelButtonClicked(ui::SearchBar&)
{
    foundation::log("searchBarCancelButtonClicked");
    _isSearch = false;
    _isSearchCancelButtonClicked = true;
    reloadViewData();
}

bool PersonSectionsViewController::searchBarShouldEndEditing(ui::SearchBar&)
{
    foundation::log("searchBarShouldEndEditing");
    if (_isSearchCancelButtonClicked) {
        _isSearchCancelButtonClicked = false;
        return true;
    }
    _isSearch = _searchDC && _searchDC->isActive();
    if (_isSearch)
        reloadSearchData();
    else
        reloadViewData();
    return true;
}

} // namespace tessaro

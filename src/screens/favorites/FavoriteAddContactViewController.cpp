#include "screens/favorites/FavoriteAddContactViewController.h"

#include "addressbook/AddressBookQueries.h"
#include "app/Utility.h"
#include "platform/foundation/LocalizedStrings.h"
#include "platform/foundation/TextFolding.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/SearchDisplayController.h"
#include "platform/ui/TableView.h"
#include "store/DataManager.h"

namespace tessaro {

namespace {

const std::string kCellIdentifier = "FavoriteAddContactCell";

} // namespace

FavoriteAddContactViewController::FavoriteAddContactViewController(FavoriteAddContactViewControllerDelegate* controller)
    : _controller(controller)
{
    _isSearch = false;
    _isSearchCancelButtonClicked = false;
    clearSections();
    initData();
    addBarButton();
}

void FavoriteAddContactViewController::loadView()
{
    auto content = std::make_shared<ui::View>(ui::Rect { 0, 0, 320, 416.0 + Utility::iPhone4to5SubSize() });
    content->setBackgroundColor(ui::Color::whiteColor());
    setView(content);
}

void FavoriteAddContactViewController::viewDidLoad()
{
    buildSearchableList(*view(), view()->bounds(), "favoritePicker");
    _myTableView->setAutoresizingMask(ui::AutoresizingMask::FlexibleWidth | ui::AutoresizingMask::FlexibleHeight);
    _searchBar->textField().setAccessibilityIdentifier("favoritePicker.search.field");
}

void FavoriteAddContactViewController::addBarButton()
{
    auto cancelItem = std::make_shared<ui::BarButtonItem>(ui::BarButtonSystemItem::Cancel, [this](ui::BarButtonItem&) { cancel(); });
    cancelItem->setAccessibilityIdentifier("favoritePicker.cancel");
    navigationItem().setRightBarButtonItem(cancelItem);
    setTitle(foundation::localized("GroupAllContacts"));
}

void FavoriteAddContactViewController::cancel()
{
    if (_controller)
        _controller->selectContactDidCancel();
}

bool FavoriteAddContactViewController::isFavorite(const Contact& person)
{
    return DataManager::sharedDataBase().selectFavorite(std::to_string(person.recordID())).has_value();
}

void FavoriteAddContactViewController::initData()
{
    if (!_isSearch || m_allPersons.empty()) {
        m_allPersons = AddressBookQueries::contacts();
        m_favoriteIDs.clear();
        for (const auto& favorite : DataManager::sharedDataBase().selectFavorite())
            m_favoriteIDs.insert(favorite.contactID);
        m_lastSearch.clear();
        m_lastMatches.clear();
    }
    if (!_isSearch) {
        showPersons(m_allPersons);
        return;
    }
    // Every folded field that holds the new text holds any part of it too, so persons the
    // shorter text did not find cannot match the longer one.
    std::string search = foundation::TextFolding::shared().fold(searchText());
    bool narrows = !m_lastSearch.empty() && search.find(m_lastSearch) != std::string::npos;
    showPersons(narrows ? m_lastMatches : m_allPersons);
    m_lastSearch = search;
    m_lastMatches = _arrSection.empty() ? std::vector<Contact> {} : _arrSection.front();
}

std::shared_ptr<ui::TableViewCell> FavoriteAddContactViewController::cellForRowAtIndexPath(ui::TableView& tableView,
                                                                                          const ui::IndexPath& indexPath)
{
    auto cell = emptyPersonCell(tableView, kCellIdentifier);
    const Contact* person = personAt(indexPath);
    if (!person)
        return cell;
    bool favorite = m_favoriteIDs.count(std::to_string(person->recordID())) > 0;
    addPersonPieces(cell->contentView(), *person, rowOffset(), 210, 250,
                    favorite ? ui::Color::lightGrayColor() : ui::Color::blackColor());
    cell->setSelectionStyle(favorite ? ui::TableViewCellSelectionStyle::None : ui::TableViewCellSelectionStyle::Blue);
    return cell;
}

void FavoriteAddContactViewController::didSelectRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath)
{
    const Contact* touched = personAt(indexPath);
    // Asked of the database rather than of the greyed rows: the person counts as it is stored.
    if (!touched || isFavorite(*touched)) {
        tableView.deselectRowAtIndexPath(indexPath, false);
        return;
    }
    Contact person = *touched;
    tableView.deselectRowAtIndexPath(indexPath, false);
    if (_controller)
        _controller->selectContactDone(person);
}

} // namespace tessaro

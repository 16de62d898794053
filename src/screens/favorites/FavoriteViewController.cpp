#include "screens/favorites/FavoriteViewController.h"

#include "app/AppNotification.h"
#include "app/StoreFailureAlert.h"
#include "app/Utility.h"
#include "app/WaitView.h"
#include "platform/foundation/LocalizedStrings.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/TableView.h"
#include "screens/favorites/FavoriteAddContactViewController.h"
#include "screens/groups/GroupPresentation.h"
#include "screens/groups/PersonSectionsViewController.h"
#include "store/DataManager.h"
#include "store/DecimalText.h"

namespace tessaro {

namespace {

const std::string kCellIdentifier = "FavoriteCell";

std::string contactID(const Contact& person)
{
    return std::to_string(person.recordID());
}

} // namespace

FavoriteViewController::FavoriteViewController()
    : EditableListViewController("favorites")
{
}

FavoriteViewController::~FavoriteViewController()
{
    if (auto picker = m_picker.lock())
        picker->setController(nullptr);
}

void FavoriteViewController::viewDidLoad()
{
    setTitle(foundation::localized("FavoriteTabBarTitle"));
    initData();

    buildList(kRowHeight);
    _waitView = std::make_shared<WaitView>(ui::Rect { 0, 0, 320, 410.0 + Utility::iPhone4to5SubSize() });
    addAddModeBarButton();
}

void FavoriteViewController::initData()
{
    _arrFavoriteMember.clear();
    for (const auto& favorite : DataManager::sharedDataBase().selectFavorite()) {
        // A person deleted from the address book is skipped; the row stays, harmless.
        auto recordID = DecimalText::intValue(favorite.contactID);
        if (auto person = Contact::contactWithRecordID(recordID))
            _arrFavoriteMember.push_back(std::move(*person));
    }
}

void FavoriteViewController::reloadViewData()
{
    initData();
    if (_myTableView)
        _myTableView->reloadData();
}

// ---- The picker ----

void FavoriteViewController::add()
{
    if (auto* tabs = tabBarController(); tabs && _waitView)
        tabs->view()->addSubview(_waitView);
    // The overlay is drawn before the picker's work starts, on the next turn of the run loop.
    std::weak_ptr<ViewController> weak = weak_from_this();
    foundation::RunLoop::main().performAfterDelay(0, weak, [weak] {
        if (auto self = std::static_pointer_cast<FavoriteViewController>(weak.lock()))
            self->showFavoriteSelectView();
    });
}

void FavoriteViewController::showFavoriteSelectView()
{
    if (auto previous = m_picker.lock())
        previous->setController(nullptr);
    auto picker = std::make_shared<FavoriteAddContactViewController>(this);
    m_picker = picker;
    GroupPresentation::presentFromKeyWindowRoot(GroupPresentation::wrapInOpaqueNavigation(picker));
    if (_waitView)
        _waitView->removeFromSuperview();
}

void FavoriteViewController::closePicker()
{
    if (auto picker = m_picker.lock())
        picker->setController(nullptr);
    m_picker.reset();
    if (auto* root = GroupPresentation::keyWindowRoot())
        root->dismissViewControllerAnimated(true);
    resetTabBarFrameLater();
}

void FavoriteViewController::selectContactDone(const Contact& person)
{
    auto& database = DataManager::sharedDataBase();
    std::string identifier = contactID(person);
    bool stored = true;
    if (!database.selectFavorite(identifier))
        stored = database.insertFavorite(identifier);
    closePicker();
    reloadViewData();
    if (!stored)
        StoreFailureAlert::show();
}

void FavoriteViewController::selectContactDidCancel()
{
    closePicker();
}

// ---- The table ----

int FavoriteViewController::numberOfRowsInSection(ui::TableView&, int section)
{
    return section == 0 ? static_cast<int>(_arrFavoriteMember.size()) : 0;
}

std::shared_ptr<ui::TableViewCell> FavoriteViewController::cellForRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath)
{
    auto cell = PersonSectionsViewController::emptyPersonCell(tableView, kCellIdentifier);
    cell->setAccessoryType(ui::TableViewCellAccessoryType::DisclosureIndicator);
    cell->setSelectionStyle(ui::TableViewCellSelectionStyle::Blue);
    if (!isRow(indexPath, _arrFavoriteMember.size()))
        return cell;
    PersonSectionsViewController::addPersonPieces(cell->contentView(), _arrFavoriteMember[static_cast<std::size_t>(indexPath.row)],
                                                  PersonSectionsViewController::rowOffset(), 210, 230);
    return cell;
}

void FavoriteViewController::didSelectRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath)
{
    if (isRow(indexPath, _arrFavoriteMember.size())) {
        // A copy: showing the person reloads this list under the notification.
        Contact person = _arrFavoriteMember[static_cast<std::size_t>(indexPath.row)];
        AppNotification::postShowDetail(person);
    }
    tableView.deselectRowAtIndexPath(indexPath, true);
}

void FavoriteViewController::commitEditingStyle(ui::TableView& tableView, ui::TableViewCellEditingStyle style, const ui::IndexPath& indexPath)
{
    if (style != ui::TableViewCellEditingStyle::Delete || !isRow(indexPath, _arrFavoriteMember.size()))
        return;
    auto position = _arrFavoriteMember.begin() + indexPath.row;
    if (!DataManager::sharedDataBase().deleteFavorite(contactID(*position))) {
        showStoredAfterFailure();
        return;
    }
    _arrFavoriteMember.erase(position);
    tableView.deleteRowsAtIndexPaths({ indexPath }, ui::TableViewRowAnimation::Fade);
}

bool FavoriteViewController::storeOrder(const std::vector<Contact>& favorites)
{
    auto& database = DataManager::sharedDataBase();
    return database.performInTransaction([&] {
        for (std::size_t position = 0; position < favorites.size(); ++position) {
            if (!database.updateFavorite({ contactID(favorites[position]), static_cast<int>(position) }))
                return false;
        }
        return true;
    });
}

void FavoriteViewController::moveRowAtIndexPath(ui::TableView&, const ui::IndexPath& from, const ui::IndexPath& to)
{
    if (moveRow(_arrFavoriteMember, from, to) && !storeOrder(_arrFavoriteMember))
        showStoredAfterFailure();
}

} // namespace tessaro

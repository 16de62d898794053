#include "screens/favorites/FavoriteViewController.h"

#include "app/AppNotification.h"
#include "app/StoreFailureAlert.h"
#include "app/Utility.h"
#include "app/WaitView.h"
#include "platform/foundation/LocalizedStrings.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
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

FavoriteViewController::FavoriteViewController() = default;

FavoriteViewController::~FavoriteViewController()
{
    if (auto picker = m_picker.lock())
        picker->setController(nullptr);
    if (_myTableView) {
        _myTableView->setDataSource(nullptr);
        _myTableView->setDelegate(nullptr);
    }
}

void FavoriteViewController::loadView()
{
    CommonViewController::loadView();
    view()->setBackgroundColor(ui::Color::whiteColor());
}

void FavoriteViewController::viewDidLoad()
{
    setTitle(foundation::localized("FavoriteTabBarTitle"));
    initData();

    int extra = Utility::iPhone4to5SubSize();
    _myTableView = std::make_shared<ui::TableView>(ui::Rect { 0, 0, 320, 317.0 + extra }, ui::TableViewStyle::Plain);
    _myTableView->setBackgroundColor(ui::Color::whiteColor());
    _myTableView->setRowHeight(kRowHeight);
    _myTableView->setAccessibilityIdentifier("favorites.list");
    _myTableView->setDataSource(this);
    _myTableView->setDelegate(this);
    view()->addSubview(_myTableView);

    _waitView = std::make_shared<WaitView>(ui::Rect { 0, 0, 320, 410.0 + extra });
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

// ---- The bar ----

void FavoriteViewController::addAddModeBarButton()
{
    auto editItem = std::make_shared<ui::BarButtonItem>(ui::BarButtonSystemItem::Edit, [this](ui::BarButtonItem&) { edit(); });
    editItem->setAccessibilityIdentifier("favorites.edit");
    auto addItem = std::make_shared<ui::BarButtonItem>(ui::BarButtonSystemItem::Add, [this](ui::BarButtonItem&) { add(); });
    addItem->setAccessibilityIdentifier("favorites.add");
    navigationItem().setLeftBarButtonItem(editItem);
    navigationItem().setRightBarButtonItem(addItem);
}

void FavoriteViewController::addEditModeBarButton()
{
    auto doneItem = std::make_shared<ui::BarButtonItem>(ui::BarButtonSystemItem::Done, [this](ui::BarButtonItem&) { editDone(); });
    doneItem->setAccessibilityIdentifier("favorites.done");
    navigationItem().setLeftBarButtonItem(doneItem);
    navigationItem().setRightBarButtonItem(nullptr);
}

void FavoriteViewController::edit()
{
    if (_myTableView)
        _myTableView->setEditing(true, true);
    addEditModeBarButton();
}

void FavoriteViewController::editDone()
{
    if (_myTableView)
        _myTableView->setEditing(false, true);
    addAddModeBarButton();
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
    if (indexPath.section != 0 || indexPath.row < 0 || indexPath.row >= static_cast<int>(_arrFavoriteMember.size()))
        return cell;
    PersonSectionsViewController::addPersonPieces(cell->contentView(), _arrFavoriteMember[static_cast<std::size_t>(indexPath.row)],
                                                  PersonSectionsViewController::rowOffset(), 210, 230);
    return cell;
}

void FavoriteViewController::didSelectRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath)
{
    if (indexPath.section == 0 && indexPath.row >= 0 && indexPath.row < static_cast<int>(_arrFavoriteMember.size())) {
        // A copy: showing the person reloads this list under the notification.
        Contact person = _arrFavoriteMember[static_cast<std::size_t>(indexPath.row)];
        AppNotification::postShowDetail(person);
    }
    tableView.deselectRowAtIndexPath(indexPath, true);
}

void FavoriteViewController::commitEditingStyle(ui::TableView& tableView, ui::TableViewCellEditingStyle style, const ui::IndexPath& indexPath)
{
    if (style != ui::TableViewCellEditingStyle::Delete || indexPath.section != 0 || indexPath.row < 0
        || indexPath.row >= static_cast<int>(_arrFavoriteMember.size()))
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
    int count = static_cast<int>(_arrFavoriteMember.size());
    if (from.section != to.section || from.row < 0 || from.row >= count || to.row < 0 || to.row >= count)
        return;
    Contact moved = _arrFavoriteMember[static_cast<std::size_t>(from.row)];
    _arrFavoriteMember.erase(_arrFavoriteMember.begin() + from.row);
    _arrFavoriteMember.insert(_arrFavoriteMember.begin() + to.row, std::move(moved));
    if (!storeOrder(_arrFavoriteMember))
        showStoredAfterFailure();
}

void FavoriteViewController::showStoredAfterFailure()
{
    foundation::log("favorites: the change was not stored");
    reloadViewData();
    StoreFailureAlert::show();
}

} // namespace tessaro

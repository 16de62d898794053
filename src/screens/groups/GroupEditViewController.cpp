#include "screens/groups/GroupEditViewController.h"

#include "addressbook/AddressBookGroup.h"
#include "addressbook/AddressBookQueries.h"
#include "addressbook/SharedAddressBook.h"
#include "app/GroupKinds.h"
#include "app/MyToolBar.h"
#include "app/Utility.h"
#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/Group.h"
#include "platform/foundation/LocalizedStrings.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Application.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TableView.h"
#include "platform/ui/Window.h"
#include "screens/groups/AddNewGroupViewController.h"
#include "screens/groups/GroupRowPieces.h"
#include "store/DataManager.h"

#include <algorithm>

namespace tessaro {

namespace {

const std::string kCellIdentifier = "GroupEditCell";

// Where the new group is kept, as the action sheet numbers its buttons.
constexpr int kKeepInApplicationButton = 0;
constexpr int kKeepInAddressBookButton = 1;
constexpr int kAccountKindSheetTag = 1;

} // namespace

GroupEditViewController::GroupEditViewController(GroupEditViewControllerDelegate* delegate)
    : _delegate(delegate)
{
}

GroupEditViewController::~GroupEditViewController()
{
    if (_myTableView) {
        _myTableView->setDataSource(nullptr);
        _myTableView->setDelegate(nullptr);
    }
}

void GroupEditViewController::loadView()
{
    auto content = std::make_shared<ui::View>(ui::Rect { 0, 0, 320, 460.0 + Utility::iPhone4to5SubSize() });
    content->setBackgroundColor(ui::Color::groupTableViewBackgroundColor());
    setView(content);
}

void GroupEditViewController::viewDidLoad()
{
    setTitle(foundation::localized("GroupEditViewTitle"));
    getGroups();

    auto doneItem = std::make_shared<ui::BarButtonItem>(ui::BarButtonSystemItem::Done, [this](ui::BarButtonItem&) { done(); });
    doneItem->setAccessibilityIdentifier("groupEdit.done");
    navigationItem().setLeftBarButtonItem(doneItem);
    auto addItem = std::make_shared<ui::BarButtonItem>(ui::BarButtonSystemItem::Add, [this](ui::BarButtonItem&) { addGroup(); });
    addItem->setAccessibilityIdentifier("groupEdit.add");
    navigationItem().setRightBarButtonItem(addItem);

    auto content = view();
    ui::Rect frame { 0, 0, content->bounds().width(), content->bounds().height() - 44 };
    _myTableView = std::make_shared<ui::TableView>(frame, ui::TableViewStyle::Grouped);
    _myTableView->setBackgroundColor(ui::Color::clearColor());
    _myTableView->setAccessibilityIdentifier("groupEdit.list");
    _myTableView->setDataSource(this);
    _myTableView->setDelegate(this);
    _myTableView->setEditing(true);
    content->addSubview(_myTableView);
    showNoAccessNote();
}

void GroupEditViewController::showNoAccessNote()
{
    if (!_myTableView)
        return;
    bool addressBookGroupsShown = std::any_of(_arrGroups.begin(), _arrGroups.end(), [](const GroupObject& group) {
        return GroupKinds::isAddressBookGroup(group);
    });
    if (Utility::sharedUtility().canReadAddressBook() || !addressBookGroupsShown) {
        _myTableView->setTableFooterView(nullptr);
        return;
    }
    // The table stretches its footer to its own width; the note keeps a margin inside it.
    double width = _myTableView->bounds().width();
    auto footer = std::make_shared<ui::View>(ui::Rect { 0, 0, width, 76 });
    auto note = std::make_shared<ui::Label>(ui::Rect { 20, 10, width - 40, 66 });
    note->setFont(ui::Font::systemFontOfSize(14));
    note->setTextColor(ui::Color::darkGrayColor());
    note->setBackgroundColor(ui::Color::clearColor());
    note->setTextAlignment(ui::TextAlignment::Center);
    note->setNumberOfLines(0);
    note->setText(foundation::localized("GroupNoAccessNote"));
    note->setAccessibilityIdentifier("groupEdit.noAccessNote");
    footer->addSubview(note);
    _myTableView->setTableFooterView(footer);
}

void GroupEditViewController::getGroups()
{
    _arrGroups = Utility::sharedUtility().getAllGroupObject();
}

void GroupEditViewController::done()
{
    if (_delegate)
        _delegate->groupEditDone(*this);
}

bool GroupEditViewController::isGroupRow(int row) const
{
    return row >= 0 && row + kFirstGroupIndex < static_cast<int>(_arrGroups.size());
}

bool GroupEditViewController::canChangeGroupAt(int catalogueIndex) const
{
    return catalogueIndex >= kFirstGroupIndex && catalogueIndex < static_cast<int>(_arrGroups.size())
        && Utility::sharedUtility().canChangeGroup(_arrGroups[static_cast<std::size_t>(catalogueIndex)]);
}

bool GroupEditViewController::canStoreOrder() const
{
    return std::all_of(_arrGroups.begin(), _arrGroups.end(), [](const GroupObject& group) {
        return GroupKinds::isPseudoGroup(group) || Utility::sharedUtility().canChangeGroup(group);
    });
}

// ---- Rows ------------------------------------------------------------------------------

int GroupEditViewController::numberOfRowsInSection(ui::TableView&, int)
{
    return std::max(0, static_cast<int>(_arrGroups.size()) - kFirstGroupIndex);
}

std::shared_ptr<ui::TableViewCell> GroupEditViewController::cellForRowAtIndexPath(ui::TableView& tableView,
                                                                                  const ui::IndexPath& indexPath)
{
    auto cell = tableView.dequeueReusableCellWithIdentifier(kCellIdentifier);
    if (!cell)
        cell = std::make_shared<ui::TableViewCell>(ui::TableViewCellStyle::Default, kCellIdentifier);
    cell->removeContentSubviews();
    if (!isGroupRow(indexPath.row))
        return cell;

    int catalogueIndex = indexPath.row + kFirstGroupIndex;
    const GroupObject& group = _arrGroups[static_cast<std::size_t>(catalogueIndex)];
    auto& content = cell->contentView();
    content.addSubview(GroupRowPieces::nameLabel({ 10, 0, 140, kRowHeight }, group, 16));
    if (GroupKinds::isLocalGroup(group))
        content.addSubview(GroupRowPieces::localTag(0));
    content.addSubview(GroupRowPieces::countBadge({ 150, 9, 30, 24 }, GroupRowPieces::memberCount(group)));
    if (!Utility::sharedUtility().canChangeGroup(group))
        return cell;

    // The row under the button is looked up when it is touched: a deletion above it moves
    // the row up without building its cell again.
    std::weak_ptr<ui::TableViewCell> weakCell = cell;
    auto editItem = std::make_shared<ui::BarButtonItem>(ui::BarButtonSystemItem::Edit, [this, weakCell](ui::BarButtonItem& sender) {
        int index = sender.tag();
        auto shownCell = weakCell.lock();
        if (shownCell && _myTableView) {
            if (auto shownAt = _myTableView->indexPathForCell(*shownCell))
                index = shownAt->row + kFirstGroupIndex;
        }
        editGroupName(index);
    });
    editItem->setTag(catalogueIndex);
    editItem->setAccessibilityIdentifier("groupEdit.edit." + std::to_string(indexPath.row));
    auto bar = std::make_shared<MyToolBar>(ui::Rect { 180, 0, 40, kRowHeight });
    bar->setItems({ editItem });
    content.addSubview(bar);
    return cell;
}

void GroupEditViewController::didSelectRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath)
{
    tableView.deselectRowAtIndexPath(indexPath, true);
}

// ---- Deleting and moving ---------------------------------------------------------------

bool GroupEditViewController::canEditRowAtIndexPath(ui::TableView&, const ui::IndexPath& indexPath)
{
    return canChangeGroupAt(indexPath.row + kFirstGroupIndex);
}

bool GroupEditViewController::canMoveRowAtIndexPath(ui::TableView&, const ui::IndexPath& indexPath)
{
    return isGroupRow(indexPath.row) && canStoreOrder();
}

void GroupEditViewController::commitEditingStyle(ui::TableView& tableView, ui::TableViewCellEditingStyle style,
                                                 const ui::IndexPath& indexPath)
{
    if (style != ui::TableViewCellEditingStyle::Delete || !isGroupRow(indexPath.row))
        return;
    // Without access the address book cannot be asked to delete the group, and deleting only
    // the stored row would lose its colour and place for nothing: the group is still there.
    if (!canChangeGroupAt(indexPath.row + kFirstGroupIndex)) {
        tableView.reloadData();
        return;
    }
    deleteGroupAtRow(tableView, indexPath.row);
}

void GroupEditViewController::deleteGroupAtRow(ui::TableView& tableView, int row)
{
    auto position = _arrGroups.begin() + row + kFirstGroupIndex;
    GroupObject group = *position;
    auto& database = DataManager::sharedDataBase();
    if (GroupKinds::isLocalGroup(group)) {
        // The member rows stay behind; no later group is ever given this identifier.
        database.deleteLocalGroup(group);
    } else {
        // The address book goes first: were its refusal noticed only after the stored row
        // had gone, the group would come back at the end of the list without its colour.
        if (auto addressBookGroup = AddressBookGroup::groupWithRecordID(GroupKinds::intValue(group.groupID))) {
            contactstore::Error error;
            if (!addressBookGroup->removeSelfFromAddressBook(&error)) {
                foundation::log("Error: " + error.localizedDescription());
                tableView.reloadData();
                showMessage(error.localizedDescription());
                return;
            }
        }
        database.deleteGroup(group);
    }
    _arrGroups.erase(position);
    tableView.deleteRowsAtIndexPaths({ ui::IndexPath { 0, row } }, ui::TableViewRowAnimation::Fade);
    // The rows below moved up without being built again; once the fade is over they are
    // built afresh, so that each edit button names its new place.
    foundation::RunLoop::main().performAfterDelay(ui::TableView::rowAnimationDuration, weak_from_this(), [this] {
        if (_myTableView)
            _myTableView->reloadData();
    });
}

void GroupEditViewController::moveRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& from, const ui::IndexPath& to)
{
    if (from.section != to.section || !isGroupRow(from.row) || !isGroupRow(to.row))
        return;
    if (!canStoreOrder()) {
        tableView.reloadData();
        return;
    }
    auto source = _arrGroups.begin() + from.row + kFirstGroupIndex;
    GroupObject moved = *source;
    _arrGroups.erase(source);
    _arrGroups.insert(_arrGroups.begin() + to.row + kFirstGroupIndex, std::move(moved));
    // A move the file refused is undone on screen as well: the list shows what is stored,
    // and the application has told the user why.
    if (!storeOrder())
        getGroups();
    tableView.reloadData();
}

bool GroupEditViewController::storeOrder()
{
    // Address-book and local groups share one sequence of sort indexes, so the catalogue
    // merges them back in exactly the order shown. The new order is stored whole or not at
    // all: half of it would leave two groups on one place.
    auto& database = DataManager::sharedDataBase();
    return database.performUserAction([&] {
        for (std::size_t i = 0; i < _arrGroups.size(); ++i) {
            GroupObject& group = _arrGroups[i];
            group.sortIndex = static_cast<int>(i);
            if (GroupKinds::isPseudoGroup(group))
                continue;
            if (GroupKinds::isLocalGroup(group))
                database.updateLocalGroup(group);
            else
                database.updateGroup(group);
        }
    });
}

// ---- Adding ----------------------------------------------------------------------------

void GroupEditViewController::addGroup()
{
    switch (Utility::sharedUtility().getAddressBookSourceType()) {
    case 2: {
        auto sheet = std::make_shared<ui::ActionSheet>(
            foundation::localized("LocalSystemGroupDescription"), this, foundation::localized("CancelButtonTitle"), std::string(),
            std::vector<std::string> { foundation::localized("AddLocalGroupTitle"), foundation::localized("AddSystemGroupTitle") });
        sheet->setTag(kAccountKindSheetTag);
        sheet->setAccessibilityIdentifier("groupEdit.kindSheet");
        if (auto* window = ui::Application::shared().keyWindow())
            sheet->showInView(*window);
        else
            sheet->showInView(*view());
        break;
    }
    case 0:
        // Exchange alone cannot hold groups made here.
        _isAddLocalGroup = false;
        showAddGroupView();
        break;
    default:
        _isAddLocalGroup = true;
        showAddGroupView();
        break;
    }
}

void GroupEditViewController::clickedButtonAtIndex(ui::ActionSheet& sheet, int buttonIndex)
{
    if (sheet.tag() != kAccountKindSheetTag)
        return;
    if (buttonIndex == kKeepInApplicationButton) {
        _isAddLocalGroup = false;
        foundation::log("add local group");
    } else if (buttonIndex == kKeepInAddressBookButton) {
        _isAddLocalGroup = true;
        foundation::log("add system group");
    } else {
        return;
    }
    showAddGroupView();
}

void GroupEditViewController::showAddGroupView()
{
    presentForm(std::make_shared<AddNewGroupViewController>(std::nullopt, 0, -1, true, this));
}

bool GroupEditViewController::addNewGroupDone(const std::string& name, int colorIndex)
{
    if (_isAddLocalGroup) {
        foundation::log("add system group");
        if (!storeNewAddressBookGroup(name, colorIndex))
            return false;
    } else {
        foundation::log("add local group");
        GroupObject group;
        group.groupType = GroupKinds::kLocalGroupType;
        group.colorIndex = colorIndex;
        group.localGroupName = name;
        DataManager::sharedDataBase().insertLocalGroup(group);
    }
    getGroups();
    if (_myTableView)
        _myTableView->reloadData();
    return true;
}

bool GroupEditViewController::storeNewAddressBookGroup(const std::string& name, int colorIndex)
{
    auto group = AddressBookGroup::group();
    if (!group) {
        // A book the application may not read shows no accounts at all; the refusal is the
        // reason then, not a missing account.
        showMessage(foundation::localized(Utility::sharedUtility().canReadAddressBook() ? "NoAccountForGroupTitle"
                                                                                        : "CalAccessErrMessage"));
        return false;
    }
    group->setName(name);
    contactstore::Error error;
    if (!AddressBookQueries::addGroup(*group, &error)) {
        // A group the book took but could not save would otherwise ride along with the
        // next save of anything else.
        if (auto book = SharedAddressBook::get())
            (void)book->removeRecord(group->record());
        showMessage(error.localizedDescription());
        return false;
    }
    GroupObject stored;
    stored.groupID = std::to_string(group->recordID());
    stored.colorIndex = colorIndex;
    DataManager::sharedDataBase().insertGroup(stored);
    return true;
}

// ---- Editing one group -----------------------------------------------------------------

void GroupEditViewController::editGroupName(int catalogueIndex)
{
    if (!canChangeGroupAt(catalogueIndex))
        return;
    const GroupObject& group = _arrGroups[static_cast<std::size_t>(catalogueIndex)];
    std::string name;
    if (GroupKinds::isLocalGroup(group)) {
        name = group.localGroupName;
    } else if (auto addressBookGroup = AddressBookGroup::groupWithRecordID(GroupKinds::intValue(group.groupID))) {
        name = addressBookGroup->name();
    }
    presentForm(std::make_shared<AddNewGroupViewController>(name, catalogueIndex, group.colorIndex, false, this));
}

void GroupEditViewController::editGroupDone(const std::string& name, int colorIndex, int editIndex)
{
    // Access may have been taken away while the form was open.
    if (!canChangeGroupAt(editIndex))
        return;
    GroupObject& group = _arrGroups[static_cast<std::size_t>(editIndex)];
    group.colorIndex = colorIndex;
    auto& database = DataManager::sharedDataBase();
    if (GroupKinds::isLocalGroup(group)) {
        group.localGroupName = name;
        database.updateLocalGroup(group);
    } else {
        database.updateGroup(group);
        if (auto addressBookGroup = AddressBookGroup::groupWithRecordID(GroupKinds::intValue(group.groupID))) {
            addressBookGroup->setName(name);
            contactstore::Error error;
            if (!AddressBookQueries::addGroup(*addressBookGroup, &error))
                showMessage(error.localizedDescription());
        }
    }
    getGroups();
    if (_myTableView)
        _myTableView->reloadData();
}

// ---- Helpers ---------------------------------------------------------------------------

void GroupEditViewController::presentForm(std::shared_ptr<ui::ViewController> form)
{
    auto navigation = std::make_shared<ui::NavigationController>(std::move(form));
    navigation->navigationBar().setTranslucent(false);
    presentViewController(navigation, true);
}

void GroupEditViewController::showMessage(const std::string& message)
{
    auto alert = std::make_shared<ui::AlertView>(std::string(), message, nullptr, "OK");
    alert->show();
}

} // namespace tessaro

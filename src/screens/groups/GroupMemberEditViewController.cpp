#include "screens/groups/GroupMemberEditViewController.h"

#include "addressbook/AddressBookGroup.h"
#include "addressbook/AddressBookQueries.h"
#include "addressbook/SharedAddressBook.h"
#include "app/GroupKinds.h"
#include "app/Utility.h"
#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/Group.h"
#include "platform/foundation/LocalizedStrings.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/TableView.h"
#include "platform/ui/Toolbar.h"
#include "store/DataManager.h"

#include <algorithm>

namespace tessaro {

namespace {

const std::string kCellIdentifier = "GroupMemberCell";
constexpr double kListHeight = 376;

void showMessage(const std::string& message)
{
    std::make_shared<ui::AlertView>(std::string(), message, nullptr, "OK")->show();
}

} // namespace

GroupMemberEditViewController::GroupMemberEditViewController(GroupMemberEditViewControllerDelegate* delegate, GroupObject groupObj)
    : _delegate(delegate)
    , _groupObj(std::move(groupObj))
{
    initData();
}

GroupMemberEditViewController::~GroupMemberEditViewController() = default;

void GroupMemberEditViewController::loadView()
{
    auto content = std::make_shared<ui::View>(ui::Rect { 0, 0, 320, 460.0 + Utility::iPhone4to5SubSize() });
    content->setBackgroundColor(ui::Color::whiteColor());
    setView(content);
}

void GroupMemberEditViewController::viewDidLoad()
{
    buildSearchableList(*view(), { 0, 0, 320, kListHeight + Utility::iPhone4to5SubSize() }, "memberEdit");
    _searchBar->textField().setAccessibilityIdentifier("memberEdit.search.field");
    _searchDC->setDelegate(this);

    addBarButton();
    buildFilterBar();
}

void GroupMemberEditViewController::buildFilterBar()
{
    double extra = Utility::iPhone4to5SubSize();
    _filterBar = std::make_shared<ui::Toolbar>(ui::Rect { 0, kListHeight + extra, 320, 40 });
    _segmentedControl = std::make_shared<ui::SegmentedControl>(std::vector<std::string> {
        "All", foundation::localized("HaveGroupMemberTitle"), foundation::localized("NoGroupMemberTitle") });
    _segmentedControl->setFrame({ 10, 5, 300, 30 });
    _segmentedControl->setSegmentedControlStyle(ui::SegmentedControlStyle::Bar);
    _segmentedControl->setSelectedSegmentIndex(kFilterAll);
    _segmentedControl->setAccessibilityIdentifier("memberEdit.filter");
    _segmentedControl->addAction(ui::ControlEvent::ValueChanged, [this](ui::Control&) { segmentActionEventAll(); });
    _filterBar->addSubview(_segmentedControl);
    view()->addSubview(_filterBar);
}

void GroupMemberEditViewController::addBarButton()
{
    auto doneItem = std::make_shared<ui::BarButtonItem>(ui::BarButtonSystemItem::Done, [this](ui::BarButtonItem&) { editDone(); });
    doneItem->setAccessibilityIdentifier("memberEdit.done");
    navigationItem().setLeftBarButtonItem(doneItem);
    setTitle(Utility::sharedUtility().getGroupName(_groupObj));
}

void GroupMemberEditViewController::editDone()
{
    if (_delegate)
        _delegate->groupMemberEditDone(*this);
}

bool GroupMemberEditViewController::isPseudoGroup() const
{
    int identifier = GroupKinds::intValue(_groupObj.groupID);
    return identifier == -1 || identifier == -2;
}

bool GroupMemberEditViewController::isContactInGroup(const Contact& contact) const
{
    auto recordID = contact.recordID();
    return std::any_of(_arrGroupContacts.begin(), _arrGroupContacts.end(),
                       [recordID](const Contact& member) { return member.recordID() == recordID; });
}

// ---- Data ------------------------------------------------------------------------------

void GroupMemberEditViewController::readGroupContacts()
{
    int identifier = GroupKinds::intValue(_groupObj.groupID);
    if (GroupKinds::isLocalGroup(_groupObj)) {
        _arrGroupContacts = DataManager::sharedDataBase().selectLocalGroupMemberWithID(identifier);
    } else if (auto group = AddressBookGroup::groupWithRecordID(identifier)) {
        _arrGroupContacts = group->membersWithSorting(0);
    } else {
        _arrGroupContacts.clear();
    }
}

void GroupMemberEditViewController::initData()
{
    readGroupContacts();
    if (isPseudoGroup()) {
        clearSections();
        return;
    }
    showPersons(AddressBookQueries::contacts());
}

void GroupMemberEditViewController::reloadTableData()
{
    if (_searchDC && _searchDC->isActive())
        _searchDC->searchResultsTableView()->reloadData();
    else if (_myTableView)
        _myTableView->reloadData();
}

void GroupMemberEditViewController::segmentActionEventAll()
{
    reloadTableData();
}

// ---- Table -----------------------------------------------------------------------------

double GroupMemberEditViewController::heightForRowAtIndexPath(ui::TableView&, const ui::IndexPath& indexPath)
{
    int filter = _segmentedControl ? _segmentedControl->selectedSegmentIndex() : kFilterAll;
    if (_isSearch || filter == kFilterAll)
        return kRowHeight;
    const Contact* contact = personAt(indexPath);
    if (!contact)
        return 0;
    bool member = isContactInGroup(*contact);
    if (filter == kFilterMembers)
        return member ? kRowHeight : 0;
    return member ? 0 : kRowHeight;
}

std::shared_ptr<ui::TableViewCell> GroupMemberEditViewController::cellForRowAtIndexPath(ui::TableView& tableView,
                                                                                       const ui::IndexPath& indexPath)
{
    auto cell = emptyPersonCell(tableView, kCellIdentifier);
    const Contact* contact = personAt(indexPath);
    if (!contact || heightForRowAtIndexPath(tableView, indexPath) <= 0)
        return cell;

    double u = rowOffset();
    auto& content = cell->contentView();
    addPersonPieces(content, *contact, u, 210, 250);
    if (isContactInGroup(*contact))
        cell->setAccessoryType(ui::TableViewCellAccessoryType::Checkmark);
    addExchangeTagIfAny(content, *contact, u);
    return cell;
}

void GroupMemberEditViewController::didSelectRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath)
{
    const Contact* touched = personAt(indexPath);
    if (!touched || isPseudoGroup()) {
        tableView.deselectRowAtIndexPath(indexPath, true);
        return;
    }
    Contact contact = *touched;
    // Membership is read from the group itself rather than from the tick, so that a tick
    // left by an earlier refused save cannot turn an addition into a removal.
    bool member = isContactInGroup(contact);
    std::string failure;
    if (GroupKinds::isLocalGroup(_groupObj)) {
        toggleLocalMembership(contact, member);
    } else if (AddressBookQueries::isExchangePeople(contact)) {
        tableView.deselectRowAtIndexPath(indexPath, true);
        showMessage(foundation::localized("IsExchangePeopleCanNotGroupTitle"));
        return;
    } else if (!toggleAddressBookMembership(contact, member, failure)) {
        showMessage(failure);
    }

    readGroupContacts();
    if (auto cell = tableView.cellForRowAtIndexPath(indexPath)) {
        cell->setAccessoryType(isContactInGroup(contact) ? ui::TableViewCellAccessoryType::Checkmark
                                                         : ui::TableViewCellAccessoryType::None);
    }
    int filter = _segmentedControl ? _segmentedControl->selectedSegmentIndex() : kFilterAll;
    if (!_isSearch && filter != kFilterAll) {
        // The person leaves the filtered list a moment later, once the tick has been seen.
        foundation::RunLoop::main().performAfterDelay(kFilterRefreshDelay, weak_from_this(), [this] { reloadTableData(); });
    }
    tableView.deselectRowAtIndexPath(indexPath, true);
}

void GroupMemberEditViewController::toggleLocalMembership(const Contact& contact, bool isMember)
{
    auto& database = DataManager::sharedDataBase();
    int group = GroupKinds::intValue(_groupObj.groupID);
    std::string memberID = std::to_string(contact.recordID());
    if (isMember)
        database.deleteLocalGroupMember(group, memberID);
    else
        database.insertLocalGroupMember(group, memberID);
}

bool GroupMemberEditViewController::toggleAddressBookMembership(const Contact& contact, bool isMember, std::string& failure)
{
    auto group = AddressBookGroup::groupWithRecordID(GroupKinds::intValue(_groupObj.groupID));
    auto book = SharedAddressBook::get();
    if (!group || !book) {
        failure = foundation::localized("GroupNotInAddressBookTitle");
        return false;
    }
    contactstore::Error error;
    auto refused = [&] {
        failure = error.localizedDescription();
        return false;
    };
    if (isMember) {
        if (!group->removeMember(contact, &error))
            return refused();
        if (!AddressBookQueries::addGroup(*group, &error)) {
            // The member goes back, so that the refused removal does not ride along with the
            // next save of something else.
            (void)group->addMember(contact);
            return refused();
        }
        return true;
    }
    if (!book->addRecord(group->record(), &error) || !book->save(&error) || !group->addMember(contact, &error))
        return refused();
    if (!book->save(&error)) {
        (void)group->removeMember(contact);
        return refused();
    }
    return true;
}

} // namespace tessaro

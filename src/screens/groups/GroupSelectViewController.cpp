#include "screens/groups/GroupSelectViewController.h"

#include "addressbook/AddressBookGroup.h"
#include "addressbook/AddressBookQueries.h"
#include "addressbook/SharedAddressBook.h"
#include "app/GroupKinds.h"
#include "app/Utility.h"
#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/Group.h"
#include "platform/foundation/LocalizedStrings.h"
#include "platform/foundation/Log.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TableView.h"
#include "screens/groups/GroupRowPieces.h"
#include "store/DataManager.h"

#include <algorithm>

namespace tessaro {

namespace {

const std::string kCellIdentifier = "GroupSelectCell";
constexpr int kNoGroupRow = 0;

bool readsAsAllOrNoGroup(const GroupObject& group)
{
    int identifier = GroupKinds::intValue(group.groupID);
    return identifier == -1 || identifier == -2;
}

bool sameGroup(const GroupObject& a, const GroupObject& b)
{
    return GroupKinds::intValue(a.groupID) == GroupKinds::intValue(b.groupID) && a.groupType == b.groupType;
}

void showMessage(const std::string& message)
{
    std::make_shared<ui::AlertView>(std::string(), message, nullptr, "OK")->show();
}

} // namespace

GroupSelectViewController::GroupSelectViewController(GroupSelectViewControllerDelegate* delegate, contactstore::RecordID contactID,
                                                     std::optional<GroupObject> groupObj, bool isAutoRemove,
                                                     std::optional<std::vector<Contact>> arrChangeGroupContacts)
    : _delegate(delegate)
    , _contactID(contactID)
    , _selectGroupObj(groupObj)
    , _oldGroupObj(std::move(groupObj))
    , _isAutoRemove(isAutoRemove)
    , _arrChangeGroupContacts(std::move(arrChangeGroupContacts))
{
}

GroupSelectViewController::~GroupSelectViewController()
{
    if (_myTableView) {
        _myTableView->setDataSource(nullptr);
        _myTableView->setDelegate(nullptr);
    }
}

void GroupSelectViewController::viewDidLoad()
{
    setTitle(foundation::localized("GroupSelectViewTitle"));
    auto content = view();
    content->setBackgroundColor(ui::Color::whiteColor());
    initData();

    auto doneItem = std::make_shared<ui::BarButtonItem>(ui::BarButtonSystemItem::Done, [this](ui::BarButtonItem&) { done(); });
    doneItem->setAccessibilityIdentifier("groupSelect.done");
    navigationItem().setRightBarButtonItem(doneItem);
    auto cancelItem = std::make_shared<ui::BarButtonItem>(ui::BarButtonSystemItem::Cancel, [this](ui::BarButtonItem&) { cancel(); });
    cancelItem->setAccessibilityIdentifier("groupSelect.cancel");
    navigationItem().setLeftBarButtonItem(cancelItem);

    // Laid over the tabs, the chooser leaves their bar in sight.
    double height = 416.0 + Utility::iPhone4to5SubSize() - (_isAutoRemove ? 49 : 0);
    _myTableView = std::make_shared<ui::TableView>(ui::Rect { 0, 0, content->bounds().width(), height }, ui::TableViewStyle::Plain);
    _myTableView->setAccessibilityIdentifier("groupSelect.list");
    _myTableView->setDataSource(this);
    _myTableView->setDelegate(this);
    content->addSubview(_myTableView);
}

void GroupSelectViewController::initData()
{
    _arrGroups = Utility::sharedUtility().getAllGroupObject();
    // The catalogue starts with "all contacts" and "in no group"; the chooser's own first
    // row stands for the second, and nobody is put into the first.
    _arrGroups.erase(_arrGroups.begin(), _arrGroups.begin() + std::min<std::size_t>(2, _arrGroups.size()));
}

// ---- Rows ------------------------------------------------------------------------------

int GroupSelectViewController::numberOfRowsInSection(ui::TableView&, int)
{
    return static_cast<int>(_arrGroups.size()) + 1;
}

bool GroupSelectViewController::rowIsTicked(int row) const
{
    if (row == kNoGroupRow)
        return !_selectGroupObj || readsAsAllOrNoGroup(*_selectGroupObj);
    if (!_selectGroupObj || row < 1 || row > static_cast<int>(_arrGroups.size()))
        return false;
    return sameGroup(*_selectGroupObj, _arrGroups[static_cast<std::size_t>(row - 1)]);
}

std::shared_ptr<ui::TableViewCell> GroupSelectViewController::cellForRowAtIndexPath(ui::TableView& tableView,
                                                                                   const ui::IndexPath& indexPath)
{
    auto cell = tableView.dequeueReusableCellWithIdentifier(kCellIdentifier);
    if (!cell)
        cell = std::make_shared<ui::TableViewCell>(ui::TableViewCellStyle::Default, kCellIdentifier);
    cell->removeContentSubviews();
    cell->setAccessoryType(rowIsTicked(indexPath.row) ? ui::TableViewCellAccessoryType::Checkmark
                                                      : ui::TableViewCellAccessoryType::None);
    double x = Utility::isIOS7() ? 6 : 0;
    ui::Rect nameFrame { x + 10, 0, 240 - x, kRowHeight };
    auto& content = cell->contentView();
    if (indexPath.row == kNoGroupRow) {
        auto label = std::make_shared<ui::Label>(nameFrame);
        label->setFont(ui::Font::boldSystemFontOfSize(16));
        label->setBackgroundColor(ui::Color::clearColor());
        label->setText(foundation::localized("GroupNoneTitle"));
        content.addSubview(label);
        return cell;
    }
    if (indexPath.row < 1 || indexPath.row > static_cast<int>(_arrGroups.size()))
        return cell;
    const GroupObject& group = _arrGroups[static_cast<std::size_t>(indexPath.row - 1)];
    content.addSubview(GroupRowPieces::nameLabel(nameFrame, group, 16));
    content.addSubview(GroupRowPieces::countBadge({ 258 - x, 9, 32, 24 }, GroupRowPieces::memberCount(group)));
    if (GroupKinds::isLocalGroup(group))
        content.addSubview(GroupRowPieces::localTag(x));
    return cell;
}

void GroupSelectViewController::didSelectRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath)
{
    if (indexPath.row == kNoGroupRow)
        _selectGroupObj.reset();
    else if (indexPath.row >= 1 && indexPath.row <= static_cast<int>(_arrGroups.size()))
        _selectGroupObj = _arrGroups[static_cast<std::size_t>(indexPath.row - 1)];
    for (const auto& cell : tableView.visibleCells()) {
        auto shownAt = tableView.indexPathForCell(*cell);
        cell->setAccessoryType(shownAt && rowIsTicked(shownAt->row) ? ui::TableViewCellAccessoryType::Checkmark
                                                                     : ui::TableViewCellAccessoryType::None);
    }
    tableView.deselectRowAtIndexPath(indexPath, true);
}

// ---- Done and Cancel -------------------------------------------------------------------

bool GroupSelectViewController::chosenGroupCounts() const
{
    return _selectGroupObj && !GroupKinds::isPseudoGroup(*_selectGroupObj);
}

void GroupSelectViewController::done()
{
    // The delegate may let go of the chooser.
    auto keep = shared_from_this();
    std::string failure;
    bool stored = _arrChangeGroupContacts ? doneSeveral(failure) : doneOne(failure);
    if (!stored) {
        // A refused write of the application's own file has been told already.
        if (!failure.empty())
            showMessage(failure);
        return;
    }
    closing();
    if (_delegate)
        _delegate->groupSelectedDone(*this);
}

void GroupSelectViewController::cancel()
{
    auto keep = shared_from_this();
    closing();
    if (_delegate)
        _delegate->groupSelectedCancel(*this);
}

bool GroupSelectViewController::doneOne(std::string& failure)
{
    if (!chosenGroupCounts())
        return true;
    const GroupObject& chosen = *_selectGroupObj;
    int groupID = GroupKinds::intValue(chosen.groupID);
    if (GroupKinds::isLocalGroup(chosen))
        return DataManager::sharedDataBase().insertLocalGroupMember(groupID, std::to_string(_contactID));
    auto person = Contact::contactWithRecordID(_contactID);
    if (!person)
        return true;
    if (AddressBookQueries::isExchangePeople(*person)) {
        failure = foundation::localized("IsExchangePeopleCanNotGroupTitle");
        return false;
    }
    auto group = AddressBookGroup::groupWithRecordID(groupID);
    auto book = SharedAddressBook::get();
    if (!group || !book) {
        failure = foundation::localized("GroupNotInAddressBookTitle");
        return false;
    }
    contactstore::Error error;
    if (!book->addRecord(group->record(), &error) || !book->save(&error) || !group->addMember(*person, &error)) {
        failure = error.localizedDescription();
        return false;
    }
    if (!book->save(&error)) {
        (void)group->removeMember(*person);
        failure = error.localizedDescription();
        return false;
    }
    return true;
}

bool GroupSelectViewController::doneSeveral(std::string& failure)
{
    const std::vector<Contact>& persons = *_arrChangeGroupContacts;
    bool counts = chosenGroupCounts();
    // Only a real address-book group refuses Exchange persons: "no group" and local groups
    // take them.
    if (counts && !GroupKinds::isLocalGroup(*_selectGroupObj)
        && std::any_of(persons.begin(), persons.end(), [](const Contact& person) { return AddressBookQueries::isExchangePeople(person); })) {
        failure = foundation::localized("IsExchangePeopleCanNotGroupTitle");
        return false;
    }
    // Persons from "no group" (or any pseudo-group) have no membership to give up.
    bool leaveOldGroup = _oldGroupObj && !GroupKinds::isPseudoGroup(*_oldGroupObj);
    if (counts && leaveOldGroup && sameGroup(*_selectGroupObj, *_oldGroupObj))
        return true;

    // The persons join the new group first and leave the old one only once they are in: a
    // person the new group refuses keeps the membership it had.
    std::vector<Contact> joined;
    if (counts) {
        const GroupObject& chosen = *_selectGroupObj;
        int groupID = GroupKinds::intValue(chosen.groupID);
        if (GroupKinds::isLocalGroup(chosen)) {
            // The persons join together or not at all, so a refused write leaves them where
            // they were.
            auto& database = DataManager::sharedDataBase();
            bool written = database.performUserAction([&] {
                for (const auto& person : persons) {
                    if (database.insertLocalGroupMember(groupID, std::to_string(person.recordID())))
                        joined.push_back(person);
                }
            });
            // The application has told the user why the file refused them.
            if (!written)
                return false;
        } else {
            auto group = AddressBookGroup::groupWithRecordID(groupID);
            auto book = SharedAddressBook::get();
            contactstore::Error error;
            if (!group || !book) {
                failure = foundation::localized("GroupNotInAddressBookTitle");
                return false;
            }
            if (!book->addRecord(group->record(), &error) || !book->save(&error)) {
                failure = error.localizedDescription();
                return false;
            }
            for (const auto& person : persons) {
                foundation::log("add contact to new group");
                if (group->addMember(person, &error))
                    joined.push_back(person);
                else
                    failure = error.localizedDescription();
            }
            if (!book->save(&error)) {
                for (const auto& person : joined)
                    (void)group->removeMember(person);
                failure = error.localizedDescription();
                return false;
            }
        }
    } else {
        joined = persons;
    }

    if (leaveOldGroup && !joined.empty()) {
        foundation::log("delete contact from group");
        int oldID = GroupKinds::intValue(_oldGroupObj->groupID);
        if (GroupKinds::isLocalGroup(*_oldGroupObj)) {
            auto& database = DataManager::sharedDataBase();
            bool written = database.performUserAction([&] {
                for (const auto& person : joined)
                    database.deleteLocalGroupMember(oldID, std::to_string(person.recordID()));
            });
            if (!written)
                return false;
        } else if (auto oldGroup = AddressBookGroup::groupWithRecordID(oldID)) {
            for (const auto& person : joined)
                (void)oldGroup->removeMember(person);
            contactstore::Error error;
            if (!AddressBookQueries::addGroup(*oldGroup, &error))
                failure = error.localizedDescription();
        }
    }
    return failure.empty();
}

void GroupSelectViewController::closing()
{
    if (!_isAutoRemove)
        return;
    auto* navigation = navigationController();
    std::shared_ptr<ui::View> shown = navigation ? navigation->view() : view();
    ui::Rect away = shown->frame();
    away.origin.y = 480.0 + Utility::iPhone4to5SubSize();
    std::weak_ptr<ui::ViewController> weakSelf = weak_from_this();
    ui::View::animate(
        kSlideOutDuration, [&] { shown->setFrame(away); },
        [weakSelf, shown](bool) {
            // The caller may have let go of the chooser by now; its view still has to go.
            if (auto self = std::dynamic_pointer_cast<GroupSelectViewController>(weakSelf.lock()))
                self->removeSelf();
            else
                shown->removeFromSuperview();
        });
}

void GroupSelectViewController::removeSelf()
{
    if (auto* navigation = navigationController())
        navigation->view()->removeFromSuperview();
    else if (auto* own = viewIfLoaded())
        own->removeFromSuperview();
}

} // namespace tessaro

#include "screens/groups/EditSelectedContactViewController.h"

#include "addressbook/SharedAddressBook.h"
#include "app/GroupKinds.h"
#include "app/Utility.h"
#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/Person.h"
#include "platform/foundation/LocalizedStrings.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/Toolbar.h"
#include "screens/groups/GroupPersons.h"
#include "screens/groups/GroupPresentation.h"
#include "screens/groups/PersonIndexSections.h"
#include "platform/ui/LocalizedIndexedCollation.h"
#include "store/DataManager.h"

#include <algorithm>

namespace tessaro {

namespace {

const std::string kCellIdentifier = "SelectedContactCell";

} // namespace

EditSelectedContactViewController::EditSelectedContactViewController(EditSelectedContactViewControllerDelegate* delegate,
                                                                     GroupObject groupObj, GroupScreens screens)
    : _delegate(delegate)
    , _groupObj(std::move(groupObj))
    , m_screens(std::move(screens))
{
    initData();
    addBarButton();
    addBottomBarButton();
}

EditSelectedContactViewController::~EditSelectedContactViewController()
{
    if (auto alert = m_deleteAlert.lock())
        alert->setDelegate(nullptr);
    removeGroupSelectNav();
}

// ---- The screen ----

void EditSelectedContactViewController::loadView()
{
    auto content = std::make_shared<ui::View>(ui::Rect { 0, 0, 320, 460.0 + Utility::iPhone4to5SubSize() });
    content->setBackgroundColor(ui::Color::whiteColor());
    setView(content);
}

void EditSelectedContactViewController::viewDidLoad()
{
    auto& page = *view();
    double width = page.bounds().width();
    double height = page.bounds().height();

    m_filterBar = std::make_shared<ui::Toolbar>(ui::Rect { 0, 0, width, kBarHeight });
    m_filterBar->setAutoresizingMask(ui::AutoresizingMask::FlexibleWidth);
    _segmentedControl = std::make_shared<ui::SegmentedControl>(std::vector<std::string> {
        foundation::localized("SelectedContactAllTitle"), foundation::localized("SelectedContactUnCheckedTitle"),
        foundation::localized("SelectedContactCheckedTitle") });
    _segmentedControl->setFrame({ 10, 5, width - 20, 30 });
    _segmentedControl->setSegmentedControlStyle(ui::SegmentedControlStyle::Bar);
    _segmentedControl->setSelectedSegmentIndex(kFilterAll);
    _segmentedControl->setAccessibilityIdentifier("bulkEdit.filter");
    _segmentedControl->addAction(ui::ControlEvent::ValueChanged, [this](ui::Control&) { reloadTableData(); });
    m_filterBar->addSubview(_segmentedControl);
    page.addSubview(m_filterBar);

    // 336 points on the small screen: whatever the two bars leave of the page.
    _myTableView = std::make_shared<ui::TableView>(ui::Rect { 0, kBarHeight, width, std::max(0.0, height - 2 * kBarHeight) },
                                                   ui::TableViewStyle::Plain);
    _myTableView->setAutoresizingMask(ui::AutoresizingMask::FlexibleWidth | ui::AutoresizingMask::FlexibleHeight);
    _myTableView->setBackgroundColor(ui::Color::whiteColor());
    _myTableView->setAccessibilityIdentifier("bulkEdit.list");
    _myTableView->setDataSource(this);
    _myTableView->setDelegate(this);
    page.addSubview(_myTableView);

    m_bottomBar = std::make_shared<ui::Toolbar>(ui::Rect { 0, height - kBarHeight, width, kBarHeight });
    m_bottomBar->setAutoresizingMask(ui::AutoresizingMask::FlexibleWidth | ui::AutoresizingMask::FlexibleTopMargin);
    m_bottomBar->setItems(bottomBarItems());
    page.addSubview(m_bottomBar);
}

void EditSelectedContactViewController::addBarButton()
{
    auto done = std::make_shared<ui::BarButtonItem>(ui::BarButtonSystemItem::Done, [this](ui::BarButtonItem&) { editDone(); });
    done->setAccessibilityIdentifier("bulkEdit.done");
    navigationItem().setLeftBarButtonItem(done);
    _btnItemCheckAll = std::make_shared<ui::BarButtonItem>(foundation::localized("SelectedContactViewCheckAllTitle"),
                                                           ui::BarButtonItemStyle::Bordered, [this](ui::BarButtonItem&) { checkAll(); });
    _btnItemCheckAll->setAccessibilityIdentifier("bulkEdit.checkAll");
    navigationItem().setRightBarButtonItem(_btnItemCheckAll);
    setTitle(Utility::sharedUtility().getGroupName(_groupObj));
}

void EditSelectedContactViewController::addBottomBarButton()
{
    auto button = [](const char* key, const char* identifier, ui::BarButtonItem::Action action) {
        auto item = std::make_shared<ui::BarButtonItem>(foundation::localized(key), ui::BarButtonItemStyle::Bordered, std::move(action));
        item->setEnabled(false);
        item->setAccessibilityIdentifier(identifier);
        return item;
    };
    _btnItemDelete = button("DeleteButtonTitle", "bulkEdit.delete", [this](ui::BarButtonItem&) { deleteSelectedContact(); });
    _btnItemDelete->setTintColor(ui::Color::redColor());
    _btnItemChangeGroup = button("ChangeSelectedContactGroupTitle", "bulkEdit.changeGroup",
                                 [this](ui::BarButtonItem&) { changeSelectedContactGroup(); });
    _btnItemMail = button("SendMailTitle", "bulkEdit.mail", [this](ui::BarButtonItem&) { sendMailToSelectedContact(); });
    _btnItemSms = button("SmsMmsTitle", "bulkEdit.sms", [this](ui::BarButtonItem&) { sendSMSToSelectedContact(); });
}

bool EditSelectedContactViewController::hasChangeGroupButton() const
{
    // All persons and the lists of persons without a number or an address are no group
    // anyone could be moved out of.
    return GroupKinds::intValue(_groupObj.groupID) != -1 && _groupObj.groupID != GroupKinds::kNoNumberGroupID
        && _groupObj.groupID != GroupKinds::kNoEmailGroupID;
}

std::vector<std::shared_ptr<ui::BarButtonItem>> EditSelectedContactViewController::bottomBarItems() const
{
    std::vector<std::shared_ptr<ui::BarButtonItem>> items { _btnItemMail, _btnItemSms };
    if (hasChangeGroupButton())
        items.push_back(_btnItemChangeGroup);
    items.push_back(std::make_shared<ui::BarButtonItem>(ui::BarButtonSystemItem::FlexibleSpace, nullptr));
    items.push_back(_btnItemDelete);
    return items;
}

// ---- Data ----

void EditSelectedContactViewController::initData()
{
    clearSections();
    auto persons = GroupPersons::personsOfGroup(_groupObj);
    _contactCount = static_cast<int>(persons.size());
    auto sections = PersonIndexSections::build(std::move(persons), ui::LocalizedIndexedCollation::currentCollation());
    _arrSection = std::move(sections.sections);
    _arrSectionTitle.insert(_arrSectionTitle.end(), sections.titles.begin(), sections.titles.end());
}

void EditSelectedContactViewController::clearSelection()
{
    _arrSelectedContact.clear();
    m_selectedRecordIDs.clear();
}

void EditSelectedContactViewController::reloadViewData()
{
    clearSelection();
    initData();
    reloadTableData();
    removeGroupSelectNav();
    setButtonItemState();
}

void EditSelectedContactViewController::reloadTableData()
{
    if (_myTableView)
        _myTableView->reloadData();
}

int EditSelectedContactViewController::filterIndex() const
{
    return _segmentedControl ? _segmentedControl->selectedSegmentIndex() : kFilterAll;
}

// ---- Ticks ----

bool EditSelectedContactViewController::isContactAdded(const Contact& contact) const
{
    return m_selectedRecordIDs.count(contact.recordID()) > 0;
}

void EditSelectedContactViewController::addSelectedContact(const Contact& contact)
{
    if (m_selectedRecordIDs.insert(contact.recordID()).second)
        _arrSelectedContact.push_back(contact);
}

void EditSelectedContactViewController::removeSelectedContact(const Contact& contact)
{
    auto recordID = contact.recordID();
    if (m_selectedRecordIDs.erase(recordID) == 0)
        return;
    auto found = std::find_if(_arrSelectedContact.begin(), _arrSelectedContact.end(),
                              [recordID](const Contact& ticked) { return ticked.recordID() == recordID; });
    if (found != _arrSelectedContact.end())
        _arrSelectedContact.erase(found);
}

void EditSelectedContactViewController::setButtonItemState()
{
    bool allTicked = static_cast<int>(_arrSelectedContact.size()) == _contactCount;
    _btnItemCheckAll->setTitle(foundation::localized(allTicked ? "SelectedContactViewUnCheckAllTitle" : "SelectedContactViewCheckAllTitle"));
    bool any = !_arrSelectedContact.empty();
    _btnItemDelete->setEnabled(any);
    _btnItemChangeGroup->setEnabled(any);
    _btnItemMail->setEnabled(any && std::any_of(_arrSelectedContact.begin(), _arrSelectedContact.end(),
                                                [](const Contact& contact) { return !contact.emailArray().empty(); }));
    _btnItemSms->setEnabled(any && std::any_of(_arrSelectedContact.begin(), _arrSelectedContact.end(),
                                               [](const Contact& contact) { return !contact.phoneArray().empty(); }));
}

void EditSelectedContactViewController::checkAll()
{
    if (static_cast<int>(_arrSelectedContact.size()) != _contactCount) {
        _arrSelectedContact.reserve(static_cast<std::size_t>(_contactCount));
        m_selectedRecordIDs.reserve(static_cast<std::size_t>(_contactCount));
        for (const auto& section : _arrSection) {
            for (const auto& contact : section)
                addSelectedContact(contact);
        }
    } else {
        clearSelection();
    }
    setButtonItemState();
    reloadTableData();
}

// ---- Table ----

bool EditSelectedContactViewController::rowIsVisible(const Contact& contact) const
{
    switch (filterIndex()) {
    case kFilterUnchecked: return !isContactAdded(contact);
    case kFilterChecked: return isContactAdded(contact);
    default: return true;
    }
}

double EditSelectedContactViewController::heightForRowAtIndexPath(ui::TableView&, const ui::IndexPath& indexPath)
{
    const Contact* contact = personAt(indexPath);
    return contact && rowIsVisible(*contact) ? kRowHeight : 0;
}

double EditSelectedContactViewController::heightForHeaderInSection(ui::TableView&, int section)
{
    if (section < 0 || section >= static_cast<int>(_arrSection.size()))
        return 0;
    const auto& persons = _arrSection[static_cast<std::size_t>(section)];
    bool anyVisible = std::any_of(persons.begin(), persons.end(), [this](const Contact& contact) { return rowIsVisible(contact); });
    return anyVisible ? kHeaderHeight : 0;
}

int EditSelectedContactViewController::sectionForSectionIndexTitle(ui::TableView& tableView, const std::string&, int index)
{
    // The search symbol heads the index although the list has no search field: it goes back
    // to the top of the list.
    if (index <= 0) {
        tableView.setContentOffset({ 0, 0 });
        return -1;
    }
    return index - 1 < static_cast<int>(_arrSection.size()) ? index - 1 : -1;
}

std::shared_ptr<ui::TableViewCell> EditSelectedContactViewController::cellForRowAtIndexPath(ui::TableView& tableView,
                                                                                           const ui::IndexPath& indexPath)
{
    auto cell = emptyPersonCell(tableView, kCellIdentifier);
    const Contact* contact = personAt(indexPath);
    if (!contact || !rowIsVisible(*contact))
        return cell;
    double u = rowOffset();
    auto& content = cell->contentView();
    addPersonPieces(content, *contact, u, 210, 250);
    if (isContactAdded(*contact))
        cell->setAccessoryType(ui::TableViewCellAccessoryType::Checkmark);
    addExchangeTagIfAny(content, *contact, u);
    return cell;
}

void EditSelectedContactViewController::didSelectRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath)
{
    tableView.deselectRowAtIndexPath(indexPath, false);
    const Contact* touched = personAt(indexPath);
    if (!touched)
        return;
    Contact contact = *touched;
    bool ticked = !isContactAdded(contact);
    if (ticked)
        addSelectedContact(contact);
    else
        removeSelectedContact(contact);
    if (auto cell = tableView.cellForRowAtIndexPath(indexPath))
        cell->setAccessoryType(ticked ? ui::TableViewCellAccessoryType::Checkmark : ui::TableViewCellAccessoryType::None);
    setButtonItemState();
    if (filterIndex() != kFilterAll) {
        // The person leaves the filtered list a moment later, once the tick has been seen.
        std::weak_ptr<ui::ViewController> weak = weak_from_this();
        foundation::RunLoop::main().performAfterDelay(kFilterRefreshDelay, weak, [weak] {
            if (auto self = std::static_pointer_cast<EditSelectedContactViewController>(weak.lock()))
                self->reloadTableData();
        });
    }
}

// ---- Actions ----

void EditSelectedContactViewController::editDone()
{
    if (_delegate)
        _delegate->editSelectedContactDone(*this);
}

void EditSelectedContactViewController::removeGroupSelectNav()
{
    if (!_groupSelectNav)
        return;
    auto chooser = std::move(_groupSelectNav);
    _groupSelectNav.reset();
    if (chooser->presentingViewController()) {
        // The chooser may be the caller (its Done): the dismissal's completion keeps it alive
        // until the dismissal is over.
        chooser->dismissViewControllerAnimated(true, [chooser] { });
    }
}

void EditSelectedContactViewController::changeSelectedContactGroup()
{
    removeGroupSelectNav();
    if (!m_screens.makeGroupSelectViewController || _arrSelectedContact.empty())
        return;
    auto chooser = m_screens.makeGroupSelectViewController(*this, contactstore::kRecordInvalidID, _groupObj, false, _arrSelectedContact);
    if (!chooser)
        return;
    _groupSelectNav = GroupPresentation::wrapInOpaqueNavigation(chooser);
    presentViewController(_groupSelectNav, true);
}

void EditSelectedContactViewController::groupSelectedDone(CommonViewController&)
{
    reloadViewData();
}

void EditSelectedContactViewController::groupSelectedCancel(CommonViewController&)
{
    // This screen always opens the chooser to be dismissed by its opener, never to take
    // itself away; the ticks stay for another try.
    removeGroupSelectNav();
}

void EditSelectedContactViewController::sendMailToSelectedContact()
{
    if (!m_screens.makeGroupSendMailViewController || !navigationController())
        return;
    if (auto screen = m_screens.makeGroupSendMailViewController(_groupObj, _arrSelectedContact))
        navigationController()->pushViewController(screen, true);
}

void EditSelectedContactViewController::sendSMSToSelectedContact()
{
    if (!m_screens.makeGroupSendSMSViewController || !navigationController())
        return;
    if (auto screen = m_screens.makeGroupSendSMSViewController(_groupObj, _arrSelectedContact))
        navigationController()->pushViewController(screen, true);
}

void EditSelectedContactViewController::deleteSelectedContact()
{
    auto alert = std::make_shared<ui::AlertView>(foundation::localized("DeleteSelectedContactAlertMessTitle"),
                                                 foundation::localized("DeleteSelectedContactAlertBodyMessTitle"), this,
                                                 foundation::localized("CancelButtonTitle"), std::vector<std::string> { "OK" });
    alert->setTag(kDeleteAlertTag);
    alert->setAccessibilityIdentifier("bulkEdit.deleteAlert");
    m_deleteAlert = alert;
    alert->show();
}

void EditSelectedContactViewController::clickedButtonAtIndex(ui::AlertView& alertView, int buttonIndex)
{
    if (alertView.tag() == kDeleteAlertTag && buttonIndex == 1)
        deleteTickedPersons();
}

void EditSelectedContactViewController::deleteTickedPersons()
{
    // The persons leave the address book as one change with one save: a save writes every
    // changed group whole, so a save per person would rewrite a big group's members once
    // for each person deleted. A person the address book refuses still stops the run there;
    // the persons before it are deleted, the ones after it are left alone.
    std::optional<std::string> failure;
    std::vector<contactstore::RecordID> removed;
    if (auto book = SharedAddressBook::get()) {
        for (const auto& contact : _arrSelectedContact) {
            contactstore::Error error;
            if (!book->removeRecord(contact.record(), &error)) {
                failure = error.localizedDescription();
                break;
            }
            removed.push_back(contact.recordID());
        }
        contactstore::Error error;
        if (!removed.empty() && !book->save(&error)) {
            // Nothing was deleted; the refused removals must not ride along with the next
            // save of something else, so the address book is opened afresh without them.
            failure = error.localizedDescription();
            removed.clear();
            Utility::sharedUtility().resetObject();
        }
    } else if (!_arrSelectedContact.empty()) {
        // The platform's own words, as for any other refusal of the address book.
        failure = "There is no address book.";
    }

    // The deleted persons' favourite and local-member rows go in one transaction too.
    auto& database = DataManager::sharedDataBase();
    (void)database.performInTransaction([&database, &removed] {
        bool all = true;
        for (auto recordID : removed) {
            std::string contactID = std::to_string(recordID);
            all = database.deleteFavorite(contactID) && all;
            all = database.deleteLocalGroupMember(contactID) && all;
        }
        return all;
    });
    if (failure)
        std::make_shared<ui::AlertView>(std::string(), *failure, nullptr, "OK")->show();
    reloadViewData();
}

} // namespace tessaro

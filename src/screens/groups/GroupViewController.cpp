#include "screens/groups/GroupViewController.h"

#include "addressbook/AddressBookQueries.h"
#include "app/GroupKinds.h"
#include "app/MyToolBar.h"
#include "app/Utility.h"
#include "app/WaitView.h"
#include "platform/foundation/LocalizedStrings.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Image.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/TableView.h"
#include "screens/groups/GroupContactsViewController.h"
#include "screens/groups/GroupMenu.h"
#include "screens/groups/GroupPersons.h"
#include "screens/groups/GroupPresentation.h"
#include "store/DataManager.h"

namespace tessaro {

namespace {

const std::string kCellIdentifier = "GroupCell";
constexpr const char* kLocalTagText = "  Local";

// From system 7 on the rows' contents sit 10 points further right, clear of the flat look's
// wider left inset.
double rowOffset()
{
    return Utility::isIOS7() ? 10 : 0;
}

} // namespace

std::shared_ptr<GroupViewController> GroupViewController::create(GroupScreens screens)
{
    return std::make_shared<GroupViewController>(std::move(screens));
}

GroupViewController::GroupViewController(GroupScreens screens)
    : _screens(std::move(screens))
{
    initData();
    addBarButton();
}

GroupViewController::~GroupViewController()
{
    if (auto sheet = _menuSheet.lock())
        sheet->setDelegate(nullptr);
    if (auto form = _newPersonForm.lock())
        form->setNewPersonViewDelegate(nullptr);
    removeGroupSelectNav();
    if (_myTableView) {
        _myTableView->setDataSource(nullptr);
        _myTableView->setDelegate(nullptr);
    }
}

void GroupViewController::loadView()
{
    CommonViewController::loadView();
    view()->setBackgroundColor(ui::Color::whiteColor());
}

void GroupViewController::viewDidLoad()
{
    auto& page = *view();
    int extra = Utility::iPhone4to5SubSize();
    _myTableView = std::make_shared<ui::TableView>(ui::Rect { 0, 0, page.bounds().width(), 317.0 + extra }, ui::TableViewStyle::Plain);
    _myTableView->setBackgroundColor(ui::Color::whiteColor());
    _myTableView->setShowsVerticalScrollIndicator(true);
    _myTableView->setShowsHorizontalScrollIndicator(true);
    _myTableView->setAccessibilityIdentifier("groups.list");
    _myTableView->setDataSource(this);
    _myTableView->setDelegate(this);
    page.addSubview(_myTableView);

    _waitView = std::make_shared<WaitView>(ui::Rect { 0, 0, 320, 410.0 + extra });
    // The root titles the tab's screen after the tab; the bar above the list has its own.
    navigationItem().setTitle(foundation::localized("GroupTitle"));
}

void GroupViewController::addBarButton()
{
    setTitle(foundation::localized("GroupTitle"));
    auto edit = std::make_shared<ui::BarButtonItem>(ui::BarButtonSystemItem::Edit, [this](ui::BarButtonItem&) { editGroup(); });
    edit->setAccessibilityIdentifier("groups.edit");
    auto add = std::make_shared<ui::BarButtonItem>(ui::BarButtonSystemItem::Add, [this](ui::BarButtonItem&) { addContat(); });
    add->setAccessibilityIdentifier("groups.add");
    navigationItem().setLeftBarButtonItem(edit);
    navigationItem().setRightBarButtonItem(add);
}

void GroupViewController::initData()
{
    _arrGroups = Utility::sharedUtility().getAllGroupObject();
    _arrGroups.push_back(GroupKinds::pseudoGroup(GroupKinds::kNoNumberGroupID));
    _arrGroups.push_back(GroupKinds::pseudoGroup(GroupKinds::kNoEmailGroupID));
}

void GroupViewController::reloadViewData()
{
    reloadRows();
    if (_memberEditViewController)
        _memberEditViewController->reloadViewData();
}

int GroupViewController::getNoGroupContactsCount() const
{
    return static_cast<int>(GroupPersons::noGroupContactsCount());
}

// ---- Rows ----

std::string GroupViewController::rowName(const GroupObject& group)
{
    if (group.groupID == GroupKinds::kAllContactsGroupID)
        return foundation::localized("GroupAllContacts");
    if (group.groupID == GroupKinds::kNoGroupGroupID)
        return foundation::localized("GroupNogroupPeople");
    if (group.groupID == GroupKinds::kNoNumberGroupID)
        return foundation::localized("NoNumberGroupTitle");
    if (group.groupID == GroupKinds::kNoEmailGroupID)
        return foundation::localized("NoEmailGroupTitle");
    // A local group's own name, or the address-book group's (which says so when the book
    // may not be read).
    return Utility::sharedUtility().getGroupName(group);
}

int GroupViewController::rowBadgeNumber(const GroupObject& group) const
{
    if (group.groupID == GroupKinds::kAllContactsGroupID)
        return static_cast<int>(AddressBookQueries::contactsCount());
    if (group.groupID == GroupKinds::kNoGroupGroupID)
        return getNoGroupContactsCount();
    if (group.groupID == GroupKinds::kNoNumberGroupID)
        return static_cast<int>(AddressBookQueries::getNoNumberContacts().size());
    if (group.groupID == GroupKinds::kNoEmailGroupID)
        return static_cast<int>(AddressBookQueries::getNoEmailContacts().size());
    return static_cast<int>(GroupPersons::memberCount(group));
}

ui::Color GroupViewController::rowNameColor(const GroupObject& group)
{
    const auto& id = group.groupID;
    if (id == GroupKinds::kAllContactsGroupID || id == GroupKinds::kNoGroupGroupID || id == GroupKinds::kNoNumberGroupID
        || id == GroupKinds::kNoEmailGroupID)
        return ui::Color::grayColor();
    return Utility::getGroupColorwithIndex(group.colorIndex).value_or(ui::Color::blackColor());
}

int GroupViewController::numberOfRowsInSection(ui::TableView&, int section)
{
    return section == 0 ? static_cast<int>(_arrGroups.size()) : 0;
}

double GroupViewController::heightForRowAtIndexPath(ui::TableView&, const ui::IndexPath&)
{
    return kRowHeight;
}

std::shared_ptr<ui::TableViewCell> GroupViewController::cellForRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath)
{
    auto cell = tableView.dequeueReusableCellWithIdentifier(kCellIdentifier);
    if (!cell)
        cell = std::make_shared<ui::TableViewCell>(ui::TableViewCellStyle::Default, kCellIdentifier);
    cell->removeContentSubviews();
    for (auto subview : std::vector<std::shared_ptr<ui::View>>(cell->subviews())) {
        if (dynamic_cast<MyToolBar*>(subview.get()))
            subview->removeFromSuperview();
    }
    cell->setAccessoryType(ui::TableViewCellAccessoryType::DisclosureIndicator);
    cell->setSelectionStyle(ui::TableViewCellSelectionStyle::Blue);
    if (indexPath.section == 0 && indexPath.row >= 0 && indexPath.row < static_cast<int>(_arrGroups.size()))
        buildRow(*cell, _arrGroups[static_cast<std::size_t>(indexPath.row)], indexPath.row);
    return cell;
}

void GroupViewController::buildRow(ui::TableViewCell& cell, const GroupObject& group, int row)
{
    double u = rowOffset();
    auto& content = cell.contentView();

    auto name = std::make_shared<ui::Label>(ui::Rect { 5 + u, 0, 205, kRowHeight });
    name->setFont(ui::Font::boldSystemFontOfSize(18));
    name->setBackgroundColor(ui::Color::clearColor());
    name->setText(rowName(group));
    name->setTextColor(rowNameColor(group));
    content.addSubview(name);

    auto badge = std::make_shared<ui::Label>(ui::Rect { 216 + u, 9, 32, 24 });
    badge->setFont(ui::Font::systemFontOfSize(14));
    badge->setTextColor(ui::Color::whiteColor());
    badge->setTextAlignment(ui::TextAlignment::Center);
    badge->setAdjustsFontSizeToFitWidth(true);
    badge->setBackgroundColor(ui::Color::lightGrayColor());
    badge->setText(std::to_string(rowBadgeNumber(group)));
    badge->setAccessibilityIdentifier("groups.badge." + std::to_string(row));
    content.addSubview(badge);

    if (group.groupType == GroupKinds::kLocalGroupType) {
        auto tag = std::make_shared<ui::Label>(ui::Rect { 0 + u, 1, 100, 8 });
        tag->setFont(ui::Font::systemFontOfSize(8));
        tag->setTextColor(ui::Color::redColor());
        tag->setBackgroundColor(ui::Color::clearColor());
        tag->setText(kLocalTagText);
        content.addSubview(tag);
    }

    auto menu = std::make_shared<MyToolBar>(ui::Rect { 254 + u, 0, 40, kRowHeight });
    auto item = std::make_shared<ui::BarButtonItem>(ui::Image::named("btn_menu_top.png"), ui::BarButtonItemStyle::Bordered,
                                                    [this](ui::BarButtonItem& sender) { editGroupContacts(sender); });
    item->setTag(row);
    item->setAccessibilityIdentifier("groups.menu." + std::to_string(row));
    menu->setItems({ item });
    // The disclosure indicator narrows the content view to 287 points, and a touch outside a
    // view's bounds never reaches its subviews: inside the content view most of the button
    // would open the group instead of its menu. On the row itself the button sits at the
    // same place and takes every touch on it.
    cell.addSubview(menu);
}

void GroupViewController::didSelectRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath)
{
    tableView.deselectRowAtIndexPath(indexPath, true);
    if (indexPath.row < 0 || indexPath.row >= static_cast<int>(_arrGroups.size()))
        return;
    GroupObject group = _arrGroups[static_cast<std::size_t>(indexPath.row)];
    // Loading a big group takes a moment: the overlay goes up first and the load waits for
    // the next turn of the run loop, so the overlay is drawn before the work starts.
    if (auto* tabs = tabBarController(); tabs && _waitView)
        tabs->view()->addSubview(_waitView);
    std::weak_ptr<ViewController> weak = weak_from_this();
    foundation::RunLoop::main().performAfterDelay(0, weak, [weak, group] {
        if (auto self = std::static_pointer_cast<GroupViewController>(weak.lock()))
            self->loadGroupContact(group);
    });
}

void GroupViewController::loadGroupContact(const GroupObject& group)
{
    auto screen = GroupContactsViewController::create(*this, group, _screens);
    if (auto* navigation = navigationController())
        navigation->pushViewController(screen, true);
    if (_waitView)
        _waitView->removeFromSuperview();
}

// ---- The row menu ----

void GroupViewController::editGroupContacts(ui::BarButtonItem& sender)
{
    int row = sender.tag();
    if (row < 0 || row >= static_cast<int>(_arrGroups.size()))
        return;
    _sendGroupObj = _arrGroups[static_cast<std::size_t>(row)];
    if (auto previous = _menuSheet.lock())
        previous->setDelegate(nullptr);
    _menuSheet = GroupMenu::show(*_sendGroupObj, this);
}

void GroupViewController::clickedButtonAtIndex(ui::ActionSheet&, int buttonIndex)
{
    if (!_sendGroupObj)
        return;
    GroupMenu::perform(*_sendGroupObj, buttonIndex, *this);
}

void GroupViewController::pushGroupScreen(const GroupScreens::Screen& screen)
{
    if (screen && navigationController())
        navigationController()->pushViewController(screen, true);
}

void GroupViewController::showSendGroupMailView()
{
    if (_sendGroupObj && _screens.makeGroupSendMailViewController)
        pushGroupScreen(_screens.makeGroupSendMailViewController(*_sendGroupObj, std::nullopt));
}

void GroupViewController::showSendGroupSmsView()
{
    if (_sendGroupObj && _screens.makeGroupSendSMSViewController)
        pushGroupScreen(_screens.makeGroupSendSMSViewController(*_sendGroupObj, std::nullopt));
}

void GroupViewController::showMemberEditView()
{
    if (!_sendGroupObj || !_screens.makeGroupMemberEditViewController)
        return;
    _memberEditViewController.reset();
    _memberEditViewController = _screens.makeGroupMemberEditViewController(*this, *_sendGroupObj);
    if (_memberEditViewController)
        presentViewController(GroupPresentation::wrapInOpaqueNavigation(_memberEditViewController), true);
}

void GroupViewController::groupMemberEditDone(CommonViewController& controller)
{
    dismissViewControllerAnimated(true);
    if (_memberEditViewController.get() == &controller)
        _memberEditViewController.reset();
    reloadViewData();
    resetTabBarFrameLater();
}

// ---- Group editing ----

void GroupViewController::editGroup()
{
    if (!_screens.makeGroupEditViewController)
        return;
    if (auto editor = _screens.makeGroupEditViewController(*this))
        GroupPresentation::presentFromKeyWindowRoot(GroupPresentation::wrapInOpaqueNavigation(editor));
}

void GroupViewController::groupEditDone(CommonViewController& controller)
{
    reloadRows();
    controller.dismissViewControllerAnimated(true);
    resetTabBarFrameLater();
}

// ---- A new person ----

void GroupViewController::addContat()
{
    _newPersonForm = GroupPresentation::presentNewPersonForm(*this);
}

void GroupViewController::didCompleteWithNewPerson(services::NewPersonViewController& controller, const contactstore::PersonRef& person)
{
    if (auto contact = Contact::contactWithRecord(person)) {
        removeGroupSelectNav();
        GroupScreens::Screen chooser;
        if (_screens.makeGroupSelectViewController)
            chooser = _screens.makeGroupSelectViewController(*this, contact->recordID(), std::nullopt, true, std::nullopt);
        if (chooser)
            _groupSelectNav = GroupPresentation::layChooserOverKeyWindow(chooser);
    }
    controller.setNewPersonViewDelegate(nullptr);
    controller.dismissViewControllerAnimated(true);
    resetTabBarFrameLater();
}

void GroupViewController::reloadRows()
{
    initData();
    if (_myTableView)
        _myTableView->reloadData();
}

void GroupViewController::groupSelectedDone(CommonViewController&)
{
    reloadRows();
}

void GroupViewController::groupSelectedCancel(CommonViewController&)
{
    reloadRows();
}

void GroupViewController::removeGroupSelectNav()
{
    if (!_groupSelectNav)
        return;
    if (auto* shown = _groupSelectNav->viewIfLoaded())
        shown->removeFromSuperview();
    _groupSelectNav.reset();
}

} // namespace tessaro

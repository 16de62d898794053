#include "screens/groups/GroupContactsViewController.h"

#include "app/AppNotification.h"
#include "app/GroupKinds.h"
#include "app/MyToolBar.h"
#include "app/MyUIBarButtonItem.h"
#include "app/Utility.h"
#include "platform/foundation/LocalizedStrings.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Image.h"
#include "platform/ui/LocalizedIndexedCollation.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TableView.h"
#include "screens/groups/GroupMenu.h"
#include "screens/groups/GroupPersons.h"
#include "screens/groups/GroupPresentation.h"
#include "screens/groups/PersonIndexSections.h"

namespace tessaro {

namespace {

const std::string kCellIdentifier = "GroupContactCell";

} // namespace

std::shared_ptr<GroupContactsViewController> GroupContactsViewController::create(CommonViewController& controller, GroupObject groupObj,
                                                                                 GroupScreens screens)
{
    return std::make_shared<GroupContactsViewController>(controller, std::move(groupObj), std::move(screens));
}

GroupContactsViewController::GroupContactsViewController(CommonViewController& controller, GroupObject groupObj, GroupScreens screens)
    : _controller(&controller)
    , _groupObj(std::move(groupObj))
    , _screens(std::move(screens))
{
    initData();
    addBarButton();
}

GroupContactsViewController::~GroupContactsViewController()
{
    if (auto sheet = _menuSheet.lock())
        sheet->setDelegate(nullptr);
    if (auto form = _newPersonForm.lock())
        form->setNewPersonViewDelegate(nullptr);
    removeGroupSelectNav();
}

void GroupContactsViewController::loadView()
{
    CommonViewController::loadView();
    view()->setBackgroundColor(ui::Color::whiteColor());
}

void GroupContactsViewController::viewDidLoad()
{
    auto& page = *view();
    buildSearchableList(page, { 0, 0, page.bounds().width(), 317.0 + Utility::iPhone4to5SubSize() }, "groupcontacts");
}

void GroupContactsViewController::addBarButton()
{
    setTitle(Utility::sharedUtility().getGroupName(_groupObj));
    _barToolbar = std::make_shared<MyToolBar>(ui::Rect { 0, 0, 144, 44.2 });
    _barToolbar->setBarStyle(ui::BarStyle::Default);
    _barToolbar->setAlpha(0.8);

    auto flexible = [] { return std::make_shared<ui::BarButtonItem>(ui::BarButtonSystemItem::FlexibleSpace, nullptr); };
    auto edit = std::make_shared<ui::BarButtonItem>(ui::BarButtonSystemItem::Edit, [this](ui::BarButtonItem&) { editSelectedContact(); });
    edit->setStyle(ui::BarButtonItemStyle::Bordered);
    edit->setAccessibilityIdentifier("groupcontacts.edit");
    if (Utility::isIOS7()) {
        auto add = std::make_shared<ui::BarButtonItem>(foundation::localized("AddContactButtonTitle"), ui::BarButtonItemStyle::Bordered,
                                                       [this](ui::BarButtonItem&) { addContat(); });
        add->setAccessibilityIdentifier("groupcontacts.add");
        _barToolbar->setItems({ flexible(), edit, add });
    } else {
        auto menu = std::make_shared<ui::BarButtonItem>(ui::Image::named("btn_menu_top.png"), ui::BarButtonItemStyle::Bordered,
                                                        [this](ui::BarButtonItem&) { editGroupContacts(); });
        menu->setAccessibilityIdentifier("groupcontacts.menu");
        auto add = std::make_shared<ui::BarButtonItem>(ui::BarButtonSystemItem::Add, [this](ui::BarButtonItem&) { addContat(); });
        add->setStyle(ui::BarButtonItemStyle::Bordered);
        add->setAccessibilityIdentifier("groupcontacts.add");
        _barToolbar->setItems({ flexible(), edit, flexible(), menu, flexible(), add });
    }
    navigationItem().setRightBarButtonItem(std::make_shared<ui::BarButtonItem>(_barToolbar));
}

// ---- Data ----

void GroupContactsViewController::initData()
{
    // All Contacts is the whole book: its search goes through the book's search text at
    // once, without listing everyone first.
    if (_isSearch && GroupKinds::intValue(_groupObj.groupID) == -1) {
        showMatches(PersonIndexSections::bookMatchesByName(searchText(), ui::LocalizedIndexedCollation::currentCollation()));
        return;
    }
    showPersons(GroupPersons::personsOfGroup(_groupObj));
}

void GroupContactsViewController::reloadViewData()
{
    PersonSectionsViewController::reloadViewData();
    if (_editSelectedContactViewController)
        _editSelectedContactViewController->reloadViewData();
    if (_memberEditViewController)
        _memberEditViewController->reloadViewData();
}

bool GroupContactsViewController::isNoGroupList() const
{
    return GroupKinds::intValue(_groupObj.groupID) == -2;
}

// ---- Rows ----

double GroupContactsViewController::heightForRowAtIndexPath(ui::TableView&, const ui::IndexPath&)
{
    return kRowHeight;
}

std::shared_ptr<ui::TableViewCell> GroupContactsViewController::cellForRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath)
{
    auto cell = emptyPersonCell(tableView, kCellIdentifier);
    cell->setSelectionStyle(ui::TableViewCellSelectionStyle::Blue);
    if (const Contact* person = personAt(indexPath))
        buildRow(*cell, *person, indexPath);
    return cell;
}

void GroupContactsViewController::buildRow(ui::TableViewCell& cell, const Contact& person, const ui::IndexPath& indexPath)
{
    double u = rowOffset();
    auto& content = cell.contentView();
    addPersonPieces(content, person, u, 140 - u, 140 - u);

    if (isNoGroupList()) {
        auto bar = std::make_shared<MyToolBar>(ui::Rect { 186 - u, 0, 110, kRowHeight });
        auto button = std::make_shared<MyUIBarButtonItem>(foundation::localized("SetToGroupTitle"), ui::BarButtonItemStyle::Bordered,
                                                          [this](ui::BarButtonItem& sender) { setGroup(sender); });
        button->setIndexPath(indexPath);
        button->setAccessibilityIdentifier("groupcontacts.setGroup." + std::to_string(indexPath.section) + "." + std::to_string(indexPath.row));
        bar->setItems({ button });
        content.addSubview(bar);
    }

    addExchangeTagIfAny(content, person, u);
}

void GroupContactsViewController::didSelectRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath)
{
    if (const Contact* person = personAt(indexPath)) {
        // The notification's handler may reload this screen: post a copy of the person.
        Contact shown = *person;
        AppNotification::postShowDetail(shown);
    }
    tableView.deselectRowAtIndexPath(indexPath, false);
}

// ---- Opening other screens ----

void GroupContactsViewController::removeGroupSelectNav()
{
    if (!_groupSelectNav)
        return;
    if (_groupSelectPresented && _groupSelectNav->presentingViewController())
        _groupSelectNav->dismissViewControllerAnimated(false);
    else if (auto* shown = _groupSelectNav->viewIfLoaded())
        shown->removeFromSuperview();
    _groupSelectNav.reset();
    _groupSelectPresented = false;
}

void GroupContactsViewController::setGroup(ui::BarButtonItem& sender)
{
    auto* button = dynamic_cast<MyUIBarButtonItem*>(&sender);
    const Contact* person = button ? personAt(button->indexPath()) : nullptr;
    if (!person || !_screens.makeGroupSelectViewController)
        return;
    contactstore::RecordID contactID = person->recordID();
    removeGroupSelectNav();
    auto chooser = _screens.makeGroupSelectViewController(*this, contactID, _groupObj, false, std::nullopt);
    if (!chooser)
        return;
    _groupSelectNav = GroupPresentation::wrapInOpaqueNavigation(chooser);
    _groupSelectNav->view()->setFrame({ 0, 0, 320, 460.0 + Utility::iPhone4to5SubSize() });
    _groupSelectPresented = true;
    GroupPresentation::presentFromKeyWindowRoot(_groupSelectNav);
}

void GroupContactsViewController::editSelectedContact()
{
    if (!_screens.makeEditSelectedContactViewController)
        return;
    _editSelectedContactViewController.reset();
    _editSelectedContactViewController = _screens.makeEditSelectedContactViewController(*this, _groupObj);
    if (_editSelectedContactViewController)
        GroupPresentation::presentFromKeyWindowRoot(GroupPresentation::wrapInOpaqueNavigation(_editSelectedContactViewController));
}

void GroupContactsViewController::editGroupContacts()
{
    if (auto previous = _menuSheet.lock())
        previous->setDelegate(nullptr);
    _menuSheet = GroupMenu::show(_groupObj, this);
}

void GroupContactsViewController::clickedButtonAtIndex(ui::ActionSheet&, int buttonIndex)
{
    GroupMenu::perform(_groupObj, buttonIndex, *this);
}

void GroupContactsViewController::showSendGroupMailView()
{
    if (!_screens.makeGroupSendMailViewController || !navigationController())
        return;
    if (auto screen = _screens.makeGroupSendMailViewController(_groupObj, std::nullopt))
        navigationController()->pushViewController(screen, true);
}

void GroupContactsViewController::showSendGroupSmsView()
{
    if (!_screens.makeGroupSendSMSViewController || !navigationController())
        return;
    if (auto screen = _screens.makeGroupSendSMSViewController(_groupObj, std::nullopt))
        navigationController()->pushViewController(screen, true);
}

void GroupContactsViewController::showMemberEditView()
{
    if (GroupKinds::isPseudoGroup(_groupObj) || !_screens.makeGroupMemberEditViewController)
        return;
    _memberEditViewController.reset();
    _memberEditViewController = _screens.makeGroupMemberEditViewController(*this, _groupObj);
    if (_memberEditViewController)
        GroupPresentation::presentFromKeyWindowRoot(GroupPresentation::wrapInOpaqueNavigation(_memberEditViewController));
}

void GroupContactsViewController::addContat()
{
    _newPersonForm = GroupPresentation::presentNewPersonForm(*this);
}

// ---- What the opened screens report ----

void GroupContactsViewController::reloadAfterModalScreen(CommonViewController& controller, std::shared_ptr<CommonViewController>& held)
{
    // Keep the screen alive through its own dismissal: the caller may be running inside it.
    auto keep = held;
    controller.dismissViewControllerAnimated(true);
    if (held.get() == &controller)
        held.reset();
    if (_controller)
        _controller->reloadViewData();
    reloadViewData();
    resetTabBarFrameLater();
}

void GroupContactsViewController::editSelectedContactDone(CommonViewController& controller)
{
    reloadAfterModalScreen(controller, _editSelectedContactViewController);
}

void GroupContactsViewController::groupMemberEditDone(CommonViewController& controller)
{
    reloadAfterModalScreen(controller, _memberEditViewController);
}

void GroupContactsViewController::groupSelectedDone(CommonViewController& chooser)
{
    reloadViewData();
    if (_controller)
        _controller->reloadViewData();
    if (_groupSelectPresented)
        chooser.dismissViewControllerAnimated(true);
    resetTabBarFrameLater();
}

void GroupContactsViewController::groupSelectedCancel(CommonViewController& chooser)
{
    groupSelectedDone(chooser);
}

void GroupContactsViewController::didCompleteWithNewPerson(services::NewPersonViewController& controller, const contactstore::PersonRef& person)
{
    if (auto contact = Contact::contactWithRecord(person)) {
        removeGroupSelectNav();
        // Opened from a real group the chooser starts at that group, so confirming it puts
        // the new person where the user was looking; the lists of persons without a phone
        // number or mail address are no group to put anyone into.
        std::optional<GroupObject> startGroup = _groupObj;
        if (_groupObj.groupID == GroupKinds::kNoNumberGroupID || _groupObj.groupID == GroupKinds::kNoEmailGroupID)
            startGroup.reset();
        GroupScreens::Screen chooser;
        if (_screens.makeGroupSelectViewController)
            chooser = _screens.makeGroupSelectViewController(*this, contact->recordID(), startGroup, true, std::nullopt);
        if (chooser) {
            _groupSelectNav = GroupPresentation::layChooserOverKeyWindow(chooser);
            _groupSelectPresented = false;
        }
    }
    controller.setNewPersonViewDelegate(nullptr);
    controller.dismissViewControllerAnimated(true);
    resetTabBarFrameLater();
}

} // namespace tessaro

#include "screens/groups/GroupContactsViewController.h"

#include "addressbook/AddressBookQueries.h"
#include "app/AppNotification.h"
#include "app/GroupKinds.h"
#include "app/MyToolBar.h"
#include "app/MyUIBarButtonItem.h"
#include "app/Utility.h"
#include "platform/foundation/LocalizedStrings.h"
#include "platform/foundation/Log.h"
#include "platform/ui/Application.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/LocalizedIndexedCollation.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/SearchDisplayController.h"
#include "platform/ui/TableView.h"
#include "platform/ui/Window.h"
#include "screens/groups/GroupMenu.h"
#include "screens/groups/GroupPersons.h"
#include "screens/groups/GroupViewController.h"
#include "screens/groups/PersonIndexSections.h"

namespace tessaro {

namespace {

const std::string kCellIdentifier = "GroupContactCell";
constexpr double kSquare = 48;

double rowOffset()
{
    return Utility::isIOS7() ? 10 : 0;
}

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

std::shared_ptr<const ui::Image> photoOf(const Contact& person)
{
    if (auto data = person.image()) {
        if (auto image = ui::Image::fromData("photo", std::vector<std::uint8_t>(data->begin(), data->end())))
            return image;
    }
    return ui::Image::named("head.png");
}

} // namespace

std::shared_ptr<GroupContactsViewController> GroupContactsViewController::create(GroupViewController& controller, GroupObject groupObj,
                                                                                 GroupScreens screens)
{
    return std::make_shared<GroupContactsViewController>(controller, std::move(groupObj), std::move(screens));
}

GroupContactsViewController::GroupContactsViewController(GroupViewController& controller, GroupObject groupObj, GroupScreens screens)
    : _controller(&controller)
    , _groupObj(std::move(groupObj))
    , m_screens(std::move(screens))
{
    initData();
    addBarButton();
}

GroupContactsViewController::~GroupContactsViewController()
{
    if (auto sheet = m_menuSheet.lock())
        sheet->setDelegate(nullptr);
    if (auto form = m_newPersonForm.lock())
        form->setNewPersonViewDelegate(nullptr);
    removeGroupSelectNav();
    _searchDC.reset();
    if (_searchBar)
        _searchBar->setDelegate(nullptr);
    if (_myTableView) {
        _myTableView->setDataSource(nullptr);
        _myTableView->setDelegate(nullptr);
    }
}

void GroupContactsViewController::loadView()
{
    CommonViewController::loadView();
    view()->setBackgroundColor(ui::Color::whiteColor());
}

void GroupContactsViewController::viewDidLoad()
{
    auto& page = *view();
    int extra = Utility::iPhone4to5SubSize();
    _myTableView = std::make_shared<ui::TableView>(ui::Rect { 0, 0, page.bounds().width(), 317.0 + extra }, ui::TableViewStyle::Plain);
    _myTableView->setBackgroundColor(ui::Color::whiteColor());
    _myTableView->setAccessibilityIdentifier("groupcontacts.list");

    _searchBar = std::make_shared<ui::SearchBar>(ui::Rect { 0, 0, 320, ui::SearchBar::height });
    _searchBar->setAutocorrectionType(ui::TextAutocorrectionType::No);
    _searchBar->setAutocapitalizationType(ui::TextAutocapitalizationType::None);
    _searchBar->setKeyboardType(ui::KeyboardType::Default);
    _searchBar->setPlaceholder(foundation::localized("SearchBarPlaceHolderTitle"));
    _searchBar->setAccessibilityIdentifier("groupcontacts.search");
    _searchBar->setDelegate(this);
    _myTableView->setTableHeaderView(_searchBar);
    _myTableView->setDataSource(this);
    _myTableView->setDelegate(this);
    page.addSubview(_myTableView);

    _searchDC = std::make_unique<ui::SearchDisplayController>(_searchBar, *this);
    _searchDC->setSearchResultsDataSource(this);
    _searchDC->setSearchResultsDelegate(this);
    _searchDC->searchResultsTableView()->setAccessibilityIdentifier("groupcontacts.results");
}

void GroupContactsViewController::addBarButton()
{
    setTitle(Utility::sharedUtility().getGroupName(_groupObj));
    m_barToolbar = std::make_shared<MyToolBar>(ui::Rect { 0, 0, 144, 44.2 });
    m_barToolbar->setBarStyle(ui::BarStyle::Default);
    m_barToolbar->setAlpha(0.8);

    auto flexible = [] { return std::make_shared<ui::BarButtonItem>(ui::BarButtonSystemItem::FlexibleSpace, nullptr); };
    auto edit = std::make_shared<ui::BarButtonItem>(ui::BarButtonSystemItem::Edit, [this](ui::BarButtonItem&) { editSelectedContact(); });
    edit->setStyle(ui::BarButtonItemStyle::Bordered);
    edit->setAccessibilityIdentifier("groupcontacts.edit");
    if (Utility::isIOS7()) {
        auto add = std::make_shared<ui::BarButtonItem>(foundation::localized("AddContactButtonTitle"), ui::BarButtonItemStyle::Bordered,
                                                       [this](ui::BarButtonItem&) { addContat(); });
        add->setAccessibilityIdentifier("groupcontacts.add");
        m_barToolbar->setItems({ flexible(), edit, add });
    } else {
        auto menu = std::make_shared<ui::BarButtonItem>(ui::Image::named("btn_menu_top.png"), ui::BarButtonItemStyle::Bordered,
                                                        [this](ui::BarButtonItem&) { editGroupContacts(); });
        menu->setAccessibilityIdentifier("groupcontacts.menu");
        auto add = std::make_shared<ui::BarButtonItem>(ui::BarButtonSystemItem::Add, [this](ui::BarButtonItem&) { addContat(); });
        add->setStyle(ui::BarButtonItemStyle::Bordered);
        add->setAccessibilityIdentifier("groupcontacts.add");
        m_barToolbar->setItems({ flexible(), edit, flexible(), menu, flexible(), add });
    }
    navigationItem().setRightBarButtonItem(std::make_shared<ui::BarButtonItem>(m_barToolbar));
}

// ---- Data ----

void GroupContactsViewController::initData()
{
    std::vector<Contact> persons = GroupPersons::personsOfGroup(_groupObj);
    const auto& collation = ui::LocalizedIndexedCollation::currentCollation();
    _arrSection.clear();
    _arrSectionTitle.assign(1, ui::TableViewIndexSearch);
    if (_isSearch) {
        std::string text = withoutBlanks(_searchBar ? _searchBar->text() : std::string());
        auto matches = AddressBookQueries::contactsMatchingName(text, persons);
        if (!matches.empty()) {
            PersonIndexSections::sortByName(matches, collation);
            _arrSection.push_back(std::move(matches));
        }
        return;
    }
    auto sections = PersonIndexSections::build(std::move(persons), collation);
    _arrSection = std::move(sections.sections);
    _arrSectionTitle.insert(_arrSectionTitle.end(), sections.titles.begin(), sections.titles.end());
}

void GroupContactsViewController::reloadSearchResultsIfActive()
{
    if (_searchDC && _searchDC->isActive())
        _searchDC->searchResultsTableView()->reloadData();
}

void GroupContactsViewController::reloadViewData()
{
    initData();
    reloadSearchResultsIfActive();
    if (_myTableView)
        _myTableView->reloadData();
    if (_editSelectedContactViewController)
        _editSelectedContactViewController->reloadViewData();
    if (_memberEditViewController)
        _memberEditViewController->reloadViewData();
}

void GroupContactsViewController::reloadSearchData()
{
    initData();
    reloadSearchResultsIfActive();
}

bool GroupContactsViewController::isNoGroupList() const
{
    return GroupKinds::intValue(_groupObj.groupID) == -2;
}

const Contact* GroupContactsViewController::personAt(const ui::IndexPath& indexPath) const
{
    // The list keeps the counts it last loaded while a search changes the sections under
    // it, so an index path may point past what the sections hold now.
    if (indexPath.section < 0 || indexPath.section >= static_cast<int>(_arrSection.size()))
        return nullptr;
    const auto& section = _arrSection[static_cast<std::size_t>(indexPath.section)];
    if (indexPath.row < 0 || indexPath.row >= static_cast<int>(section.size()))
        return nullptr;
    return &section[static_cast<std::size_t>(indexPath.row)];
}

// ---- Table answers, for the list and the search results alike ----

int GroupContactsViewController::numberOfSectionsInTableView(ui::TableView&)
{
    return static_cast<int>(_arrSection.size());
}

int GroupContactsViewController::numberOfRowsInSection(ui::TableView&, int section)
{
    if (section < 0 || section >= static_cast<int>(_arrSection.size()))
        return 0;
    return static_cast<int>(_arrSection[static_cast<std::size_t>(section)].size());
}

double GroupContactsViewController::heightForRowAtIndexPath(ui::TableView&, const ui::IndexPath&)
{
    return kRowHeight;
}

std::string GroupContactsViewController::titleForHeaderInSection(ui::TableView&, int section)
{
    if (_isSearch || section < 0 || section + 1 >= static_cast<int>(_arrSectionTitle.size()))
        return {};
    return _arrSectionTitle[static_cast<std::size_t>(section) + 1];
}

std::vector<std::string> GroupContactsViewController::sectionIndexTitlesForTableView(ui::TableView&)
{
    if (_isSearch)
        return {};
    return _arrSectionTitle;
}

int GroupContactsViewController::sectionForSectionIndexTitle(ui::TableView&, const std::string&, int index)
{
    if (index == 0) {
        if (_myTableView && _searchBar)
            _myTableView->scrollRectToVisible(_searchBar->frame(), false);
        return -1;
    }
    return index - 1;
}

std::shared_ptr<ui::TableViewCell> GroupContactsViewController::cellForRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath)
{
    auto cell = tableView.dequeueReusableCellWithIdentifier(kCellIdentifier);
    if (!cell)
        cell = std::make_shared<ui::TableViewCell>(ui::TableViewCellStyle::Default, kCellIdentifier);
    cell->removeContentSubviews();
    cell->setAccessoryType(ui::TableViewCellAccessoryType::None);
    cell->setSelectionStyle(ui::TableViewCellSelectionStyle::Blue);
    if (const Contact* person = personAt(indexPath))
        buildRow(*cell, *person, indexPath);
    return cell;
}

ui::Size GroupContactsViewController::photoSize(const ui::Size& imageSize)
{
    double width = imageSize.width;
    double height = imageSize.height;
    // A picture whose size cannot be read still gets the whole box rather than a division
    // by zero.
    if (width <= 0 || height <= 0)
        return { kPhotoBox, kPhotoBox };
    if (width > height)
        return { kPhotoBox, kPhotoBox * height / width };
    return { kPhotoBox * width / height, kPhotoBox };
}

std::string GroupContactsViewController::personRowName(const Contact& person)
{
    std::string name = person.contactName();
    return name.empty() ? person.phonenumbers() : name;
}

std::string GroupContactsViewController::personRowDetail(const Contact& person)
{
    return person.organization().value_or(std::string()) + " " + person.jobtitle().value_or(std::string()) + " "
        + person.department().value_or(std::string());
}

void GroupContactsViewController::buildRow(ui::TableViewCell& cell, const Contact& person, const ui::IndexPath& indexPath)
{
    double u = rowOffset();
    auto& content = cell.contentView();

    auto image = photoOf(person);
    ui::Size size = photoSize(image ? image->size() : ui::Size {});
    auto photo = std::make_shared<ui::ImageView>(ui::Rect { u + (kSquare - size.width) / 2, (kSquare - size.height) / 2, size.width, size.height });
    photo->setImage(image);
    content.addSubview(photo);

    auto name = std::make_shared<ui::Label>(ui::Rect { u + kSquare, 2, 140 - u, 32 });
    name->setFont(ui::Font::boldSystemFontOfSize(18));
    name->setBackgroundColor(ui::Color::clearColor());
    name->setText(personRowName(person));
    content.addSubview(name);

    auto detail = std::make_shared<ui::Label>(ui::Rect { u + kSquare, 26, 140 - u, 22 });
    detail->setFont(ui::Font::systemFontOfSize(14));
    detail->setTextColor(ui::Color::lightGrayColor());
    detail->setBackgroundColor(ui::Color::clearColor());
    detail->setText(personRowDetail(person));
    content.addSubview(detail);

    if (isNoGroupList()) {
        auto bar = std::make_shared<MyToolBar>(ui::Rect { 186 - u, 0, 110, kRowHeight });
        auto button = std::make_shared<MyUIBarButtonItem>(foundation::localized("SetToGroupTitle"), ui::BarButtonItemStyle::Bordered,
                                                          [this](ui::BarButtonItem& sender) { setGroup(sender); });
        button->setIndexPath(indexPath);
        button->setAccessibilityIdentifier("groupcontacts.setGroup." + std::to_string(indexPath.section) + "." + std::to_string(indexPath.row));
        bar->setItems({ button });
        content.addSubview(bar);
    }

    if (AddressBookQueries::isExchangePeople(person)) {
        auto tag = std::make_shared<ui::Label>(ui::Rect { u + kSquare, 1, 100, 8 });
        tag->setFont(ui::Font::systemFontOfSize(8));
        tag->setTextColor(ui::Color::redColor());
        tag->setBackgroundColor(ui::Color::clearColor());
        tag->setText("Exchange");
        content.addSubview(tag);
    }
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

// ---- The search field ----

bool GroupContactsViewController::searchBarShouldBeginEditing(ui::SearchBar&)
{
    foundation::log("searchBarShouldBeginEditing");
    _isSearch = true;
    _isSearchCancelButtonClicked = false;
    return true;
}

void GroupContactsViewController::textDidChange(ui::SearchBar&, const std::string&)
{
    foundation::log("textDidChange");
    if (!_isSearchCancelButtonClicked && _isSearch)
        reloadSearchData();
}

void GroupContactsViewController::searchBarSearchButtonClicked(ui::SearchBar&)
{
    foundation::log("searchBarSearchButtonClicked");
}

void GroupContactsViewController::searchBarCancelButtonClicked(ui::SearchBar&)
{
    foundation::log("searchBarCancelButtonClicked");
    _isSearch = false;
    _isSearchCancelButtonClicked = true;
    reloadViewData();
}

bool GroupContactsViewController::searchBarShouldEndEditing(ui::SearchBar&)
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

// ---- Opening other screens ----

std::shared_ptr<ui::NavigationController> GroupContactsViewController::wrapInOpaqueNavigation(std::shared_ptr<ui::ViewController> screen)
{
    auto navigation = std::make_shared<ui::NavigationController>(std::move(screen));
    navigation->navigationBar().setTranslucent(false);
    return navigation;
}

void GroupContactsViewController::presentFromKeyWindowRoot(const std::shared_ptr<ui::ViewController>& screen, bool animated)
{
    auto* window = ui::Application::shared().keyWindow();
    if (auto* root = window ? window->rootViewController().get() : nullptr)
        root->presentViewController(screen, animated);
}

void GroupContactsViewController::removeGroupSelectNav()
{
    if (!_groupSelectNav)
        return;
    if (m_groupSelectPresented && _groupSelectNav->presentingViewController())
        _groupSelectNav->dismissViewControllerAnimated(false);
    else if (auto* shown = _groupSelectNav->viewIfLoaded())
        shown->removeFromSuperview();
    _groupSelectNav.reset();
    m_groupSelectPresented = false;
}

void GroupContactsViewController::setGroup(ui::BarButtonItem& sender)
{
    auto* button = dynamic_cast<MyUIBarButtonItem*>(&sender);
    const Contact* person = button ? personAt(button->indexPath()) : nullptr;
    if (!person || !m_screens.makeGroupSelectViewController)
        return;
    contactstore::RecordID contactID = person->recordID();
    removeGroupSelectNav();
    auto chooser = m_screens.makeGroupSelectViewController(*this, contactID, _groupObj, false, std::nullopt);
    if (!chooser)
        return;
    _groupSelectNav = wrapInOpaqueNavigation(chooser);
    _groupSelectNav->view()->setFrame({ 0, 0, 320, 460.0 + Utility::iPhone4to5SubSize() });
    m_groupSelectPresented = true;
    presentFromKeyWindowRoot(_groupSelectNav, true);
}

void GroupContactsViewController::editSelectedContact()
{
    if (!m_screens.makeEditSelectedContactViewController)
        return;
    _editSelectedContactViewController.reset();
    _editSelectedContactViewController = m_screens.makeEditSelectedContactViewController(*this, _groupObj);
    if (_editSelectedContactViewController)
        presentFromKeyWindowRoot(wrapInOpaqueNavigation(_editSelectedContactViewController), true);
}

void GroupContactsViewController::editGroupContacts()
{
    if (auto previous = m_menuSheet.lock())
        previous->setDelegate(nullptr);
    m_menuSheet = GroupMenu::show(_groupObj, this);
}

void GroupContactsViewController::clickedButtonAtIndex(ui::ActionSheet&, int buttonIndex)
{
    switch (GroupMenu::actionForButtonIndex(_groupObj, buttonIndex)) {
    case GroupMenu::Action::SendGroupSMS:
        showSendGroupSmsView();
        break;
    case GroupMenu::Action::SendGroupMail:
        showSendGroupMailView();
        break;
    case GroupMenu::Action::EditMembers:
        showMemberEditView();
        break;
    case GroupMenu::Action::None:
        break;
    }
}

void GroupContactsViewController::showSendGroupMailView()
{
    if (!m_screens.makeGroupSendMailViewController || !navigationController())
        return;
    if (auto screen = m_screens.makeGroupSendMailViewController(_groupObj, std::nullopt))
        navigationController()->pushViewController(screen, true);
}

void GroupContactsViewController::showSendGroupSmsView()
{
    if (!m_screens.makeGroupSendSMSViewController || !navigationController())
        return;
    if (auto screen = m_screens.makeGroupSendSMSViewController(_groupObj, std::nullopt))
        navigationController()->pushViewController(screen, true);
}

void GroupContactsViewController::showMemberEditView()
{
    if (GroupKinds::isPseudoGroup(_groupObj) || !m_screens.makeGroupMemberEditViewController)
        return;
    _memberEditViewController.reset();
    _memberEditViewController = m_screens.makeGroupMemberEditViewController(*this, _groupObj);
    if (_memberEditViewController)
        presentFromKeyWindowRoot(wrapInOpaqueNavigation(_memberEditViewController), true);
}

void GroupContactsViewController::addContat()
{
    auto form = std::make_shared<services::NewPersonViewController>();
    form->setAddressBook(Utility::sharedUtility().addressBook());
    form->setNewPersonViewDelegate(this);
    m_newPersonForm = form;
    presentFromKeyWindowRoot(wrapInOpaqueNavigation(form), true);
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
    if (m_groupSelectPresented)
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
        if (m_screens.makeGroupSelectViewController)
            chooser = m_screens.makeGroupSelectViewController(*this, contact->recordID(), startGroup, true, std::nullopt);
        if (chooser) {
            _groupSelectNav = wrapInOpaqueNavigation(chooser);
            _groupSelectNav->view()->setFrame({ 0, kGroupSelectTop, 320, 411.0 + Utility::iPhone4to5SubSize() });
            m_groupSelectPresented = false;
            if (auto* window = ui::Application::shared().keyWindow())
                window->addSubview(_groupSelectNav->view());
        }
    }
    controller.setNewPersonViewDelegate(nullptr);
    controller.dismissViewControllerAnimated(true);
    resetTabBarFrameLater();
}

} // namespace tessaro

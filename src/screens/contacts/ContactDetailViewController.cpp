#include "screens/contacts/ContactDetailViewController.h"

#include "app/MyToolBar.h"
#include "app/PersonHandoff.h"
#include "app/RootGeometry.h"
#include "app/Utility.h"
#include "platform/contactstore/MultiValue.h"
#include "platform/contactstore/Person.h"
#include "platform/foundation/LocalizedStrings.h"
#include "platform/ui/Application.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"
#include "store/DataManager.h"

#include <algorithm>

namespace tessaro {

using foundation::localized;
using namespace contactstore;

namespace {

constexpr double kToolbarWidth = 150;
constexpr double kToolbarHeight = 44;
constexpr double kToolbarPadding = 6;
constexpr double kToolbarMaximumWidth = 240;

} // namespace

std::shared_ptr<ContactDetailViewController> ContactDetailViewController::create(const Contact& contact)
{
    return std::make_shared<ContactDetailViewController>(contact);
}

ContactDetailViewController::ContactDetailViewController(Contact contact)
    : _detailContact(std::move(contact))
{
}

ContactDetailViewController::~ContactDetailViewController()
{
    if (m_personView)
        m_personView->setPersonViewDelegate(nullptr);
    if (auto alert = m_confirmation.lock())
        alert->setDelegate(nullptr);
    if (auto sheet = m_actionSheet.lock())
        sheet->setDelegate(nullptr);
    if (auto composer = m_mailComposer.lock())
        composer->setMailComposeDelegate(nullptr);
    if (auto composer = m_messageComposer.lock())
        composer->setMessageComposeDelegate(nullptr);
}

void ContactDetailViewController::loadView()
{
    // Starts just below the visible area; the root slides it up. From system 7 on it covers
    // the status bar's strip too, so the card reaches the bottom of the screen and takes
    // touches there.
    auto page = std::make_shared<ui::View>(ui::Rect { 0, RootGeometry::detailStartY(), 320, RootGeometry::busyOverlayFrame().height() });
    page->setBackgroundColor(ui::Color::whiteColor());
    page->setAccessibilityIdentifier("detail");
    setView(page);
}

void ContactDetailViewController::viewDidLoad()
{
    auto& utility = Utility::sharedUtility();
    m_toolbar = std::make_shared<MyToolBar>(ui::Rect { 0, 0, kToolbarWidth, kToolbarHeight });
    m_toolbar->setBarStyle(ui::BarStyle::Default);
    m_toolbar->setTintColor(utility.getBgColor());
    m_toolbar->setAlpha(1.0);
    auto cancel = std::make_shared<ui::BarButtonItem>(ui::BarButtonSystemItem::Cancel, [this](ui::BarButtonItem&) { cancelDetail(); });
    cancel->setAccessibilityIdentifier("detail.cancel");
    auto remove = std::make_shared<ui::BarButtonItem>(localized("DeleteButtonTitle"), ui::BarButtonItemStyle::Bordered,
                                                      [this](ui::BarButtonItem&) { deleteContact(); });
    remove->setAccessibilityIdentifier("detail.delete");
    m_toolbar->setItems({ cancel, remove });
    // Long titles in some languages need more room than the handset's English; the Edit
    // button at the right keeps its share of the bar.
    m_toolbar->layoutIfNeeded();
    double needed = kToolbarWidth;
    for (const auto& button : m_toolbar->subviews())
        needed = std::max(needed, button->frame().maxX() + kToolbarPadding);
    m_toolbar->setFrame({ 0, 0, std::min(needed, kToolbarMaximumWidth), kToolbarHeight });

    m_personView = std::make_shared<services::PersonViewController>();
    m_personView->setDisplayedPerson(_detailContact.record());
    m_personView->setAllowsEditing(true);
    m_personView->setPersonViewDelegate(this);

    _detailContactNav = std::make_shared<ui::NavigationController>(m_personView);
    auto& bar = _detailContactNav->navigationBar();
    bar.setTranslucent(false);
    bar.setTintColor(utility.getBgColor());
    addChildViewController(_detailContactNav);
    // From system 7 on the screen reaches up under the status bar; the bar's own colour
    // stands behind the status bar there, as a navigation bar at the top of the screen does.
    double statusBar = Utility::getStatusBarHeight();
    if (statusBar > 0) {
        auto behindStatusBar = std::make_shared<ui::View>(ui::Rect { 0, 0, 320, statusBar });
        behindStatusBar->setBackgroundColor(ui::barBackgroundColor(bar.barStyle(), bar.tintColor(), bar.isTranslucent()));
        view()->addSubview(behindStatusBar);
    }
    double width = ui::Screen::mainScreen().bounds().width();
    _detailContactNav->view()->setFrame({ 0, statusBar, width, 460.0 + Utility::iPhone4to5SubSize() });
    view()->addSubview(_detailContactNav->view());

    // Cancel and Delete stand at the left of the card's bar.
    auto toolbarItem = std::make_shared<ui::BarButtonItem>(m_toolbar);
    m_personView->navigationItem().setLeftBarButtonItem(toolbarItem);
    m_personView->navigationItem().setBackBarButtonItem(toolbarItem);
}

void ContactDetailViewController::viewWillAppear(bool animated)
{
    ContactDetailScreen::viewWillAppear(animated);
    // The list that was touched may still hold the keyboard (its search field); the person
    // slides over it, so the keyboard would cover the card.
    if (auto* window = view()->window())
        (void)window->endEditing();
}

// ---- Deletion ----

void ContactDetailViewController::deleteContact()
{
    auto alert = std::make_shared<ui::AlertView>(localized("DeleteContactAlertMessTitle"), localized("addScheduleStartDateLaterendDateErroMessage"),
                                                 this, localized("CancelButtonTitle"), std::vector<std::string> { "OK" });
    alert->setTag(kDeleteAlertTag);
    m_confirmation = alert;
    alert->show();
}

void ContactDetailViewController::clickedButtonAtIndex(ui::AlertView& alertView, int buttonIndex)
{
    if (alertView.tag() == kDeleteAlertTag && buttonIndex == 1)
        removeContact();
}

void ContactDetailViewController::removeContact()
{
    const RecordID recordID = _detailContact.recordID();
    Error error;
    if (!_detailContact.removeSelfFromAddressBook(&error)) {
        cancelDetail();
        auto alert = std::make_shared<ui::AlertView>(std::string(), error.localizedDescription(), nullptr, "OK");
        alert->show();
        return;
    }
    (void)DataManager::sharedDataBase().deleteFavorite(std::to_string(recordID));
    cancelDetail();
}

// ---- Touches on the person's lines ----

std::string ContactDetailViewController::cleanPhoneNumber(const std::string& text)
{
    std::string cleaned = text;
    std::erase_if(cleaned, [](char c) { return c == ' ' || c == '(' || c == ')'; });
    return cleaned;
}

bool ContactDetailViewController::shouldPerformDefaultActionForPerson(services::PersonViewController&, const PersonRef& person,
                                                                      PropertyID property, MultiValueIdentifier identifier)
{
    _strValue.clear();
    if (person) {
        PropertyType type = person->typeOfProperty(property);
        if (type == PropertyType::MultiString) {
            if (const MultiValue* multi = person->multiValue(property)) {
                if (auto index = multi->indexForIdentifier(identifier)) {
                    if (const auto* text = std::get_if<std::string>(&multi->entries()[*index].value))
                        _strValue = *text;
                }
            }
        } else if (type == PropertyType::String) {
            if (const std::string* text = person->stringValue(property))
                _strValue = *text;
        }
    }
    _strValue = cleanPhoneNumber(_strValue);

    if (Utility::isiTouch()) {
        if (property == kPersonEmailProperty) {
            sendMail();
            return false;
        }
        return true;
    }
    if (property == kPersonPhoneProperty)
        showActionSheet(kPhoneSheetTag);
    else if (property == kPersonEmailProperty)
        showActionSheet(kMailSheetTag);
    else
        return true;
    return false;
}

void ContactDetailViewController::showActionSheet(int tag)
{
    std::vector<std::string> titles { localized(tag == kPhoneSheetTag ? "CallPhoneTitle" : "SendMailTitle"), localized("SmsMmsTitle"),
                                      localized("FaceTimeTitle") };
    auto sheet = std::make_shared<ui::ActionSheet>(_strValue, this, localized("CancelButtonTitle"), std::string(), std::move(titles));
    sheet->setTag(tag);
    m_actionSheet = sheet;
    if (auto* window = ui::Application::shared().keyWindow())
        sheet->showInView(*window);
    else
        sheet->showInView(*view());
}

void ContactDetailViewController::clickedButtonAtIndex(ui::ActionSheet& actionSheet, int buttonIndex)
{
    const int tag = actionSheet.tag();
    if (tag != kPhoneSheetTag && tag != kMailSheetTag)
        return;
    switch (buttonIndex) {
    case 0:
        if (tag == kPhoneSheetTag)
            (void)PersonHandoff::call(std::to_string(_detailContact.recordID()), _strValue);
        else
            sendMail();
        break;
    case 1:
        sendSmsMms();
        break;
    case 2:
        callWithFaceTime();
        break;
    default:
        break;
    }
}

void ContactDetailViewController::callWithFaceTime()
{
    (void)PersonHandoff::callWithFaceTime(_strValue);
}

void ContactDetailViewController::sendSmsMms()
{
    m_messageComposer = PersonHandoff::sendText(*this, *this, _strValue);
}

void ContactDetailViewController::sendMail()
{
    m_mailComposer = PersonHandoff::sendMail(*this, *this, _strValue);
}

void ContactDetailViewController::didFinishWithResult(services::MailComposeViewController& controller, services::MailComposeResult,
                                                      const std::optional<std::string>&)
{
    controller.dismissViewControllerAnimated(true);
}

void ContactDetailViewController::didFinishWithResult(services::MessageComposeViewController& controller, services::MessageComposeResult)
{
    controller.dismissViewControllerAnimated(true);
}

} // namespace tessaro

#pragma once
// One person over everything: the device's person card (which shows and edits every
// property), with Cancel and Delete at the left of its bar. A touch on a phone number offers
// a call, a text message or FaceTime; on a mail address a mail, a text message or FaceTime
// to that address. On an iPod touch, which cannot phone, a mail address opens the mail at
// once and every other line does what the card itself does. Delete asks first, removes the
// person from the address book and the favourites, and hands the screen back.
//
// Every action of a touch uses the value touched, cleaned of blanks and parentheses (hyphens
// stay); the hand-off escapes it for its URL, and a call is written to the recent calls
// before the telephone takes over.
//
// Ownership: the root makes one for each person shown and lets it go when it closes; the
// screen keeps its own copy of the person, owns the navigation controller with the person
// card and the bar's toolbar. The confirmation, the action sheet and the composers are
// owned by their presentations; the screen clears their link to it if it goes first. The
// delegate (the root) is a plain pointer.

#include "addressbook/Contact.h"
#include "app/ContactDetailScreen.h"
#include "platform/services/MailComposeViewController.h"
#include "platform/services/MessageComposeViewController.h"
#include "platform/services/PersonViewController.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/AlertView.h"

#include <memory>
#include <string>

namespace ui {
class NavigationController;
}

namespace tessaro {

class MyToolBar;

class ContactDetailViewController : public ContactDetailScreen,
                                    public ui::AlertViewDelegate,
                                    public ui::ActionSheetDelegate,
                                    public services::PersonViewControllerDelegate,
                                    public services::MailComposeViewControllerDelegate,
                                    public services::MessageComposeViewControllerDelegate {
public:
    // The sheets of a touch on a phone number and on a mail address.
    static constexpr int kPhoneSheetTag = 1;
    static constexpr int kMailSheetTag = 2;
    static constexpr int kDeleteAlertTag = 0;

    static std::shared_ptr<ContactDetailViewController> create(const Contact& contact);
    // Use create(); public for std::make_shared.
    explicit ContactDetailViewController(Contact contact);
    ~ContactDetailViewController() override;

    void loadView() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;

    // The toolbar's buttons.
    using ContactDetailScreen::cancelDetail;
    void deleteContact();

    // The touched value's actions.
    void callWithFaceTime();
    void sendSmsMms();
    void sendMail();

    // The text without blanks and parentheses; hyphens and everything else stay.
    static std::string cleanPhoneNumber(const std::string& text);

    // What the card, the confirmation, the sheet and the composers report.
    bool shouldPerformDefaultActionForPerson(services::PersonViewController& personView, const contactstore::PersonRef& person,
                                             contactstore::PropertyID property, contactstore::MultiValueIdentifier identifier) override;
    void clickedButtonAtIndex(ui::AlertView& alertView, int buttonIndex) override;
    void clickedButtonAtIndex(ui::ActionSheet& actionSheet, int buttonIndex) override;
    void didFinishWithResult(services::MailComposeViewController& controller, services::MailComposeResult result,
                             const std::optional<std::string>& error) override;
    void didFinishWithResult(services::MessageComposeViewController& controller, services::MessageComposeResult result) override;

    // What the screen holds, for the shell and tests.
    const Contact& detailContact() const { return _detailContact; }
    const std::string& strValue() const { return _strValue; }
    services::PersonViewController* personView() const { return m_personView.get(); }
    MyToolBar* toolbar() const { return m_toolbar.get(); }

private:
    void showActionSheet(int tag);
    void removeContact();

    Contact _detailContact;
    std::shared_ptr<ui::NavigationController> _detailContactNav;
    std::string _strValue;
    std::shared_ptr<services::PersonViewController> m_personView;
    std::shared_ptr<MyToolBar> m_toolbar;
    std::weak_ptr<ui::AlertView> m_confirmation;
    std::weak_ptr<ui::ActionSheet> m_actionSheet;
    std::weak_ptr<services::MailComposeViewController> m_mailComposer;
    std::weak_ptr<services::MessageComposeViewController> m_messageComposer;
};

} // namespace tessaro

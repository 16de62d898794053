#pragma once
// The keypad dialer laid over the whole screen: the call button and the typed number at the
// top, a list beneath, the twelve-key pad at the bottom. While nothing is typed the list
// holds the recent calls, newest first, each under its date; once digits are typed it holds
// the persons whose numbers contain them. The typed number, or a recent call of a bare
// number, offers a call, a text message or a new person with that number (who is then put
// into a group); a person row opens the person. Every call placed here is recorded first.
//
// A recent call is stored as the person's record identifier when the number belonged to
// exactly one person, else as "isphonenumber,<number>"; a call of a person who has since
// been deleted is not listed but stays stored.
//
// The computer's keyboard types on the pad while it shows: digits, Backspace, Enter for the
// call button, Escape for the done key.
//
// Ownership: the root (the host) owns the keypad and outlives it. The keypad owns its views,
// the pad, and the group chooser laid over it after a new person was made; the action sheet,
// the message composer and the new-person form are kept alive by their showing, and let go
// of the keypad as their delegate when it goes first.

#include "addressbook/Contact.h"
#include "app/KeypadScreen.h"
#include "platform/contactstore/Constants.h"
#include "platform/services/MessageComposeViewController.h"
#include "platform/services/NewPersonViewController.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/KeyPress.h"
#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"
#include "screens/groups/GroupSelectViewControllerDelegate.h"
#include "screens/messaging/CustomNumberKeyBoardDelegate.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace ui {
class Button;
class Label;
class NavigationController;
class TableView;
} // namespace ui

namespace tessaro {

class CustomNumbleKeyboardView;

class KeyBoardViewController : public KeypadScreen,
                               public CustomNumberKeyBoardDelegate,
                               public ui::TableViewDataSource,
                               public ui::TableViewDelegate,
                               public ui::ActionSheetDelegate,
                               public services::MessageComposeViewControllerDelegate,
                               public services::NewPersonViewControllerDelegate,
                               public GroupSelectViewControllerDelegate,
                               public ui::KeyPressHandler {
public:
    // The group chooser for one new person, laid over the keypad and taking itself away.
    using GroupChooserMaker = std::function<std::shared_ptr<CommonViewController>(GroupSelectViewControllerDelegate& delegate,
                                                                                  contactstore::RecordID contactID)>;
    // A row of the list: a person, or a number that belongs to no single person.
    using Entry = std::variant<Contact, std::string>;
    using CallDate = std::chrono::system_clock::time_point;

    static constexpr double kRowHeight = 48;
    static constexpr int kActionSheetTag = 1;
    // The action sheet's buttons, cancel last.
    enum ActionButton { kCallButton = 0, kSmsButton = 1, kAddContactButton = 2, kCancelButton = 3 };
    static constexpr const char* kNumberFormPrefix = "isphonenumber";

    KeyBoardViewController(KeypadHost& controller, GroupChooserMaker makeGroupSelectViewController);
    ~KeyBoardViewController() override;

    void loadView() override;
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;

    // KeypadScreen.
    void clearAll() override;
    void reloadData() override;
    void reloadViewData() override { reloadData(); }

    // Builds the list afresh: the recent calls while nothing is typed, else the persons
    // whose numbers contain the typed digits. Scrolls it back to the top.
    void initData();

    // The call button: the action sheet for the typed number; nothing while none is typed.
    void callPhoneNumber();

    // The pad.
    void numberKeyBoardInput(int digit) override;
    void numberKeyBoardBackspace() override;
    void numberKeyBoardFinish() override;
    // The computer's keyboard: digits, Backspace, Enter (the call button), Escape (done).
    bool keyPressed(const ui::KeyPress& press) override;

    // The list.
    int numberOfRowsInSection(ui::TableView&, int section) override;
    std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath) override;
    double heightForRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override { return kRowHeight; }
    void didSelectRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath) override;
    bool canEditRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override;
    void commitEditingStyle(ui::TableView& tableView, ui::TableViewCellEditingStyle style, const ui::IndexPath& indexPath) override;

    // The action sheet of a number: call, text message, new person.
    void clickedButtonAtIndex(ui::ActionSheet& actionSheet, int buttonIndex) override;
    // Records the call of the number acted on, then hands it to the telephone.
    void callNumber();
    void sendSmsMms();
    void didFinishWithResult(services::MessageComposeViewController& controller, services::MessageComposeResult result) override;
    // The new-person form, prepared with the number acted on as the main number.
    void addContat();
    void didCompleteWithNewPerson(services::NewPersonViewController& controller, const contactstore::PersonRef& person) override;
    void groupSelectedDone(CommonViewController& chooser) override;
    void groupSelectedCancel(CommonViewController& chooser) override;

    // How a recent call of the entry is stored: the record identifier, or the number form.
    static std::string recentContactID(const Entry& entry);
    // The stored form for a call of the number: the one person it belongs to, else the
    // number itself.
    static std::string recentContactIDForNumber(const std::string& number);

    const std::string& strCallNumber() const { return _strCallNumber; }
    const std::string& strCSNNumber() const { return _strCSNNumber; }
    const std::vector<Entry>& arrRecent() const { return _arrRecent; }
    const std::vector<CallDate>& arrCallDate() const { return _arrCallDate; }
    bool isSearching() const { return !_strCallNumber.empty(); }
    ui::TableView* myTableView() const { return _myTableView.get(); }
    ui::Button* btnCall() const { return _btnCall.get(); }
    ui::Label* lblNumber() const { return _lblNumber.get(); }
    CustomNumbleKeyboardView* customKeyboardView() const { return _customKeyboardView.get(); }
    ui::NavigationController* groupSelectNav() const { return _groupSelectNav.get(); }

private:
    void showNumber();
    void showActionSheet();
    void removeGroupSelectNav();
    void addRecentRowPieces(ui::View& content, const Entry& entry, std::size_t row);
    void addSearchRowPieces(ui::View& content, const Contact& person);

    KeypadHost* _controller { nullptr };
    GroupChooserMaker m_makeGroupSelectViewController;
    std::string _strCallNumber;
    std::string _strCSNNumber;
    std::shared_ptr<ui::Label> _lblNumber;
    std::shared_ptr<ui::TableView> _myTableView;
    std::vector<Entry> _arrRecent;
    std::vector<CallDate> _arrCallDate;
    std::shared_ptr<ui::Button> _btnCall;
    std::shared_ptr<CustomNumbleKeyboardView> _customKeyboardView;
    std::shared_ptr<ui::NavigationController> _groupSelectNav;
    std::weak_ptr<ui::ActionSheet> m_actionSheet;
    std::weak_ptr<services::NewPersonViewController> m_newPersonForm;
    std::weak_ptr<services::MessageComposeViewController> m_messageComposer;
};

} // namespace tessaro

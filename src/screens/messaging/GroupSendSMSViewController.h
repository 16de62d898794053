#pragma once
// One text message to the persons of a group (or to the persons the bulk edit ticked):
// every telephone number of every person as a row with a check mark, all checked at first;
// a touch unchecks or checks a number. The filter above the list shows all rows, the
// unchecked or the checked ones. The send button hands the checked numbers, as stored, to
// the message composer; a device that cannot send text messages says so instead. Persons
// without a number have no rows.
//
// Ownership: as for every recipient list (RecipientListViewController); the composer is
// owned by its presentation, and this screen is its delegate only while it is shown.

#include "platform/services/MessageComposeViewController.h"
#include "screens/messaging/RecipientListViewController.h"
#include "screens/messaging/SendSmsPersonObject.h"

namespace tessaro {

class GroupSendSMSViewController : public RecipientListViewController, public services::MessageComposeViewControllerDelegate {
public:
    static constexpr double kRowHeight = 44;
    enum Filter { kFilterAll = 0, kFilterUnchecked = 1, kFilterChecked = 2 };

    using Sections = std::vector<std::vector<SendSmsPersonObject>>;

    // contacts: the persons to text, in order; none to text the group's persons.
    GroupSendSMSViewController(GroupObject groupObj, std::optional<std::vector<Contact>> arrContacts);
    ~GroupSendSMSViewController() override;

    void initData() override;
    void addBarButton();
    void writeSms();
    void sendSmsMms();
    void displaySmsComposerSheet();

    const Sections& arrSmsPersions() const { return _arrSmsPersions; }

    // The rows of one person, in the order of its numbers; none without a number.
    static std::vector<SendSmsPersonObject> rowsOfPerson(const Contact& person);
    // The checked numbers, section after section, as stored.
    static std::vector<std::string> checkedNumbers(const Sections& sections);

    int numberOfSectionsInTableView(ui::TableView&) override;
    int numberOfRowsInSection(ui::TableView&, int section) override;
    std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override;
    void didSelectRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override;

    void didFinishWithResult(services::MessageComposeViewController& controller, services::MessageComposeResult result) override;

protected:
    std::vector<std::string> filterTitles() const override;
    double rowHeight() const override { return kRowHeight; }
    bool rowPasses(int section, int row) const override;

private:
    const SendSmsPersonObject* rowAt(int section, int row) const;

    Sections _arrSmsPersions;
    std::weak_ptr<services::MessageComposeViewController> m_composer;
};

} // namespace tessaro

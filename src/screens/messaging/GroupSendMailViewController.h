#pragma once
// One mail to the persons of a group (or to the persons the bulk edit ticked): every address
// of every person as a row, each put into To, Cc or Bcc or left out (×) by the segments at
// its right. The filter above the list shows all rows, or only those of one choice. The
// compose button hands the three lists to the mail composer, or, on a device without one,
// to the mail program as one "mailto:" URL.
//
// A row's segment knows its row by the index path it was made for, so a person with any
// number of addresses is addressed correctly.
//
// Ownership: as for every recipient list (RecipientListViewController); the composer is
// owned by its presentation, and this screen is its delegate only while it is shown.

#include "platform/services/MailComposeViewController.h"
#include "screens/messaging/RecipientListViewController.h"
#include "screens/messaging/SendMailPersonObject.h"

namespace ui {
class BarButtonItem;
}

namespace tessaro {

class GroupSendMailViewController : public RecipientListViewController, public services::MailComposeViewControllerDelegate {
public:
    static constexpr double kRowHeight = 50;
    enum Filter { kFilterAll = 0, kFilterTo = 1, kFilterCc = 2, kFilterBcc = 3, kFilterNone = 4 };

    using Sections = std::vector<std::vector<SendMailPersonObject>>;

    // contacts: the persons to mail, in order; none to mail the group's persons.
    GroupSendMailViewController(GroupObject groupObj, std::optional<std::vector<Contact>> arrContacts);
    ~GroupSendMailViewController() override;

    void initData() override;
    void addBarButton();
    void writeMail();
    void sendMail();
    void displayComposerSheet();
    void launchMailAppOnDevice();
    // A row's segment chose `sendType` for the row.
    void segmentActionEvent(const ui::IndexPath& indexPath, int sendType);

    const Sections& arrMailPersions() const { return _arrMailPersions; }

    // The rows of one person, in the order of its addresses.
    static std::vector<SendMailPersonObject> rowsOfPerson(const Contact& person);
    // The "mailto:" URL of the rows' choices: each address escaped and followed by a comma.
    static std::string fallbackMailURL(const Sections& sections);

    int numberOfSectionsInTableView(ui::TableView&) override;
    int numberOfRowsInSection(ui::TableView&, int section) override;
    std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override;

    void didFinishWithResult(services::MailComposeViewController& controller, services::MailComposeResult result,
                             const std::optional<std::string>& error) override;

protected:
    std::vector<std::string> filterTitles() const override;
    double rowHeight() const override { return kRowHeight; }
    bool rowPasses(int section, int row) const override;

private:
    const SendMailPersonObject* rowAt(int section, int row) const;

    Sections _arrMailPersions;
    std::weak_ptr<services::MailComposeViewController> m_composer;
};

} // namespace tessaro

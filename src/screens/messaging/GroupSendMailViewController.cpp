#include "screens/messaging/GroupSendMailViewController.h"

#include "platform/foundation/LocalizedStrings.h"
#include "platform/services/URLEscaping.h"
#include "platform/ui/Application.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"

namespace tessaro {

namespace {

const std::string kMailCellIdentifier = "GroupMailCell";
const std::string kNoMailCellIdentifier = "GroupNoMailCell";
// The choices of a row, in the order of SendMailPersonObject::SendType.
const std::vector<std::string> kSendTypeTitles { "To", "Cc", "Bcc", "\xC3\x97" };

} // namespace

GroupSendMailViewController::GroupSendMailViewController(GroupObject groupObj, std::optional<std::vector<Contact>> arrContacts)
    : RecipientListViewController(std::move(groupObj), std::move(arrContacts), "groupMail")
{
    addBarButton();
}

GroupSendMailViewController::~GroupSendMailViewController()
{
    if (auto composer = m_composer.lock())
        composer->setMailComposeDelegate(nullptr);
}

void GroupSendMailViewController::addBarButton()
{
    setTitle(foundation::localized("SendGroupMailTitle"));
    auto compose = std::make_shared<ui::BarButtonItem>(ui::BarButtonSystemItem::Compose, [this](ui::BarButtonItem&) { writeMail(); });
    compose->setAccessibilityIdentifier("groupMail.compose");
    navigationItem().setRightBarButtonItem(compose);
}

std::vector<std::string> GroupSendMailViewController::filterTitles() const
{
    std::vector<std::string> titles { "All" };
    titles.insert(titles.end(), kSendTypeTitles.begin(), kSendTypeTitles.end());
    return titles;
}

// ---- Rows ----

std::vector<SendMailPersonObject> GroupSendMailViewController::rowsOfPerson(const Contact& person)
{
    std::string name = displayName(person);
    auto mails = person.emailArray();
    if (mails.empty())
        return { SendMailPersonObject { name, std::string(), std::nullopt, SendMailPersonObject::kSendNone } };
    auto labels = person.emailLabels();
    std::vector<SendMailPersonObject> rows;
    rows.reserve(mails.size());
    for (std::size_t index = 0; index < mails.size(); ++index) {
        SendMailPersonObject row { name, std::move(mails[index]), index < labels.size() ? labels[index] : std::string(),
                                   SendMailPersonObject::kSendTo };
        if (!row.hasMail())
            row.sendType = SendMailPersonObject::kSendNone;
        rows.push_back(std::move(row));
    }
    return rows;
}

void GroupSendMailViewController::initData()
{
    buildSections(_arrMailPersions, &GroupSendMailViewController::rowsOfPerson);
}

const SendMailPersonObject* GroupSendMailViewController::rowAt(int section, int row) const
{
    return rowIn(_arrMailPersions, section, row);
}

bool GroupSendMailViewController::rowPasses(int section, int row) const
{
    const SendMailPersonObject* mail = rowAt(section, row);
    if (!mail)
        return false;
    switch (filterIndex()) {
    case kFilterAll: return true;
    case kFilterTo: return mail->sendType == SendMailPersonObject::kSendTo;
    case kFilterCc: return mail->sendType == SendMailPersonObject::kSendCc;
    case kFilterBcc: return mail->sendType == SendMailPersonObject::kSendBcc;
    // Only addresses the user left out; a person without an address is nothing to leave out.
    case kFilterNone: return mail->sendType == SendMailPersonObject::kSendNone && mail->hasMail();
    default: return false;
    }
}

int GroupSendMailViewController::numberOfSectionsInTableView(ui::TableView&)
{
    return static_cast<int>(_arrMailPersions.size());
}

int GroupSendMailViewController::numberOfRowsInSection(ui::TableView&, int section)
{
    return rowsIn(_arrMailPersions, section);
}

std::shared_ptr<ui::TableViewCell> GroupSendMailViewController::cellForRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath)
{
    const SendMailPersonObject* mail = rowAt(indexPath.section, indexPath.row);
    const std::string& identifier = mail && !mail->hasMail() ? kNoMailCellIdentifier : kMailCellIdentifier;
    auto cell = tableView.dequeueReusableCellWithIdentifier(identifier);
    if (!cell)
        cell = std::make_shared<ui::TableViewCell>(ui::TableViewCellStyle::Default, identifier);
    cell->removeContentSubviews();
    cell->setSelectionStyle(ui::TableViewCellSelectionStyle::None);
    if (!mail || !rowPasses(indexPath.section, indexPath.row))
        return cell;

    auto& content = cell->contentView();
    if (!mail->hasMail()) {
        auto none = std::make_shared<ui::Label>(ui::Rect { 10, 0, 300, kRowHeight });
        none->setFont(ui::Font::systemFontOfSize(16));
        none->setTextColor(ui::Color::lightGrayColor());
        none->setBackgroundColor(ui::Color::clearColor());
        none->setText(foundation::localized("NoMailAdressTitle"));
        content.addSubview(none);
        return cell;
    }

    auto address = std::make_shared<ui::Label>(ui::Rect { 10, 4, 164, 24 });
    address->setFont(ui::Font::boldSystemFontOfSize(16));
    address->setBackgroundColor(ui::Color::clearColor());
    address->setText(mail->mail);
    content.addSubview(address);

    auto label = std::make_shared<ui::Label>(ui::Rect { 10, 28, 164, 18 });
    label->setFont(ui::Font::systemFontOfSize(14));
    label->setTextColor(ui::Color::lightGrayColor());
    label->setBackgroundColor(ui::Color::clearColor());
    label->setText(mail->mailLabels.value_or(std::string()));
    content.addSubview(label);

    auto choice = std::make_shared<ui::SegmentedControl>(kSendTypeTitles);
    choice->setFrame({ 178, 10, 136, 30 });
    choice->setSegmentedControlStyle(ui::SegmentedControlStyle::Bar);
    choice->setSelectedSegmentIndex(mail->sendType);
    choice->setAccessibilityIdentifier("groupMail.sendType." + std::to_string(indexPath.section) + "." + std::to_string(indexPath.row));
    // The rows never move while the screen lives, so the index path the control was made
    // for stays its row.
    ui::IndexPath row = indexPath;
    choice->addAction(ui::ControlEvent::ValueChanged, [this, row](ui::Control& sender) {
        segmentActionEvent(row, static_cast<ui::SegmentedControl&>(sender).selectedSegmentIndex());
    });
    content.addSubview(choice);
    return cell;
}

void GroupSendMailViewController::segmentActionEvent(const ui::IndexPath& indexPath, int sendType)
{
    if (sendType < SendMailPersonObject::kSendTo || sendType > SendMailPersonObject::kSendNone)
        return;
    SendMailPersonObject* mail = rowIn(_arrMailPersions, indexPath.section, indexPath.row);
    // The placeholder of a person without an address has nowhere to go.
    if (!mail || !mail->hasMail())
        return;
    mail->sendType = sendType;
    reloadLaterIfFiltered();
}

// ---- Sending ----

void GroupSendMailViewController::writeMail()
{
    sendMail();
}

void GroupSendMailViewController::sendMail()
{
    if (services::MailComposeViewController::canSendMail())
        displayComposerSheet();
    else
        launchMailAppOnDevice();
}

void GroupSendMailViewController::displayComposerSheet()
{
    std::vector<std::string> lists[3];
    for (const auto& section : _arrMailPersions) {
        for (const auto& mail : section) {
            if (mail.sendType >= SendMailPersonObject::kSendTo && mail.sendType <= SendMailPersonObject::kSendBcc)
                lists[mail.sendType].push_back(mail.mail);
        }
    }
    auto composer = services::MailComposeViewController::create();
    composer->setToRecipients(std::move(lists[SendMailPersonObject::kSendTo]));
    composer->setCcRecipients(std::move(lists[SendMailPersonObject::kSendCc]));
    composer->setBccRecipients(std::move(lists[SendMailPersonObject::kSendBcc]));
    composer->view()->setBackgroundColor(ui::Color::whiteColor());
    composer->setMailComposeDelegate(this);
    m_composer = composer;
    presentViewController(composer, true);
}

std::string GroupSendMailViewController::fallbackMailURL(const Sections& sections)
{
    std::string lists[3];
    for (const auto& section : sections) {
        for (const auto& mail : section) {
            if (mail.sendType < SendMailPersonObject::kSendTo || mail.sendType > SendMailPersonObject::kSendBcc)
                continue;
            // Each address travels escaped, so "?", "&", "=", "#" or "%" in it can neither
            // end its list nor add a header, and blanks or letters outside ASCII still make a
            // URL the mail program accepts. The comma after each stays as the separator.
            lists[mail.sendType] += services::URLEscaping::percentEscapeRecipient(mail.mail);
            lists[mail.sendType] += ',';
        }
    }
    return "mailto:" + lists[SendMailPersonObject::kSendTo] + "?cc=" + lists[SendMailPersonObject::kSendCc]
        + "&bcc=" + lists[SendMailPersonObject::kSendBcc];
}

void GroupSendMailViewController::launchMailAppOnDevice()
{
    (void)ui::Application::shared().openURL(fallbackMailURL(_arrMailPersions));
}

void GroupSendMailViewController::didFinishWithResult(services::MailComposeViewController& controller, services::MailComposeResult,
                                                      const std::optional<std::string>&)
{
    controller.setMailComposeDelegate(nullptr);
    composerFinished(controller);
}

} // namespace tessaro

#include "platform/services/MailComposeViewController.h"

#include "platform/foundation/Log.h"
#include "platform/services/ComposeSheetViewController.h"
#include "platform/services/URLEscaping.h"
#include "platform/ui/Application.h"

namespace services {

namespace {

using Sheet = ComposeSheetViewController;

} // namespace

std::shared_ptr<MailComposeViewController> MailComposeViewController::create()
{
    return Sheet::makeComposer<MailComposeViewController>();
}

MailComposeViewController::MailComposeViewController(std::shared_ptr<ComposeSheetViewController> sheet)
    : ui::NavigationController(sheet)
    , m_sheet(std::move(sheet))
{
    m_sheet->setTitle(Sheet::localizedOr("ComposeMailTitle", "New Message"));
    showContent();
}

MailComposeViewController::~MailComposeViewController() = default;

void MailComposeViewController::setToRecipients(std::vector<std::string> recipients)
{
    m_toRecipients = std::move(recipients);
    showContent();
}

void MailComposeViewController::setCcRecipients(std::vector<std::string> recipients)
{
    m_ccRecipients = std::move(recipients);
    showContent();
}

void MailComposeViewController::setBccRecipients(std::vector<std::string> recipients)
{
    m_bccRecipients = std::move(recipients);
    showContent();
}

void MailComposeViewController::setSubject(std::string subject)
{
    m_subject = std::move(subject);
    m_sheet->setTitle(m_subject.empty() ? Sheet::localizedOr("ComposeMailTitle", "New Message") : m_subject);
    showContent();
}

void MailComposeViewController::setMessageBody(std::string body, bool /*isHTML*/)
{
    m_body = std::move(body);
    showContent();
}

std::string MailComposeViewController::mailtoURL() const
{
    std::string url = "mailto:" + URLEscaping::recipientList(m_toRecipients);
    char separator = '?';
    auto addField = [&](const char* name, const std::string& value) {
        if (value.empty())
            return;
        url += separator;
        url += name;
        url += '=';
        url += value;
        separator = '&';
    };
    addField("cc", URLEscaping::recipientList(m_ccRecipients));
    addField("bcc", URLEscaping::recipientList(m_bccRecipients));
    addField("subject", URLEscaping::percentEscape(m_subject));
    addField("body", URLEscaping::percentEscape(m_body));
    return url;
}

void MailComposeViewController::send()
{
    if (ui::Application::shared().openURL(mailtoURL())) {
        finish(MailComposeResult::Sent, std::nullopt);
        return;
    }
    foundation::log("mail composer: the mail program did not take the mail");
    finish(MailComposeResult::Failed, Sheet::localizedOr("ComposeMailFailedMessage", "The mail could not be handed to the mail program."));
}

void MailComposeViewController::cancel()
{
    finish(MailComposeResult::Cancelled, std::nullopt);
}

void MailComposeViewController::finish(MailComposeResult result, const std::optional<std::string>& error)
{
    // Keeps the composer alive while its delegate dismisses it.
    auto keepAlive = shared_from_this();
    if (m_delegate)
        m_delegate->didFinishWithResult(*this, result, error);
}

void MailComposeViewController::showContent()
{
    std::vector<Sheet::HeaderLine> headers {
        { Sheet::localizedOr("ComposeToTitle", "To:"), Sheet::recipientsForDisplay(m_toRecipients), "compose.to" },
        { Sheet::localizedOr("ComposeCcTitle", "Cc:"), Sheet::recipientsForDisplay(m_ccRecipients), "compose.cc" },
        { Sheet::localizedOr("ComposeBccTitle", "Bcc:"), Sheet::recipientsForDisplay(m_bccRecipients), "compose.bcc" },
        { Sheet::localizedOr("ComposeSubjectTitle", "Subject:"), m_subject, "compose.subject" },
    };
    m_sheet->setContent(std::move(headers), m_body);
}

} // namespace services

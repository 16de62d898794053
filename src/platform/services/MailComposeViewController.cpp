#include "platform/services/MailComposeViewController.h"

#include "platform/foundation/LocalizedStrings.h"
#include "platform/foundation/Log.h"
#include "platform/services/ComposeSheetViewController.h"
#include "platform/services/URLEscaping.h"
#include "platform/ui/Application.h"

namespace services {

namespace {

std::string textOr(std::string_view key, const char* english)
{
    auto text = foundation::localized(key);
    return text.empty() ? std::string(english) : text;
}

std::string joinedForDisplay(const std::vector<std::string>& recipients)
{
    std::string joined;
    for (const auto& recipient : recipients) {
        if (!joined.empty())
            joined += ", ";
        joined += recipient;
    }
    return joined;
}

std::string joinedForURL(const std::vector<std::string>& recipients)
{
    std::string joined;
    for (const auto& recipient : recipients) {
        if (recipient.empty())
            continue;
        if (!joined.empty())
            joined += ',';
        joined += URLEscaping::percentEscapeRecipient(recipient);
    }
    return joined;
}

} // namespace

std::shared_ptr<MailComposeViewController> MailComposeViewController::create()
{
    // The sheet's buttons reach the composer through a pointer filled in once the composer
    // exists; the composer owns the sheet, so the pointer never outlives its target.
    auto owner = std::make_shared<MailComposeViewController*>(nullptr);
    auto sheet = std::make_shared<ComposeSheetViewController>(
        [owner] {
            if (*owner)
                (*owner)->cancel();
        },
        [owner] {
            if (*owner)
                (*owner)->send();
        });
    auto composer = std::make_shared<MailComposeViewController>(sheet);
    *owner = composer.get();
    return composer;
}

MailComposeViewController::MailComposeViewController(std::shared_ptr<ComposeSheetViewController> sheet)
    : ui::NavigationController(sheet)
    , m_sheet(std::move(sheet))
{
    m_sheet->setTitle(textOr("ComposeMailTitle", "New Message"));
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
    m_sheet->setTitle(m_subject.empty() ? textOr("ComposeMailTitle", "New Message") : m_subject);
    showContent();
}

void MailComposeViewController::setMessageBody(std::string body, bool /*isHTML*/)
{
    m_body = std::move(body);
    showContent();
}

std::string MailComposeViewController::mailtoURL() const
{
    std::string url = "mailto:" + joinedForURL(m_toRecipients);
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
    addField("cc", joinedForURL(m_ccRecipients));
    addField("bcc", joinedForURL(m_bccRecipients));
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
    finish(MailComposeResult::Failed, textOr("ComposeMailFailedMessage", "The mail could not be handed to the mail program."));
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
    std::vector<ComposeSheetViewController::HeaderLine> headers {
        { textOr("ComposeToTitle", "To:"), joinedForDisplay(m_toRecipients), "compose.to" },
        { textOr("ComposeCcTitle", "Cc:"), joinedForDisplay(m_ccRecipients), "compose.cc" },
        { textOr("ComposeBccTitle", "Bcc:"), joinedForDisplay(m_bccRecipients), "compose.bcc" },
        { textOr("ComposeSubjectTitle", "Subject:"), m_subject, "compose.subject" },
    };
    m_sheet->setContent(std::move(headers), m_body);
}

} // namespace services

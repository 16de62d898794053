#include "platform/services/MessageComposeViewController.h"

#include "platform/foundation/LocalizedStrings.h"
#include "platform/foundation/Log.h"
#include "platform/services/ComposeSheetViewController.h"
#include "platform/services/URLEscaping.h"
#include "platform/ui/Application.h"

#include <atomic>

namespace services {

namespace {

// Set once from the launch options, possibly before the main loop runs.
std::atomic<bool> g_canSendText { false };

std::string textOr(std::string_view key, const char* english)
{
    auto text = foundation::localized(key);
    return text.empty() ? std::string(english) : text;
}

} // namespace

bool MessageComposeViewController::canSendText()
{
    return g_canSendText.load();
}

void MessageComposeViewController::setCanSendText(bool canSend)
{
    g_canSendText.store(canSend);
}

std::shared_ptr<MessageComposeViewController> MessageComposeViewController::create()
{
    auto owner = std::make_shared<MessageComposeViewController*>(nullptr);
    auto sheet = std::make_shared<ComposeSheetViewController>(
        [owner] {
            if (*owner)
                (*owner)->cancel();
        },
        [owner] {
            if (*owner)
                (*owner)->send();
        });
    auto composer = std::make_shared<MessageComposeViewController>(sheet);
    *owner = composer.get();
    return composer;
}

MessageComposeViewController::MessageComposeViewController(std::shared_ptr<ComposeSheetViewController> sheet)
    : ui::NavigationController(sheet)
    , m_sheet(std::move(sheet))
{
    m_sheet->setTitle(textOr("ComposeMessageTitle", "New Message"));
    showContent();
}

MessageComposeViewController::~MessageComposeViewController() = default;

void MessageComposeViewController::setRecipients(std::vector<std::string> recipients)
{
    m_recipients = std::move(recipients);
    showContent();
}

void MessageComposeViewController::setBody(std::string body)
{
    m_body = std::move(body);
    showContent();
}

std::string MessageComposeViewController::smsURL() const
{
    std::string url = "sms:";
    bool first = true;
    for (const auto& recipient : m_recipients) {
        if (recipient.empty())
            continue;
        if (!first)
            url += ',';
        url += URLEscaping::percentEscapeRecipient(recipient);
        first = false;
    }
    if (!m_body.empty())
        url += "?body=" + URLEscaping::percentEscape(m_body);
    return url;
}

void MessageComposeViewController::send()
{
    if (ui::Application::shared().openURL(smsURL())) {
        finish(MessageComposeResult::Sent);
        return;
    }
    foundation::log("message composer: the messages program did not take the message");
    finish(MessageComposeResult::Failed);
}

void MessageComposeViewController::cancel()
{
    finish(MessageComposeResult::Cancelled);
}

void MessageComposeViewController::finish(MessageComposeResult result)
{
    auto keepAlive = shared_from_this();
    if (m_delegate)
        m_delegate->didFinishWithResult(*this, result);
}

void MessageComposeViewController::showContent()
{
    std::string recipients;
    for (const auto& recipient : m_recipients) {
        if (!recipients.empty())
            recipients += ", ";
        recipients += recipient;
    }
    m_sheet->setContent({ { textOr("ComposeToTitle", "To:"), recipients, "compose.to" } }, m_body);
}

} // namespace services

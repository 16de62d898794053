#include "platform/services/MessageComposeViewController.h"

#include "platform/foundation/Log.h"
#include "platform/services/ComposeSheetViewController.h"
#include "platform/services/URLEscaping.h"
#include "platform/ui/Application.h"

#include <atomic>

namespace services {

namespace {

using Sheet = ComposeSheetViewController;

// Set once from the launch options, possibly before the main loop runs.
std::atomic<bool> g_canSendText { false };

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
    return Sheet::makeComposer<MessageComposeViewController>();
}

MessageComposeViewController::MessageComposeViewController(std::shared_ptr<ComposeSheetViewController> sheet)
    : ui::NavigationController(sheet)
    , m_sheet(std::move(sheet))
{
    m_sheet->setTitle(Sheet::localizedOr("ComposeMessageTitle", "New Message"));
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
    std::string url = "sms:" + URLEscaping::recipientList(m_recipients);
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
    m_sheet->setContent({ { Sheet::localizedOr("ComposeToTitle", "To:"), Sheet::recipientsForDisplay(m_recipients), "compose.to" } },
                        m_body);
}

} // namespace services

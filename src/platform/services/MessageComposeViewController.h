#pragma once
// The platform's text-message composer: a sheet that shows the recipients and body a screen
// prepared, and on Send hands the message to the desktop as an "sms:" URL
// (Application::openURL). It exists only on a device that can send text messages, which the
// launch option --can-send-text says; screens ask canSendText first and fall back otherwise.
//
// Like the mail composer it never closes itself: its delegate hears how it finished and the
// presenting screen dismisses it.
//
// Ownership: whoever presents the composer owns it; the delegate is a plain pointer that its
// owner clears if it goes first.

#include "platform/ui/NavigationController.h"

#include <memory>
#include <string>
#include <vector>

namespace services {

class ComposeSheetViewController;
class MessageComposeViewController;

enum class MessageComposeResult { Cancelled, Sent, Failed };

class MessageComposeViewControllerDelegate {
public:
    virtual ~MessageComposeViewControllerDelegate() = default;
    virtual void didFinishWithResult(MessageComposeViewController& controller, MessageComposeResult result) = 0;
};

class MessageComposeViewController : public ui::NavigationController {
public:
    // False unless the device was started able to send text messages.
    static bool canSendText();
    static void setCanSendText(bool canSend);

    static std::shared_ptr<MessageComposeViewController> create();
    // Use create(); public for std::make_shared.
    explicit MessageComposeViewController(std::shared_ptr<ComposeSheetViewController> sheet);
    ~MessageComposeViewController() override;

    void setRecipients(std::vector<std::string> recipients);
    void setBody(std::string body);
    const std::vector<std::string>& recipients() const { return m_recipients; }
    const std::string& body() const { return m_body; }

    MessageComposeViewControllerDelegate* messageComposeDelegate() const { return m_delegate; }
    void setMessageComposeDelegate(MessageComposeViewControllerDelegate* delegate) { m_delegate = delegate; }

    // "sms:" with the recipients separated by commas and, when there is one, "?body=" with
    // the body; every part percent-escaped.
    std::string smsURL() const;

    void send();
    void cancel();

private:
    void showContent();
    void finish(MessageComposeResult result);

    std::shared_ptr<ComposeSheetViewController> m_sheet;
    std::vector<std::string> m_recipients;
    std::string m_body;
    MessageComposeViewControllerDelegate* m_delegate { nullptr };
};

} // namespace services

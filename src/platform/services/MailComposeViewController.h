#pragma once
// The platform's mail composer: a sheet that shows the recipients, subject and body a screen
// prepared, and on Send hands the mail to the desktop's mail program as a "mailto:" URL
// (Application::openURL). The device can always send mail here (canSendMail).
//
// The composer never closes itself: it tells its delegate how it finished (cancelled, sent,
// or failed when the desktop refused the mail), and the screen that presented it dismisses it.
//
// Ownership: whoever presents the composer owns it (through the presentation); the
// delegate is a plain pointer that its owner clears if it goes first.

#include "platform/ui/NavigationController.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace services {

class ComposeSheetViewController;
class MailComposeViewController;

enum class MailComposeResult { Cancelled, Saved, Sent, Failed };

class MailComposeViewControllerDelegate {
public:
    virtual ~MailComposeViewControllerDelegate() = default;
    // The user finished with the composer; `error` says why a send failed.
    virtual void didFinishWithResult(MailComposeViewController& controller, MailComposeResult result,
                                     const std::optional<std::string>& error)
        = 0;
};

class MailComposeViewController : public ui::NavigationController {
public:
    static bool canSendMail() { return true; }

    static std::shared_ptr<MailComposeViewController> create();
    // Use create(); public for std::make_shared.
    explicit MailComposeViewController(std::shared_ptr<ComposeSheetViewController> sheet);
    ~MailComposeViewController() override;

    void setToRecipients(std::vector<std::string> recipients);
    void setCcRecipients(std::vector<std::string> recipients);
    void setBccRecipients(std::vector<std::string> recipients);
    void setSubject(std::string subject);
    // Only plain text goes through the hand-off; an HTML body is handed on as its source.
    void setMessageBody(std::string body, bool isHTML);

    const std::vector<std::string>& toRecipients() const { return m_toRecipients; }
    const std::vector<std::string>& ccRecipients() const { return m_ccRecipients; }
    const std::vector<std::string>& bccRecipients() const { return m_bccRecipients; }
    const std::string& subject() const { return m_subject; }
    const std::string& messageBody() const { return m_body; }

    MailComposeViewControllerDelegate* mailComposeDelegate() const { return m_delegate; }
    void setMailComposeDelegate(MailComposeViewControllerDelegate* delegate) { m_delegate = delegate; }

    // The "mailto:" URL of the mail as it stands: the To addresses, then only the fields
    // that hold something, every part percent-escaped.
    std::string mailtoURL() const;

    // What the bar's buttons do.
    void send();
    void cancel();

private:
    void showContent();
    void finish(MailComposeResult result, const std::optional<std::string>& error);

    std::shared_ptr<ComposeSheetViewController> m_sheet;
    std::vector<std::string> m_toRecipients;
    std::vector<std::string> m_ccRecipients;
    std::vector<std::string> m_bccRecipients;
    std::string m_subject;
    std::string m_body;
    MailComposeViewControllerDelegate* m_delegate { nullptr };
};

} // namespace services

#include "app/PersonHandoff.h"

#include "platform/services/MailComposeViewController.h"
#include "platform/services/MessageComposeViewController.h"
#include "platform/services/URLEscaping.h"
#include "platform/ui/Application.h"
#include "platform/ui/Color.h"
#include "platform/ui/View.h"
#include "store/DataManager.h"

namespace tessaro {

std::string PersonHandoff::escapedValue(std::string_view value)
{
    // "#" is kept out of the list on purpose: unescaped it would end the URL's path, so it
    // travels as %23 and the telephone still dials it.
    return services::URLEscaping::percentEscape(value, "+*@");
}

std::string PersonHandoff::telURL(std::string_view number) { return "tel://" + escapedValue(number); }
std::string PersonHandoff::facetimeURL(std::string_view value) { return "facetime://" + escapedValue(value); }
std::string PersonHandoff::smsURL(std::string_view value) { return "sms://" + escapedValue(value); }
std::string PersonHandoff::mailURL(std::string_view address) { return "mailto://" + escapedValue(address); }

bool PersonHandoff::call(const std::string& recentContactID, std::string_view number)
{
    (void)DataManager::sharedDataBase().insertRecent(recentContactID);
    return ui::Application::shared().openURL(telURL(number));
}

bool PersonHandoff::callWithFaceTime(std::string_view value)
{
    return ui::Application::shared().openURL(facetimeURL(value));
}

std::shared_ptr<services::MessageComposeViewController> PersonHandoff::sendText(ui::ViewController& presenter,
                                                                                services::MessageComposeViewControllerDelegate& delegate,
                                                                                const std::string& recipient)
{
    if (!services::MessageComposeViewController::canSendText()) {
        (void)ui::Application::shared().openURL(smsURL(recipient));
        return nullptr;
    }
    auto composer = services::MessageComposeViewController::create();
    composer->setMessageComposeDelegate(&delegate);
    composer->setRecipients({ recipient });
    presenter.presentViewController(composer, true);
    return composer;
}

std::shared_ptr<services::MailComposeViewController> PersonHandoff::sendMail(ui::ViewController& presenter,
                                                                             services::MailComposeViewControllerDelegate& delegate,
                                                                             const std::string& address)
{
    if (!services::MailComposeViewController::canSendMail()) {
        (void)ui::Application::shared().openURL(mailURL(address));
        return nullptr;
    }
    auto composer = services::MailComposeViewController::create();
    composer->setToRecipients({ address });
    composer->view()->setBackgroundColor(ui::Color::whiteColor());
    composer->setMailComposeDelegate(&delegate);
    presenter.presentViewController(composer, true);
    return composer;
}

} // namespace tessaro

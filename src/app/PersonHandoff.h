#pragma once
// Hands one number or address of a person to the device's telephone, FaceTime, messages or
// mail, the same way from every screen that offers those actions (the contact detail, the
// keypad). The value always travels percent-escaped as UTF-8 inside "tel://", "facetime://",
// "sms://" or "mailto://": what a number or an address legitimately holds ("+", "-", "*",
// "@", digits, letters) stays readable, while "?", "&", ";", "#", blanks and letters outside
// ASCII are escaped, so a stored value can neither cut the URL short, add a header of its
// own, nor make an invalid URL that silently opens nothing.
//
// A call is written to the recent calls before it is handed over, because the telephone
// takes the user away from the application and nothing would be recorded afterwards.
//
// Stateless: the composers it presents belong to the presenting screen (through the
// presentation), and the delegate stays the presenting screen's.

#include <memory>
#include <string>
#include <string_view>

namespace services {
class MailComposeViewController;
class MailComposeViewControllerDelegate;
class MessageComposeViewController;
class MessageComposeViewControllerDelegate;
} // namespace services
namespace ui {
class ViewController;
}

namespace tessaro {

class PersonHandoff {
public:
    PersonHandoff() = delete;

    static std::string telURL(std::string_view number);
    static std::string facetimeURL(std::string_view value);
    static std::string smsURL(std::string_view value);
    static std::string mailURL(std::string_view address);

    // Records the call under `recentContactID` (a record identifier as decimal text, or the
    // "isphonenumber,<number>" form), then hands "tel://" to the telephone. False when the
    // device refused the URL; the recent call stays recorded, as the user did press Call.
    [[nodiscard]] static bool call(const std::string& recentContactID, std::string_view number);
    [[nodiscard]] static bool callWithFaceTime(std::string_view value);

    // The message composer with `recipient` as its only recipient where the device can send
    // text messages, else the "sms://" URL. No recent call is recorded for a text. The
    // composer shown comes back (null for the URL), so a presenter that may go first can
    // take its delegate link back.
    static std::shared_ptr<services::MessageComposeViewController> sendText(ui::ViewController& presenter, services::MessageComposeViewControllerDelegate& delegate,
                         const std::string& recipient);
    // The mail composer with `address` as its only To recipient where the device can send
    // mail, else the "mailto://" URL. The composer shown comes back, as for a text.
    static std::shared_ptr<services::MailComposeViewController> sendMail(ui::ViewController& presenter, services::MailComposeViewControllerDelegate& delegate,
                         const std::string& address);

private:
    static std::string escapedValue(std::string_view value);
};

} // namespace tessaro

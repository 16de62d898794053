// The mail and message composers: what they show, the URL they hand to the desktop, and how
// they tell their delegate they are done.

#include "platform/foundation/Device.h"
#include "platform/foundation/Log.h"
#include "platform/services/MailComposeViewController.h"
#include "platform/services/MessageComposeViewController.h"
#include "platform/services/URLEscaping.h"
#include "platform/ui/Application.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/View.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

using namespace services;

namespace {

struct MailSpy : MailComposeViewControllerDelegate {
    std::vector<MailComposeResult> results;
    std::vector<std::optional<std::string>> errors;
    void didFinishWithResult(MailComposeViewController&, MailComposeResult result, const std::optional<std::string>& error) override
    {
        results.push_back(result);
        errors.push_back(error);
    }
};

struct MessageSpy : MessageComposeViewControllerDelegate {
    std::vector<MessageComposeResult> results;
    void didFinishWithResult(MessageComposeViewController&, MessageComposeResult result) override { results.push_back(result); }
};

// The text of the view with the identifier, searched depth first; empty when none.
std::string textOf(ui::View& root, const std::string& identifier)
{
    if (root.accessibilityIdentifier() == identifier)
        return root.displayText();
    for (const auto& child : root.subviews()) {
        if (auto text = textOf(*child, identifier); !text.empty())
            return text;
    }
    return {};
}

class ComposerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        foundation::setLogToStandardError(false);
        ui::Application::shared().reset();
        foundation::Device::current().reset();
    }
    void TearDown() override
    {
        foundation::setLogToStandardError(true);
        ui::Application::shared().reset();
        foundation::Device::current().reset();
        MessageComposeViewController::setCanSendText(false);
    }
    // The page inside the composer, loaded.
    static ui::View& page(ui::NavigationController& composer)
    {
        return *composer.topViewController()->view();
    }
    static void tapBarButton(ui::NavigationController& composer, bool send)
    {
        auto& item = composer.topViewController()->navigationItem();
        (send ? item.rightBarButtonItem() : item.leftBarButtonItem())->trigger();
    }
};

TEST(URLEscapingTest, EveryByteOutsideTheUnreservedSetIsEscapedAsUTF8)
{
    EXPECT_EQ(URLEscaping::percentEscape("a b\nc"), "a%20b%0Ac");
    EXPECT_EQ(URLEscaping::percentEscape("Grüße 日本"), "Gr%C3%BC%C3%9Fe%20%E6%97%A5%E6%9C%AC");
    EXPECT_EQ(URLEscaping::percentEscape("x&body=y?#%+"), "x%26body%3Dy%3F%23%25%2B");
    EXPECT_EQ(URLEscaping::percentEscape("A-z_0.9~"), "A-z_0.9~");
    EXPECT_EQ(URLEscaping::percentEscape(""), "");
    EXPECT_EQ(URLEscaping::percentEscapeRecipient("ann+tag@example.org"), "ann+tag@example.org");
    EXPECT_EQ(URLEscaping::percentEscapeRecipient("a,b"), "a%2Cb");
    // Only ASCII may be kept; a kept-list cannot let a lone UTF-8 byte through.
    EXPECT_EQ(URLEscaping::percentEscape("é", "\xC3"), "%C3%A9");
}

TEST_F(ComposerTest, MailURLListsOnlyTheFieldsThatHoldSomething)
{
    auto composer = MailComposeViewController::create();
    EXPECT_EQ(composer->mailtoURL(), "mailto:");

    composer->setToRecipients({ "ann@example.org", "bob@example.org" });
    EXPECT_EQ(composer->mailtoURL(), "mailto:ann@example.org,bob@example.org");

    composer->setBccRecipients({ "eve@example.org" });
    composer->setMessageBody("Milk & eggs\nBröt", false);
    EXPECT_EQ(composer->mailtoURL(), "mailto:ann@example.org,bob@example.org?bcc=eve@example.org&body=Milk%20%26%20eggs%0ABr%C3%B6t");

    composer->setCcRecipients({ "", "cy@example.org" });
    composer->setSubject("Hi there");
    EXPECT_EQ(composer->mailtoURL(), "mailto:ann@example.org,bob@example.org?cc=cy@example.org&bcc=eve@example.org"
                                     "&subject=Hi%20there&body=Milk%20%26%20eggs%0ABr%C3%B6t");
    EXPECT_TRUE(ui::Application::isWellFormedURL(composer->mailtoURL()));
}

TEST_F(ComposerTest, MailSheetShowsRecipientsSubjectAndBody)
{
    foundation::Device::current().setLanguage("ja");
    auto japanese = MailComposeViewController::create();
    japanese->setToRecipients({ "ann@example.org" });
    EXPECT_EQ(textOf(page(*japanese), "compose.to"), "宛先: ann@example.org");
    foundation::Device::current().setLanguage("en");

    auto composer = MailComposeViewController::create();
    composer->setToRecipients({ "ann@example.org", "bob@example.org" });
    composer->setCcRecipients({ "cy@example.org" });
    composer->setMessageBody("Buy milk", false);
    auto& shown = page(*composer);
    EXPECT_EQ(textOf(shown, "compose.to"), "To: ann@example.org, bob@example.org");
    EXPECT_EQ(textOf(shown, "compose.cc"), "Cc: cy@example.org");
    EXPECT_EQ(textOf(shown, "compose.body"), "Buy milk");

    // Changes after the sheet is on screen show at once.
    composer->setMessageBody("Buy bread", false);
    EXPECT_EQ(textOf(shown, "compose.body"), "Buy bread");
}

TEST_F(ComposerTest, MailSendHandsTheURLOverAndReportsHowItWent)
{
    auto composer = MailComposeViewController::create();
    MailSpy spy;
    composer->setMailComposeDelegate(&spy);
    composer->setToRecipients({ "ann@example.org" });
    page(*composer);

    tapBarButton(*composer, true);
    EXPECT_EQ(ui::Application::shared().takeOpenedURLs(), (std::vector<std::string> { "mailto:ann@example.org" }));
    ASSERT_EQ(spy.results, (std::vector<MailComposeResult> { MailComposeResult::Sent }));
    EXPECT_FALSE(spy.errors[0]);

    // A desktop without a mail program refuses: the delegate hears of the failure, with why.
    ui::Application::shared().setURLOpener([](const std::string&) { return false; });
    tapBarButton(*composer, true);
    ASSERT_EQ(spy.results.back(), MailComposeResult::Failed);
    EXPECT_TRUE(spy.errors.back() && !spy.errors.back()->empty());

    tapBarButton(*composer, false);
    EXPECT_EQ(spy.results.back(), MailComposeResult::Cancelled);
    EXPECT_EQ(spy.results.size(), 3u);

    // Without a delegate the buttons still work and nothing breaks.
    composer->setMailComposeDelegate(nullptr);
    tapBarButton(*composer, false);
    EXPECT_EQ(spy.results.size(), 3u);
}

TEST_F(ComposerTest, MessageComposerExistsOnlyWhereTheDeviceCanText)
{
    EXPECT_FALSE(MessageComposeViewController::canSendText());
    MessageComposeViewController::setCanSendText(true);
    EXPECT_TRUE(MessageComposeViewController::canSendText());
    EXPECT_TRUE(MailComposeViewController::canSendMail());
}

TEST_F(ComposerTest, MessageSendHandsAnSmsURLWithEscapedRecipientsAndBody)
{
    MessageComposeViewController::setCanSendText(true);
    auto composer = MessageComposeViewController::create();
    MessageSpy spy;
    composer->setMessageComposeDelegate(&spy);
    composer->setRecipients({ "+1 (555) 123-4567", "", "090 1234" });
    composer->setBody("See you at 7 & bring 🍰");
    EXPECT_EQ(textOf(page(*composer), "compose.to"), "To: +1 (555) 123-4567, , 090 1234");

    tapBarButton(*composer, true);
    EXPECT_EQ(ui::Application::shared().takeOpenedURLs(),
              (std::vector<std::string> { "sms:+1%20%28555%29%20123-4567,090%201234?body=See%20you%20at%207%20%26%20bring%20%F0%9F%8D%B0" }));
    EXPECT_EQ(spy.results, (std::vector<MessageComposeResult> { MessageComposeResult::Sent }));

    composer->setRecipients({});
    composer->setBody("");
    EXPECT_EQ(composer->smsURL(), "sms:");

    // An iPod touch cannot text: the hand-off is refused and the delegate told.
    foundation::Device::current().setModel("iPod touch");
    tapBarButton(*composer, true);
    EXPECT_EQ(spy.results.back(), MessageComposeResult::Failed);
    tapBarButton(*composer, false);
    EXPECT_EQ(spy.results.back(), MessageComposeResult::Cancelled);
}

TEST_F(ComposerTest, DelegateMayDismissAndDropTheComposerFromItsCallback)
{
    struct Dropper : MailComposeViewControllerDelegate {
        std::shared_ptr<MailComposeViewController> held;
        int calls { 0 };
        void didFinishWithResult(MailComposeViewController&, MailComposeResult, const std::optional<std::string>&) override
        {
            ++calls;
            held.reset();
        }
    } dropper;
    dropper.held = MailComposeViewController::create();
    dropper.held->setMailComposeDelegate(&dropper);
    page(*dropper.held);
    auto& item = dropper.held->topViewController()->navigationItem();
    auto cancel = item.leftBarButtonItem();
    cancel->trigger();
    EXPECT_EQ(dropper.calls, 1);
    EXPECT_FALSE(dropper.held);
}

} // namespace

// The root screen as the application delegate builds it: geometry, tabs and the keypad
// tab's rule, the overlays, the app-wide notification, reloads, the return to the
// foreground, memos, the banner slot, and the access request.

#include "AppFixture.h"
#include "RootSpies.h"

#include "app/AppNotification.h"
#include "app/RootGeometry.h"
#include "app/TessaroAppDelegate.h"
#include "app/TessaroViewController.h"
#include "app/Utility.h"
#include "app/WaitView.h"
#include "platform/contactstore/AccessControl.h"
#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/Person.h"
#include "platform/foundation/Device.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/services/MailComposeViewController.h"
#include "platform/services/MessageComposeViewController.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Application.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Image.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TabBar.h"
#include "platform/ui/TabBarItem.h"
#include "platform/ui/Window.h"

#include <chrono>
#include <thread>

using tessaro::AppNotification;
using tessaro::RootGeometry;
using tessaro::TessaroAppDelegate;
using tessaro::TessaroViewController;

namespace apptest {
namespace {

class RootTest : public AppFixture {
protected:
    void TearDown() override
    {
        delegate.reset();
        AppFixture::TearDown();
    }

    void launch()
    {
        delegate = std::make_unique<TessaroAppDelegate>(spies.make());
        ASSERT_TRUE(delegate->didFinishLaunchingWithOptions());
        root = delegate->viewController().get();
        time.advance(0);
        spies.journal.clear();
    }

    Journal take() { return std::exchange(spies.journal, {}); }

    // The access answer comes on a thread of its own; this waits (a bounded while) for the
    // alert it leads to.
    ui::AlertView* waitForAlert(std::chrono::milliseconds patience = std::chrono::seconds(5))
    {
        auto deadline = std::chrono::steady_clock::now() + patience;
        while (std::chrono::steady_clock::now() < deadline) {
            time.advance(0);
            if (auto* alert = dynamic_cast<ui::AlertView*>(ui::ButtonPanel::topmostVisible()))
                return alert;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return nullptr;
    }

    tessaro::Contact addPerson(const std::string& first)
    {
        auto contact = tessaro::Contact::contact();
        contact.setFirstname(first);
        auto book = tessaro::Utility::sharedUtility().addressBook();
        EXPECT_TRUE(book->addRecord(contact.record()) && book->save());
        return contact;
    }

    static void post(const std::string& object, foundation::UserInfo info = {}, const std::string& name = AppNotification::kName)
    {
        foundation::NotificationCenter::defaultCenter().postNotification(name, object, std::move(info));
    }

    ui::View& rootView() { return *root->view(); }
    ui::View* frontmost() { return rootView().subviews().back().get(); }
    ui::View* keypadView() { return root->keyboardViewController() ? root->keyboardViewController()->viewIfLoaded() : nullptr; }

    SpyScreens spies;
    std::unique_ptr<TessaroAppDelegate> delegate;
    TessaroViewController* root { nullptr };
};

// ---- Geometry and tabs ----

TEST_F(RootTest, OnAFourInchSevenDeviceTheSlotSitsUnderTheStatusBarAndTheTabsReachTheBottom)
{
    launch();
    auto& window = *delegate->window();
    EXPECT_EQ(window.frame(), ui::Rect(0, 0, 320, 568));
    EXPECT_TRUE(window.isKeyWindow());
    EXPECT_EQ(window.rootViewController().get(), root);
    EXPECT_EQ(rootView().frame(), ui::Rect(0, 0, 320, 568));
    EXPECT_EQ(root->adTopView()->frame(), ui::Rect(0, 20, 320, 50));
    EXPECT_EQ(root->tabController()->view()->frame(), ui::Rect(0, 70, 320, 498));
    EXPECT_EQ(root->tabController()->view()->frame(), RootGeometry::tabControllerFrame());
    EXPECT_EQ(root->waitView()->frame(), ui::Rect(0, 0, 320, 568));
    EXPECT_FALSE(root->tabController()->tabBar().isTranslucent());
}

TEST_F(RootTest, OnAThreeAndAHalfInchSixDeviceEverythingStartsBelowTheStatusBar)
{
    auto& device = foundation::Device::current();
    device.setScreen(320, 480, 2.0);
    device.setSystemVersion("6.1");
    launch();
    EXPECT_EQ(delegate->window()->frame(), ui::Rect(0, 0, 320, 480));
    EXPECT_EQ(rootView().frame(), ui::Rect(0, 20, 320, 460));
    EXPECT_EQ(root->adTopView()->frame(), ui::Rect(0, 0, 320, 50));
    EXPECT_EQ(root->tabController()->view()->frame(), ui::Rect(0, 50, 320, 410));
    EXPECT_EQ(root->waitView()->frame(), ui::Rect(0, 0, 320, 460));
    EXPECT_EQ(root->settingsNavController()->tabBarItem()->image()->name(), "information.png");
}

TEST_F(RootTest, FiveFixedTabsWithTheirItemsTitlesAndOpaqueBars)
{
    foundation::Device::current().setLanguage("keys");
    launch();
    auto& tabs = *root->tabController();
    ASSERT_EQ(tabs.viewControllers().size(), 5u);
    EXPECT_EQ(tabs.selectedIndex(), 0);

    std::vector<ui::NavigationController*> stacks { root->favoriteNavViewController(), root->keyboardNavController(),
                                                    root->groupNavController(), root->memoNavController(),
                                                    root->settingsNavController() };
    for (std::size_t i = 0; i < stacks.size(); ++i) {
        EXPECT_EQ(tabs.viewControllers()[i].get(), stacks[i]) << i;
        EXPECT_FALSE(stacks[i]->navigationBar().isTranslucent()) << i;
        EXPECT_EQ(stacks[i]->navigationBar().barStyle(), ui::BarStyle::Default) << i;
        EXPECT_FALSE(stacks[i]->navigationBar().tintColor()) << i;
        EXPECT_EQ(stacks[i]->viewControllers().size(), 1u) << i;
    }

    auto favorites = root->favoriteNavViewController()->tabBarItem();
    EXPECT_EQ(favorites->systemItem(), ui::TabBarSystemItem::Favorites);
    EXPECT_EQ(favorites->tag(), 1);
    auto groups = root->groupNavController()->tabBarItem();
    EXPECT_EQ(groups->systemItem(), ui::TabBarSystemItem::Contacts);
    EXPECT_EQ(groups->tag(), 2);
    EXPECT_EQ(root->keyboardNavController()->tabBarItem()->image()->name(), "keyboard.png");
    EXPECT_EQ(root->keyboardNavController()->tabBarItem()->title(), "KeyBoardBarTitle");
    EXPECT_EQ(root->memoNavController()->tabBarItem()->image()->name(), "memo.png");
    EXPECT_EQ(root->memoNavController()->tabBarItem()->title(), "MemoTabBarTitle");
    EXPECT_EQ(root->settingsNavController()->tabBarItem()->image()->name(), "information-ios7.png");
    EXPECT_EQ(root->settingsNavController()->tabBarItem()->title(), "SettingsBarTitle");

    EXPECT_EQ(root->favoriteNavViewController()->topViewController()->title(), "FavoriteTabBarTitle");
    EXPECT_EQ(root->groupNavController()->topViewController()->title(), "GroupTabBarTitle");
    EXPECT_EQ(root->memoNavController()->topViewController()->title(), "MemoTabBarTitle");
    EXPECT_EQ(root->settingsNavController()->topViewController()->title(), "SettingsBarTitle");
    // The keypad tab holds only an empty screen.
    EXPECT_EQ(dynamic_cast<tessaro::CommonViewController*>(root->keyboardNavController()->topViewController()), nullptr);
}

// ---- The keypad ----

TEST_F(RootTest, TouchingTheKeypadTabKeepsThePreviousTabAndSlidesAClearedKeypadOverEverything)
{
    launch();
    auto& tabs = *root->tabController();
    tabs.userSelectedTab(2);
    ASSERT_EQ(tabs.selectedIndex(), 2);

    tabs.userSelectedTab(1);
    EXPECT_EQ(tabs.selectedIndex(), 2);
    ASSERT_NE(keypadView(), nullptr);
    EXPECT_EQ(frontmost(), keypadView());
    EXPECT_EQ(keypadView()->frame(), ui::Rect(0, 0, 320, 568));
    EXPECT_EQ(keypadView()->backgroundColor(), ui::Color::whiteColor());
    // It starts below the screen and slides up.
    EXPECT_GT(keypadView()->presentationFrame().y(), 0);
    EXPECT_EQ(take(), (Journal { "keypad:clearAll" }));
    time.advance(TessaroViewController::kSlideDuration);
    EXPECT_EQ(keypadView()->presentationFrame().y(), 0);
    EXPECT_EQ(take(), (Journal { "keypad:didAppear" }));
    ASSERT_EQ(spies.keypads.size(), 1u);
    EXPECT_EQ(spies.keypads[0].lock()->host, static_cast<tessaro::KeypadHost*>(root));
}

TEST_F(RootTest, TheKeypadSlidesAwayAndTheSameKeypadComesBackClearedNextTime)
{
    launch();
    auto& tabs = *root->tabController();
    tabs.userSelectedTab(1);
    time.advance(TessaroViewController::kSlideDuration);
    auto* keypad = root->keyboardViewController();
    take();

    root->removeKeyboard();
    EXPECT_EQ(keypadView()->frame().y(), 568);
    EXPECT_TRUE(keypadView()->isDescendantOf(rootView()));
    time.advance(TessaroViewController::kSlideDuration);
    EXPECT_FALSE(keypadView()->isDescendantOf(rootView()));
    EXPECT_EQ(take(), (Journal { "keypad:didDisappear" }));
    EXPECT_EQ(tabs.selectedIndex(), 0);

    tabs.userSelectedTab(1);
    EXPECT_EQ(root->keyboardViewController(), keypad);
    EXPECT_EQ(spies.keypads.size(), 1u);
    EXPECT_EQ(frontmost(), keypadView());
    time.advance(TessaroViewController::kSlideDuration);
    EXPECT_EQ(take(), (Journal { "keypad:clearAll", "keypad:didAppear" }));
    EXPECT_EQ(tabs.selectedIndex(), 0);
}

TEST_F(RootTest, AKeypadShownAgainWhileSlidingAwayStaysOnScreen)
{
    launch();
    auto& tabs = *root->tabController();
    tabs.userSelectedTab(1);
    time.advance(TessaroViewController::kSlideDuration);
    root->removeKeyboard();
    time.advance(0.2);
    tabs.userSelectedTab(1);
    time.advance(1.0);
    ASSERT_NE(keypadView(), nullptr);
    EXPECT_TRUE(keypadView()->isDescendantOf(rootView()));
    EXPECT_EQ(keypadView()->frame().y(), 0);
    EXPECT_TRUE(root->keyboardViewController()->isVisible());
}

// ---- The contact detail ----

TEST_F(RootTest, ShowDetailSlidesInADetailOfThePersonAndANewOneReplacesIt)
{
    launch();
    auto ann = addPerson("Ann");
    auto bob = addPerson("Bob");

    post(AppNotification::kNotificationNameShowDetail, { { AppNotification::kContactKey, ann } });
    ASSERT_EQ(spies.details.size(), 1u);
    auto first = spies.details[0].lock();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->contact, ann);
    EXPECT_EQ(first->delegate(), root);
    EXPECT_EQ(frontmost(), first->view().get());
    EXPECT_EQ(first->view()->frame().y(), 0);
    EXPECT_GT(first->view()->presentationFrame().y(), 400);
    time.advance(TessaroViewController::kSlideDuration);
    EXPECT_EQ(take(), (Journal { "detail:didAppear" }));
    first.reset();

    AppNotification::postShowDetail(bob);
    ASSERT_EQ(spies.details.size(), 2u);
    EXPECT_TRUE(spies.details[0].expired());
    auto second = spies.details[1].lock();
    EXPECT_EQ(second->contact, bob);
    EXPECT_EQ(root->detailViewController(), second.get());
    EXPECT_EQ(frontmost(), second->view().get());
}

TEST_F(RootTest, ClosingTheDetailSlidesItAwayLetsItGoAndReloadsEveryScreen)
{
    launch();
    AppNotification::postShowDetail(addPerson("Ann"));
    time.advance(TessaroViewController::kSlideDuration);
    take();
    auto detail = spies.details[0].lock();
    auto* detailView = detail->view().get();
    detail->close();
    EXPECT_EQ(detailView->frame().y(), 568);
    detail.reset();
    EXPECT_FALSE(spies.details[0].expired());

    time.advance(TessaroViewController::kSlideDuration);
    EXPECT_TRUE(spies.details[0].expired());
    EXPECT_EQ(root->detailViewController(), nullptr);
    EXPECT_EQ(take(), (Journal { "detail:didDisappear", "favorites:reload", "groups:reload" }));
}

TEST_F(RootTest, APersonShownWhileTheLastDetailSlidesAwayStaysOnScreen)
{
    launch();
    AppNotification::postShowDetail(addPerson("Ann"));
    time.advance(TessaroViewController::kSlideDuration);
    spies.details[0].lock()->close();
    time.advance(0.2);
    AppNotification::postShowDetail(addPerson("Bob"));
    time.advance(1.0);
    ASSERT_EQ(spies.details.size(), 2u);
    EXPECT_TRUE(spies.details[0].expired());
    auto shown = spies.details[1].lock();
    ASSERT_TRUE(shown);
    EXPECT_EQ(root->detailViewController(), shown.get());
    EXPECT_TRUE(shown->view()->isDescendantOf(rootView()));
    EXPECT_EQ(shown->view()->frame().y(), 0);
    EXPECT_TRUE(shown->isVisible());
}

TEST_F(RootTest, OnlyTheContactNotificationWithAKnownActionAndPayloadIsActedOn)
{
    launch();
    auto ann = addPerson("Ann");
    post(AppNotification::kNotificationNameShowDetail, { { AppNotification::kContactKey, ann } }, "Other");
    post("kNotificationNameSomethingElse", { { AppNotification::kContactKey, ann } });
    post(AppNotification::kNotificationNameShowDetail, { { AppNotification::kContactKey, std::string("Ann") } });
    post(AppNotification::kNotificationNameShowDetail);
    EXPECT_TRUE(spies.details.empty());
    EXPECT_EQ(root->presentedViewController(), nullptr);
    EXPECT_TRUE(ui::Application::shared().openedURLs().empty());
}

// ---- Reloads and the foreground ----

TEST_F(RootTest, AFullReloadRunsBehindTheBusyOverlayOverFavouritesAndGroupsStacksBottomFirst)
{
    launch();
    root->favoriteNavViewController()->pushViewController(std::make_shared<SpyScreen>("favorites-pushed", spies.journal), false);
    root->memoNavController()->pushViewController(std::make_shared<SpyScreen>("memos-pushed", spies.journal), false);

    root->reloadAllView();
    EXPECT_EQ(frontmost(), root->waitView());
    EXPECT_TRUE(take().empty());
    time.advance(TessaroViewController::kReloadDelay);
    EXPECT_EQ(take(), (Journal { "favorites:reload", "favorites-pushed:reload", "groups:reload" }));
    EXPECT_EQ(root->waitView()->superview(), nullptr);

    // Once the keypad exists, its list is rebuilt too.
    root->tabController()->userSelectedTab(1);
    take();
    root->doReloadAllView();
    EXPECT_EQ(take(), (Journal { "favorites:reload", "favorites-pushed:reload", "groups:reload", "keypad:reloadData" }));
}

TEST_F(RootTest, ReturningToTheForegroundReopensTheBookClearsTheKeypadAndReloadsBehindTheOverlay)
{
    launch();
    root->tabController()->userSelectedTab(1);
    time.advance(TessaroViewController::kSlideDuration);
    take();
    auto before = tessaro::Utility::sharedUtility().addressBook();
    log.clear();

    delegate->applicationWillEnterForeground();
    EXPECT_NE(tessaro::Utility::sharedUtility().addressBook(), before);
    EXPECT_TRUE(log.contains("_addressBook release"));
    EXPECT_TRUE(log.contains("applicationWillEnterForeground"));
    EXPECT_EQ(take(), (Journal { "keypad:clearAll" }));
    EXPECT_EQ(frontmost(), root->waitView());

    time.advance(TessaroViewController::kReloadDelay);
    EXPECT_EQ(take(), (Journal { "favorites:reload", "groups:reload", "keypad:reloadData" }));
    EXPECT_EQ(root->waitView()->superview(), nullptr);
}

TEST_F(RootTest, ReturningToTheForegroundBeforeTheKeypadWasUsedOnlyReloads)
{
    launch();
    delegate->applicationWillEnterForeground();
    time.advance(TessaroViewController::kReloadDelay);
    EXPECT_EQ(take(), (Journal { "favorites:reload", "groups:reload" }));
    EXPECT_EQ(root->keyboardViewController(), nullptr);
}

// ---- Memos ----

TEST_F(RootTest, AMailedMemoOpensTheMailComposerWithTheMemoAsItsOnlyContent)
{
    launch();
    AppNotification::postMemoMail("Buy milk");
    EXPECT_EQ(root->strSendMemo(), "Buy milk");
    auto* composer = dynamic_cast<services::MailComposeViewController*>(root->presentedViewController());
    ASSERT_NE(composer, nullptr);
    EXPECT_EQ(composer->messageBody(), "Buy milk");
    EXPECT_TRUE(composer->toRecipients().empty());
    EXPECT_TRUE(composer->ccRecipients().empty());
    EXPECT_TRUE(composer->bccRecipients().empty());
    EXPECT_TRUE(composer->subject().empty());
    EXPECT_EQ(composer->mailComposeDelegate(), root);
    time.advance(ui::ViewController::modalTransitionDuration);

    composer->send();
    EXPECT_EQ(ui::Application::shared().takeOpenedURLs(), (std::vector<std::string> { "mailto:?body=Buy%20milk" }));
    time.advance(ui::ViewController::modalTransitionDuration);
    EXPECT_EQ(root->presentedViewController(), nullptr);
}

TEST_F(RootTest, ATextedMemoUsesTheMessageComposerOnlyWhereTheDeviceCanText)
{
    launch();
    AppNotification::postMemoSMS("Call me\nばか");
    EXPECT_EQ(root->presentedViewController(), nullptr);
    EXPECT_EQ(ui::Application::shared().takeOpenedURLs(),
              (std::vector<std::string> { "sms://?body=Call%20me%0A%E3%81%B0%E3%81%8B" }));

    services::MessageComposeViewController::setCanSendText(true);
    AppNotification::postMemoSMS("See you");
    auto* composer = dynamic_cast<services::MessageComposeViewController*>(root->presentedViewController());
    ASSERT_NE(composer, nullptr);
    EXPECT_EQ(composer->body(), "See you");
    EXPECT_TRUE(composer->recipients().empty());
    time.advance(ui::ViewController::modalTransitionDuration);
    composer->cancel();
    time.advance(ui::ViewController::modalTransitionDuration);
    EXPECT_EQ(root->presentedViewController(), nullptr);
    EXPECT_TRUE(ui::Application::shared().openedURLs().empty());
}

TEST_F(RootTest, MemoFallbackURLsKeepSpacesLineBreaksAndLettersEscapedAsUTF8)
{
    struct Case {
        std::string memo;
        std::string mail;
        std::string sms;
    };
    for (const auto& c : std::vector<Case> {
             { "", "mailto:?cc=&bcc=&body=", "sms://?body=" },
             { "Buy milk", "mailto:?cc=&bcc=&body=Buy%20milk", "sms://?body=Buy%20milk" },
             { "line 1\r\nline 2", "mailto:?cc=&bcc=&body=line%201%0D%0Aline%202", "sms://?body=line%201%0D%0Aline%202" },
             { "Café 東京", "mailto:?cc=&bcc=&body=Caf%C3%A9%20%E6%9D%B1%E4%BA%AC", "sms://?body=Caf%C3%A9%20%E6%9D%B1%E4%BA%AC" },
             // Characters that would end the body or start a field of their own stay in it.
             { "a&cc=x?#%", "mailto:?cc=&bcc=&body=a%26cc%3Dx%3F%23%25", "sms://?body=a%26cc%3Dx%3F%23%25" },
         }) {
        EXPECT_EQ(TessaroViewController::memoMailURL(c.memo), c.mail);
        EXPECT_EQ(TessaroViewController::memoSmsURL(c.memo), c.sms);
        EXPECT_TRUE(ui::Application::isWellFormedURL(c.mail)) << c.mail;
        EXPECT_TRUE(ui::Application::isWellFormedURL(c.sms)) << c.sms;
    }
}

TEST_F(RootTest, TheMailFallbackHandsTheMemoLastReceivedToTheMailApplication)
{
    launch();
    AppNotification::postMemoMail("To do:\n- bread");
    root->launchMailAppOnDevice();
    EXPECT_EQ(ui::Application::shared().takeOpenedURLs(),
              (std::vector<std::string> { "mailto:?cc=&bcc=&body=To%20do%3A%0A-%20bread" }));
}

// ---- The banner slot ----

TEST_F(RootTest, TheBannerSlotShowsTheAdPlaceholderUntilABannerCoversIt)
{
    launch();
    auto& slot = *root->adTopView();
    EXPECT_EQ(slot.backgroundColor(), ui::Color::clearColor());
    ASSERT_EQ(slot.subviews().size(), 1u);
    auto* label = dynamic_cast<ui::Label*>(slot.subviews()[0].get());
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->frame(), ui::Rect(0, 0, 320, 50));
    EXPECT_EQ(label->text(), "Ad");
    EXPECT_EQ(label->font(), ui::Font::boldSystemFontOfSize(20));
    EXPECT_EQ(label->textColor(), ui::Color::whiteColor());
    EXPECT_EQ(label->backgroundColor(), ui::Color::blackColor());
    EXPECT_EQ(label->textAlignment(), ui::TextAlignment::Center);
}

TEST_F(RootTest, TheFirstBannerNetworkIsChosenByTheLanguageText)
{
    struct Case {
        std::string language;
        Journal requests;
    };
    for (const auto& c : std::vector<Case> {
             { "en", { "banner:attach", "banner:AdMob" } },
             { "ja", { "banner:attach", "banner:kestrel" } },
             { "keys", { "banner:attach", "banner:kestrel" } },
         }) {
        foundation::Device::current().setLanguage(c.language);
        Journal journal;
        SpyScreens screens;
        auto made = TessaroViewController::create(RootGeometry::rootViewFrame(), screens.make());
        EXPECT_EQ(screens.journal, c.requests) << c.language;
    }
}

// ---- Access to the address book ----

TEST_F(RootTest, ARefusedAccessShowsOneAlertAtLaunchAndAgainOnEveryReturn)
{
    foundation::Device::current().setLanguage("keys");
    contactstore::AccessControl::setAccessRefused(true);
    launch();
    auto* alert = waitForAlert();
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->title(), "CalAccessErrTitle");
    EXPECT_EQ(alert->message(), "CalAccessErrMessage");
    EXPECT_EQ(alert->numberOfButtons(), 1);
    EXPECT_EQ(alert->cancelButtonIndex(), 0);
    EXPECT_EQ(alert->buttonTitleAtIndex(0), "OK");
    EXPECT_EQ(alert->delegate(), nullptr);
    alert->tapButtonAtIndex(0);
    time.advance(1);
    EXPECT_EQ(ui::ButtonPanel::visiblePanels().size(), 0u);

    // The application carries on with what the book yields.
    EXPECT_EQ(tessaro::Utility::sharedUtility().getAllGroupObject().size(), 2u);

    delegate->applicationWillEnterForeground();
    EXPECT_NE(waitForAlert(), nullptr);
}

TEST_F(RootTest, SystemsWithoutTheAccessRequestSkipIt)
{
    foundation::Device::current().setSystemVersion("5.1");
    contactstore::AccessControl::setAccessRefused(true);
    launch();
    EXPECT_EQ(waitForAlert(std::chrono::milliseconds(200)), nullptr);
}

} // namespace
} // namespace apptest

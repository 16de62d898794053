#include "app/TessaroViewController.h"

#include "app/AppNotification.h"
#include "app/BannerNetworks.h"
#include "app/KeypadScreen.h"
#include "app/RootGeometry.h"
#include "app/Utility.h"
#include "app/WaitView.h"
#include "platform/foundation/LocalizedStrings.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/services/URLEscaping.h"
#include "platform/ui/Application.h"
#include "platform/ui/Image.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TabBar.h"
#include "platform/ui/TabBarItem.h"
#include "platform/ui/View.h"

namespace tessaro {

namespace {

// Runs fn with the root when the root still exists by the time a delayed call or an
// animation completion comes due.
template<typename Fn>
auto guarded(const std::weak_ptr<TessaroViewController>& weak, Fn fn)
{
    return [weak, fn = std::move(fn)](auto&&...) {
        if (auto self = weak.lock())
            fn(*self);
    };
}

void moveTo(ui::View& view, double y)
{
    ui::Rect frame = view.frame();
    frame.origin.y = y;
    view.setFrame(frame);
}

} // namespace

std::shared_ptr<TessaroViewController> TessaroViewController::create(const ui::Rect& frame, RootScreens screens)
{
    auto root = std::make_shared<TessaroViewController>(frame, std::move(screens));
    root->view();
    root->buildTabs();
    return root;
}

TessaroViewController::TessaroViewController(const ui::Rect& frame, RootScreens screens)
    : _frame(frame)
    , _screens(std::move(screens))
{
}

TessaroViewController::~TessaroViewController()
{
    // The banners go first, while the slot they sit in still exists.
    _bannerNetworks.reset();
    if (_tbController)
        _tbController->setDelegate(nullptr);
    if (_detailViewController)
        _detailViewController->setDelegate(nullptr);
}

std::weak_ptr<TessaroViewController> TessaroViewController::weakSelf()
{
    return std::static_pointer_cast<TessaroViewController>(shared_from_this());
}

void TessaroViewController::loadView()
{
    auto root = std::make_shared<ui::View>(_frame);
    root->setBackgroundColor(ui::Color::whiteColor());
    root->setAccessibilityIdentifier("root");
    setView(root);
}

void TessaroViewController::viewDidLoad()
{
    _notifyCenter = &foundation::NotificationCenter::defaultCenter();
    _contactObservation = _notifyCenter->addObserver(AppNotification::kName, std::nullopt,
                                                      [this](const foundation::Notification& notification) {
                                                          trackNotifications(notification);
                                                      });
    buildBannerSlot();
}

void TessaroViewController::buildBannerSlot()
{
    _adTopView = std::make_shared<ui::View>(RootGeometry::bannerSlotFrame());
    _adTopView->setBackgroundColor(ui::Color::clearColor());
    _adTopView->setOpaque(false);
    _adTopView->setAccessibilityIdentifier("banner.slot");
    view()->addSubview(_adTopView);

    _adPlaceholder = std::make_shared<ui::Label>(RootGeometry::bannerFrame());
    _adPlaceholder->setText("Ad");
    _adPlaceholder->setFont(ui::Font::boldSystemFontOfSize(20));
    _adPlaceholder->setTextColor(ui::Color::whiteColor());
    _adPlaceholder->setBackgroundColor(ui::Color::blackColor());
    _adPlaceholder->setTextAlignment(ui::TextAlignment::Center);
    _adPlaceholder->setAccessibilityIdentifier("banner.placeholder");
    _adTopView->addSubview(_adPlaceholder);

    if (_screens.makeBannerNetworks)
        _bannerNetworks = _screens.makeBannerNetworks();
    if (!_bannerNetworks)
        return;
    _bannerNetworks->attach(*_adTopView, *this);
    if (foundation::localized("Language") == "en")
        _bannerNetworks->showAdMob();
    else
        _bannerNetworks->showKestrel();
}

std::shared_ptr<ui::NavigationController> TessaroViewController::wrapInNavigation(
    const std::shared_ptr<CommonViewController>& screen, const std::string& titleKey)
{
    std::shared_ptr<ui::ViewController> content = screen;
    if (!content)
        content = std::make_shared<ui::ViewController>();
    content->setTitle(foundation::localized(titleKey));
    auto navigation = std::make_shared<ui::NavigationController>(content);
    navigation->navigationBar().setTranslucent(false);
    navigation->navigationBar().setBarStyle(ui::BarStyle::Default);
    navigation->navigationBar().setTintColor(Utility::sharedUtility().getBgColor());
    return navigation;
}

void TessaroViewController::buildTabs()
{
    _waitView = std::make_shared<WaitView>(RootGeometry::busyOverlayFrame());

    auto make = [](const std::function<std::shared_ptr<CommonViewController>()>& factory) {
        return factory ? factory() : nullptr;
    };
    _favoriteNavViewController = wrapInNavigation(make(_screens.makeFavoriteViewController), "FavoriteTabBarTitle");
    // The keypad tab holds an empty screen: the keypad itself slides over everything instead.
    _keyboardNavController = wrapInNavigation(nullptr, "KeyBoardBarTitle");
    _groupNavController = wrapInNavigation(make(_screens.makeGroupViewController), "GroupTabBarTitle");
    _memoNavController = wrapInNavigation(make(_screens.makeMemoViewController), "MemoTabBarTitle");
    _settingsNavController = wrapInNavigation(make(_screens.makeSettingsViewController), "SettingsBarTitle");

    _favoriteNavViewController->setTabBarItem(std::make_shared<ui::TabBarItem>(ui::TabBarSystemItem::Favorites, 1));
    _keyboardNavController->setTabBarItem(
        std::make_shared<ui::TabBarItem>(foundation::localized("KeyBoardBarTitle"), ui::Image::named("keyboard.png"), 0));
    _groupNavController->setTabBarItem(std::make_shared<ui::TabBarItem>(ui::TabBarSystemItem::Contacts, 2));
    _memoNavController->setTabBarItem(
        std::make_shared<ui::TabBarItem>(foundation::localized("MemoTabBarTitle"), ui::Image::named("memo.png"), 0));
    _settingsNavController->setTabBarItem(std::make_shared<ui::TabBarItem>(
        foundation::localized("SettingsBarTitle"),
        ui::Image::named(Utility::isIOS7() ? "information-ios7.png" : "information.png"), 0));
    _favoriteNavViewController->tabBarItem()->setTitle(foundation::localized("FavoriteTabBarTitle"));
    _groupNavController->tabBarItem()->setTitle(foundation::localized("GroupTabBarTitle"));

    _tbController = std::make_shared<ui::TabBarController>();
    if (Utility::isIOS7())
        _tbController->tabBar().setTranslucent(false);
    _tbController->setViewControllers({ _favoriteNavViewController, _keyboardNavController, _groupNavController,
                                        _memoNavController, _settingsNavController });
    // The tabs are fixed: nothing may be rearranged.
    _tbController->setCustomizableViewControllers({});
    _tbController->setDelegate(this);
    addChildViewController(_tbController);
    auto tabsView = _tbController->view();
    tabsView->setFrame(RootGeometry::tabControllerInitialFrame());
    tabsView->setAutoresizingMask(ui::AutoresizingMask::FlexibleWidth | ui::AutoresizingMask::FlexibleHeight);
    view()->addSubview(tabsView);
    if (isVisible()) {
        _tbController->beginAppearanceTransition(true, false);
        _tbController->endAppearanceTransition();
    }
}

// ---- Tabs and the keypad ----

bool TessaroViewController::shouldSelectViewController(ui::TabBarController& tabBarController, ui::ViewController&)
{
    _prevTabIndex = tabBarController.selectedIndex();
    return true;
}

void TessaroViewController::didSelectViewController(ui::TabBarController& tabBarController, ui::ViewController&)
{
    if (tabBarController.selectedIndex() != kKeypadTab)
        return;
    // The keypad tab only opens the keypad; the tab the user was on stays selected.
    tabBarController.setSelectedIndex(_prevTabIndex);
    showKeyboard();
}

void TessaroViewController::showKeyboard()
{
    if (!_keyboardViewController) {
        if (!_screens.makeKeyBoardViewController)
            return;
        _keyboardViewController = _screens.makeKeyBoardViewController(*this);
        if (!_keyboardViewController)
            return;
        addChildViewController(_keyboardViewController);
        auto keypadView = _keyboardViewController->view();
        keypadView->setBackgroundColor(ui::Color::whiteColor());
        keypadView->setFrame(RootGeometry::keypadHiddenFrame());
        view()->addSubview(keypadView);
    }
    ++_keypadShowings;
    auto keypadView = _keyboardViewController->view();
    moveTo(*keypadView, RootGeometry::overlayHiddenY());
    bool wasShown = keypadView->superview() == view().get();
    view()->addSubview(keypadView);
    _keyboardViewController->clearAll();
    if (!wasShown || !_keyboardViewController->isVisible())
        beginOverlayAppearance(*_keyboardViewController, true);
    ui::View::animate(kSlideDuration, [&] { moveTo(*keypadView, 0); },
                      guarded(weakSelf(), [](TessaroViewController& self) {
                          if (self._keyboardViewController)
                              self.endOverlayAppearance(*self._keyboardViewController);
                      }));
}

void TessaroViewController::removeKeyboard()
{
    if (!_keyboardViewController || !_keyboardViewController->isViewLoaded())
        return;
    auto keypadView = _keyboardViewController->view();
    if (keypadView->superview() != view().get())
        return;
    beginOverlayAppearance(*_keyboardViewController, false);
    int showing = _keypadShowings;
    ui::View::animate(kSlideDuration, [&] { moveTo(*keypadView, RootGeometry::overlayHiddenY()); },
                      guarded(weakSelf(), [showing](TessaroViewController& self) {
                          // Shown again while sliding away: it stays.
                          if (showing == self._keypadShowings)
                              self.removeKeyboardView();
                      }));
}

void TessaroViewController::removeKeyboardView()
{
    if (!_keyboardViewController)
        return;
    if (auto* keypadView = _keyboardViewController->viewIfLoaded())
        keypadView->removeFromSuperview();
    endOverlayAppearance(*_keyboardViewController);
}

void TessaroViewController::enterForeGround()
{
    if (_keyboardViewController)
        _keyboardViewController->clearAll();
}

// ---- Contact detail ----

void TessaroViewController::showDetail()
{
    if (!_detailContact || !_screens.makeContactDetailViewController)
        return;
    if (_detailViewController) {
        auto previous = std::move(_detailViewController);
        previous->setDelegate(nullptr);
        beginOverlayAppearance(*previous, false);
        if (auto* previousView = previous->viewIfLoaded())
            previousView->removeFromSuperview();
        endOverlayAppearance(*previous);
        previous->removeFromParentViewController();
    }
    _detailViewController = _screens.makeContactDetailViewController(*_detailContact);
    if (!_detailViewController)
        return;
    _detailViewController->setDelegate(this);
    addChildViewController(_detailViewController);
    auto detailView = _detailViewController->view();
    moveTo(*detailView, RootGeometry::detailStartY());
    view()->addSubview(detailView);
    beginOverlayAppearance(*_detailViewController, true);
    std::weak_ptr<ViewController> shown = _detailViewController;
    ui::View::animate(kSlideDuration, [&] { moveTo(*detailView, 0); },
                      guarded(weakSelf(), [shown](TessaroViewController& self) {
                          if (auto detail = shown.lock())
                              self.endOverlayAppearance(*detail);
                      }));
}

void TessaroViewController::detailViewCanceled(ContactDetailScreen& controller)
{
    if (&controller != _detailViewController.get() || !controller.isViewLoaded())
        return;
    auto detailView = controller.view();
    beginOverlayAppearance(controller, false);
    std::weak_ptr<ViewController> closing = _detailViewController;
    ui::View::animate(kSlideDuration, [&] { moveTo(*detailView, RootGeometry::overlayHiddenY()); },
                      guarded(weakSelf(), [closing](TessaroViewController& self) { self.removeDetailView(closing); }));
}

void TessaroViewController::removeDetailView(const std::weak_ptr<ViewController>& closing)
{
    // A detail shown meanwhile has already replaced the one that slid away, and stays.
    auto closed = closing.lock();
    if (closed && closed == _detailViewController) {
        _detailViewController.reset();
        static_cast<ContactDetailScreen&>(*closed).setDelegate(nullptr);
        if (auto* closedView = closed->viewIfLoaded())
            closedView->removeFromSuperview();
        endOverlayAppearance(*closed);
        closed->removeFromParentViewController();
    }
    doReloadAllView();
}

void TessaroViewController::beginOverlayAppearance(ui::ViewController& overlay, bool appearing)
{
    if (isVisible())
        overlay.beginAppearanceTransition(appearing, true);
}

void TessaroViewController::endOverlayAppearance(ui::ViewController& overlay)
{
    overlay.endAppearanceTransition();
}

// ---- Reload ----

void TessaroViewController::reloadAllView()
{
    view()->addSubview(_waitView);
    foundation::RunLoop::main().performAfterDelay(kReloadDelay, weak_from_this(),
                                                  guarded(weakSelf(), [](TessaroViewController& self) { self.doReloadAllView(); }));
}

void TessaroViewController::doReloadAllView()
{
    for (const auto* stack : { _favoriteNavViewController.get(), _groupNavController.get() }) {
        if (!stack)
            continue;
        // A copy: a screen may change its stack while it reloads.
        auto controllers = stack->viewControllers();
        for (const auto& controller : controllers) {
            if (auto* screen = dynamic_cast<CommonViewController*>(controller.get()))
                screen->reloadViewData();
        }
    }
    if (_keyboardViewController)
        _keyboardViewController->reloadData();
    if (_waitView)
        _waitView->removeFromSuperview();
}

// ---- The app-wide notification ----

void TessaroViewController::trackNotifications(const foundation::Notification& notification)
{
    if (notification.object == AppNotification::kNotificationNameShowDetail) {
        const auto* contact = notification.value<Contact>(AppNotification::kContactKey);
        if (!contact) {
            foundation::log("kNotificationNameShowDetail without a contact");
            return;
        }
        _detailContact = *contact;
        showDetail();
    } else if (notification.object == AppNotification::kNotificationNameMemoMail) {
        _strSendMemo = notification.text(AppNotification::kMemoKey);
        mailMemo();
    } else if (notification.object == AppNotification::kNotificationNameMemoSMS) {
        _strSendMemo = notification.text(AppNotification::kMemoKey);
        smsMemo();
    }
}

// ---- Memos ----

void TessaroViewController::mailMemo()
{
    if (services::MailComposeViewController::canSendMail())
        displayComposerSheet();
    else
        launchMailAppOnDevice();
}

void TessaroViewController::displayComposerSheet()
{
    auto composer = services::MailComposeViewController::create();
    composer->setMessageBody(_strSendMemo, false);
    composer->view()->setBackgroundColor(ui::Color::whiteColor());
    composer->setMailComposeDelegate(this);
    presentViewController(composer, true);
}

void TessaroViewController::launchMailAppOnDevice()
{
    (void)ui::Application::shared().openURL(memoMailURL(_strSendMemo));
}

void TessaroViewController::smsMemo()
{
    if (services::MessageComposeViewController::canSendText())
        displaySmsComposerSheet();
    else
        launchSmsAppOnDevice();
}

void TessaroViewController::displaySmsComposerSheet()
{
    auto composer = services::MessageComposeViewController::create();
    composer->setMessageComposeDelegate(this);
    composer->setBody(_strSendMemo);
    presentViewController(composer, true);
}

void TessaroViewController::launchSmsAppOnDevice()
{
    (void)ui::Application::shared().openURL(memoSmsURL(_strSendMemo));
}

std::string TessaroViewController::memoMailURL(const std::string& memo)
{
    return "mailto:?cc=&bcc=&body=" + services::URLEscaping::percentEscape(memo);
}

std::string TessaroViewController::memoSmsURL(const std::string& memo)
{
    // Escaped like the mail: a memo with a blank, a line break or a letter outside ASCII
    // would otherwise be no URL at all, and nothing would open.
    return "sms://?body=" + services::URLEscaping::percentEscape(memo);
}

void TessaroViewController::didFinishWithResult(services::MailComposeViewController& controller, services::MailComposeResult,
                                                const std::optional<std::string>&)
{
    controller.setMailComposeDelegate(nullptr);
    dismissViewControllerAnimated(true);
}

void TessaroViewController::didFinishWithResult(services::MessageComposeViewController& controller,
                                                services::MessageComposeResult)
{
    controller.setMessageComposeDelegate(nullptr);
    dismissViewControllerAnimated(true);
}

} // namespace tessaro

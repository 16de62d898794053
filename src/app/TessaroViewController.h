#pragma once
// The root screen: the 50-point banner slot at the top, five tabs below it (favourites,
// keypad, groups, memos, settings), and two full-screen overlays it slides over the tabs on
// demand: the keypad and the contact detail. It is the only observer of the app-wide
// notification (AppNotification), so it shows persons picked anywhere and mails or texts
// memos. The keypad tab is never left selected: touching it slides the keypad up instead.
//
// Ownership: the root owns the tab controller and its five navigation stacks, the keypad
// (made on first use, kept), the detail shown (one at a time), the busy overlay, the banner
// slot and the banner networks. Composers it presents are owned by the presentation. The
// screens it is made of are handed to it (RootScreens) by the program.

#include "addressbook/Contact.h"
#include "app/ContactDetailScreen.h"
#include "app/KeypadScreen.h"
#include "app/RootScreens.h"
#include "platform/foundation/Notification.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/services/MailComposeViewController.h"
#include "platform/services/MessageComposeViewController.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/ViewController.h"

#include <memory>
#include <optional>
#include <string>

namespace ui {
class Label;
class NavigationController;
}

namespace tessaro {

class BannerNetworks;
class WaitView;

class TessaroViewController : public ui::ViewController,
                              public ui::TabBarControllerDelegate,
                              public ContactDetailViewControllerDelegate,
                              public KeypadHost,
                              public services::MailComposeViewControllerDelegate,
                              public services::MessageComposeViewControllerDelegate {
public:
    // The tabs, in order.
    enum TabIndex { kFavoritesTab = 0, kKeypadTab = 1, kGroupsTab = 2, kMemosTab = 3, kSettingsTab = 4 };
    // How long the overlays take to slide in or out.
    static constexpr double kSlideDuration = 0.4;
    // How long the busy overlay shows before a full reload runs, so that it is drawn first.
    static constexpr double kReloadDelay = 0.1;

    // Builds the whole root screen in the frame: view, banner slot, busy overlay and tabs.
    static std::shared_ptr<TessaroViewController> create(const ui::Rect& frame, RootScreens screens);
    // Use create(); public for std::make_shared.
    TessaroViewController(const ui::Rect& frame, RootScreens screens);
    ~TessaroViewController() override;

    void loadView() override;
    void viewDidLoad() override;

    // Shows the busy overlay and, 0.1 seconds later, reloads the favourites and groups
    // stacks and the keypad's list, then takes the overlay away.
    void reloadAllView();
    void doReloadAllView();
    // Slides the keypad away; the keypad calls this when it is done.
    void removeKeyboard() override;
    // The application came back to the foreground: the keypad starts afresh.
    void enterForeGround();

    // The app-wide notification's handler.
    void trackNotifications(const foundation::Notification& notification);
    // Slides in a new contact detail for the person last handed over, replacing one shown.
    void showDetail();
    // Sends the memo last handed over by mail or text message: through the composer where
    // the device has one, else by handing a URL to the mail or messages application.
    void mailMemo();
    void smsMemo();
    void displayComposerSheet();
    void launchMailAppOnDevice();
    void displaySmsComposerSheet();
    void launchSmsAppOnDevice();

    // The URLs of the fallbacks: the memo percent-escaped as UTF-8 in the body.
    static std::string memoMailURL(const std::string& memo);
    static std::string memoSmsURL(const std::string& memo);

    // Tab rules.
    bool shouldSelectViewController(ui::TabBarController& tabBarController, ui::ViewController& controller) override;
    void didSelectViewController(ui::TabBarController& tabBarController, ui::ViewController& controller) override;
    // The contact detail is done: it slides away, goes, and every screen reloads.
    void detailViewCanceled(ContactDetailScreen& controller) override;
    // A composer finished, whatever the result: it is dismissed.
    void didFinishWithResult(services::MailComposeViewController& controller, services::MailComposeResult result,
                             const std::optional<std::string>& error) override;
    void didFinishWithResult(services::MessageComposeViewController& controller,
                             services::MessageComposeResult result) override;

    // The parts, for the screens that lay themselves out around them and for tests.
    ui::TabBarController* tabController() const { return _tbController.get(); }
    ui::NavigationController* favoriteNavViewController() const { return _favoriteNavViewController.get(); }
    ui::NavigationController* groupNavController() const { return _groupNavController.get(); }
    ui::NavigationController* memoNavController() const { return _memoNavController.get(); }
    ui::NavigationController* keyboardNavController() const { return _keyboardNavController.get(); }
    ui::NavigationController* settingsNavController() const { return _settingsNavController.get(); }
    KeypadScreen* keyboardViewController() const { return _keyboardViewController.get(); }
    ContactDetailScreen* detailViewController() const { return _detailViewController.get(); }
    WaitView* waitView() const { return _waitView.get(); }
    ui::View* adTopView() const { return _adTopView.get(); }
    BannerNetworks* bannerNetworks() const { return _bannerNetworks.get(); }
    const std::string& strSendMemo() const { return _strSendMemo; }

private:
    void buildTabs();
    std::shared_ptr<ui::NavigationController> wrapInNavigation(const std::shared_ptr<CommonViewController>& screen,
                                                               const std::string& titleKey);
    void buildBannerSlot();
    void showKeyboard();
    void removeKeyboardView();
    void removeDetailView(const std::weak_ptr<ui::ViewController>& closing);
    // Overlays are children of the root: they hear that they appear and disappear while
    // the root is on screen.
    void beginOverlayAppearance(ui::ViewController& overlay, bool appearing);
    void endOverlayAppearance(ui::ViewController& overlay);
    std::weak_ptr<TessaroViewController> weakSelf();

    ui::Rect _frame;
    RootScreens _screens;

    std::shared_ptr<WaitView> _waitView;
    std::optional<Contact> _detailContact;
    foundation::NotificationCenter* _notifyCenter { nullptr };
    foundation::Observation _contactObservation;
    std::shared_ptr<ui::TabBarController> _tbController;
    std::shared_ptr<ui::NavigationController> _favoriteNavViewController;
    std::shared_ptr<ui::NavigationController> _groupNavController;
    std::shared_ptr<ui::NavigationController> _memoNavController;
    std::shared_ptr<ui::NavigationController> _keyboardNavController;
    std::shared_ptr<ui::NavigationController> _settingsNavController;
    std::shared_ptr<ContactDetailScreen> _detailViewController;
    std::string _strSendMemo;
    std::shared_ptr<KeypadScreen> _keyboardViewController;
    int _prevTabIndex { 0 };
    // Counts the keypad's showings, so a slide-out that ends after the keypad was shown
    // again leaves it in place.
    int _keypadShowings { 0 };
    std::shared_ptr<ui::View> _adTopView;
    std::shared_ptr<ui::Label> _adPlaceholder;
    std::unique_ptr<BannerNetworks> _bannerNetworks;
};

} // namespace tessaro

#pragma once
// The application delegate: at launch it makes the shared object (which opens the address
// book), opens the database, builds the window and the root screen, and asks for access to
// the address book, showing one alert when it is refused. On every return to the foreground
// it opens the address book afresh (so changes made elsewhere show), starts the keypad
// afresh, reloads the screens and asks for access again. At launch and on each return it
// also syncs the CardDAV accounts behind the busy overlay, and tells in an alert when a
// server cannot be used; the book on the device stays usable either way.
//
// Ownership: the delegate owns the window, and the window the root screen; the delegate
// keeps the root too. It lives as long as the application runs.

#include "app/AccountSync.h"
#include "app/RootScreens.h"

#include <memory>
#include <string>

namespace ui {
class AlertView;
class Window;
}

namespace tessaro {

class TessaroViewController;
class WaitView;

class TessaroAppDelegate {
public:
    explicit TessaroAppDelegate(RootScreens screens);
    ~TessaroAppDelegate();
    TessaroAppDelegate(const TessaroAppDelegate&) = delete;
    TessaroAppDelegate& operator=(const TessaroAppDelegate&) = delete;

    // Launch, in order: shared object, database (and its settings record), window, root
    // screen made key and visible, then the access request. Always true.
    bool didFinishLaunchingWithOptions();
    void applicationWillEnterForeground();

    // The refusal alert: "CalAccessErrTitle" / "CalAccessErrMessage" with the one button "OK".
    static void showAccessMessageAlert();

    const std::shared_ptr<ui::Window>& window() const { return m_window; }
    const std::shared_ptr<TessaroViewController>& viewController() const { return m_viewController; }

private:
    // Asks for access where the system has the request (from 6 on). The answer may come on
    // another thread; a refusal is handed to the main run loop before the alert is shown.
    void requestAddressBookAccess();
    // A refused write of the application's own data: an alert with SQLite's reason (one at
    // a time), and the screens reloaded from what is stored.
    void showWriteFailure(const std::string& reason);
    // One alert for each store found damaged at launch; the files are left untouched.
    void showDamagedStores();
    // Syncs the accounts (when there are any and none is syncing) behind the busy overlay.
    void syncAccounts();
    void syncFinished(const std::vector<contactstore::carddav::AccountReport>& reports);

    RootScreens m_screens;
    std::shared_ptr<ui::Window> m_window;
    std::shared_ptr<TessaroViewController> m_viewController;
    std::weak_ptr<ui::AlertView> m_writeFailureAlert;
    std::shared_ptr<WaitView> m_syncOverlay;
    // Last, so that its thread is joined before anything it hands results to goes.
    AccountSync m_accountSync;
};

} // namespace tessaro

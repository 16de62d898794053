#include "app/TessaroAppDelegate.h"

#include "app/RootGeometry.h"
#include "app/TessaroViewController.h"
#include "app/Utility.h"
#include "app/WaitView.h"
#include "platform/contactstore/AccessControl.h"
#include "platform/foundation/Device.h"
#include "platform/foundation/LocalizedStrings.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"
#include "store/DataManager.h"

namespace tessaro {

TessaroAppDelegate::TessaroAppDelegate(RootScreens screens)
    : m_screens(std::move(screens))
{
}

TessaroAppDelegate::~TessaroAppDelegate()
{
    DataManager::sharedDataBase().setWriteFailureHandler(nullptr);
}

bool TessaroAppDelegate::didFinishLaunchingWithOptions()
{
    auto& utility = Utility::sharedUtility();
    auto& database = DataManager::sharedDataBase();
    utility.setSettingsObj(database.getSettings());
    database.setWriteFailureHandler([this](const std::string& reason) { showWriteFailure(reason); });

    m_window = std::make_shared<ui::Window>(RootGeometry::windowFrame());
    m_viewController = TessaroViewController::create(RootGeometry::rootViewFrame(), m_screens);
    m_window->setRootViewController(m_viewController);
    // The platform stretches a window's root screen over the application's part of the
    // screen; from system 7 on that reaches up under the status bar, so the tabs beneath
    // the banner reach the bottom of the screen.
    m_viewController->view()->setFrame(ui::Screen::mainScreen().applicationFrame());
    m_window->makeKeyAndVisible();

    requestAddressBookAccess();
    showDamagedStores();
    syncAccounts();
    return true;
}

void TessaroAppDelegate::syncAccounts()
{
    if (contactstore::AccessControl::isAccessRefused() || m_accountSync.isRunning() || !AccountSync::hasAccounts())
        return;
    if (!m_accountSync.start([this](const auto& reports) { syncFinished(reports); }))
        return;
    foundation::log("sync: started");
    // The screens wait for the server's changes; the overlay keeps touches off them meanwhile.
    m_syncOverlay = std::make_shared<WaitView>(m_viewController->view()->bounds());
    m_viewController->view()->addSubview(m_syncOverlay);
}

void TessaroAppDelegate::syncFinished(const std::vector<contactstore::carddav::AccountReport>& reports)
{
    if (m_syncOverlay) {
        m_syncOverlay->removeFromSuperview();
        m_syncOverlay.reset();
    }
    bool changed = false;
    const contactstore::carddav::SyncFailure* failure = nullptr;
    for (const auto& report : reports) {
        changed = changed || report.bookChanged;
        if (report.failure && !failure)
            failure = &report.failure;
        for (const auto& collection : report.collections) {
            foundation::log("sync: " + report.account + " " + collection.collection + ": " + std::to_string(collection.received)
                            + " received, " + std::to_string(collection.sent) + " sent, "
                            + std::to_string(collection.deletedHere) + " deleted here, "
                            + std::to_string(collection.deletedThere) + " deleted on the server");
        }
    }
    if (changed) {
        // The sync wrote through a handle of its own: the screens read afresh.
        Utility::sharedUtility().resetObject();
        m_viewController->reloadAllView();
    }
    if (!failure)
        return;
    using Kind = contactstore::carddav::SyncFailure::Kind;
    foundation::log("sync: " + failure->message);
    const char* title = failure->kind == Kind::Unreachable ? "SyncUnreachableTitle"
        : failure->kind == Kind::Unauthorized              ? "SyncRefusedTitle"
                                                           : "SyncFailedTitle";
    std::string message = failure->message + "\n\n" + foundation::localized("SyncLocalBookMessage");
    std::make_shared<ui::AlertView>(foundation::localized(title), message, nullptr, "OK")->show();
}

void TessaroAppDelegate::showWriteFailure(const std::string& reason)
{
    foundation::log("Error: not saved: " + reason);
    // One alert for a burst of refused writes (a locked file refuses every one of them).
    if (auto shown = m_writeFailureAlert.lock(); shown && shown->isVisible())
        return;
    auto alert = std::make_shared<ui::AlertView>(foundation::localized("SaveFailedTitle"), reason, nullptr, "OK");
    m_writeFailureAlert = alert;
    alert->show();
    // The screens show what is stored, not the change that was refused.
    if (m_viewController)
        m_viewController->reloadAllView();
}

void TessaroAppDelegate::showDamagedStores()
{
    std::vector<std::string> damage;
    if (const auto& database = DataManager::sharedDataBase().damage(); !database.empty())
        damage.push_back(database);
    if (auto book = Utility::openAddressBookError(); !book.empty())
        damage.push_back(book);
    for (const auto& reason : damage) {
        std::string message = reason + ".\n\n" + foundation::localized("DamagedDataMessage");
        std::make_shared<ui::AlertView>(foundation::localized("DamagedDataTitle"), message, nullptr, "OK")->show();
    }
}

void TessaroAppDelegate::applicationWillEnterForeground()
{
    Utility::sharedUtility().resetObject();
    foundation::log("applicationWillEnterForeground");
    if (m_viewController) {
        m_viewController->enterForeGround();
        m_viewController->reloadAllView();
    }
    requestAddressBookAccess();
    if (m_viewController)
        syncAccounts();
}

void TessaroAppDelegate::showAccessMessageAlert()
{
    auto alert = std::make_shared<ui::AlertView>(foundation::localized("CalAccessErrTitle"),
                                                 foundation::localized("CalAccessErrMessage"), nullptr, "OK");
    alert->show();
}

void TessaroAppDelegate::requestAddressBookAccess()
{
    if (foundation::Device::current().systemMajorVersion() < 6)
        return;
    contactstore::AccessControl::requestAccess([](bool granted, const contactstore::Error&) {
        if (!granted)
            foundation::RunLoop::main().post([] { showAccessMessageAlert(); });
    });
}

} // namespace tessaro

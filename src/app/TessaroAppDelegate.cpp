#include "app/TessaroAppDelegate.h"

#include "app/RootGeometry.h"
#include "app/TessaroViewController.h"
#include "app/Utility.h"
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
    return true;
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

#include "app/CommonViewController.h"

#include "app/RootGeometry.h"
#include "app/TessaroViewController.h"
#include "platform/ui/Application.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"

namespace tessaro {

void CommonViewController::resetTabBarFrame()
{
    // A screen inside a tab finds the tab controller above it; one presented over the tabs
    // or laid over them by the root (the keypad, the contact detail) asks the root.
    ui::TabBarController* tabs = tabBarController();
    if (!tabs) {
        if (auto* window = ui::Application::shared().keyWindow()) {
            if (auto* root = dynamic_cast<TessaroViewController*>(window->rootViewController().get()))
                tabs = root->tabController();
        }
    }
    if (auto* view = tabs ? tabs->viewIfLoaded() : nullptr)
        view->setFrame(RootGeometry::tabControllerFrame());
}

void CommonViewController::resetTabBarFrameLater()
{
    std::weak_ptr<ViewController> weak = weak_from_this();
    foundation::RunLoop::main().performAfterDelay(kTabBarResetDelay, weak, [weak] {
        if (auto self = std::static_pointer_cast<CommonViewController>(weak.lock()))
            self->resetTabBarFrame();
    });
}

} // namespace tessaro

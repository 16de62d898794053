#include "screens/groups/GroupPresentation.h"

#include "app/Utility.h"
#include "platform/ui/Application.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Window.h"

namespace tessaro {

std::shared_ptr<ui::NavigationController> GroupPresentation::wrapInOpaqueNavigation(std::shared_ptr<ui::ViewController> screen)
{
    auto navigation = std::make_shared<ui::NavigationController>(std::move(screen));
    navigation->navigationBar().setTranslucent(false);
    return navigation;
}

ui::ViewController* GroupPresentation::keyWindowRoot()
{
    auto* window = ui::Application::shared().keyWindow();
    return window ? window->rootViewController().get() : nullptr;
}

void GroupPresentation::presentFromKeyWindowRoot(const std::shared_ptr<ui::ViewController>& screen)
{
    if (auto* root = keyWindowRoot())
        root->presentViewController(screen, true);
}

std::weak_ptr<services::NewPersonViewController> GroupPresentation::presentNewPersonForm(services::NewPersonViewControllerDelegate& delegate,
                                                                                        contactstore::PersonRef prepared)
{
    auto* root = keyWindowRoot();
    if (!root)
        return {};
    auto form = std::make_shared<services::NewPersonViewController>();
    if (prepared)
        form->setDisplayedPerson(std::move(prepared));
    form->setAddressBook(Utility::sharedUtility().addressBook());
    form->setNewPersonViewDelegate(&delegate);
    root->presentViewController(wrapInOpaqueNavigation(form), true);
    return form;
}

std::shared_ptr<ui::NavigationController> GroupPresentation::layChooserOverKeyWindow(std::shared_ptr<ui::ViewController> chooser)
{
    auto navigation = wrapInOpaqueNavigation(std::move(chooser));
    navigation->view()->setFrame({ 0, kGroupSelectTop, 320, 411.0 + Utility::iPhone4to5SubSize() });
    if (auto* window = ui::Application::shared().keyWindow())
        window->addSubview(navigation->view());
    return navigation;
}

} // namespace tessaro

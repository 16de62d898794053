#include "SampleLaunch.h"

#include "SampleListController.h"
#include "platform/foundation/Log.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Window.h"

namespace tessaro::sample {

namespace {

std::vector<std::string> sampleNames()
{
    return { "Aiko Tanaka",  "Alice Martin",   "Amelia Brown", "Ben Carter",     "Bianca Rossi",  "Carlos Díaz",
             "Chloé Dubois", "Daniel Kim",     "David Wilson", "Émile Laurent",  "Emma Johnson",  "Felix Wagner",
             "Grace Lee",    "Hannah Schmidt", "Hiroshi Sato", "Isabel Costa",   "Jack Taylor",   "Julia Novak",
             "Kenji Watanabe", "Liam O'Brien", "Lucas Silva",  "Maria Garcia",   "Mia Jensen",    "Noah Davis",
             "Olivia Clark", "Paul Meyer",     "Quinn Hughes", "Rosa Moreno",    "Sofia Rossi",   "Søren Nielsen",
             "Thomas Müller", "Uma Patel",     "Victor Hugo",  "William Scott",  "Yuki Nakamura", "Zoe Adams",
             "3M Helpdesk" };
}

} // namespace

AutomationTarget launchSample()
{
    auto window = std::make_shared<ui::Window>();
    auto list = std::make_shared<SampleListController>(sampleNames());
    auto navigation = std::make_shared<ui::NavigationController>(list);
    navigation->view()->setFrame(window->bounds());
    window->setRootViewController(navigation);
    window->makeKeyAndVisible();
    std::weak_ptr<SampleListController> weakList = list;
    auto enterForeground = [weakList] {
        foundation::log("sample: back in the foreground");
        if (auto screen = weakList.lock())
            screen->reload();
    };
    return { window, enterForeground };
}

} // namespace tessaro::sample

// The application's start-up driven as a person (or a script) drives it: through the
// automation driver, on the window the delegate made.

#include "AppFixture.h"
#include "RootSpies.h"

#include "app/TessaroAppDelegate.h"
#include "app/TessaroViewController.h"
#include "platform/automation/Driver.h"
#include "platform/contactstore/AccessControl.h"
#include "platform/foundation/Device.h"
#include "support/JsonTree.h"

#include <chrono>
#include <optional>
#include <thread>

namespace apptest {
namespace {

using json = nlohmann::json;

using testsupport::findNode;

class StartUpAutomationTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        foundation::Device::current().setLanguage("keys");
    }
    void TearDown() override
    {
        driver.reset();
        delegate.reset();
        AppFixture::TearDown();
    }

    void launch()
    {
        delegate = std::make_unique<tessaro::TessaroAppDelegate>(spies.make());
        ASSERT_TRUE(delegate->didFinishLaunchingWithOptions());
        driver = std::make_unique<tessaro::Driver>(delegate->window());
        driver->setForegroundHandler([this] { delegate->applicationWillEnterForeground(); });
    }

    json run(const json& command)
    {
        json answer = driver->execute(command);
        EXPECT_TRUE(answer.value("ok", false)) << command.dump() << " -> " << answer.dump();
        return answer;
    }
    json tree() { return run({ { "cmd", "dump" } })["tree"]; }
    static std::vector<double> frameOf(const json& node) { return node["frame"].get<std::vector<double>>(); }

    // The access answer arrives from a thread of its own; turns the loop until the alert shows.
    bool alertShown()
    {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (std::chrono::steady_clock::now() < deadline) {
            run({ { "cmd", "advance" }, { "seconds", 0 } });
            if (findNode(tree(), "type", "AlertView"))
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return false;
    }

    SpyScreens spies;
    std::unique_ptr<tessaro::TessaroAppDelegate> delegate;
    std::unique_ptr<tessaro::Driver> driver;
};

TEST_F(StartUpAutomationTest, TheTabsLieUnderTheBannerSlotAndTheKeypadSlidesInAndOut)
{
    launch();
    auto shown = tree();
    auto slot = findNode(shown, "id", "banner.slot");
    ASSERT_TRUE(slot);
    EXPECT_EQ(frameOf(*slot), (std::vector<double> { 0, 20, 320, 50 }));
    auto placeholder = findNode(shown, "text", "Ad");
    ASSERT_TRUE(placeholder);
    auto tabBar = findNode(shown, "type", "TabBar");
    ASSERT_TRUE(tabBar);
    EXPECT_EQ(frameOf(*tabBar)[1] + frameOf(*tabBar)[3], 568);

    run({ { "cmd", "tap" }, { "text", "KeyBoardBarTitle" } });
    run({ { "cmd", "advance" }, { "seconds", 0.4 } });
    auto keypad = findNode(tree(), "id", "spy.keypad");
    ASSERT_TRUE(keypad);
    EXPECT_EQ(frameOf(*keypad), (std::vector<double> { 0, 0, 320, 568 }));

    delegate->viewController()->removeKeyboard();
    run({ { "cmd", "advance" }, { "seconds", 0.4 } });
    EXPECT_FALSE(findNode(tree(), "id", "spy.keypad"));
}

TEST_F(StartUpAutomationTest, ReturningToTheForegroundReloadsBehindTheBusyOverlay)
{
    launch();
    spies.journal.clear();
    run({ { "cmd", "foreground" } });
    EXPECT_TRUE(findNode(tree(), "type", "WaitView"));
    run({ { "cmd", "advance" }, { "seconds", 0.1 } });
    EXPECT_FALSE(findNode(tree(), "type", "WaitView"));
    EXPECT_EQ(spies.journal, (Journal { "favorites:reload", "groups:reload" }));
}

TEST_F(StartUpAutomationTest, ARefusedAccessAlertIsClosedWithItsOneButton)
{
    contactstore::AccessControl::setAccessRefused(true);
    launch();
    ASSERT_TRUE(alertShown());
    auto alert = findNode(tree(), "type", "AlertView");
    EXPECT_EQ((*alert)["text"], "CalAccessErrTitle");
    run({ { "cmd", "button" }, { "index", 0 } });
    run({ { "cmd", "advance" }, { "seconds", 1 } });
    EXPECT_FALSE(findNode(tree(), "type", "AlertView"));
}

} // namespace
} // namespace apptest

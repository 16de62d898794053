// The application's start-up driven as a person (or a script) drives it: through the
// automation driver, on the window the delegate made.

#include "AppFixture.h"
#include "RootSpies.h"

#include "app/TessaroAppDelegate.h"
#include "app/TessaroViewController.h"
#include "platform/automation/Driver.h"
#include "platform/contactstore/AccessControl.h"
#include "platform/foundation/Device.h"
#include "platform/foundation/SqliteStatement.h"
#include "store/DataManager.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/ButtonPanel.h"
#include "app/Utility.h"
#include "support/JsonTree.h"

#include <sqlite3.h>
#include <fstream>
#include <iterator>

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

TEST_F(StartUpAutomationTest, ARefusedWriteIsToldOnceWithItsReasonAndTheScreensShowWhatIsStored)
{
    launch();
    auto& database = tessaro::DataManager::sharedDataBase();
    ASSERT_TRUE(database.insertGroup({ .groupID = "7" }));
    {
        sqlite3* raw = nullptr;
        sqlite3_open(database.databaseFile().c_str(), &raw);
        ASSERT_TRUE(foundation::sqliteExec(raw, "CREATE TRIGGER refuse BEFORE UPDATE ON contactgroup "
                                                "BEGIN SELECT RAISE(ABORT, 'database or disk is full'); END;"));
        sqlite3_close(raw);
    }
    spies.journal.clear();
    EXPECT_FALSE(database.updateGroup({ .groupID = "7", .sortIndex = 3 }));
    EXPECT_FALSE(database.performUserAction([&] { database.updateGroup({ .groupID = "7", .sortIndex = 4 }); }));
    auto shown = tree();
    auto alert = findNode(shown, "type", "AlertView");
    ASSERT_TRUE(alert);
    EXPECT_EQ((*alert)["text"], "SaveFailedTitle");
    EXPECT_NE(shown.dump().find("database or disk is full"), std::string::npos);
    run({ { "cmd", "advance" }, { "seconds", 0.1 } });
    EXPECT_EQ(spies.journal, (Journal { "favorites:reload", "groups:reload" }));
    run({ { "cmd", "button" }, { "index", 0 } });
    run({ { "cmd", "advance" }, { "seconds", 1 } });
    EXPECT_FALSE(findNode(tree(), "type", "AlertView"));
}

TEST_F(StartUpAutomationTest, DamagedStoresAreNamedAtStartAndLeftAsTheyWere)
{
    auto garble = [](const std::filesystem::path& file) {
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary | std::ios::trunc) << std::string(4096, '\x5a');
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    auto database = folder / "Documents" / "Vantel.db";
    tessaro::DataManager::setSharedDatabaseFile(folder / "elsewhere.db");
    std::string databaseBytes = garble(database);
    std::string bookBytes = garble(addressBookFile());
    tessaro::DataManager::setSharedDatabaseFile(database);
    tessaro::Utility::sharedUtility().resetObject();

    launch();
    // Both alerts are up at once, one for each file, each naming it.
    std::string said;
    int alerts = 0;
    for (const auto& panel : ui::ButtonPanel::visiblePanels()) {
        if (auto* alert = dynamic_cast<ui::AlertView*>(panel.get())) {
            ++alerts;
            EXPECT_EQ(alert->title(), "DamagedDataTitle");
            said += alert->message() + "\n";
        }
    }
    EXPECT_EQ(alerts, 2);
    EXPECT_NE(said.find("Vantel.db"), std::string::npos) << said;
    EXPECT_NE(said.find("address book"), std::string::npos) << said;

    std::ifstream databaseNow(database, std::ios::binary), bookNow(addressBookFile(), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(databaseNow), {}), databaseBytes);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(bookNow), {}), bookBytes);
}

} // namespace
} // namespace apptest

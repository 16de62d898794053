#include "AutomationTestSupport.h"

#include "platform/automation/Driver.h"
#include "sample/SampleLaunch.h"
#include "platform/ui/Window.h"
#include "support/ManualTime.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using automationtest::findNode;
using automationtest::json;
using automationtest::textsIn;

namespace {

// The sample list screen driven end to end, the way a script drives `tessaro --automation`.
struct SampleScreenTest : ::testing::Test {
    testsupport::ManualTime time;
    tessaro::AutomationTarget target;
    std::unique_ptr<tessaro::Driver> driver;

    void SetUp() override
    {
        automationtest::resetDevice();
        target = tessaro::sample::launchSample();
        driver = std::make_unique<tessaro::Driver>(target.window);
        driver->setForegroundHandler(target.enterForeground);
    }
    void TearDown() override
    {
        driver.reset();
        automationtest::resetDevice();
    }
    json run(const json& command)
    {
        json answer = driver->execute(command);
        EXPECT_TRUE(answer.contains("ok")) << answer.dump();
        return answer;
    }
    json ok(const json& command)
    {
        json answer = run(command);
        EXPECT_TRUE(answer["ok"].get<bool>()) << command.dump() << " -> " << answer.dump();
        return answer;
    }
    json tree() { return ok({ { "cmd", "dump" } })["tree"]; }
    json node(const std::string& id)
    {
        auto found = findNode(tree(), "id", id);
        EXPECT_TRUE(found) << "no view with id " << id;
        return found.value_or(json::object());
    }
};

} // namespace

TEST_F(SampleScreenTest, TheListShowsLetterSectionsWithTheSearchSymbolFirstInItsIndex)
{
    json list = node("sample.list");
    const json& table = list["table"];
    EXPECT_EQ(table["sections"][0]["title"], "A");
    EXPECT_EQ(table["sections"][0]["rows"], 3);
    EXPECT_EQ(table["index"].front(), "{search}");
    EXPECT_EQ(table["index"].back(), "#");
    // Accented names sort under their plain letter.
    auto texts = textsIn(tree());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Aiko Tanaka"), texts.end());
    EXPECT_EQ(list["children"][1]["indexPath"], json::array({ 0, 0 }));
}

TEST_F(SampleScreenTest, ARowOpensItsDetailWhereTypingCallingAndCopyingReachTheDevice)
{
    json row = ok({ { "cmd", "tapRow" }, { "section", 0 }, { "row", 1 } });
    EXPECT_EQ(row["texts"], json::array({ "Alice Martin" }));
    ok({ { "cmd", "advance" }, { "seconds", 0.5 } });
    EXPECT_EQ(node("detail.name")["text"], "Alice Martin");

    ok({ { "cmd", "tap" }, { "id", "detail.note" } });
    EXPECT_TRUE(ok({ { "cmd", "dump" } })["keyboard"].get<bool>());
    json typed = ok({ { "cmd", "type" }, { "text", "Calls back" } });
    EXPECT_EQ(typed["text"], "Calls back");
    ok({ { "cmd", "type" }, { "backspace", 5 } });
    EXPECT_EQ(node("detail.note")["text"], "Calls");

    json tapped = ok({ { "cmd", "tap" }, { "text", "Call" } });
    EXPECT_EQ(tapped["tapped"]["type"], "Button");
    EXPECT_EQ(ok({ { "cmd", "openedURLs" } })["urls"], json::array({ "tel://5550100" }));
    EXPECT_EQ(ok({ { "cmd", "openedURLs" } })["urls"], json::array());
    ok({ { "cmd", "tap" }, { "text", "Copy name" } });
    EXPECT_EQ(ok({ { "cmd", "pasteboard" } })["string"], "Alice Martin");

    // The back button is titled after the list.
    ok({ { "cmd", "tap" }, { "text", "Names" } });
    ok({ { "cmd", "advance" }, { "seconds", 0.5 } });
    EXPECT_FALSE(findNode(tree(), "id", "detail.name"));
    EXPECT_TRUE(findNode(tree(), "id", "sample.list"));
}

TEST_F(SampleScreenTest, SearchingShowsResultsOverTheListFoldingCaseAndAccents)
{
    ok({ { "cmd", "tap" }, { "id", "sample.search.field" } });
    ok({ { "cmd", "type" }, { "text", "ROSS" } });
    json results = node("sample.results");
    EXPECT_EQ(results["table"]["sections"][0]["rows"], 2);
    EXPECT_FALSE(results["table"].contains("index"));
    json row = ok({ { "cmd", "tapRow" }, { "section", 0 }, { "row", 1 } });
    EXPECT_EQ(row["texts"], json::array({ "Sofia Rossi" }));
    ok({ { "cmd", "advance" }, { "seconds", 0.5 } });
    EXPECT_EQ(node("detail.name")["text"], "Sofia Rossi");
    ok({ { "cmd", "tap" }, { "text", "Names" } });
    ok({ { "cmd", "advance" }, { "seconds", 0.5 } });

    ok({ { "cmd", "tap" }, { "id", "sample.search.field" } });
    ok({ { "cmd", "type" }, { "backspace", 4 } });
    ok({ { "cmd", "type" }, { "text", "soren" } });
    EXPECT_EQ(ok({ { "cmd", "tapRow" }, { "section", 0 }, { "row", 0 } })["texts"], json::array({ "Søren Nielsen" }));
    ok({ { "cmd", "advance" }, { "seconds", 0.5 } });
    ok({ { "cmd", "tap" }, { "text", "Names" } });
    ok({ { "cmd", "advance" }, { "seconds", 0.5 } });

    // Cancel ends the search: the results go and the list is whole again.
    ok({ { "cmd", "tap" }, { "text", "Cancel" } });
    ok({ { "cmd", "advance" }, { "seconds", 0.5 } });
    EXPECT_FALSE(findNode(tree(), "id", "sample.results"));
    EXPECT_EQ(node("sample.search")["text"], "");
}

TEST_F(SampleScreenTest, RowsAreDeletedBySwipingAndMovedWithinTheirSectionWhileEditing)
{
    json deleted = ok({ { "cmd", "swipeDelete" }, { "section", 0 }, { "row", 0 } });
    EXPECT_TRUE(deleted["deleted"].get<bool>());
    ok({ { "cmd", "advance" }, { "seconds", 0.5 } });
    EXPECT_EQ(node("sample.list")["table"]["sections"][0]["rows"], 2);
    auto lines = ok({ { "cmd", "log" } })["lines"];
    EXPECT_NE(std::find(lines.begin(), lines.end(), "sample: deleted Aiko Tanaka"), lines.end());

    json refused = run({ { "cmd", "moveRow" }, { "from", { 0, 0 } }, { "to", { 0, 1 } } });
    EXPECT_FALSE(refused["ok"].get<bool>());
    EXPECT_NE(refused["error"].get<std::string>().find("not in editing mode"), std::string::npos);

    ok({ { "cmd", "tap" }, { "text", "Edit" } });
    EXPECT_TRUE(node("sample.list")["table"]["editing"].get<bool>());
    EXPECT_EQ(ok({ { "cmd", "moveRow" }, { "from", { 0, 0 } }, { "to", { 0, 1 } } })["to"], json::array({ 0, 1 }));
    // Another section is no place for a name: it stays at the edge of its own.
    EXPECT_EQ(ok({ { "cmd", "moveRow" }, { "from", { 0, 1 } }, { "to", { 2, 0 } } })["to"], json::array({ 0, 1 }));
    EXPECT_EQ(ok({ { "cmd", "tapRow" }, { "section", 0 }, { "row", 1 } })["texts"], json::array({ "Alice Martin" }));

    // The last name of a section takes its section with it.
    json list = node("sample.list");
    int sections = static_cast<int>(list["table"]["sections"].size());
    ok({ { "cmd", "tap" }, { "text", "Done" } });
    EXPECT_TRUE(ok({ { "cmd", "swipeDelete" }, { "section", sections - 1 }, { "row", 0 } })["deleted"].get<bool>());
    EXPECT_EQ(node("sample.list")["table"]["sections"].size(), static_cast<std::size_t>(sections - 1));
}

TEST_F(SampleScreenTest, TheActionSheetsButtonsCountInTheirOrderWithCancelLast)
{
    ok({ { "cmd", "tap" }, { "text", "Actions" } });
    json sheet = node("sample.actions");
    EXPECT_EQ(sheet["buttons"], json::array({ "Copy first name", "Call the help line", "Visit the web site", "Cancel" }));
    EXPECT_EQ(sheet["cancelButtonIndex"], 3);
    // The list lies under the sheet's cover now.
    json covered = run({ { "cmd", "tap" }, { "text", "Edit" } });
    EXPECT_FALSE(covered["ok"].get<bool>());
    EXPECT_NE(covered["error"].get<std::string>().find("lies under"), std::string::npos) << covered.dump();

    json wrong = run({ { "cmd", "button" }, { "index", 9 } });
    EXPECT_FALSE(wrong["ok"].get<bool>());
    EXPECT_NE(wrong["error"].get<std::string>().find("3 \"Cancel\""), std::string::npos) << wrong.dump();

    EXPECT_EQ(ok({ { "cmd", "button" }, { "index", 0 } })["title"], "Copy first name");
    EXPECT_EQ(ok({ { "cmd", "pasteboard" } })["string"], "Aiko Tanaka");
    ok({ { "cmd", "advance" }, { "seconds", 0.5 } });
    EXPECT_FALSE(run({ { "cmd", "button" }, { "index", 0 } })["ok"].get<bool>());

    ok({ { "cmd", "tap" }, { "text", "Actions" } });
    ok({ { "cmd", "button" }, { "title", "Visit the web site" } });
    EXPECT_EQ(ok({ { "cmd", "openedURLs" } })["urls"], json::array({ "https://example.org/tessaro" }));
}

TEST_F(SampleScreenTest, TheIndexJumpsToALetterAndTheSearchSymbolBackToTheSearchBar)
{
    EXPECT_EQ(ok({ { "cmd", "index" }, { "title", "M" } })["title"], "M");
    double offset = node("sample.list")["contentOffset"][1].get<double>();
    EXPECT_GT(offset, 300);
    auto texts = textsIn(tree());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Maria Garcia"), texts.end());
    ok({ { "cmd", "index" }, { "position", 0 } });
    EXPECT_EQ(node("sample.list")["contentOffset"][1], 0.0);
}

TEST_F(SampleScreenTest, TheReturnToTheForegroundReachesTheScreensAndTheLog)
{
    ok({ { "cmd", "log" } });
    ok({ { "cmd", "foreground" } });
    auto lines = ok({ { "cmd", "log" } })["lines"];
    EXPECT_EQ(lines, json::array({ "sample: back in the foreground" }));
    EXPECT_TRUE(ok({ { "cmd", "quit" } })["ok"].get<bool>());
    EXPECT_TRUE(driver->quitRequested());
}

#include "AutomationTestSupport.h"

#include "platform/automation/AutomationSession.h"
#include "platform/automation/Driver.h"
#include "sample/SampleLaunch.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"
#include "support/ManualTime.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

using automationtest::findNode;
using automationtest::json;

namespace {

// A screen with a filtered list (one row hidden, none deletable) and a button that warns
// with an alert; it writes down what reaches it.
class FilterScreen final : public ui::ViewController,
                           public ui::TableViewDataSource,
                           public ui::TableViewDelegate,
                           public ui::AlertViewDelegate {
public:
    std::vector<std::string> heard;
    std::shared_ptr<ui::TableView> table;

    void viewDidLoad() override
    {
        table = std::make_shared<ui::TableView>(ui::Rect { 0, 0, 320, 300 });
        table->setDataSource(this);
        table->setDelegate(this);
        view()->addSubview(table);
        auto warn = ui::Button::buttonWithType(ui::ButtonType::RoundedRect);
        warn->setFrame({ 20, 320, 100, 44 });
        warn->setTitle("Warn");
        warn->addAction(ui::ControlEvent::TouchUpInside, [this](ui::Control&) {
            auto alert = std::make_shared<ui::AlertView>("Careful", "It is late", this, "Cancel", std::vector<std::string> { "OK" });
            alert->show();
        });
        view()->addSubview(warn);
    }
    ~FilterScreen() override
    {
        if (table) {
            table->setDataSource(nullptr);
            table->setDelegate(nullptr);
        }
    }
    int numberOfRowsInSection(ui::TableView&, int) override { return 3; }
    std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView&, const ui::IndexPath& p) override
    {
        auto cell = std::make_shared<ui::TableViewCell>(ui::TableViewCellStyle::Default, "row");
        cell->textLabel().setText(std::vector<std::string> { "one", "hidden", "three" }[std::size_t(p.row)]);
        return cell;
    }
    double heightForRowAtIndexPath(ui::TableView&, const ui::IndexPath& p) override { return p.row == 1 ? 0 : 44; }
    bool canEditRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override { return false; }
    void didSelectRowAtIndexPath(ui::TableView&, const ui::IndexPath& p) override { heard.push_back("row " + p.toString()); }
    void clickedButtonAtIndex(ui::AlertView&, int index) override { heard.push_back("alert " + std::to_string(index)); }
};

struct DriverTest : ::testing::Test {
    testsupport::ManualTime time;
    std::shared_ptr<ui::Window> window = std::make_shared<ui::Window>(ui::Rect { 0, 0, 320, 568 });
    std::shared_ptr<FilterScreen> screen = std::make_shared<FilterScreen>();
    tessaro::Driver driver { window };

    void SetUp() override
    {
        automationtest::resetDevice();
        screen->view()->setFrame(window->bounds());
        window->setRootViewController(screen);
        window->makeKeyAndVisible();
    }
    void TearDown() override { automationtest::resetDevice(); }
    std::string error(const std::string& line)
    {
        json answer = json::parse(driver.run(line));
        EXPECT_FALSE(answer["ok"].get<bool>()) << line << " -> " << answer.dump();
        return answer.value("error", "");
    }
};

} // namespace

TEST_F(DriverTest, CommandsThatCannotBeCarriedOutSayWhyAndTheSessionGoesOn)
{
    struct Case {
        const char* line;
        const char* reason;
    };
    const Case cases[] = {
        { "{\"cmd\": \"dump\"", "bad JSON" },
        { "[1, 2]", "a command is a JSON object" },
        { "{\"command\": \"dump\"}", "no \"cmd\"" },
        { "{\"cmd\": \"fly\"}", "unknown command \"fly\"; the commands are dump, tap" },
        { "{\"cmd\": \"tap\"}", "tap needs \"text\", \"id\", or \"x\" and \"y\"" },
        { "{\"cmd\": \"tap\", \"text\": \"Nowhere\"}", "nothing on screen shows \"Nowhere\"" },
        { "{\"cmd\": \"tap\", \"text\": \"\"}", "a \"text\" that is not empty" },
        { "{\"cmd\": \"tap\", \"id\": \"\"}", "an \"id\" that is not empty" },
        { "{\"cmd\": \"tap\", \"x\": 500, \"y\": 10}", "outside the window" },
        { "{\"cmd\": \"tapRow\", \"section\": 0}", "needs whole numbers" },
        { "{\"cmd\": \"tapRow\", \"section\": 0, \"row\": 3}", "section 0 has 3 rows" },
        { "{\"cmd\": \"tapRow\", \"section\": 2, \"row\": 0}", "it has 1 sections" },
        { "{\"cmd\": \"tapRow\", \"section\": 0, \"row\": 1}", "hidden (0 points high)" },
        { "{\"cmd\": \"swipeDelete\", \"section\": 0, \"row\": 0}", "offers no Delete button" },
        { "{\"cmd\": \"moveRow\", \"from\": [0, 0]}", "needs \"from\" and \"to\"" },
        { "{\"cmd\": \"index\", \"position\": 0}", "shows no section index" },
        { "{\"cmd\": \"type\", \"text\": \"x\"}", "nothing has the keyboard" },
        { "{\"cmd\": \"button\", \"index\": 0}", "no alert or action sheet" },
        { "{\"cmd\": \"advance\", \"seconds\": -1}", "advance needs \"seconds\"" },
        { "{\"cmd\": \"advance\", \"seconds\": 1e9}", "advance needs \"seconds\"" },
        { "{\"cmd\": \"foreground\"}", "nothing that returns to the foreground" },
        { "{\"cmd\": \"pasteboard\", \"set\": 5}", "takes a text" },
    };
    for (const auto& c : cases) {
        std::string reason = error(c.line);
        EXPECT_NE(reason.find(c.reason), std::string::npos) << c.line << " -> " << reason;
        EXPECT_TRUE(json::parse(driver.run("{\"cmd\":\"dump\"}"))["ok"].get<bool>());
    }
    EXPECT_TRUE(screen->heard.empty());
}

TEST_F(DriverTest, AnAlertIsDumpedWithItsMessageAndButtonsAndAnsweredByIndex)
{
    EXPECT_TRUE(json::parse(driver.run(R"({"cmd":"tap","text":"Warn"})"))["ok"].get<bool>());
    json tree = json::parse(driver.run(R"({"cmd":"dump"})"))["tree"];
    auto alert = findNode(tree, "type", "AlertView");
    ASSERT_TRUE(alert);
    EXPECT_EQ((*alert)["text"], "Careful");
    EXPECT_EQ((*alert)["message"], "It is late");
    EXPECT_EQ((*alert)["buttons"], json::array({ "Cancel", "OK" }));
    EXPECT_EQ((*alert)["cancelButtonIndex"], 0);
    // The row under the alert cannot be reached while it shows.
    EXPECT_NE(error(R"({"cmd":"tapRow","section":0,"row":0})").find("covered"), std::string::npos);

    json pressed = json::parse(driver.run(R"({"cmd":"button","index":1})"));
    EXPECT_EQ(pressed["title"], "OK");
    EXPECT_EQ(screen->heard, (std::vector<std::string> { "alert 1" }));
    time.advance(1);
    EXPECT_FALSE(findNode(json::parse(driver.run(R"({"cmd":"dump"})"))["tree"], "type", "AlertView"));
}

TEST_F(DriverTest, TapsByPointAndByRowReachTheTableAndTheDumpShowsTheRowsInSight)
{
    json tapped = json::parse(driver.run(R"({"cmd":"tap","x":100,"y":66})"));
    EXPECT_TRUE(tapped["ok"].get<bool>());
    EXPECT_EQ(screen->heard, (std::vector<std::string> { "row 0:2" }));
    json row = json::parse(driver.run(R"({"cmd":"tapRow","section":0,"row":0})"));
    EXPECT_EQ(row["texts"], json::array({ "one" }));
    EXPECT_EQ(screen->heard.back(), "row 0:0");

    json tree = json::parse(driver.run(R"({"cmd":"dump"})"))["tree"];
    auto table = findNode(tree, "type", "TableView");
    ASSERT_TRUE(table);
    EXPECT_EQ((*table)["table"]["sections"][0]["rows"], 3);
    EXPECT_EQ((*table)["table"]["selected"], json::array({ 0, 0 }));
    // Two rows show; the hidden one has no cell.
    ASSERT_EQ((*table)["children"].size(), 2u);
    EXPECT_EQ((*table)["children"][1]["indexPath"], json::array({ 0, 2 }));
    EXPECT_EQ((*table)["children"][1]["frame"], json::array({ 0.0, 44.0, 320.0, 44.0 }));
}

TEST(AutomationSession, AnswersEachLineInTurnUntilQuitAndSkipsBlankLines)
{
    automationtest::resetDevice();
    std::istringstream input("{\"cmd\":\"tapRow\",\"section\":0,\"row\":2}\n"
                             "\n"
                             "not json\n"
                             "{\"cmd\":\"advance\",\"seconds\":0.5}\n"
                             "{\"cmd\":\"dump\"}\n"
                             "{\"cmd\":\"quit\"}\n"
                             "{\"cmd\":\"dump\"}\n");
    std::ostringstream output;
    int status = tessaro::runAutomationSession(input, output, {}, tessaro::sample::launchSample);
    foundation::setLogToStandardError(true);
    foundation::RunLoop::main().useSystemClock();
    automationtest::resetDevice();

    EXPECT_EQ(status, 0);
    std::istringstream lines(output.str());
    std::vector<json> answers;
    for (std::string line; std::getline(lines, line);)
        answers.push_back(json::parse(line));
    ASSERT_EQ(answers.size(), 5u);
    EXPECT_EQ(answers[0]["texts"], json::array({ "Amelia Brown" }));
    EXPECT_FALSE(answers[1]["ok"].get<bool>());
    EXPECT_EQ(answers[2]["now"], 0.5);
    EXPECT_TRUE(findNode(answers[3]["tree"], "text", "Amelia Brown"));
    EXPECT_TRUE(findNode(answers[3]["tree"], "id", "detail.note"));
    EXPECT_EQ(answers[4], json({ { "ok", true } }));
}

// One mail and one text message to a group, as the groups tab opens them: the rows of each
// person (placeholders, labels missing, empty addresses, persons without numbers), the
// filters with their delayed reloads and vanishing headers, rows beyond a hundred of one
// person, the "mailto:" fallback with its trailing commas and escaped addresses, and both
// composers reached from the group list's menu, with the alert of a device that cannot text.

#include "screens/groups/GroupTabFixture.h"

#include "app/RootGeometry.h"
#include "app/TessaroViewController.h"
#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/MultiValue.h"
#include "platform/contactstore/Person.h"
#include "platform/services/MailComposeViewController.h"
#include "platform/services/MessageComposeViewController.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/Window.h"
#include "addressbook/SharedAddressBook.h"
#include "screens/groups/GroupViewController.h"
#include "screens/messaging/GroupSendMailViewController.h"
#include "screens/messaging/GroupSendSMSViewController.h"

namespace groupstest {
namespace {

using namespace contactstore;
using tessaro::GroupSendMailViewController;
using tessaro::GroupSendSMSViewController;
using tessaro::SendMailPersonObject;

using Entries = std::vector<std::pair<std::string, std::optional<std::string>>>;

class GroupMessagingTest : public GroupTabFixture {
protected:
    // A person whose addresses and numbers carry exactly the labels given (none: no label).
    tessaro::Contact addPersonWith(const std::string& first, const Entries& mails, const Entries& phones = {})
    {
        auto person = Person::create();
        if (!first.empty()) {
            EXPECT_TRUE(person->setValue(kPersonFirstNameProperty, first));
        }
        auto setMulti = [&person](PropertyID property, const Entries& entries) {
            if (entries.empty())
                return;
            MultiValue multi(PropertyType::MultiString);
            for (const auto& [value, label] : entries)
                EXPECT_TRUE(multi.addValueAndLabel(value, label));
            EXPECT_TRUE(person->setValue(property, multi));
        };
        setMulti(kPersonEmailProperty, mails);
        setMulti(kPersonPhoneProperty, phones);
        auto book = tessaro::SharedAddressBook::get();
        Error error;
        EXPECT_TRUE(book->addRecord(person, &error) && book->save(&error)) << error.description;
        return *tessaro::Contact::contactWithRecord(person);
    }

    // Opens the screen from the all-contacts row's menu, as the user does.
    template <class Screen>
    Screen& openFromMenu(const char* buttonTitle)
    {
        act({ { "cmd", "tap" }, { "id", "groups.menu.0" } });
        act({ { "cmd", "button" }, { "title", buttonTitle } });
        time.advance(1);
        auto* screen = dynamic_cast<Screen*>(root().groupNavController()->topViewController());
        EXPECT_NE(screen, nullptr);
        return *screen;
    }

    // The rows the table shows (of non-zero height, as last loaded) as "section.row"; a
    // header shows exactly over a shown row.
    template <class Screen>
    static std::vector<std::string> visibleRows(Screen& screen)
    {
        auto& table = *screen.myTableView();
        testsupport::checkTable(table);
        std::vector<std::string> shown;
        for (int section = 0; section < table.numberOfSections(); ++section) {
            bool header = table.rectForHeaderInSection(section).height() > 0;
            bool anyRow = false;
            for (int row = 0; row < table.numberOfRowsInSection(section); ++row) {
                if (table.rectForRowAtIndexPath({ section, row }).height() > 0) {
                    anyRow = true;
                    shown.push_back(std::to_string(section) + "." + std::to_string(row));
                }
            }
            EXPECT_EQ(header, anyRow) << "header of section " << section;
        }
        return shown;
    }

    // The row's segment, as a touch on it leaves it.
    ui::SegmentedControl& sendTypeControl(GroupSendMailViewController& screen, ui::IndexPath path)
    {
        auto& table = *screen.myTableView();
        table.scrollToRowAtIndexPath(path, ui::TableViewScrollPosition::Middle, false);
        window().layoutIfNeeded();
        auto cell = table.cellForRowAtIndexPath(path);
        EXPECT_TRUE(cell);
        for (const auto& view : cell->contentView().subviews()) {
            if (auto* control = dynamic_cast<ui::SegmentedControl*>(view.get()))
                return *control;
        }
        ADD_FAILURE() << "no segment in row " << path.section << "." << path.row;
        static ui::SegmentedControl none;
        return none;
    }

    void chooseSendType(GroupSendMailViewController& screen, ui::IndexPath path, int sendType)
    {
        auto& control = sendTypeControl(screen, path);
        control.setSelectedSegmentIndex(sendType);
        control.sendActionsForControlEvents(ui::ControlEvent::ValueChanged);
    }
};

// ---- Group mail ----

TEST_F(GroupMessagingTest, MailRowsKeepPlaceholdersMissingLabelsAndEmptyAddressesApart)
{
    struct Case {
        const char* name;
        Entries mails;
        std::vector<std::tuple<std::string, std::optional<std::string>, int>> rows; // mail, label, sendType
    };
    const std::vector<Case> cases {
        { "Two addresses, one label", { { "a@x.org", "private" }, { "b@x.org", std::nullopt } },
          { { "a@x.org", "private", 0 }, { "b@x.org", "", 0 } } },
        { "No address", {}, { { "", std::nullopt, 3 } } },
        { "An empty address", { { "", "work" }, { "c@x.org", "work" } }, { { "", "work", 3 }, { "c@x.org", "work", 0 } } },
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        auto rows = GroupSendMailViewController::rowsOfPerson(addPersonWith(test.name, test.mails));
        ASSERT_EQ(rows.size(), test.rows.size());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(rows[i].name, test.name);
            EXPECT_EQ(rows[i].mail, std::get<0>(test.rows[i]));
            EXPECT_EQ(rows[i].mailLabels, std::get<1>(test.rows[i]));
            EXPECT_EQ(rows[i].sendType, std::get<2>(test.rows[i]));
        }
    }
    // Without a name the person is known by its numbers.
    auto nameless = GroupSendMailViewController::rowsOfPerson(addPersonWith("", {}, { { "555 1234", std::nullopt }, { "(03) 77", "work" } }));
    EXPECT_EQ(nameless.front().name, "555 1234 (03) 77");
}

TEST_F(GroupMessagingTest, MailFiltersHideRowsAndHeadersAndAChangedRowLeavesAMomentLater)
{
    addPersonWith("Ann", { { "ann@x.org", "home" }, { "ann@work.org", "work" } });
    addPersonWith("Ben", {});
    addPersonWith("Cal", { { "cal@x.org", "home" } });
    launch(OpenedScreens::Application);
    auto& screen = openFromMenu<GroupSendMailViewController>("SendGroupMailTitle");
    EXPECT_EQ(screen.title(), "SendGroupMailTitle");
    ASSERT_EQ(screen.arrMailPersions().size(), 3u);
    EXPECT_EQ(screen.segmentedControl()->titleForSegmentAtIndex(4), "\xC3\x97");

    auto& filter = *screen.segmentedControl();
    auto setFilter = [&](int index) {
        filter.setSelectedSegmentIndex(index);
        filter.sendActionsForControlEvents(ui::ControlEvent::ValueChanged);
    };
    EXPECT_EQ(visibleRows(screen), (std::vector<std::string> { "0.0", "0.1", "1.0", "2.0" }));
    setFilter(GroupSendMailViewController::kFilterNone);
    // Nobody left anything out yet, and a person without an address is nothing to leave out.
    EXPECT_TRUE(visibleRows(screen).empty());

    setFilter(GroupSendMailViewController::kFilterTo);
    EXPECT_EQ(visibleRows(screen), (std::vector<std::string> { "0.0", "0.1", "2.0" }));
    chooseSendType(screen, { 0, 1 }, SendMailPersonObject::kSendCc);
    EXPECT_EQ(visibleRows(screen).size(), 3u) << "the row stays until the delayed reload";
    time.advance(GroupSendMailViewController::kFilterRefreshDelay);
    EXPECT_EQ(visibleRows(screen), (std::vector<std::string> { "0.0", "2.0" }));

    chooseSendType(screen, { 2, 0 }, SendMailPersonObject::kSendNone);
    time.advance(GroupSendMailViewController::kFilterRefreshDelay);
    setFilter(GroupSendMailViewController::kFilterNone);
    EXPECT_EQ(visibleRows(screen), (std::vector<std::string> { "2.0" }));
    setFilter(GroupSendMailViewController::kFilterCc);
    EXPECT_EQ(visibleRows(screen), (std::vector<std::string> { "0.1" }));

    // Under "All" a change reloads nothing: the row keeps its cell.
    setFilter(GroupSendMailViewController::kFilterAll);
    auto before = screen.myTableView()->cellForRowAtIndexPath({ 0, 0 });
    chooseSendType(screen, { 0, 0 }, SendMailPersonObject::kSendBcc);
    time.advance(1);
    EXPECT_EQ(screen.myTableView()->cellForRowAtIndexPath({ 0, 0 }), before);
    EXPECT_EQ(screen.arrMailPersions()[0][0].sendType, SendMailPersonObject::kSendBcc);
}

TEST_F(GroupMessagingTest, EachOfAHundredAndTwentyAddressesIsSetOnItsOwnRow)
{
    Entries mails;
    for (int i = 0; i < 120; ++i)
        mails.push_back({ "m" + std::to_string(i) + "@x.org", std::nullopt });
    addPersonWith("Many", mails);
    addPersonWith("Next", { { "next@x.org", std::nullopt } });
    launch(OpenedScreens::Application);
    auto& screen = openFromMenu<GroupSendMailViewController>("SendGroupMailTitle");
    for (int row : { 5, 100, 105, 119 })
        chooseSendType(screen, { 0, row }, row == 105 ? SendMailPersonObject::kSendCc : SendMailPersonObject::kSendBcc);
    const auto& rows = screen.arrMailPersions();
    for (int row = 0; row < 120; ++row) {
        int expected = row == 105 ? SendMailPersonObject::kSendCc
            : (row == 5 || row == 100 || row == 119) ? SendMailPersonObject::kSendBcc
                                                      : SendMailPersonObject::kSendTo;
        EXPECT_EQ(rows[0][static_cast<std::size_t>(row)].sendType, expected) << "row " << row;
    }
    EXPECT_EQ(rows[1][0].sendType, SendMailPersonObject::kSendTo) << "the next person's row is untouched";
}

TEST_F(GroupMessagingTest, TheFallbackURLKeepsTrailingCommasAndEscapesEachAddress)
{
    auto row = [](std::string mail, int type) { return SendMailPersonObject { "P", std::move(mail), std::string(), type }; };
    struct Case {
        const char* name;
        GroupSendMailViewController::Sections sections;
        std::string url;
    };
    const std::vector<Case> cases {
        { "everything left out", { { row("a@x.org", 3), row("", 3) }, { row("b@x.org", 3) } }, "mailto:?cc=&bcc=" },
        { "two To and one Bcc", { { row("a", 0), row("c", 2) }, { row("b", 0) } }, "mailto:a,b,?cc=&bcc=c," },
        { "one of each", { { row("t@x.org", 0) }, { row("c@x.org", 1), row("b@x.org", 2) } }, "mailto:t@x.org,?cc=c@x.org,&bcc=b@x.org," },
        { "a hostile address", { { row("x?cc=evil@y.org&bcc=#%@x.org", 0) }, { row("ok@x.org", 1) } },
          "mailto:x%3Fcc%3Devil@y.org%26bcc%3D%23%25@x.org,?cc=ok@x.org,&bcc=" },
        { "blanks, commas and letters outside ASCII", { { row("J. Doe, Jr <j d@x.org>", 2), row("\xE5\xA4\xAA\xE9\x83\x8E@\xE4\xBE\x8B.jp", 0) } },
          "mailto:%E5%A4%AA%E9%83%8E@%E4%BE%8B.jp,?cc=&bcc=J.%20Doe%2C%20Jr%20%3Cj%20d@x.org%3E," },
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        EXPECT_EQ(GroupSendMailViewController::fallbackMailURL(test.sections), test.url);
    }
}

TEST_F(GroupMessagingTest, AMailFromTheGroupMenuReachesTheComposerAndTheDesktopAsOneMailtoURL)
{
    addPersonWith("Ann", { { "ann@x.org", "home" }, { "ann@work.org", "work" } });
    addPersonWith("Ben", { { "ben@x.org", "home" } });
    addPersonWith("Cal", {});
    launch(OpenedScreens::Application);
    auto& screen = openFromMenu<GroupSendMailViewController>("SendGroupMailTitle");
    chooseSendType(screen, { 0, 1 }, SendMailPersonObject::kSendCc);
    chooseSendType(screen, { 1, 0 }, SendMailPersonObject::kSendBcc);

    act({ { "cmd", "tap" }, { "id", "groupMail.compose" } });
    time.advance(1);
    auto* composer = dynamic_cast<services::MailComposeViewController*>(root().presentedViewController());
    ASSERT_NE(composer, nullptr);
    EXPECT_EQ(composer->toRecipients(), (std::vector<std::string> { "ann@x.org" }));
    EXPECT_EQ(composer->ccRecipients(), (std::vector<std::string> { "ann@work.org" }));
    EXPECT_EQ(composer->bccRecipients(), (std::vector<std::string> { "ben@x.org" }));

    root().tabController()->view()->setFrame({ 0, 0, 320, 568 });
    act({ { "cmd", "tap" }, { "id", "compose.send" } });
    time.advance(1);
    EXPECT_EQ(act({ { "cmd", "openedURLs" } })["urls"],
              nlohmann::json::array({ "mailto:ann@x.org?cc=ann@work.org&bcc=ben@x.org" }));
    EXPECT_EQ(root().presentedViewController(), nullptr);
    EXPECT_EQ(root().tabController()->view()->frame(), tessaro::RootGeometry::tabControllerFrame());
    EXPECT_EQ(root().groupNavController()->topViewController(), &screen) << "the screen stays for another mail";

    // Without a composer the same choices go out as the fallback URL.
    screen.launchMailAppOnDevice();
    EXPECT_EQ(act({ { "cmd", "openedURLs" } })["urls"],
              nlohmann::json::array({ "mailto:ann@x.org,?cc=ann@work.org,&bcc=ben@x.org," }));
}

// ---- Group text message ----

TEST_F(GroupMessagingTest, TextRowsSkipPersonsWithoutNumbersAndEmptyLabelsFillTheGaps)
{
    auto three = GroupSendSMSViewController::rowsOfPerson(
        addPersonWith("Ann", {}, { { "+1 (555) 010-2000", "mobile" }, { "555 0101", "home" }, { "0101", std::nullopt } }));
    ASSERT_EQ(three.size(), 3u);
    EXPECT_EQ(three[0].number, "+1 (555) 010-2000");
    EXPECT_EQ(three[2].numberLabel, "");
    EXPECT_TRUE(three[0].isSendSms && three[1].isSendSms && three[2].isSendSms);
    EXPECT_TRUE(GroupSendSMSViewController::rowsOfPerson(addPersonWith("Ben", { { "ben@x.org", std::nullopt } })).empty());

    launch(OpenedScreens::Application);
    auto& screen = openFromMenu<GroupSendSMSViewController>("SendGroupSMSTitle");
    EXPECT_EQ(screen.title(), "SendGroupSmsTitle");
    ASSERT_EQ(screen.arrSmsPersions().size(), 1u) << "Ben has no number and no section";
    EXPECT_EQ(screen.myTableView()->headerTitleInSection(0), "Ann");
}

TEST_F(GroupMessagingTest, UncheckedNumbersLeaveTheCheckedFilterAndTheComposerGetsTheRestAsStored)
{
    services::MessageComposeViewController::setCanSendText(true);
    addPersonWith("Ann", {}, { { "+1 (555) 010-2000", "mobile" }, { "555 0101", "home" } });
    addPersonWith("Ben", {}, { { "030-1234", "work" } });
    launch(OpenedScreens::Application);
    auto& screen = openFromMenu<GroupSendSMSViewController>("SendGroupSMSTitle");
    auto& table = *screen.myTableView();

    // Under "all" an unchecked row stays, without its check mark.
    act({ { "cmd", "tapRow" }, { "section", 0 }, { "row", 1 } });
    time.advance(1);
    EXPECT_EQ(table.cellForRowAtIndexPath({ 0, 1 })->accessoryType(), ui::TableViewCellAccessoryType::None);
    EXPECT_EQ(visibleRows(screen).size(), 3u);

    auto& filter = *screen.segmentedControl();
    filter.setSelectedSegmentIndex(GroupSendSMSViewController::kFilterChecked);
    filter.sendActionsForControlEvents(ui::ControlEvent::ValueChanged);
    EXPECT_EQ(visibleRows(screen), (std::vector<std::string> { "0.0", "1.0" }));
    act({ { "cmd", "tapRow" }, { "section", 1 }, { "row", 0 } });
    EXPECT_EQ(visibleRows(screen).size(), 2u);
    time.advance(GroupSendSMSViewController::kFilterRefreshDelay);
    EXPECT_EQ(visibleRows(screen), (std::vector<std::string> { "0.0" }));

    act({ { "cmd", "tap" }, { "id", "groupSms.send" } });
    time.advance(1);
    auto* composer = dynamic_cast<services::MessageComposeViewController*>(root().presentedViewController());
    ASSERT_NE(composer, nullptr);
    EXPECT_EQ(composer->recipients(), (std::vector<std::string> { "+1 (555) 010-2000" }));
    act({ { "cmd", "tap" }, { "id", "compose.cancel" } });
    time.advance(1);
    EXPECT_EQ(root().presentedViewController(), nullptr);

    // Everything unchecked: the composer still opens, with nobody.
    act({ { "cmd", "tapRow" }, { "section", 0 }, { "row", 0 } });
    act({ { "cmd", "tap" }, { "id", "groupSms.send" } });
    time.advance(1);
    composer = dynamic_cast<services::MessageComposeViewController*>(root().presentedViewController());
    ASSERT_NE(composer, nullptr);
    EXPECT_TRUE(composer->recipients().empty());
}

TEST_F(GroupMessagingTest, ADeviceThatCannotTextSaysSoAndStaysOnTheScreen)
{
    addPersonWith("Ann", {}, { { "555 0101", "home" } });
    launch(OpenedScreens::Application);
    auto& screen = openFromMenu<GroupSendSMSViewController>("SendGroupSMSTitle");
    act({ { "cmd", "tap" }, { "id", "groupSms.send" } });
    auto alert = act({ { "cmd", "dump" } }).dump();
    EXPECT_NE(alert.find("SmsCannotSentMessageTitle"), std::string::npos);
    act({ { "cmd", "button" }, { "title", "OK" } });
    time.advance(1);
    EXPECT_EQ(root().presentedViewController(), nullptr);
    EXPECT_EQ(root().groupNavController()->topViewController(), &screen);
    EXPECT_TRUE(act({ { "cmd", "openedURLs" } })["urls"].empty());
}

} // namespace
} // namespace groupstest

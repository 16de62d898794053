// The persons of a group as the groups tab shows them: whose persons each kind of group
// lists, alphabetical sections and the index with its search symbol, the search (blanks
// removed, case and accents ignored, digits finding numbers written with separators), the
// rows' texts and tags, touching a person, the set-to-group button, the bar of both system
// looks, new persons and the chooser's starting group, and the screens opened from here
// coming back.

#include "GroupTabFixture.h"

#include "addressbook/AddressBookGroup.h"
#include "addressbook/SharedAddressBook.h"
#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/Person.h"
#include "app/AppNotification.h"
#include "app/MyToolBar.h"
#include "app/RootGeometry.h"
#include "app/TessaroViewController.h"
#include "app/Utility.h"
#include "platform/contactstore/Source.h"
#include "platform/foundation/Device.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/SearchBar.h"
#include "platform/ui/SearchDisplayController.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/Window.h"
#include "screens/groups/GroupContactsViewController.h"
#include "screens/groups/GroupViewController.h"
#include "store/DataManager.h"

#include <algorithm>

namespace groupstest {
namespace {

using tessaro::GroupContactsViewController;

// Rows of the pseudo-groups in the group list.
constexpr int kAllContactsRow = 0;
constexpr int kNoGroupRow = 1;

class GroupContactsTest : public GroupTabFixture {
protected:
    // The names the rows show, section by section, through the shared table checker.
    static std::vector<std::vector<std::string>> namesBySection(ui::TableView& table)
    {
        auto contents = testsupport::checkTable(table);
        std::vector<std::vector<std::string>> names;
        for (const auto& section : contents.sections) {
            names.emplace_back();
            for (const auto& row : section.rows)
                names.back().push_back(nameOf(row));
        }
        return names;
    }

    // The first text of a row after its picture: the name.
    static std::string nameOf(const testsupport::TableContents::Row& row)
    {
        for (const auto& text : row.allTexts) {
            bool picture = text.size() > 4 && text.compare(text.size() - 4, 4, ".png") == 0;
            if (!picture && text != "photo")
                return text;
        }
        return {};
    }

    static std::vector<std::string> allNames(ui::TableView& table)
    {
        std::vector<std::string> names;
        for (const auto& section : namesBySection(table))
            names.insert(names.end(), section.begin(), section.end());
        return names;
    }

    ui::TableView& list() { return *groupContacts()->myTableView(); }

    // The results table while a search shows it.
    ui::TableView& results() { return *groupContacts()->searchDisplayController()->searchResultsTableView(); }

    void search(const std::string& text)
    {
        act({ { "cmd", "tap" }, { "id", "groupcontacts.search" } });
        act({ { "cmd", "type" }, { "text", text } });
    }

    // Every text shown in the cell of the row (which must be in sight).
    std::vector<std::string> textsOfRow(ui::TableView& table, ui::IndexPath path)
    {
        table.scrollToRowAtIndexPath(path, ui::TableViewScrollPosition::Middle, false);
        // Bars in a row make their buttons when they are laid out.
        window().layoutIfNeeded();
        std::vector<std::string> texts;
        if (auto cell = table.cellForRowAtIndexPath(path))
            collect(*cell, texts);
        return texts;
    }

    static void collect(const ui::View& view, std::vector<std::string>& texts)
    {
        if (view.isHidden())
            return;
        if (auto text = view.displayText(); !text.empty())
            texts.push_back(text);
        for (const auto& child : view.subviews())
            collect(*child, texts);
    }

    static bool contains(const std::vector<std::string>& texts, const std::string& text)
    {
        return std::find(texts.begin(), texts.end(), text) != texts.end();
    }
};

// ---- Whose persons ----

TEST_F(GroupContactsTest, EachKindOfGroupListsItsOwnPersons)
{
    auto ann = addPerson({ "Ann", "Archer", { "111" }, { "ann@example.com" } });
    auto ben = addPerson({ "Ben", "Baker", {}, { "ben@example.com" } });
    auto cat = addPerson({ "Cat", "Cole", { "333" }, {} });
    auto dan = addPerson({ "Dan", "Dale", {}, {} });
    auto book = addAddressBookGroup("Book", { ann, ben });
    auto local = addLocalGroup("Local", { ben, cat, dan });
    deletePersonOutside(dan.recordID());
    tessaro::Utility::sharedUtility().resetObject();
    launch();

    const std::vector<std::pair<std::string, std::vector<std::string>>> expected {
        { "-1", { "Archer Ann", "Baker Ben", "Cole Cat" } },
        { "-2", {} },
        { std::to_string(book), { "Archer Ann", "Baker Ben" } },
        // The member row of a person deleted elsewhere shows nobody.
        { local, { "Baker Ben", "Cole Cat" } },
        { "-100", { "Baker Ben" } },
        { "-101", { "Cole Cat" } },
    };
    for (const auto& [groupID, names] : expected) {
        SCOPED_TRACE(groupID);
        openGroupAtRow(rowOfGroup(groupID));
        EXPECT_EQ(allNames(list()), names);
        EXPECT_EQ(groupContacts()->navigationItem().title(), tessaro::Utility::sharedUtility().getGroupName(groupContacts()->groupObj()));
        root().groupNavController()->popToRootViewControllerAnimated(false);
        time.advance(1);
    }

    // Everyone grouped: nobody is left in the list of persons in no group.
    addPerson("Eve", "Evans");
    openGroupAtRow(kNoGroupRow);
    EXPECT_EQ(allNames(list()), std::vector<std::string> { "Evans Eve" });
}

// ---- Sections and the index ----

TEST_F(GroupContactsTest, SectionsExistOnlyForLettersWithPersonsAndTheIndexStartsWithTheSearchSymbol)
{
    addPerson("Bob", "Baker");
    addPerson("Amy", "Baker");
    addPerson("Carl", "Adams");
    addPerson("Zed", "Young");
    addPerson("Nobody", "42nd Street");
    launch();
    openGroupAtRow(kAllContactsRow);

    auto contents = testsupport::checkTable(list());
    EXPECT_EQ(contents.headers(), (std::vector<std::string> { "A", "B", "Y", "#" }));
    EXPECT_EQ(contents.indexTitles, (std::vector<std::string> { ui::TableViewIndexSearch, "A", "B", "Y", "#" }));
    EXPECT_EQ(namesBySection(list()), (std::vector<std::vector<std::string>> {
                                          { "Adams Carl" }, { "Baker Amy", "Baker Bob" }, { "Young Zed" }, { "42nd Street Nobody" } }));
}

TEST_F(GroupContactsTest, APhoneticFamilyNamePlacesAndOrdersAPersonWrittenInKanji)
{
    foundation::Device::current().setLocaleIdentifier("ja_JP");
    addPerson({ "花子", "佐藤", {}, {}, "さとう" });
    addPerson({ "一郎", "鈴木", {}, {}, "すずき" });
    addPerson({ "次郎", "安藤", {}, {}, "あんどう" });
    addPerson({ "読み無し", "山田", {}, {}, "" });
    launch();
    openGroupAtRow(kAllContactsRow);

    auto contents = testsupport::checkTable(list());
    EXPECT_EQ(contents.headers(), (std::vector<std::string> { "あ", "さ", "#" }));
    EXPECT_EQ(namesBySection(list()), (std::vector<std::vector<std::string>> {
                                          { "安藤 次郎" }, { "佐藤 花子", "鈴木 一郎" }, { "山田 読み無し" } }));
}

TEST_F(GroupContactsTest, TheSearchSymbolRevealsTheSearchBarAndALetterShowsItsSection)
{
    for (char letter = 'A'; letter <= 'Z'; ++letter)
        for (int i = 0; i < 3; ++i)
            addPerson(std::string(1, letter) + std::to_string(i), std::string(1, letter) + "family");
    launch();
    openGroupAtRow(kAllContactsRow);

    act({ { "cmd", "index" }, { "title", "M" } });
    double sectionTop = list().rectForSection(12).y();
    EXPECT_NEAR(list().contentOffset().y, sectionTop, 1);
    EXPECT_GT(list().contentOffset().y, ui::SearchBar::height);

    act({ { "cmd", "index" }, { "title", "search" } });
    EXPECT_EQ(list().contentOffset().y, 0);
    EXPECT_EQ(groupContacts()->sectionForSectionIndexTitle(list(), ui::TableViewIndexSearch, 0), -1);
    EXPECT_EQ(groupContacts()->sectionForSectionIndexTitle(list(), "M", 13), 12);
}

// ---- Search ----

TEST_F(GroupContactsTest, SearchIgnoresBlanksCaseAndAccentsAndFindsNumbersWrittenWithSeparators)
{
    addPerson({ "Kenji", "Sato", { "+1 (555) 123-4567" }, {} });
    addPerson({ "José", "García", { "090 8888 7777" }, {} });
    addPerson({ "Amy", "Baker", {}, {} });
    addPerson({ "Zoë", "Ångström", {}, {} });
    launch();
    openGroupAtRow(kAllContactsRow);

    const std::vector<std::pair<std::string, std::vector<std::string>>> cases {
        // A blank inside the typed text is dropped: one run of letters, looked for in each field.
        { "ken ji", { "Sato Kenji" } },
        { "JOSE", { "García José" } },
        { "garcia", { "García José" } },
        { "angstrom", { "Ångström Zoë" } },
        { "5551234", { "Sato Kenji" } },
        { "8888 7777", { "García José" } },
        // Given and family name live in different fields; together they find nobody.
        { "Amy Baker", {} },
    };
    for (const auto& [typed, expected] : cases) {
        SCOPED_TRACE(typed);
        search(typed);
        EXPECT_TRUE(groupContacts()->isSearch());
        if (expected.empty()) {
            EXPECT_TRUE(groupContacts()->arrSection().empty());
        } else {
            auto contents = testsupport::checkTable(results());
            ASSERT_EQ(contents.sections.size(), 1u);
            EXPECT_EQ(contents.headers(), std::vector<std::string> { "" });
            EXPECT_TRUE(contents.indexTitles.empty());
            EXPECT_EQ(allNames(results()), expected);
        }
        act({ { "cmd", "tap" }, { "id", "groupcontacts.search" } });
        groupContacts()->searchDisplayController()->setActive(false, false);
        time.advance(1);
        EXPECT_FALSE(groupContacts()->isSearch());
    }
}

TEST_F(GroupContactsTest, MatchesAreSortedAndCancelBringsTheSectionsBack)
{
    addPerson("Mary", "Zeller");
    addPerson("Mark", "Adams");
    addPerson("Omar", "Miller");
    addPerson("Tom", "Baker");
    launch();
    openGroupAtRow(kAllContactsRow);
    auto before = testsupport::checkTable(list());

    search("mar");
    EXPECT_EQ(allNames(results()), (std::vector<std::string> { "Adams Mark", "Miller Omar", "Zeller Mary" }));
    // While the search runs the index is gone from over the search field and its Cancel.
    EXPECT_FALSE(list().isShowingSectionIndex());
    auto refused = tryAct({ { "cmd", "index" }, { "title", "M" } });
    EXPECT_FALSE(refused.value("ok", true));
    act({ { "cmd", "tap" }, { "id", "groupcontacts.search" } });
    auto* cancel = groupContacts()->searchBar()->cancelButton();
    ASSERT_NE(cancel, nullptr);
    cancel->sendActionsForControlEvents(ui::ControlEvent::TouchUpInside);
    time.advance(1);

    EXPECT_FALSE(groupContacts()->isSearch());
    window().layoutIfNeeded();
    EXPECT_TRUE(list().isShowingSectionIndex());
    auto after = testsupport::checkTable(list());
    EXPECT_EQ(after.headers(), before.headers());
    EXPECT_EQ(after.indexTitles, before.indexTitles);
    EXPECT_EQ(allNames(list()), (std::vector<std::string> { "Adams Mark", "Baker Tom", "Miller Omar", "Zeller Mary" }));
}

TEST_F(GroupContactsTest, TheOrderOfOneStartIsNeverShownAfterAPersonChanged)
{
    addPerson("Mary", "Zeller");
    addPerson("Tom", "Baker");
    tessaro::Contact omar = addPerson("Omar", "Miller");
    tessaro::Contact ann = addPerson("Ann", "Baker");
    const std::vector<std::string> first { "Baker Ann", "Baker Tom", "Miller Omar", "Zeller Mary" };
    // Each start opens the address book afresh, as the application does.
    auto expectAllContacts = [&](const std::vector<std::string>& names, const std::string& when) {
        tessaro::Utility::sharedUtility().resetObject();
        launch();
        openGroupAtRow(kAllContactsRow);
        EXPECT_EQ(allNames(list()), names) << when;
        quit();
    };
    expectAllContacts(first, "at the first start");
    expectAllContacts(first, "at the next start");

    // Renamed by another application between two starts.
    {
        contactstore::Error error;
        auto other = contactstore::AddressBook::create(&error);
        ASSERT_TRUE(other) << error.description;
        ASSERT_TRUE(other->personWithRecordID(omar.recordID())->setValue(contactstore::kPersonLastNameProperty, std::string("Abbott")));
        ASSERT_TRUE(other->save(&error)) << error.description;
    }
    const std::vector<std::string> renamed { "Abbott Omar", "Baker Ann", "Baker Tom", "Zeller Mary" };
    expectAllContacts(renamed, "after a rename elsewhere");

    // Renamed in the application itself: the list that opens next has it in its place.
    tessaro::Utility::sharedUtility().resetObject();
    launch();
    auto shown = tessaro::Contact::contactWithRecordID(ann.recordID());
    ASSERT_TRUE(shown);
    shown->setLastname(std::string("Young"));
    contactstore::Error error;
    ASSERT_TRUE(tessaro::SharedAddressBook::get()->save(&error)) << error.description;
    openGroupAtRow(kAllContactsRow);
    const std::vector<std::string> inApplication { "Abbott Omar", "Baker Tom", "Young Ann", "Zeller Mary" };
    EXPECT_EQ(allNames(list()), inApplication);
    quit();
    expectAllContacts(inApplication, "at the start after that");
}

TEST_F(GroupContactsTest, TheListLoadedBeforeASearchNeverReadsPastTheMatches)
{
    for (int i = 0; i < 40; ++i)
        addPerson("Person" + std::to_string(i), "Family" + std::to_string(i));
    launch();
    openGroupAtRow(kAllContactsRow);
    search("person1");
    // The list under the results still has its old counts; scrolling it and laying it out
    // asks for rows the sections no longer hold.
    list().setContentOffset({ 0, list().contentSize().height - list().bounds().height() });
    list().layoutIfNeeded();
    for (const auto& cell : list().visibleCells())
        EXPECT_TRUE(cell->contentView().subviews().empty() || cell->contentView().subviews().size() >= 3);
    EXPECT_EQ(allNames(results()).size(), 11u);
}

// ---- Rows ----

TEST_F(GroupContactsTest, RowsShowNameOrNumbersTheWorkLineAndTheExchangeTagInEveryList)
{
    auto exchange = addSource(contactstore::kSourceTypeExchange);
    addPerson({ "", "", { "090 1111", "080-2222" }, {}, "", "Acme", "", "Sales" });
    addPerson({ "Ex", "Change", {}, {}, "", "", "Boss", "" }, exchange);
    launch();
    openGroupAtRow(kAllContactsRow);

    auto contents = testsupport::checkTable(list());
    ASSERT_EQ(contents.sections.size(), 2u);
    auto numbersRow = textsOfRow(list(), { 0, 0 });
    auto exchangeRow = textsOfRow(list(), { 1, 0 });
    auto* numbers = &numbersRow;
    auto* exchanged = &exchangeRow;
    if (contains(exchangeRow, "090 1111 080-2222"))
        std::swap(numbers, exchanged);
    EXPECT_TRUE(contains(*numbers, "090 1111 080-2222"));
    EXPECT_TRUE(contains(*numbers, "Acme  Sales"));
    EXPECT_TRUE(contains(*numbers, "head.png"));
    EXPECT_FALSE(contains(*numbers, "Exchange"));
    EXPECT_TRUE(contains(*exchanged, "Change Ex"));
    EXPECT_TRUE(contains(*exchanged, " Boss "));
    EXPECT_TRUE(contains(*exchanged, "Exchange"));

    // The same tag in the list of persons in no group.
    root().groupNavController()->popToRootViewControllerAnimated(false);
    time.advance(1);
    openGroupAtRow(kNoGroupRow);
    bool tagged = false;
    for (int section = 0; section < list().numberOfSections(); ++section)
        tagged = tagged || contains(textsOfRow(list(), { section, 0 }), "Exchange");
    EXPECT_TRUE(tagged);
}

TEST_F(GroupContactsTest, APhotoKeepsItsShapeInsideTheBoxAndItsSquare)
{
    EXPECT_EQ(GroupContactsViewController::photoSize({ 100, 50 }), ui::Size(38, 19));
    EXPECT_EQ(GroupContactsViewController::photoSize({ 30, 60 }), ui::Size(19, 38));
    EXPECT_EQ(GroupContactsViewController::photoSize({ 64, 64 }), ui::Size(38, 38));
    // A picture whose size cannot be read still fills the box.
    EXPECT_EQ(GroupContactsViewController::photoSize({ 0, 0 }), ui::Size(38, 38));

    addPerson("Ann", "Archer");
    launch();
    openGroupAtRow(kAllContactsRow);
    list().layoutIfNeeded();
    auto cell = list().cellForRowAtIndexPath({ 0, 0 });
    ASSERT_TRUE(cell);
    auto* photo = dynamic_cast<ui::ImageView*>(cell->contentView().subviews().front().get());
    ASSERT_NE(photo, nullptr);
    ui::Size size = GroupContactsViewController::photoSize(photo->image()->size());
    EXPECT_EQ(photo->frame(), ui::Rect(10 + (48 - size.width) / 2, (48 - size.height) / 2, size.width, size.height));
}

TEST_F(GroupContactsTest, TouchingAPersonShowsTheDetailOfThatPerson)
{
    auto ann = addPerson("Ann", "Archer");
    addPerson("Ben", "Baker");
    launch();
    openGroupAtRow(kAllContactsRow);
    std::vector<foundation::Notification> posted;
    auto observation = foundation::NotificationCenter::defaultCenter().addObserver(
        tessaro::AppNotification::kName, std::nullopt, [&posted](const foundation::Notification& note) { posted.push_back(note); });

    act({ { "cmd", "tapRow" }, { "section", 0 }, { "row", 0 } });
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted.front().object, tessaro::AppNotification::kNotificationNameShowDetail);
    const auto* shown = posted.front().value<tessaro::Contact>(tessaro::AppNotification::kContactKey);
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->recordID(), ann.recordID());
    EXPECT_NE(root().detailViewController(), nullptr);
    EXPECT_FALSE(list().indexPathForSelectedRow());
}

// ---- Putting a person of no group into a group ----

TEST_F(GroupContactsTest, OnlyTheListOfPersonsInNoGroupHasTheSetToGroupButton)
{
    auto ann = addPerson("Ann", "Archer");
    addPerson("Ben", "Baker");
    addLocalGroup("Local", { ann });
    launch();

    for (int row : { kAllContactsRow, rowOfGroup("-100") }) {
        openGroupAtRow(row);
        auto contents = testsupport::checkTable(list());
        for (int section = 0; section < static_cast<int>(contents.sections.size()); ++section)
            for (int shown = 0; shown < static_cast<int>(contents.sections[static_cast<std::size_t>(section)].rows.size()); ++shown)
                EXPECT_FALSE(contains(textsOfRow(list(), { section, shown }), "SetToGroupTitle"));
        root().groupNavController()->popToRootViewControllerAnimated(false);
        time.advance(1);
    }
    openGroupAtRow(kNoGroupRow);
    ASSERT_EQ(testsupport::checkTable(list()).rowCount(), 1);
    EXPECT_TRUE(contains(textsOfRow(list(), { 0, 0 }), "SetToGroupTitle"));
}

TEST_F(GroupContactsTest, TheSetToGroupButtonOpensTheChooserForItsRowsPersonAndDoneReloadsBothScreens)
{
    addPerson("Ann", "Archer");
    auto ben = addPerson("Ben", "Baker");
    std::string local = addLocalGroup("Local");
    launch();
    openGroupAtRow(kNoGroupRow);

    act({ { "cmd", "tap" }, { "id", "groupcontacts.setGroup.1.0" } });
    time.advance(1);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened.front().kind, "groupSelect");
    EXPECT_EQ(opened.front().contactID, ben.recordID());
    ASSERT_TRUE(opened.front().group);
    EXPECT_EQ(opened.front().group->groupID, "-2");
    EXPECT_FALSE(opened.front().isAutoRemove);
    auto chooser = opened.front().screen.lock();
    ASSERT_TRUE(chooser);
    EXPECT_EQ(root().presentedViewController(), chooser->navigationController());

    // The chooser puts Ben into the group and reports Done: it is dismissed, and both the
    // persons and the group list follow.
    ASSERT_TRUE(tessaro::DataManager::sharedDataBase().insertLocalGroupMember(std::stoi(local), std::to_string(ben.recordID())));
    groupContacts()->groupSelectedDone(*chooser);
    chooser.reset();
    time.advance(1);
    EXPECT_EQ(root().presentedViewController(), nullptr);
    EXPECT_EQ(allNames(list()), std::vector<std::string> { "Archer Ann" });
    auto& groups = *groupList().myTableView();
    groups.layoutIfNeeded();
    EXPECT_EQ(testsupport::checkTable(groups).sections.front().rows[kNoGroupRow].allTexts[1], "1");
}

// ---- The bar ----

TEST_F(GroupContactsTest, TheBarOffersBulkEditAndNewPersonFromSevenAndTheGroupMenuBefore)
{
    struct Look {
        const char* version;
        std::vector<std::string> ids;
    };
    for (const Look& look : { Look { "7.0", { "", "groupcontacts.edit", "groupcontacts.add" } },
                              Look { "6.1", { "", "groupcontacts.edit", "", "groupcontacts.menu", "", "groupcontacts.add" } } }) {
        SCOPED_TRACE(look.version);
        foundation::Device::current().setSystemVersion(look.version);
        launch();
        openGroupAtRow(kAllContactsRow);
        auto* bar = groupContacts()->barToolbar();
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->frame().size, ui::Size(144, 44.2));
        EXPECT_DOUBLE_EQ(bar->alpha(), 0.8);
        std::vector<std::string> ids;
        for (const auto& item : bar->items())
            ids.push_back(item->accessibilityIdentifier());
        EXPECT_EQ(ids, look.ids);
        EXPECT_EQ(groupContacts()->navigationItem().rightBarButtonItem()->customView().get(), bar);
        if (std::string(look.version) == "7.0") {
            EXPECT_EQ(bar->items()[2]->title(), "AddContactButtonTitle");
        }
        quit();
    }
}

TEST_F(GroupContactsTest, TheBarsGroupMenuOpensMailMessageAndMemberEditingOfTheShownGroup)
{
    foundation::Device::current().setSystemVersion("6.1");
    std::string local = addLocalGroup("Local");
    launch();
    auto& screen = openGroupAtRow(rowOfGroup(local));

    const std::vector<std::pair<int, std::string>> answers { { 0, "groupSMS" }, { 1, "groupMail" }, { 2, "memberEdit" } };
    for (const auto& [index, kind] : answers) {
        SCOPED_TRACE(kind);
        opened.clear();
        act({ { "cmd", "tap" }, { "id", "groupcontacts.menu" } });
        act({ { "cmd", "button" }, { "index", index } });
        time.advance(1);
        ASSERT_EQ(opened.size(), 1u);
        EXPECT_EQ(opened.front().kind, kind);
        ASSERT_TRUE(opened.front().group);
        EXPECT_EQ(opened.front().group->groupID, local);
        auto shown = opened.front().screen.lock();
        ASSERT_TRUE(shown);
        if (kind == "memberEdit") {
            EXPECT_EQ(screen.memberEditViewController(), shown.get());
            EXPECT_EQ(root().presentedViewController(), shown->navigationController());
            root().dismissViewControllerAnimated(false);
        } else {
            EXPECT_EQ(root().groupNavController()->topViewController(), shown.get());
            root().groupNavController()->popViewControllerAnimated(false);
        }
        time.advance(1);
    }

    // A pseudo-group's menu has no member editing: its third button is cancel.
    root().groupNavController()->popToRootViewControllerAnimated(false);
    time.advance(1);
    openGroupAtRow(kAllContactsRow);
    opened.clear();
    act({ { "cmd", "tap" }, { "id", "groupcontacts.menu" } });
    act({ { "cmd", "button" }, { "index", 2 } });
    time.advance(1);
    EXPECT_TRUE(opened.empty());
}

// ---- New persons and the screens opened from here ----

TEST_F(GroupContactsTest, TheChooserAfterANewPersonStartsAtTheShownGroupExceptForTheNumberAndMailLists)
{
    std::string local = addLocalGroup("Local");
    launch();
    const std::vector<std::pair<std::string, std::optional<std::string>>> cases {
        { local, local }, { "-1", "-1" }, { "-2", "-2" }, { "-100", std::nullopt }, { "-101", std::nullopt } };
    for (const auto& [shownGroup, startGroup] : cases) {
        SCOPED_TRACE(shownGroup);
        opened.clear();
        openGroupAtRow(rowOfGroup(shownGroup));
        auto& screen = *groupContacts();
        act({ { "cmd", "tap" }, { "id", "groupcontacts.add" } });
        time.advance(1);
        act({ { "cmd", "tap" }, { "id", "newperson.firstName" } });
        act({ { "cmd", "type" }, { "text", "New " + shownGroup } });
        act({ { "cmd", "tap" }, { "id", "newperson.done" } });
        time.advance(1);

        ASSERT_EQ(opened.size(), 1u);
        EXPECT_TRUE(opened.front().isAutoRemove);
        EXPECT_EQ(opened.front().group.has_value(), startGroup.has_value());
        if (startGroup && opened.front().group) {
            EXPECT_EQ(opened.front().group->groupID, *startGroup);
        }
        ASSERT_NE(screen.groupSelectNav(), nullptr);
        EXPECT_EQ(screen.groupSelectNav()->view()->frame(), ui::Rect(0, 69, 320, 411 + 88));
        EXPECT_EQ(screen.groupSelectNav()->view()->superview(), &window());
        EXPECT_EQ(root().presentedViewController(), nullptr);

        // The chooser slides itself away and reports back.
        screen.groupSelectNav()->view()->removeFromSuperview();
        screen.groupSelectedCancel(*opened.front().screen.lock());
        time.advance(1);
        root().groupNavController()->popToRootViewControllerAnimated(false);
        time.advance(1);
    }
}

TEST_F(GroupContactsTest, BulkEditHearsReloadsWhileOpenAndItsDoneReloadsThePersonsAndTheGroupList)
{
    addPerson("Ann", "Archer");
    launch();
    auto& screen = openGroupAtRow(kAllContactsRow);
    act({ { "cmd", "tap" }, { "id", "groupcontacts.edit" } });
    time.advance(1);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened.front().kind, "bulkEdit");
    EXPECT_EQ(opened.front().group->groupID, "-1");
    auto editor = opened.front().screen.lock();
    ASSERT_TRUE(editor);
    EXPECT_EQ(root().presentedViewController(), editor->navigationController());

    root().reloadAllView();
    time.advance(1);
    EXPECT_EQ(editor->reloads, 1);

    addPerson("Ben", "Baker");
    root().tabController()->view()->setFrame({ 0, 0, 320, 568 });
    screen.editSelectedContactDone(*editor);
    editor.reset();
    EXPECT_NE(root().tabController()->view()->frame(), tessaro::RootGeometry::tabControllerFrame());
    time.advance(1);
    EXPECT_TRUE(opened.front().screen.expired());
    EXPECT_EQ(screen.editSelectedContactViewController(), nullptr);
    EXPECT_EQ(root().presentedViewController(), nullptr);
    EXPECT_EQ(root().tabController()->view()->frame(), tessaro::RootGeometry::tabControllerFrame());
    EXPECT_EQ(allNames(list()), (std::vector<std::string> { "Archer Ann", "Baker Ben" }));
    auto groups = testsupport::checkTable(*groupList().myTableView());
    EXPECT_EQ(groups.sections.front().rows[kAllContactsRow].allTexts[1], "2");
}

TEST_F(GroupContactsTest, MemberEditingDoneClosesItAndReloads)
{
    auto ann = addPerson("Ann", "Archer");
    auto ben = addPerson("Ben", "Baker");
    std::string local = addLocalGroup("Local", { ann });
    launch();
    auto& screen = openGroupAtRow(rowOfGroup(local));
    screen.clickedButtonAtIndex(*std::make_shared<ui::ActionSheet>("", nullptr, "", "", std::vector<std::string> {}), 2);
    time.advance(1);
    ASSERT_EQ(opened.size(), 1u);
    auto editor = opened.front().screen.lock();
    ASSERT_TRUE(editor);
    EXPECT_EQ(screen.memberEditViewController(), editor.get());

    ASSERT_TRUE(tessaro::DataManager::sharedDataBase().insertLocalGroupMember(std::stoi(local), std::to_string(ben.recordID())));
    screen.groupMemberEditDone(*editor);
    editor.reset();
    time.advance(1);
    EXPECT_EQ(screen.memberEditViewController(), nullptr);
    EXPECT_EQ(root().presentedViewController(), nullptr);
    EXPECT_EQ(allNames(list()), (std::vector<std::string> { "Archer Ann", "Baker Ben" }));
}

} // namespace
} // namespace groupstest

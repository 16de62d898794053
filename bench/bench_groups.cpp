// The groups tab at the size of a big real address book: 50,000 persons in 500 groups (400
// address-book groups and 100 local groups of 20 members each; a fifth of the persons in
// some group). Measures what the user waits for: the group list with the rows in sight (each
// counting persons live), the count of persons in no group, opening all contacts in sorted
// sections, and one keystroke of a search over all persons. On the same book, the favourites
// and memo tabs: opening the favourites picker of all persons, a keystroke of its search, and
// a reorder of 500 favourites or memos. Fixed seed.

#include "FixtureBook.h"

#include "addressbook/AddressBookQueries.h"
#include "app/Utility.h"
#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/MultiValue.h"
#include "platform/contactstore/Person.h"
#include "platform/ui/SearchBar.h"
#include "platform/ui/SearchDisplayController.h"
#include "platform/ui/TableView.h"
#include "screens/groups/GroupContactsViewController.h"
#include "screens/groups/GroupPersons.h"
#include "screens/favorites/FavoriteAddContactViewController.h"
#include "screens/favorites/FavoriteViewController.h"
#include "screens/groups/GroupViewController.h"
#include "screens/memos/MemoViewController.h"
#include "store/DataManager.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <string>

using namespace contactstore;
using namespace tessaro;
using fixturebook::digits;

namespace {

constexpr int kPersons = 50000;
constexpr int kAddressBookGroups = 400;
constexpr int kLocalGroups = 100;
constexpr int kMembersPerGroup = 20;

PersonRef makePerson(std::mt19937& random, int index)
{
    auto person = fixturebook::namedPerson(random, std::to_string(index % 97)).person;
    if (index % 5 == 0)
        (void)person->setValue(kPersonOrganizationProperty, std::string("Example Works"));
    // A tenth have no phone number and another tenth no mail address, for the two lists of
    // persons without.
    if (index % 10 != 3) {
        MultiValue phones(PropertyType::MultiString);
        (void)phones.addValueAndLabel("+1 (" + digits(random, 3) + ") " + digits(random, 3) + "-" + digits(random, 4),
                                      std::string(kPersonPhoneMobileLabel));
        (void)phones.addValueAndLabel(digits(random, 10), std::string(kHomeLabel));
        (void)person->setValue(kPersonPhoneProperty, phones);
    }
    if (index % 10 != 7) {
        MultiValue mails(PropertyType::MultiString);
        (void)mails.addValueAndLabel("person" + std::to_string(index) + "@example.com", std::string(kHomeLabel));
        (void)person->setValue(kPersonEmailProperty, mails);
    }
    return person;
}

void fillBook(AddressBook& book)
{
    std::mt19937 random(20240611);
    std::vector<PersonRef> people;
    people.reserve(kPersons);
    for (int index = 0; index < kPersons; ++index) {
        people.push_back(makePerson(random, index));
        (void)book.addRecord(people.back());
    }
    fixturebook::addGroups(book, people, kAddressBookGroups, kMembersPerGroup, random);
    fixturebook::save(book);

    auto& database = DataManager::sharedDataBase();
    for (int index = 0; index < kLocalGroups; ++index) {
        GroupObject local;
        local.groupType = 1;
        local.colorIndex = index % 45;
        local.localGroupName = "Local " + std::to_string(index);
        (void)database.insertLocalGroup(local);
    }
    std::uniform_int_distribution<std::size_t> anyone(0, people.size() - 1);
    for (const auto& local : database.selectLocalGroup()) {
        for (int member = 0; member < kMembersPerGroup; ++member)
            (void)database.insertLocalGroupMember(std::stoi(local.groupID), std::to_string(people[anyone(random)]->recordID()));
    }
}

// Builds the profile once per run, in a folder removed at exit.
class BenchProfile {
public:
    static void open()
    {
        static fixturebook::ApplicationProfile profile("tessaro-bench-groups", fillBook);
        // The first catalogue gives the address-book groups their rows.
        static const bool catalogued = [] {
            (void)Utility::sharedUtility().getAllGroupObject();
            return true;
        }();
        (void)profile;
        (void)catalogued;
    }
};

GroupObject allContacts()
{
    GroupObject group;
    group.groupID = "-1";
    return group;
}

void BM_GroupListWithRowsInSight(benchmark::State& state)
{
    BenchProfile::open();
    std::size_t cells = 0;
    for (auto _ : state) {
        auto list = GroupViewController::create(GroupScreens {});
        list->view();
        list->myTableView()->layoutIfNeeded();
        cells = list->myTableView()->visibleCells().size();
        benchmark::DoNotOptimize(cells);
    }
    state.counters["rows in sight"] = static_cast<double>(cells);
}
BENCHMARK(BM_GroupListWithRowsInSight)->Unit(benchmark::kMillisecond);

void BM_CountOfPersonsInNoGroup(benchmark::State& state)
{
    BenchProfile::open();
    std::size_t count = 0;
    for (auto _ : state) {
        count = GroupPersons::noGroupContactsCount();
        benchmark::DoNotOptimize(count);
    }
    state.counters["persons in no group"] = static_cast<double>(count);
}
BENCHMARK(BM_CountOfPersonsInNoGroup)->Unit(benchmark::kMillisecond);

void BM_ListOfPersonsInNoGroup(benchmark::State& state)
{
    BenchProfile::open();
    for (auto _ : state) {
        auto persons = GroupPersons::noGroupContacts();
        benchmark::DoNotOptimize(persons.data());
    }
}
BENCHMARK(BM_ListOfPersonsInNoGroup)->Unit(benchmark::kMillisecond);

void openAllContacts(GroupViewController& list, std::size_t& sections)
{
    auto screen = GroupContactsViewController::create(list, allContacts(), GroupScreens {});
    screen->view();
    screen->myTableView()->layoutIfNeeded();
    sections = screen->arrSection().size();
}

// As the user opens it again and again: the persons' sort keys are kept with them.
void BM_OpenAllContactsInSections(benchmark::State& state)
{
    BenchProfile::open();
    auto list = GroupViewController::create(GroupScreens {});
    std::size_t sections = 0;
    openAllContacts(*list, sections);
    for (auto _ : state)
        openAllContacts(*list, sections);
    state.counters["sections"] = static_cast<double>(sections);
}
BENCHMARK(BM_OpenAllContactsInSections)->Unit(benchmark::kMillisecond);

// The first opening after the address book was opened afresh (a return to the foreground):
// every sort key is made once.
void BM_OpenAllContactsAfterReopening(benchmark::State& state)
{
    BenchProfile::open();
    auto list = GroupViewController::create(GroupScreens {});
    std::size_t sections = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Utility::sharedUtility().resetObject();
        state.ResumeTiming();
        openAllContacts(*list, sections);
    }
}
BENCHMARK(BM_OpenAllContactsAfterReopening)->Unit(benchmark::kMillisecond)->Iterations(5);

// One keystroke: the text so far is searched for in all persons and the matches sorted.
void BM_SearchKeystrokeOverAllPersons(benchmark::State& state, const std::string& typed)
{
    BenchProfile::open();
    auto list = GroupViewController::create(GroupScreens {});
    auto screen = GroupContactsViewController::create(*list, allContacts(), GroupScreens {});
    screen->view();
    auto& bar = *screen->searchBar();
    (void)screen->searchBarShouldBeginEditing(bar);
    screen->searchDisplayController()->setActive(true, false);
    bar.setText(typed);
    screen->textDidChange(bar, typed);
    for (auto _ : state) {
        screen->textDidChange(bar, typed);
        benchmark::DoNotOptimize(screen->arrSection().size());
    }
    state.counters["matches"] = screen->arrSection().empty() ? 0.0 : static_cast<double>(screen->arrSection().front().size());
}
BENCHMARK_CAPTURE(BM_SearchKeystrokeOverAllPersons, one_letter, std::string("a"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchKeystrokeOverAllPersons, name, std::string("mar"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchKeystrokeOverAllPersons, family_name, std::string("garcia"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchKeystrokeOverAllPersons, digits, std::string("5551"))->Unit(benchmark::kMillisecond);

} // namespace

// ---- The favourites and memo tabs on the same book ----

namespace {

constexpr int kReorderedRows = 500;

// 500 favourites (persons spread over the book) and 500 memos, stored once per run.
void storeFavoritesAndMemos()
{
    static bool stored = [] {
        auto& database = DataManager::sharedDataBase();
        auto persons = AddressBookQueries::contacts();
        return database.performInTransaction([&] {
            for (int row = 0; row < kReorderedRows; ++row) {
                MemoObject memo;
                memo.memo = "Memo " + std::to_string(row);
                if (!database.insertFavorite(std::to_string(persons[static_cast<std::size_t>(row) * 97 % persons.size()].recordID()))
                    || !database.insertMemo(memo))
                    return false;
            }
            return true;
        });
    }();
    if (!stored)
        std::fprintf(stderr, "the favourites and memos of the benchmark could not be stored\n");
}

// From the touch on the add button's run-loop turn to the picker's rows in sight: every person
// in sorted sections, the favourites greyed.
void BM_OpenFavoritesPicker(benchmark::State& state)
{
    BenchProfile::open();
    storeFavoritesAndMemos();
    std::size_t sections = 0;
    for (auto _ : state) {
        auto picker = std::make_shared<FavoriteAddContactViewController>(nullptr);
        picker->view();
        picker->myTableView()->layoutIfNeeded();
        sections = picker->arrSection().size();
    }
    state.counters["sections"] = static_cast<double>(sections);
}
BENCHMARK(BM_OpenFavoritesPicker)->Unit(benchmark::kMillisecond);

// The keystroke that completes the text, after the ones before it, as the user types.
void BM_FavoritesPickerSearchKeystroke(benchmark::State& state, const std::string& typed)
{
    BenchProfile::open();
    auto picker = std::make_shared<FavoriteAddContactViewController>(nullptr);
    picker->view();
    auto& bar = *picker->searchBar();
    (void)picker->searchBarShouldBeginEditing(bar);
    picker->searchDisplayController()->setActive(true, false);
    for (auto _ : state) {
        state.PauseTiming();
        bar.setText("");
        picker->textDidChange(bar, "");
        for (std::size_t length = 1; length < typed.size(); ++length) {
            bar.setText(typed.substr(0, length));
            picker->textDidChange(bar, bar.text());
        }
        bar.setText(typed);
        state.ResumeTiming();
        picker->textDidChange(bar, typed);
        benchmark::DoNotOptimize(picker->arrSection().size());
    }
    state.counters["matches"] = picker->arrSection().empty() ? 0.0 : static_cast<double>(picker->arrSection().front().size());
}
BENCHMARK_CAPTURE(BM_FavoritesPickerSearchKeystroke, one_letter, std::string("a"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FavoritesPickerSearchKeystroke, name, std::string("mar"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FavoritesPickerSearchKeystroke, family_name, std::string("garcia"))->Unit(benchmark::kMillisecond);

// The bottom row dragged to the top of a list of 500: the whole order written in one
// transaction, as the screen does it.
template<typename Screen>
void reorderBottomToTop(benchmark::State& state)
{
    BenchProfile::open();
    storeFavoritesAndMemos();
    auto screen = std::make_shared<Screen>();
    screen->view();
    auto& table = *screen->myTableView();
    for (auto _ : state)
        screen->moveRowAtIndexPath(table, { 0, kReorderedRows - 1 }, { 0, 0 });
    state.counters["rows"] = static_cast<double>(screen->numberOfRowsInSection(table, 0));
}

void BM_ReorderOf500Favorites(benchmark::State& state)
{
    reorderBottomToTop<FavoriteViewController>(state);
}
BENCHMARK(BM_ReorderOf500Favorites)->Unit(benchmark::kMillisecond);

void BM_ReorderOf500Memos(benchmark::State& state)
{
    reorderBottomToTop<MemoViewController>(state);
}
BENCHMARK(BM_ReorderOf500Memos)->Unit(benchmark::kMillisecond);

} // namespace

// What a user waits for on a big address book, at 50,000 persons (and 200,000 with
// TESSARO_BENCH_LARGE=1): the start (opening the address book and the group list with its
// rows in sight), a touch on the groups tab, the opening of All Contacts in sorted sections
// (the first after an import, and after any later start), the first keystroke of a search
// there, and a later keystroke. The book is the vCard import benchmark's (five cards per
// family name, 500 groups through CATEGORIES), imported as `tessaro import` does. Peak
// memory is the process's while the case ran.

#include "FixtureBook.h"
#include "ScaleCases.h"

#include "app/Utility.h"
#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/vcard/BookImporter.h"
#include "platform/foundation/DataLocations.h"
#include "platform/foundation/SqliteStatement.h"
#include "platform/ui/SearchBar.h"
#include "platform/ui/SearchDisplayController.h"
#include "platform/ui/TableView.h"
#include "screens/groups/GroupContactsViewController.h"
#include "screens/groups/GroupViewController.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>

#include <sqlite3.h>

using namespace tessaro;

namespace {

// One profile per size, made on first use and kept for the run; asking for another size
// makes it the application's profile.
void useProfile(int persons)
{
    static std::map<int, std::unique_ptr<fixturebook::ScratchFolder>> profiles;
    static int current = 0;
    if (current == persons)
        return;
    auto& folder = profiles[persons];
    bool made = !folder;
    if (made)
        folder = std::make_unique<fixturebook::ScratchFolder>("tessaro-bench-scale-" + std::to_string(persons));
    Utility::sharedUtility().setAddressBook(nullptr);
    fixturebook::useAsProfile(folder->path());
    if (made) {
        auto imported = contactstore::vcard::BookImporter::importIntoStore(
            foundation::DataLocations::addressBookDirectory(), { { "book.vcf", {}, scalecases::vcardBook(persons) } });
        if (!imported.ok())
            std::fprintf(stderr, "the benchmark book could not be imported: %s\n", imported.errors.front().c_str());
    }
    Utility::sharedUtility().resetObject();
    // The first start after an import gives the new groups their rows.
    (void)Utility::sharedUtility().getAllGroupObject();
    current = persons;
}

GroupObject allContacts()
{
    GroupObject group;
    group.groupID = "-1";
    return group;
}

std::shared_ptr<GroupViewController> groupListInSight()
{
    auto list = GroupViewController::create(GroupScreens {});
    list->view();
    list->myTableView()->layoutIfNeeded();
    return list;
}

std::shared_ptr<GroupContactsViewController> openAllContacts(GroupViewController& list)
{
    auto screen = GroupContactsViewController::create(list, allContacts(), GroupScreens {});
    screen->view();
    screen->myTableView()->layoutIfNeeded();
    return screen;
}

void typeInto(GroupContactsViewController& screen, const std::string& text)
{
    auto& bar = *screen.searchBar();
    bar.setText(text);
    screen.textDidChange(bar, text);
}

void startSearch(GroupContactsViewController& screen)
{
    auto& bar = *screen.searchBar();
    (void)screen.searchBarShouldBeginEditing(bar);
    screen.searchDisplayController()->setActive(true, false);
}

void BM_ScaleStartToTheGroupList(benchmark::State& state)
{
    useProfile(static_cast<int>(state.range(0)));
    scalecases::PeakMemory peak;
    for (auto _ : state) {
        Utility::sharedUtility().resetObject();
        benchmark::DoNotOptimize(groupListInSight().get());
    }
    peak.take(state);
}
BENCHMARK(BM_ScaleStartToTheGroupList)->Apply(scalecases::bookSizes)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ScaleTapTheGroupsTab(benchmark::State& state)
{
    useProfile(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(groupListInSight().get());
}
BENCHMARK(BM_ScaleTapTheGroupsTab)->Apply(scalecases::bookSizes)->Unit(benchmark::kMillisecond);

// Forgets the persons' order by name that an opening of All Contacts keeps in the book.
void forgetKeptOrder()
{
    sqlite3* connection = nullptr;
    const auto file = foundation::DataLocations::addressBookDirectory() / contactstore::AddressBook::kDatabaseFileName;
    if (sqlite3_open(file.c_str(), &connection) == SQLITE_OK)
        (void)foundation::sqliteExec(connection, "DELETE FROM kept_persons_data;");
    sqlite3_close(connection);
}

// Times openings of All Contacts, each on a fresh handle as after a start. Without a kept
// order each opening is the first after an import.
void timeOpenings(benchmark::State& state, bool keptOrder)
{
    useProfile(static_cast<int>(state.range(0)));
    auto list = groupListInSight();
    if (keptOrder) {
        Utility::sharedUtility().resetObject();
        (void)openAllContacts(*list);
    }
    std::size_t sections = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (!keptOrder)
            forgetKeptOrder();
        Utility::sharedUtility().resetObject();
        state.ResumeTiming();
        sections = openAllContacts(*list)->arrSection().size();
    }
    state.counters["sections"] = static_cast<double>(sections);
}

// The first opening after an import: no person has been sorted yet, and the book keeps no
// order by name; this opening makes it and keeps it.
void BM_ScaleOpenAllContactsFirstAfterAnImport(benchmark::State& state)
{
    timeOpenings(state, false);
}
BENCHMARK(BM_ScaleOpenAllContactsFirstAfterAnImport)->Apply(scalecases::bookSizes)->Unit(benchmark::kMillisecond)->Iterations(3);

// As after every later start: no person has been sorted in memory yet, and the book keeps
// the order an earlier opening made.
void BM_ScaleOpenAllContactsAfterAStart(benchmark::State& state)
{
    timeOpenings(state, true);
}
BENCHMARK(BM_ScaleOpenAllContactsAfterAStart)->Apply(scalecases::bookSizes)->Unit(benchmark::kMillisecond)->Iterations(5);

// The first letter typed into All Contacts' search after a start.
void BM_ScaleFirstSearchKeystroke(benchmark::State& state)
{
    useProfile(static_cast<int>(state.range(0)));
    auto list = groupListInSight();
    std::size_t matches = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Utility::sharedUtility().resetObject();
        auto screen = openAllContacts(*list);
        startSearch(*screen);
        state.ResumeTiming();
        typeInto(*screen, "m");
        matches = screen->arrSection().empty() ? 0 : screen->arrSection().front().size();
    }
    state.counters["matches"] = static_cast<double>(matches);
}
BENCHMARK(BM_ScaleFirstSearchKeystroke)->Apply(scalecases::bookSizes)->Unit(benchmark::kMillisecond)->Iterations(5);

// The third letter, after the first two.
void BM_ScaleLaterSearchKeystroke(benchmark::State& state)
{
    useProfile(static_cast<int>(state.range(0)));
    auto list = groupListInSight();
    auto screen = openAllContacts(*list);
    startSearch(*screen);
    typeInto(*screen, "m");
    typeInto(*screen, "ma");
    for (auto _ : state)
        typeInto(*screen, "mar");
    state.counters["matches"] = screen->arrSection().empty() ? 0.0 : static_cast<double>(screen->arrSection().front().size());
}
BENCHMARK(BM_ScaleLaterSearchKeystroke)->Apply(scalecases::bookSizes)->Unit(benchmark::kMillisecond);

} // namespace

// Many persons at once: one address-book group of 50,000 persons, each with two mail
// addresses and three phone numbers. Measures what the user waits for: opening the group
// mail and the group text message (rows built, list laid out), a change of filter, a row's
// segment with its delayed reload, opening the bulk edit, ticking and unticking all, and
// deleting 1,000 ticked persons. Fixed seed.
//
// The profile lives in its own folder; every benchmark here points the application at it
// first, so the order in which benchmarks of other files run does not matter.

#include "FixtureBook.h"

#include "addressbook/Contact.h"
#include "app/Utility.h"
#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/Group.h"
#include "platform/contactstore/MultiValue.h"
#include "platform/contactstore/Person.h"
#include "platform/foundation/DataLocations.h"
#include "platform/foundation/Log.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/TableView.h"
#include "screens/groups/EditSelectedContactViewController.h"
#include "screens/groups/GroupScreens.h"
#include "screens/messaging/GroupSendMailViewController.h"
#include "screens/messaging/GroupSendSMSViewController.h"
#include "store/DataManager.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>

using namespace contactstore;
using namespace tessaro;
using fixturebook::digits;

namespace {

constexpr int kPersons = 50000;
constexpr int kDeleted = 1000;

PersonRef makePerson(std::mt19937& random, int index)
{
    auto person = fixturebook::namedPerson(random, std::to_string(index % 97)).person;
    MultiValue phones(PropertyType::MultiString);
    (void)phones.addValueAndLabel("+1 (" + digits(random, 3) + ") " + digits(random, 3) + "-" + digits(random, 4),
                                  std::string(kPersonPhoneMobileLabel));
    (void)phones.addValueAndLabel(digits(random, 10), std::string(kHomeLabel));
    (void)phones.addValueAndLabel(digits(random, 8), std::string(kWorkLabel));
    (void)person->setValue(kPersonPhoneProperty, phones);
    MultiValue mails(PropertyType::MultiString);
    (void)mails.addValueAndLabel("person" + std::to_string(index) + "@example.com", std::string(kHomeLabel));
    (void)mails.addValueAndLabel("p" + std::to_string(index) + "@work.example.org", std::string(kWorkLabel));
    (void)person->setValue(kPersonEmailProperty, mails);
    return person;
}

class MessagingProfile {
public:
    // The group of 50,000, with the application pointed at this profile.
    static const GroupObject& open()
    {
        static MessagingProfile profile;
        profile.pointAtThisProfile();
        return profile.m_group;
    }

    // Adds persons to the group, saved, as the persons a deletion run removes.
    static std::vector<Contact> addPersons(int count)
    {
        static std::mt19937 random(7);
        static int next = kPersons;
        auto book = Utility::sharedUtility().addressBook();
        auto group = book->groupWithRecordID(std::stoi(open().groupID));
        std::vector<PersonRef> added;
        for (int index = 0; index < count; ++index) {
            added.push_back(makePerson(random, next++));
            (void)book->addRecord(added.back());
            (void)group->addMember(added.back());
        }
        fixturebook::save(*book);
        // Each is a favourite and a member of a local group too, so that deleting them
        // writes rows of the application's own database as well.
        auto& database = DataManager::sharedDataBase();
        if (database.selectLocalGroup().empty()) {
            GroupObject local;
            local.groupType = 1;
            local.localGroupName = "Local";
            (void)database.insertLocalGroup(local);
        }
        int localGroup = std::stoi(database.selectLocalGroup().front().groupID);
        std::vector<Contact> contacts;
        (void)database.performInTransaction([&] {
            for (const auto& person : added) {
                contacts.push_back(*Contact::contactWithRecord(person));
                std::string contactID = std::to_string(person->recordID());
                (void)database.insertFavorite(contactID);
                (void)database.insertLocalGroupMember(localGroup, contactID);
            }
            return true;
        });
        return contacts;
    }

    ~MessagingProfile() { Utility::sharedUtility().setAddressBook(nullptr); }

private:
    MessagingProfile()
    {
        foundation::setLogToStandardError(false);
        pointAtThisProfile();
        auto book = AddressBook::create();
        std::mt19937 random(20240612);
        auto group = Group::create();
        (void)group->setValue(kGroupNameProperty, std::string("Everyone"));
        (void)book->addRecord(group);
        for (int index = 0; index < kPersons; ++index) {
            auto person = makePerson(random, index);
            (void)book->addRecord(person);
            (void)group->addMember(person);
        }
        fixturebook::save(*book);
        m_group.groupID = std::to_string(group->recordID());
        Utility::sharedUtility().resetObject();
    }

    void pointAtThisProfile()
    {
        if (foundation::DataLocations::profileDirectory() == m_folder.path())
            return;
        foundation::DataLocations::setProfileDirectory(m_folder.path());
        DataManager::setSharedDatabaseFile(m_folder.path() / "Documents" / "Vantel.db");
        Utility::sharedUtility().resetObject();
    }

    fixturebook::ScratchFolder m_folder { "tessaro-bench-messaging" };
    GroupObject m_group;
};

template <class Screen>
std::shared_ptr<Screen> openScreen(const GroupObject& group)
{
    auto screen = std::make_shared<Screen>(group, std::nullopt);
    screen->view();
    screen->myTableView()->layoutIfNeeded();
    return screen;
}

template <class Screen>
void BM_OpenGroupMessage(benchmark::State& state)
{
    const auto& group = MessagingProfile::open();
    std::size_t sections = 0;
    for (auto _ : state) {
        auto screen = openScreen<Screen>(group);
        sections = static_cast<std::size_t>(screen->myTableView()->numberOfSections());
    }
    state.counters["persons"] = static_cast<double>(sections);
}
BENCHMARK(BM_OpenGroupMessage<GroupSendMailViewController>)->Name("BM_OpenGroupMail")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenGroupMessage<GroupSendSMSViewController>)->Name("BM_OpenGroupText")->Unit(benchmark::kMillisecond);

// The filter goes from "All" to the next choice and back, each a reload of the whole list.
template <class Screen>
void BM_ChangeFilter(benchmark::State& state)
{
    auto screen = openScreen<Screen>(MessagingProfile::open());
    auto& filter = *screen->segmentedControl();
    int index = 0;
    for (auto _ : state) {
        index = index == 0 ? 1 : 0;
        filter.setSelectedSegmentIndex(index);
        filter.sendActionsForControlEvents(ui::ControlEvent::ValueChanged);
        screen->myTableView()->layoutIfNeeded();
    }
}
BENCHMARK(BM_ChangeFilter<GroupSendMailViewController>)->Name("BM_GroupMailFilterChange")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChangeFilter<GroupSendSMSViewController>)->Name("BM_GroupTextFilterChange")->Unit(benchmark::kMillisecond);

// Under the "To" filter a row goes to Cc and back; the delayed reload's work is measured with
// it.
void BM_GroupMailRowSegmentWithReload(benchmark::State& state)
{
    auto screen = openScreen<GroupSendMailViewController>(MessagingProfile::open());
    auto& filter = *screen->segmentedControl();
    filter.setSelectedSegmentIndex(GroupSendMailViewController::kFilterTo);
    filter.sendActionsForControlEvents(ui::ControlEvent::ValueChanged);
    int sendType = SendMailPersonObject::kSendTo;
    for (auto _ : state) {
        sendType = sendType == SendMailPersonObject::kSendTo ? SendMailPersonObject::kSendCc : SendMailPersonObject::kSendTo;
        screen->segmentActionEvent({ 25000, 1 }, sendType);
        screen->reloadTableData();
        screen->myTableView()->layoutIfNeeded();
    }
}
BENCHMARK(BM_GroupMailRowSegmentWithReload)->Unit(benchmark::kMillisecond);

std::shared_ptr<EditSelectedContactViewController> openBulkEdit(const GroupObject& group)
{
    auto screen = std::make_shared<EditSelectedContactViewController>(nullptr, group, GroupScreens {});
    screen->view();
    screen->tableView()->layoutIfNeeded();
    return screen;
}

void BM_OpenBulkEdit(benchmark::State& state)
{
    const auto& group = MessagingProfile::open();
    int count = 0;
    for (auto _ : state)
        count = openBulkEdit(group)->contactCount();
    state.counters["persons"] = count;
}
BENCHMARK(BM_OpenBulkEdit)->Unit(benchmark::kMillisecond);

// One press ticks all (the list reloaded), the next unticks all.
void BM_BulkEditTickAllAndUntickAll(benchmark::State& state)
{
    auto screen = openBulkEdit(MessagingProfile::open());
    for (auto _ : state) {
        screen->checkAll();
        screen->tableView()->layoutIfNeeded();
    }
    state.counters["ticked at the end"] = static_cast<double>(screen->arrSelectedContact().size());
}
BENCHMARK(BM_BulkEditTickAllAndUntickAll)->Unit(benchmark::kMillisecond);

// 1,000 ticked persons deleted (each a favourite and a local group's member), then the
// list read again.
void BM_BulkEditDeleteThousandTicked(benchmark::State& state)
{
    const auto& group = MessagingProfile::open();
    for (auto _ : state) {
        state.PauseTiming();
        auto added = MessagingProfile::addPersons(kDeleted);
        auto screen = openBulkEdit(group);
        for (const auto& contact : added)
            screen->addSelectedContact(contact);
        state.ResumeTiming();
        screen->deleteTickedPersons();
        benchmark::DoNotOptimize(screen->contactCount());
    }
}
BENCHMARK(BM_BulkEditDeleteThousandTicked)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

// The address book at the size of a big real one: 50,000 persons with three phone numbers
// and two mail addresses each, in 500 groups. Measures opening a handle and listing every
// person, the person lists' name search, and the keypad's number search. Fixed seed.

#include "FixtureBook.h"

#include "addressbook/AddressBookQueries.h"
#include "addressbook/SharedAddressBook.h"
#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/MultiValue.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>

using namespace contactstore;
using tessaro::AddressBookQueries;
using tessaro::Contact;
using fixturebook::digits;

namespace {

constexpr int kPersons = 50000;
constexpr int kGroups = 500;

// Builds the book once per run, in a folder removed at exit.
class BenchBook {
public:
    static const std::filesystem::path& folder()
    {
        static BenchBook book;
        return book.m_folder.path();
    }

private:
    BenchBook()
    {
        auto book = AddressBook::createAt(m_folder.path());
        std::mt19937 random(20240501);
        std::vector<PersonRef> people;
        people.reserve(kPersons);
        for (int index = 0; index < kPersons; ++index) {
            auto [person, givenName] = fixturebook::namedPerson(random);
            if (index % 7 == 0)
                (void)person->setValue(kPersonNicknameProperty, givenName.substr(0, 3) + "y");
            MultiValue phones(PropertyType::MultiString);
            (void)phones.addValueAndLabel("+1 (" + digits(random, 3) + ") " + digits(random, 3) + "-" + digits(random, 4),
                                          std::string(kPersonPhoneMobileLabel));
            (void)phones.addValueAndLabel("0" + digits(random, 2) + "-" + digits(random, 4) + "-" + digits(random, 4),
                                          std::string(kWorkLabel));
            (void)phones.addValueAndLabel(digits(random, 10), std::string(kHomeLabel));
            (void)person->setValue(kPersonPhoneProperty, phones);
            MultiValue mails(PropertyType::MultiString);
            (void)mails.addValueAndLabel("person" + std::to_string(index) + "@example.com", std::string(kHomeLabel));
            (void)mails.addValueAndLabel("p" + digits(random, 6) + "@work.example.org", std::string(kWorkLabel));
            (void)person->setValue(kPersonEmailProperty, mails);
            (void)book->addRecord(person);
            people.push_back(std::move(person));
        }
        fixturebook::addGroups(*book, people, kGroups, 20, random);
        fixturebook::save(*book);
    }

    fixturebook::ScratchFolder m_folder { "tessaro-bench-addressbook" };
};

void openSharedBook()
{
    tessaro::SharedAddressBook::set(AddressBook::createAt(BenchBook::folder()));
}

void BM_OpenHandleAndListAllPersons(benchmark::State& state)
{
    BenchBook::folder();
    for (auto _ : state) {
        auto book = AddressBook::createAt(BenchBook::folder());
        tessaro::SharedAddressBook::set(book);
        auto contacts = AddressBookQueries::contacts();
        benchmark::DoNotOptimize(contacts.data());
        state.PauseTiming();
        if (contacts.size() != static_cast<std::size_t>(kPersons))
            state.SkipWithError("wrong number of persons");
        contacts.clear();
        tessaro::SharedAddressBook::set(nullptr);
        book.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenHandleAndListAllPersons)->Unit(benchmark::kMillisecond)->Iterations(10);

// The first search after a handle opens folds every person's names once.
void BM_FirstNameSearchAfterOpening(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        openSharedBook();
        auto contacts = AddressBookQueries::contacts();
        state.ResumeTiming();
        auto found = AddressBookQueries::contactsMatchingName("mar", contacts);
        benchmark::DoNotOptimize(found.data());
    }
    tessaro::SharedAddressBook::set(nullptr);
}
BENCHMARK(BM_FirstNameSearchAfterOpening)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ContactsMatchingNameInList(benchmark::State& state)
{
    openSharedBook();
    auto contacts = AddressBookQueries::contacts();
    (void)AddressBookQueries::contactsMatchingName("mar", contacts);
    std::size_t found = 0;
    for (auto _ : state) {
        auto matches = AddressBookQueries::contactsMatchingName("mar", contacts);
        found = matches.size();
        benchmark::DoNotOptimize(matches.data());
    }
    state.counters["found"] = static_cast<double>(found);
    tessaro::SharedAddressBook::set(nullptr);
}
BENCHMARK(BM_ContactsMatchingNameInList)->Unit(benchmark::kMillisecond);

void BM_ContactsMatchingPhone(benchmark::State& state)
{
    openSharedBook();
    (void)AddressBookQueries::contactsMatchingPhone("4821");
    std::size_t found = 0;
    for (auto _ : state) {
        auto matches = AddressBookQueries::contactsMatchingPhone("4821");
        found = matches.size();
        benchmark::DoNotOptimize(matches.data());
    }
    state.counters["found"] = static_cast<double>(found);
    tessaro::SharedAddressBook::set(nullptr);
}
BENCHMARK(BM_ContactsMatchingPhone)->Unit(benchmark::kMillisecond);

} // namespace

// The address book at the size of a big real one: 50,000 persons with three phone numbers
// and two mail addresses each, in 500 groups. Measures opening a handle and listing every
// person, the person lists' name search, and the keypad's number search. Fixed seed.

#include "addressbook/AddressBookQueries.h"
#include "addressbook/SharedAddressBook.h"
#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/Group.h"
#include "platform/contactstore/Person.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <unistd.h>

using namespace contactstore;
using tessaro::AddressBookQueries;
using tessaro::Contact;

namespace {

constexpr int kPersons = 50000;
constexpr int kGroups = 500;

struct Name {
    const char* text;
    const char* phonetic;
};

constexpr std::array kGivenNames {
    Name { "James", nullptr }, Name { "Mary", nullptr }, Name { "Robert", nullptr }, Name { "Patricia", nullptr },
    Name { "Michael", nullptr }, Name { "Linda", nullptr }, Name { "William", nullptr }, Name { "Elizabeth", nullptr },
    Name { "José", nullptr }, Name { "María", nullptr }, Name { "François", nullptr }, Name { "Zoë", nullptr },
    Name { "Łukasz", nullptr }, Name { "Søren", nullptr }, Name { "Ångela", nullptr }, Name { "Jürgen", nullptr },
    Name { "Anna", nullptr }, Name { "Marco", nullptr }, Name { "Chloé", nullptr }, Name { "Hiroshi", nullptr },
    Name { "健", "けん" }, Name { "花子", "はなこ" }, Name { "翔太", "しょうた" }, Name { "美咲", "みさき" },
    Name { "ユウキ", nullptr }, Name { "さくら", nullptr }, Name { "Olivia", nullptr }, Name { "Noah", nullptr },
};

constexpr std::array kFamilyNames {
    Name { "Smith", nullptr }, Name { "Johnson", nullptr }, Name { "Williams", nullptr }, Name { "Brown", nullptr },
    Name { "García", nullptr }, Name { "Martínez", nullptr }, Name { "Müller", nullptr }, Name { "Dubois", nullptr },
    Name { "Nowak", nullptr }, Name { "Jensen", nullptr }, Name { "Rossi", nullptr }, Name { "O'Brien", nullptr },
    Name { "佐藤", "さとう" }, Name { "鈴木", "すずき" }, Name { "高橋", "たかはし" }, Name { "田中", "たなか" },
    Name { "Marshall", nullptr }, Name { "Hämäläinen", nullptr }, Name { "Øster", nullptr }, Name { "Nguyễn", nullptr },
};

std::string digits(std::mt19937& random, int count)
{
    std::uniform_int_distribution<int> digit(0, 9);
    std::string text;
    for (int index = 0; index < count; ++index)
        text += static_cast<char>('0' + digit(random));
    return text;
}

// Builds the book once per run, in a folder removed at exit.
class BenchBook {
public:
    static const std::filesystem::path& folder()
    {
        static BenchBook book;
        return book.m_folder;
    }

    ~BenchBook()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }

private:
    BenchBook()
    {
        m_folder = std::filesystem::temp_directory_path() / ("tessaro-bench-addressbook-" + std::to_string(getpid()));
        std::filesystem::create_directories(m_folder);
        auto book = AddressBook::createAt(m_folder);
        std::mt19937 random(20240501);
        std::uniform_int_distribution<std::size_t> given(0, kGivenNames.size() - 1);
        std::uniform_int_distribution<std::size_t> family(0, kFamilyNames.size() - 1);
        std::vector<PersonRef> people;
        people.reserve(kPersons);
        for (int index = 0; index < kPersons; ++index) {
            auto person = Person::create();
            const Name& first = kGivenNames[given(random)];
            const Name& last = kFamilyNames[family(random)];
            (void)person->setValue(kPersonFirstNameProperty, std::string(first.text));
            (void)person->setValue(kPersonLastNameProperty, std::string(last.text));
            if (first.phonetic)
                (void)person->setValue(kPersonFirstNamePhoneticProperty, std::string(first.phonetic));
            if (last.phonetic)
                (void)person->setValue(kPersonLastNamePhoneticProperty, std::string(last.phonetic));
            if (index % 7 == 0)
                (void)person->setValue(kPersonNicknameProperty, std::string(first.text).substr(0, 3) + "y");
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
        std::uniform_int_distribution<std::size_t> anyone(0, people.size() - 1);
        for (int index = 0; index < kGroups; ++index) {
            auto group = Group::create();
            (void)group->setValue(kGroupNameProperty, "Group " + std::to_string(index));
            (void)book->addRecord(group);
            for (int member = 0; member < 20; ++member)
                (void)group->addMember(people[anyone(random)]);
        }
        Error error;
        if (!book->save(&error))
            std::fprintf(stderr, "benchmark book not saved: %s\n", error.description.c_str());
    }

    std::filesystem::path m_folder;
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

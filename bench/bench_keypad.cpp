// The keypad over an address book of 50,000 persons, each with a mobile number written with
// separators and a home number of plain digits. Measures what the user waits for: one
// keystroke of one to ten digits with the list of matching persons rebuilt and its rows in
// sight, and the recent-call list of a hundred calls (persons and bare numbers) rebuilt
// with its rows in sight. Fixed seed.

#include "FixtureBook.h"

#include "addressbook/AddressBookQueries.h"
#include "app/KeypadScreen.h"
#include "app/Utility.h"
#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/MultiValue.h"
#include "platform/contactstore/Person.h"
#include "platform/ui/TableView.h"
#include "screens/messaging/KeyBoardViewController.h"
#include "store/DataManager.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>

using namespace contactstore;
using namespace tessaro;
using fixturebook::digits;

namespace {

constexpr int kPersons = 50000;
constexpr int kRecentCalls = 100;

class StayingHost final : public KeypadHost {
public:
    void removeKeyboard() override { }
};

class KeypadProfile {
public:
    static const KeypadProfile& open()
    {
        static KeypadProfile profile;
        return profile;
    }

    ~KeypadProfile() { Utility::sharedUtility().setAddressBook(nullptr); }

    // A home number of a person in the book, whose prefixes the keystrokes type.
    std::string typedNumber;

private:
    KeypadProfile()
    {
        fixturebook::useAsProfile(m_folder.path());

        auto book = AddressBook::create();
        std::mt19937 random(20240612);
        std::vector<PersonRef> people;
        for (int index = 0; index < kPersons; ++index) {
            auto person = fixturebook::namedPerson(random, std::to_string(index % 97)).person;
            MultiValue phones(PropertyType::MultiString);
            std::string home = digits(random, 10);
            (void)phones.addValueAndLabel("090-" + digits(random, 4) + "-" + digits(random, 4), std::string(kPersonPhoneMobileLabel));
            (void)phones.addValueAndLabel(home, std::string(kHomeLabel));
            (void)person->setValue(kPersonPhoneProperty, phones);
            (void)book->addRecord(person);
            if (index == kPersons / 2)
                typedNumber = home;
            people.push_back(person);
        }
        // Record identifiers are given when the book is saved.
        fixturebook::save(*book);
        Utility::sharedUtility().resetObject();
        auto& database = DataManager::sharedDataBase();
        for (int call = 0; call < kRecentCalls; ++call) {
            if (call % 3 == 0)
                (void)database.insertRecent("isphonenumber," + digits(random, 11));
            else
                (void)database.insertRecent(std::to_string(people[static_cast<std::size_t>(call) * 499]->recordID()));
        }
        // The first search after the address book is opened folds every person's numbers
        // once and keeps them with the person; the keystrokes measured come after it.
        (void)AddressBookQueries::contactsMatchingPhone("0");
    }

    // Made first, so that it is removed last.
    fixturebook::ScratchFolder m_folder { "tessaro-bench-keypad" };
};

std::shared_ptr<KeyBoardViewController> loadedKeypad(KeypadHost& host)
{
    auto keypad = std::make_shared<KeyBoardViewController>(host, nullptr);
    keypad->view();
    keypad->myTableView()->layoutIfNeeded();
    return keypad;
}

// The last digit of `state.range(0)` typed: the persons whose numbers hold the digits so far
// are found and the rows in sight are built.
void BM_KeypadKeystroke(benchmark::State& state)
{
    const auto& profile = KeypadProfile::open();
    StayingHost host;
    auto keypad = loadedKeypad(host);
    auto length = static_cast<std::size_t>(state.range(0));
    std::string before = profile.typedNumber.substr(0, length - 1);
    int last = profile.typedNumber[length - 1] - '0';
    for (auto _ : state) {
        state.PauseTiming();
        keypad->clearAll();
        for (char digit : before)
            keypad->numberKeyBoardInput(digit - '0');
        state.ResumeTiming();
        keypad->numberKeyBoardInput(last);
        keypad->myTableView()->layoutIfNeeded();
    }
    state.counters["matches"] = static_cast<double>(keypad->arrRecent().size());
}
BENCHMARK(BM_KeypadKeystroke)->DenseRange(1, 10)->Unit(benchmark::kMillisecond);

// The pad shown again: a hundred recent calls read, their persons looked up, rows built.
void BM_KeypadRecentCalls(benchmark::State& state)
{
    KeypadProfile::open();
    StayingHost host;
    auto keypad = loadedKeypad(host);
    for (auto _ : state) {
        keypad->clearAll();
        keypad->myTableView()->layoutIfNeeded();
    }
    state.counters["rows"] = static_cast<double>(keypad->arrRecent().size());
}
BENCHMARK(BM_KeypadRecentCalls)->Unit(benchmark::kMillisecond);

} // namespace

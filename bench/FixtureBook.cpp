#include "FixtureBook.h"

#include "app/Utility.h"
#include "platform/contactstore/Group.h"
#include "platform/foundation/DataLocations.h"
#include "platform/foundation/Log.h"
#include "store/DataManager.h"

#include <array>
#include <cstdio>
#include <unistd.h>

using namespace contactstore;

namespace fixturebook {

namespace {

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

} // namespace

NamedPerson namedPerson(std::mt19937& random, const std::string& familySuffix)
{
    std::uniform_int_distribution<std::size_t> given(0, kGivenNames.size() - 1);
    std::uniform_int_distribution<std::size_t> family(0, kFamilyNames.size() - 1);
    const Name& first = kGivenNames[given(random)];
    const Name& last = kFamilyNames[family(random)];
    auto person = Person::create();
    (void)person->setValue(kPersonFirstNameProperty, std::string(first.text));
    (void)person->setValue(kPersonLastNameProperty, familySuffix.empty() ? std::string(last.text) : std::string(last.text) + " " + familySuffix);
    if (first.phonetic)
        (void)person->setValue(kPersonFirstNamePhoneticProperty, std::string(first.phonetic));
    if (last.phonetic)
        (void)person->setValue(kPersonLastNamePhoneticProperty, std::string(last.phonetic));
    return { std::move(person), first.text };
}

std::string digits(std::mt19937& random, int count)
{
    std::uniform_int_distribution<int> digit(0, 9);
    std::string text;
    for (int index = 0; index < count; ++index)
        text += static_cast<char>('0' + digit(random));
    return text;
}

void addGroups(AddressBook& book, const std::vector<PersonRef>& people, int count, int members, std::mt19937& random)
{
    std::uniform_int_distribution<std::size_t> anyone(0, people.size() - 1);
    for (int index = 0; index < count; ++index) {
        auto group = Group::create();
        (void)group->setValue(kGroupNameProperty, "Group " + std::to_string(index));
        (void)book.addRecord(group);
        for (int member = 0; member < members; ++member)
            (void)group->addMember(people[anyone(random)]);
    }
}

void save(AddressBook& book)
{
    Error error;
    if (!book.save(&error))
        std::fprintf(stderr, "benchmark book not saved: %s\n", error.description.c_str());
}

ScratchFolder::ScratchFolder(const std::string& name)
    : m_path(std::filesystem::temp_directory_path() / (name + "-" + std::to_string(getpid())))
{
    std::filesystem::create_directories(m_path);
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

ApplicationProfile::ApplicationProfile(const std::string& name, const std::function<void(AddressBook& book)>& fill)
    : m_folder(name)
{
    foundation::setLogToStandardError(false);
    foundation::DataLocations::setProfileDirectory(m_folder.path());
    tessaro::DataManager::setSharedDatabaseFile(m_folder.path() / "Documents" / "Vantel.db");
    if (auto book = AddressBook::create())
        fill(*book);
    tessaro::Utility::sharedUtility().resetObject();
}

ApplicationProfile::~ApplicationProfile()
{
    tessaro::Utility::sharedUtility().setAddressBook(nullptr);
}

} // namespace fixturebook

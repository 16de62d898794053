#pragma once
// What the benchmarks' address books are made of: persons named from a mix of plain,
// accented and Japanese given and family names (the Japanese ones with their readings, so
// the phonetic sections are exercised), random digits for numbers, and address-book groups
// of random members. Everything draws from the caller's seeded generator, so a run builds
// the same book every time.

#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/Person.h"

#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace fixturebook {

struct NamedPerson {
    contactstore::PersonRef person;
    std::string givenName;
};

// A new person with a random given and family name and their readings; the family name
// carries the suffix when there is one (many persons then share a name only in part).
NamedPerson namedPerson(std::mt19937& random, const std::string& familySuffix = {});

std::string digits(std::mt19937& random, int count);

// Adds `count` groups named "Group n" to the book, each with `members` persons drawn from
// the list (a person may be drawn twice).
void addGroups(contactstore::AddressBook& book, const std::vector<contactstore::PersonRef>& people, int count, int members,
               std::mt19937& random);

// Saves the book; a refusal is told on standard error, as the measurements then mean little.
void save(contactstore::AddressBook& book);

// A folder of this process in the temporary directory, removed with everything in it when
// the object goes.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

// The application's own profile in a scratch folder: the address book (filled by `fill`,
// which saves it) and the application's database, opened as the application opens them.
// Made once per run by the benchmark that needs it; at exit the application lets go of its
// address-book handle before the folder goes, so no connection outlives its file.
class ApplicationProfile {
public:
    ApplicationProfile(const std::string& name, const std::function<void(contactstore::AddressBook& book)>& fill);
    ~ApplicationProfile();
    ApplicationProfile(const ApplicationProfile&) = delete;
    ApplicationProfile& operator=(const ApplicationProfile&) = delete;

private:
    ScratchFolder m_folder;
};

} // namespace fixturebook

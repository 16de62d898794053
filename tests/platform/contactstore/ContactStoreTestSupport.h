#pragma once
// Helpers for the contact store's tests: persons made in one line, and the store's file
// read directly with SQLite to check what a save really wrote.

#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/Person.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace contactstoretest {

// A new person with the names given (empty texts are left out) and the phone numbers.
contactstore::PersonRef makePerson(const std::string& first, const std::string& last = {},
                                   const std::vector<std::string>& phones = {});

// Opens the store in the folder, failing the test when it cannot.
contactstore::AddressBookRef openBook(const std::filesystem::path& directory);

// Runs one SQL statement on the store's file from a connection of its own.
void execute(const std::filesystem::path& directory, const std::string& sql);
// The first column of the first row of a query on the store's file, as an integer.
long long queryNumber(const std::filesystem::path& directory, const std::string& sql);

} // namespace contactstoretest

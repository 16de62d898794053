#include "ContactStoreTestSupport.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace contactstoretest {

using namespace contactstore;

PersonRef makePerson(const std::string& first, const std::string& last, const std::vector<std::string>& phones)
{
    auto person = Person::create();
    if (!first.empty()) {
        EXPECT_TRUE(person->setValue(kPersonFirstNameProperty, first));
    }
    if (!last.empty()) {
        EXPECT_TRUE(person->setValue(kPersonLastNameProperty, last));
    }
    if (!phones.empty()) {
        MultiValue numbers(PropertyType::MultiString);
        for (const auto& phone : phones)
            EXPECT_TRUE(numbers.addValueAndLabel(phone, std::string(kPersonPhoneMobileLabel)));
        EXPECT_TRUE(person->setValue(kPersonPhoneProperty, numbers));
    }
    return person;
}

AddressBookRef openBook(const std::filesystem::path& directory)
{
    Error error;
    auto book = AddressBook::createAt(directory, &error);
    EXPECT_TRUE(book) << error.description;
    return book;
}

void execute(const std::filesystem::path& directory, const std::string& sql)
{
    sqlite3* connection = nullptr;
    ASSERT_EQ(sqlite3_open((directory / AddressBook::kDatabaseFileName).c_str(), &connection), SQLITE_OK);
    char* message = nullptr;
    EXPECT_EQ(sqlite3_exec(connection, sql.c_str(), nullptr, nullptr, &message), SQLITE_OK) << (message ? message : "");
    sqlite3_free(message);
    sqlite3_close(connection);
}

long long queryNumber(const std::filesystem::path& directory, const std::string& sql)
{
    sqlite3* connection = nullptr;
    long long result = -1;
    if (sqlite3_open_v2((directory / AddressBook::kDatabaseFileName).c_str(), &connection, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(connection, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK && sqlite3_step(statement) == SQLITE_ROW)
            result = sqlite3_column_int64(statement, 0);
        sqlite3_finalize(statement);
    }
    sqlite3_close(connection);
    return result;
}

} // namespace contactstoretest

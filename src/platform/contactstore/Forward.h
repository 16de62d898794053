#pragma once
// Forward declarations and the shared references under which records are handed out.

#include <memory>

namespace contactstore {

class AddressBook;
class Record;
class Person;
class Group;
class Source;
class MultiValue;
struct Error;

using AddressBookRef = std::shared_ptr<AddressBook>;
using RecordRef = std::shared_ptr<Record>;
using PersonRef = std::shared_ptr<Person>;
using GroupRef = std::shared_ptr<Group>;
using SourceRef = std::shared_ptr<Source>;

} // namespace contactstore

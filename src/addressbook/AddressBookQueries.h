#pragma once
// Questions about the whole address book: every person, the persons that match a typed
// name or number, the persons without a phone number or mail address, the groups, whether
// a person lives in the Exchange account; and adding a new person or group. Everything
// reads the shared handle afresh; every list is new and belongs to the caller. With no
// handle (or a refused one) lists are empty and counts zero.
//
// Matching is "contains", ignoring case, accents and kana width and script; a text that
// folds to nothing matches nothing, and an absent field never matches.

#include "addressbook/AddressBookGroup.h"
#include "addressbook/Contact.h"
#include "addressbook/ContactDirectory.h"
#include "platform/contactstore/StoreError.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace tessaro {

class AddressBookQueries {
public:
    AddressBookQueries() = delete;

    // Every person in the store's order, unsorted.
    static std::vector<Contact> contacts();
    static std::size_t contactsCount();
    static std::size_t contactsWithImageCount();
    static std::size_t contactsWithoutImageCount();

    static std::vector<AddressBookGroup> groups();
    static std::size_t numberOfGroups();

    // Whether names are shown given name first in the current language.
    static bool firstNameSorting();

    // Adds the record to the shared address book and, only if that worked, saves. False
    // with the error otherwise, and nothing saved.
    [[nodiscard]] static bool addContact(const Contact& contact, contactstore::Error* error = nullptr);
    [[nodiscard]] static bool addGroup(const AddressBookGroup& group, contactstore::Error* error = nullptr);

    // Readies what the searches below need, so that the first keystroke does not wait for
    // it: the folding of typed text and the book's persons laid out for searching.
    static void prepareSearch();
    // The given persons whose first, last, nick, middle or phonetic first or last name, or
    // cleaned phone numbers, contain the text; in the given order. The person lists' search.
    static std::vector<Contact> contactsMatchingName(std::string_view text, const std::vector<Contact>& contacts);
    // Every person of the directory matching as the person lists' search does (above), in
    // the directory's order by name: the search of all contacts.
    static std::vector<Contact> contactsMatchingText(std::string_view text, ContactDirectory& directory, const ContactDirectory::NameOrder& order);
    // Every person whose first, last, nick or middle name contains the text.
    static std::vector<Contact> contactsMatchingName(std::string_view text);
    // Every person whose names contain both texts (each in any of the four names).
    static std::vector<Contact> contactsMatchingName(std::string_view text, std::string_view secondText);
    // Every person whose cleaned phone numbers contain the digits. The keypad's search.
    static std::vector<Contact> contactsMatchingPhone(std::string_view digits);
    static std::vector<AddressBookGroup> groupsMatchingName(std::string_view text);

    // Whether the person is among the persons of the first Exchange account.
    static bool isExchangePeople(const Contact& contact);

    // Every person, in order, without a phone number, respectively without a mail address.
    static std::vector<Contact> getNoNumberContacts();
    static std::vector<Contact> getNoEmailContacts();
};

} // namespace tessaro

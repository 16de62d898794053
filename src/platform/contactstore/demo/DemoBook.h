#pragma once
// The sample address book that --demo puts into a fresh profile, so the application has
// something realistic to show: a few hundred persons with names in several languages
// (accents, Japanese names with their readings, Chinese and Korean names), companies,
// several groups of the local account, colleagues in an Exchange account (who may be in no
// address-book group), persons without a phone number or without a mail address, and some
// with photos. Always the same book: the generator has a fixed seed and its own arithmetic.

#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/vcard/Card.h"

#include <cstddef>
#include <string>
#include <vector>

namespace contactstore::demo {

class DemoBook {
public:
    struct Entry {
        vcard::Card card;
        // True for a colleague of the Exchange account.
        bool exchange { false };
        // Names of the local groups the person is in.
        std::vector<std::string> groups;
    };

    struct Result {
        bool filled { false };
        std::size_t persons { 0 };
        std::size_t groups { 0 };
        // One sentence for the user: what was added, or why nothing was.
        std::string message;
    };

    // The sample: persons in the order they are added; groups named by the entries, plus
    // the empty ones of groupNames().
    static std::vector<Entry> entries();
    static std::vector<std::string> groupNames();

    // Fills a book that holds no person and no group, and saves it; a book that holds
    // anything is left as it is.
    [[nodiscard]] static Result fillIfEmpty(const AddressBookRef& book);
};

} // namespace contactstore::demo

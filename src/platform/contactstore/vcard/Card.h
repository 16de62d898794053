#pragma once
// One business card as the vCard reader produces it and the writer consumes it: a plain,
// copyable value that knows nothing of the contact store. Labels are the address book's own
// label texts (the "_$!<Mobile>!$_" constants of CardLabels.h, or the user's free text), so a
// card maps onto a person without a second translation.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace contactstore::vcard {

struct Card {
    enum class Kind {
        Individual,
        Organization,
        Group,
    };

    // A calendar day. Cards often know the day of a birthday but not the year.
    struct Date {
        std::optional<int> year;
        int month { 1 };
        int day { 1 };
        friend bool operator==(const Date&, const Date&) = default;
    };

    template <typename Value>
    struct Labeled {
        std::string label;
        Value value {};
        friend bool operator==(const Labeled&, const Labeled&) = default;
    };

    struct Address {
        std::string street;
        std::string city;
        std::string state;
        std::string zip;
        std::string country;
        // ISO 3166 two-letter code, lower case, when the exporter gave one.
        std::string countryCode;
        bool isEmpty() const
        {
            return street.empty() && city.empty() && state.empty() && zip.empty() && country.empty()
                && countryCode.empty();
        }
        friend bool operator==(const Address&, const Address&) = default;
    };

    struct InstantMessage {
        // The service's display name ("Skype", "Jabber"), empty when the card did not say.
        std::string service;
        std::string username;
        // The address's URI scheme ("xmpp", "sip") when it is not the one the service is
        // usually written with; empty for the usual one.
        std::string scheme;
        friend bool operator==(const InstantMessage&, const InstantMessage&) = default;
    };

    Kind kind { Kind::Individual };
    // The card's own identifier, what group cards name in their member lists.
    std::string uid;
    // The display name as the exporter wrote it; for a group card, the group's name. Empty
    // means the one made from the names (CardWriter::composeFormattedName).
    std::string formattedName;

    std::string firstName;
    std::string lastName;
    std::string middleName;
    std::string prefix;
    std::string suffix;
    std::string nickname;
    std::string firstNamePhonetic;
    std::string lastNamePhonetic;
    std::string middleNamePhonetic;
    std::string organization;
    std::string department;
    std::string jobTitle;
    std::string note;
    std::optional<Date> birthday;

    std::vector<Labeled<std::string>> phones;
    std::vector<Labeled<std::string>> emails;
    std::vector<Labeled<std::string>> urls;
    std::vector<Labeled<std::string>> relatedNames;
    std::vector<Labeled<Date>> dates;
    std::vector<Labeled<Address>> addresses;
    std::vector<Labeled<InstantMessage>> instantMessages;

    // Encoded image bytes (JPEG, PNG, GIF) exactly as the card carried them.
    std::string photo;

    // Names of the groups the person belongs to.
    std::vector<std::string> categories;
    // For a group card: the identifiers (usually "urn:uuid:...") of its members.
    std::vector<std::string> members;

    // Property lines no field above holds (a server's own X- lines, GEO, LABEL, ...), unfolded
    // and written back as they came, so a card sent back to where it came from keeps what
    // others wrote on it. The store does not hold them.
    std::vector<std::string> otherProperties;

    // Where the card starts in its file, for messages about it; not part of its value.
    int line { 0 };

    // The display name as written out: the formatted name, or for a person without one the
    // name made from the names.
    std::string displayName() const;

    // Equal when every field that a store could hold is equal, the display name included;
    // the line is not compared.
    bool sameContent(const Card& other) const;
};

} // namespace contactstore::vcard

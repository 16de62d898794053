#pragma once
// Writes cards as vCard 3.0 (the default, what every address book reads) or 4.0. Exact in
// what it writes: CR LF line ends, lines folded at 75 octets without splitting a UTF-8
// sequence, every text escaped, standard labels as TYPE values and any other label as an
// item group with its X-ABLabel, so the reader gives back the card that was written.

#include "platform/contactstore/vcard/Card.h"

#include <string>
#include <vector>

namespace contactstore::vcard {

class CardWriter {
public:
    enum class Version {
        V3,
        V4,
    };

    explicit CardWriter(Version version = Version::V3)
        : m_version(version)
    {
    }

    // Appends one card, BEGIN to END, to text.
    void append(const Card& card, std::string& text) const;
    std::string write(const std::vector<Card>& cards) const;

    // The display name a card without one gets: given, middle and family name in the
    // Western order, family name first without blanks for names in Chinese or Japanese
    // script; the company for a card without a name.
    static std::string composeFormattedName(const Card& card);

    // Folds one unfolded line into physical lines of at most 75 octets each, ended by CR LF.
    static void appendFolded(std::string_view line, std::string& text);

private:
    Version m_version { Version::V3 };
};

} // namespace contactstore::vcard

#pragma once
// Turns the property lines of one card into a Card: decodes each value (quoted-printable,
// base64, character set, escapes), picks labels from TYPE parameters and item-group labels,
// and reads the many spellings exporters use for the same thing (phonetic names, instant
// messaging, related names, anniversaries, group cards). Values it cannot use are left out
// with a warning; properties it does not know are ignored.

#include "platform/contactstore/vcard/Card.h"
#include "platform/contactstore/vcard/ContentLine.h"
#include "platform/contactstore/vcard/ReadProblem.h"

#include <optional>
#include <string_view>
#include <vector>

namespace contactstore::vcard {

class CardBuilder {
public:
    static Card build(const std::vector<ContentLine>& lines, int firstLine, std::vector<ReadProblem>& warnings);

    // A date as cards write it ("1980-04-15", "19800415", "--0415", with or without a
    // time after it). A year equal to omittedYear means the year is unknown (the handset
    // platforms write year-less birthdays with a placeholder year).
    static std::optional<Card::Date> parseDate(std::string_view text, std::optional<int> omittedYear = std::nullopt);
};

} // namespace contactstore::vcard

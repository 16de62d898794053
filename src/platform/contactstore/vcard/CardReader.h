#pragma once
// Reads the cards of one vCard file (2.1, 3.0 or 4.0, as the big handset platforms and mail
// programs export them). Lenient about what cards in the wild do wrong (folds inside UTF-8
// sequences, quoted-printable soft breaks, CR CR LF line ends, cards that never end, nested
// agent cards, UTF-16 files, legacy character sets): a line it cannot read, a block that is
// no card, stray text, a last line cut off, is skipped with a warning naming its line, and
// every other property of the card is kept. Only a file that holds no card at all, or cannot
// be decoded, is an error, and a caller must then take nothing of the file.
// Every length is bounded, so no input makes it crash, hang or swallow the machine's memory.

#include "platform/contactstore/vcard/Card.h"
#include "platform/contactstore/vcard/ReadProblem.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace contactstore::vcard {

struct ReadResult {
    std::vector<Card> cards;
    // Any error means the file as a whole could not be read (and then holds no card).
    std::vector<ReadProblem> errors;
    // Lines and values that were left out or guessed; the cards are still good.
    std::vector<ReadProblem> warnings;

    bool ok() const { return errors.empty(); }
};

class CardReader {
public:
    struct Limits {
        std::size_t maxInputBytes { std::size_t { 1 } << 30 };
        // One unfolded property line; a large photo is the longest thing a card holds.
        std::size_t maxLineBytes { std::size_t { 24 } << 20 };
        std::size_t maxLinesPerCard { 10000 };
        // Agent cards nested inside a card, themselves holding cards.
        int maxNesting { 8 };
        // Remarks about the lines of a file are kept up to this many.
        std::size_t maxReportedProblems { 50 };
    };

    CardReader() = default;
    explicit CardReader(Limits limits)
        : m_limits(limits)
    {
    }

    [[nodiscard]] ReadResult read(std::string_view bytes) const;
    const Limits& limits() const { return m_limits; }

private:
    Limits m_limits;
};

} // namespace contactstore::vcard

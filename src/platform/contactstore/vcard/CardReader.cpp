#include "platform/contactstore/vcard/CardReader.h"

#include "platform/contactstore/vcard/CardBuilder.h"
#include "platform/contactstore/vcard/ContentLine.h"
#include "platform/contactstore/vcard/ValueCodec.h"

#include <unicode/ucnv.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

namespace contactstore::vcard {

namespace {

struct PhysicalLine {
    std::string_view text;
    int number { 0 };
    // The last line of a file that stops without a line end; it may have been cut off.
    bool unterminated { false };
};

// The file's lines, ended by CR LF, LF or a lone CR, numbered from 1. Some handsets end
// their lines in CR CR LF; that is one line end, not a line end and an empty line, or every
// folded line would look like the start of a property.
class PhysicalLines {
public:
    explicit PhysicalLines(std::string_view text)
        : m_rest(text)
    {
    }

    std::optional<PhysicalLine> next()
    {
        if (m_peeked) {
            std::optional<PhysicalLine> line = m_peeked;
            m_peeked.reset();
            return line;
        }
        return take();
    }

    const std::optional<PhysicalLine>& peek()
    {
        if (!m_peeked)
            m_peeked = take();
        return m_peeked;
    }

private:
    std::optional<PhysicalLine> take()
    {
        if (m_finished)
            return std::nullopt;
        const std::size_t end = lineEnd();
        PhysicalLine line { m_rest.substr(0, end), ++m_number };
        if (end == std::string_view::npos) {
            m_finished = true;
            m_rest = {};
            // A final line end leaves nothing after it; that nothing is not a line.
            if (line.text.empty())
                return std::nullopt;
            line.unterminated = true;
            return line;
        }
        std::size_t skip = 1;
        if (m_rest.compare(end, 2, "\r\n") == 0)
            skip = 2;
        else if (m_rest.compare(end, 3, "\r\r\n") == 0)
            skip = 3;
        m_rest.remove_prefix(end + skip);
        if (m_rest.empty())
            m_finished = true;
        return line;
    }

    // Where the rest's first CR or LF is. Two searches for one byte each are much quicker
    // than one search for either (which tests every byte against the pair). The LF found is
    // kept until the lines pass it, so a file of lone CRs is not searched to its end at
    // every line.
    std::size_t lineEnd()
    {
        if (m_rest.empty())
            return std::string_view::npos;
        if (!m_newline || m_newline < m_rest.data()) {
            const void* found = std::memchr(m_rest.data(), '\n', m_rest.size());
            m_newline = found ? static_cast<const char*>(found) : m_rest.data() + m_rest.size();
        }
        const auto newline = static_cast<std::size_t>(m_newline - m_rest.data());
        const std::size_t carriageReturn = m_rest.substr(0, newline).find('\r');
        if (carriageReturn != std::string_view::npos)
            return carriageReturn;
        return newline < m_rest.size() ? newline : std::string_view::npos;
    }

    std::string_view m_rest;
    // The next LF at or after the rest's start, or the rest's end when there is none.
    const char* m_newline { nullptr };
    int m_number { 0 };
    bool m_finished { false };
    std::optional<PhysicalLine> m_peeked;
};

bool isBlank(std::string_view text)
{
    for (char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        // Stray control characters (a DOS end-of-file mark, NULs) count as nothing.
        if (byte > 0x20 && byte != 0x7F)
            return false;
    }
    return true;
}

bool declaresBase64(std::string_view line)
{
    const std::string_view head = line.substr(0, line.find(':'));
    return containsIgnoringCase(head, "ENCODING=BASE64") || containsIgnoringCase(head, ";BASE64");
}

bool looksLikeBase64Data(std::string_view text)
{
    if (text.empty())
        return false;
    for (char c : text) {
        const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+'
            || c == '/' || c == '=';
        if (!ok)
            return false;
    }
    return true;
}

bool isMarker(std::string_view line, std::string_view marker)
{
    return equalsIgnoringCase(trimSpaces(line), marker);
}

// Windows address books write UTF-16; everything after this point reads bytes of an
// ASCII-compatible encoding.
std::optional<std::string> decodeUtf16(std::string_view bytes, const char* charset)
{
    UErrorCode status = U_ZERO_ERROR;
    UConverter* converter = ucnv_open(charset, &status);
    if (U_FAILURE(status))
        return std::nullopt;
    std::u16string wide(bytes.size() / 2 + 2, u'\0');
    const int32_t wideLength = ucnv_toUChars(converter, wide.data(), static_cast<int32_t>(wide.size()), bytes.data(),
        static_cast<int32_t>(bytes.size()), &status);
    ucnv_close(converter);
    if (U_FAILURE(status))
        return std::nullopt;
    std::string utf8(static_cast<std::size_t>(wideLength) * 3 + 4, '\0');
    int32_t utf8Length = 0;
    status = U_ZERO_ERROR;
    u_strToUTF8WithSub(utf8.data(), static_cast<int32_t>(utf8.size()), &utf8Length, wide.data(), wideLength, 0xFFFD,
        nullptr, &status);
    if (U_FAILURE(status))
        return std::nullopt;
    utf8.resize(static_cast<std::size_t>(utf8Length));
    return utf8;
}

// True when a line starts the way a property does ("NOTE:", "item1.TEL;TYPE=CELL:"): a
// name of letters, digits and hyphens, perhaps after a group, then ';' or ':'.
bool looksLikePropertyStart(std::string_view line)
{
    std::size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.'))
            break;
        ++i;
    }
    return i > 0 && i < line.size() && (line[i] == ':' || line[i] == ';');
}

// The upper-cased name of the block a "BEGIN:NAME" line opens; empty for any other line.
std::string blockBegun(std::string_view line)
{
    line = trimSpaces(line);
    constexpr std::string_view kBegin = "BEGIN:";
    if (line.size() <= kBegin.size() || !equalsIgnoringCase(line.substr(0, kBegin.size()), kBegin))
        return {};
    return toUpperAscii(trimSpaces(line.substr(kBegin.size())));
}

// A name from the file shown in a message, cut to a readable length.
std::string shown(std::string_view text)
{
    return codec::cleanText(text.substr(0, 40));
}

class Parse {
public:
    Parse(const CardReader::Limits& limits, ReadResult& result)
        : m_limits(limits)
        , m_result(result)
    {
    }

    void run(std::string_view text)
    {
        PhysicalLines lines(text);
        // One buffer for every line: a book of a quarter of a million cards has millions.
        std::string logical;
        while (std::optional<PhysicalLine> first = lines.next()) {
            logical.clear();
            const int number = first->number;
            bool cut = false;
            if (!assemble(*first, lines, logical, cut)) {
                warning(number, "the line is longer than the " + std::to_string(m_limits.maxLineBytes >> 20)
                                    + " MiB a property may have; left out");
                continue;
            }
            // What a cut-off value still holds is not what the card said; the rest of the
            // card is sound.
            if (cut && m_depth > 0 && m_nestedDepth == 0 && m_foreignBlock.empty() && !isMarker(logical, "END:VCARD")) {
                warning(number, "the file ends in the middle of this line; left out");
                continue;
            }
            take(logical, number);
        }
        finishAtEnd();
    }

private:
    // Joins folded lines (and quoted-printable soft breaks) into one property line.
    // False when the result would pass the length bound; the pieces are consumed anyway.
    // cut tells whether the last piece was a final line without its line end.
    bool assemble(const PhysicalLine& first, PhysicalLines& lines, std::string& logical, bool& cut)
    {
        bool fits = true;
        auto append = [&](const PhysicalLine& piece, std::string_view text) {
            cut = piece.unterminated;
            if (!fits)
                return;
            if (logical.size() + text.size() > m_limits.maxLineBytes) {
                fits = false;
                logical.clear();
                return;
            }
            logical.append(text);
        };
        append(first, first.text);
        const bool quotedPrintable = ContentLine::declaresQuotedPrintable(first.text);
        const bool base64 = declaresBase64(first.text);
        for (;;) {
            const std::optional<PhysicalLine>& following = lines.peek();
            if (!following)
                break;
            const PhysicalLine next = *following;
            if (quotedPrintable && fits && !logical.empty() && logical.back() == '=') {
                logical.pop_back();
                lines.next();
                if (!isBlank(next.text)) {
                    append(next, next.text);
                    continue;
                }
                // Some 2.1 writers leave an empty line after a soft line break; the value
                // goes on after it unless what follows is the next property.
                cut = next.unterminated;
                const std::optional<PhysicalLine>& after = lines.peek();
                if (!after || looksLikePropertyStart(after->text))
                    break;
                append(*after, after->text);
            } else if (!next.text.empty() && (next.text.front() == ' ' || next.text.front() == '\t')) {
                append(next, next.text.substr(1));
            } else if (base64 && looksLikeBase64Data(next.text)) {
                // Some old exporters leave base64 photo lines unindented until a blank line.
                append(next, next.text);
            } else {
                break;
            }
            lines.next();
        }
        return fits;
    }

    void take(std::string_view logical, int number)
    {
        if (!m_foreignBlock.empty()) {
            insideForeignBlock(logical);
            return;
        }
        if (m_depth == 0) {
            outside(logical, number);
            return;
        }
        if (m_nestedDepth > 0) {
            // An agent's card belongs to someone else; none of its lines are this person's.
            if (isMarker(logical, "BEGIN:VCARD")) {
                if (++m_nestedDepth > m_limits.maxNesting && !m_warnedNesting) {
                    warning(number, "cards are nested more than " + std::to_string(m_limits.maxNesting)
                                        + " deep; the inner cards are skipped");
                    m_warnedNesting = true;
                }
            } else if (isMarker(logical, "END:VCARD")) {
                --m_nestedDepth;
            }
            return;
        }
        if (isMarker(logical, "BEGIN:VCARD")) {
            if (m_lastWasEmptyAgent) {
                m_nestedDepth = 1;
                m_lastWasEmptyAgent = false;
                return;
            }
            warning(m_cardLine, "the card has no END:VCARD; it ends where the next card begins");
            finishCard();
            startCard(number);
            return;
        }
        if (isMarker(logical, "END:VCARD")) {
            finishCard();
            return;
        }
        if (isBlank(logical))
            return;
        if (m_lines.size() >= m_limits.maxLinesPerCard) {
            if (!m_cardTooLong)
                warning(m_cardLine, "the card has more than " + std::to_string(m_limits.maxLinesPerCard)
                                        + " lines; the rest are left out");
            m_cardTooLong = true;
            return;
        }
        std::optional<ContentLine> content = ContentLine::parse(logical, number);
        if (!content) {
            warning(number, "this line is not a vCard property (no name and ':' before its value); skipped");
            return;
        }
        m_lastWasEmptyAgent = content->name() == "AGENT" && trimSpaces(content->value()).empty();
        m_lines.push_back(std::move(*content));
    }

    void outside(std::string_view logical, int number)
    {
        if (isBlank(logical))
            return;
        if (isMarker(logical, "BEGIN:VCARD")) {
            startCard(number);
            return;
        }
        if (isMarker(logical, "END:VCARD")) {
            warning(number, "END:VCARD without a card to end; ignored");
            return;
        }
        if (m_firstStrayLine == 0)
            m_firstStrayLine = number;
        // Calendars, notes and the like sometimes share a file with the cards.
        if (std::string block = blockBegun(logical); !block.empty()) {
            warning(number, "a BEGIN:" + shown(block) + " block is not a card; skipped up to its END");
            m_foreignBlock = std::move(block);
            m_foreignDepth = 1;
            return;
        }
        if (!m_inStrayText)
            warning(number, "text outside any card; skipped");
        m_inStrayText = true;
    }

    void insideForeignBlock(std::string_view logical)
    {
        if (blockBegun(logical) == m_foreignBlock) {
            ++m_foreignDepth;
            return;
        }
        const std::string_view line = trimSpaces(logical);
        if (line.size() > 4 && equalsIgnoringCase(line.substr(0, 4), "END:")
            && equalsIgnoringCase(trimSpaces(line.substr(4)), m_foreignBlock) && --m_foreignDepth == 0) {
            m_foreignBlock.clear();
            m_inStrayText = false;
        }
    }

    void startCard(int number)
    {
        m_depth = 1;
        m_cardLine = number;
        m_lines.clear();
        m_cardTooLong = false;
        m_lastWasEmptyAgent = false;
        m_warnedNesting = false;
        m_inStrayText = false;
    }

    void finishCard()
    {
        m_depth = 0;
        m_nestedDepth = 0;
        Card card = CardBuilder::build(m_lines, m_cardLine, m_result.warnings);
        m_result.cards.push_back(std::move(card));
        m_lines.clear();
    }

    void finishAtEnd()
    {
        if (m_depth > 0) {
            warning(m_cardLine, "the card has no END:VCARD; it ends with the file");
            finishCard();
        }
        if (!m_result.cards.empty())
            return;
        // Nothing of the file can be taken, so it is refused whole; remarks about the parts
        // it skipped would only hide that.
        m_result.warnings.clear();
        if (m_firstStrayLine > 0)
            error(m_firstStrayLine, "this is not a vCard file: BEGIN:VCARD expected");
        else
            error(0, "this is not a vCard file: it holds no card");
    }

    void error(int line, std::string message) { m_result.errors.push_back({ line, std::move(message) }); }

    void warning(int line, std::string message)
    {
        if (m_result.warnings.size() < m_limits.maxReportedProblems)
            m_result.warnings.push_back({ line, std::move(message) });
    }

    const CardReader::Limits& m_limits;
    ReadResult& m_result;
    std::vector<ContentLine> m_lines;
    int m_depth { 0 };
    int m_nestedDepth { 0 };
    int m_cardLine { 0 };
    // The first line that is neither blank nor part of a card, for a file with no card.
    int m_firstStrayLine { 0 };
    // The block (a calendar, say) being skipped, and how deep in blocks of its own name.
    std::string m_foreignBlock;
    int m_foreignDepth { 0 };
    bool m_inStrayText { false };
    bool m_cardTooLong { false };
    bool m_warnedNesting { false };
    bool m_lastWasEmptyAgent { false };
};

} // namespace

ReadResult CardReader::read(std::string_view bytes) const
{
    ReadResult result;
    if (bytes.size() > m_limits.maxInputBytes) {
        result.errors.push_back({ 0, "the file is larger than the " + std::to_string(m_limits.maxInputBytes >> 20)
                                         + " MiB a vCard file may have" });
        return result;
    }

    std::optional<std::string> converted;
    const auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    if (bytes.size() >= 2) {
        const char* charset = nullptr;
        if (byteAt(0) == 0xFF && byteAt(1) == 0xFE) {
            charset = "UTF-16LE";
            bytes.remove_prefix(2);
        } else if (byteAt(0) == 0xFE && byteAt(1) == 0xFF) {
            charset = "UTF-16BE";
            bytes.remove_prefix(2);
        } else if (byteAt(0) != 0 && byteAt(1) == 0) {
            charset = "UTF-16LE";
        } else if (byteAt(0) == 0 && byteAt(1) != 0) {
            charset = "UTF-16BE";
        }
        if (charset && bytes.size() % 2 != 0) {
            // UTF-16 comes in pairs of bytes; an odd count means the file was cut short or
            // is not UTF-16 at all.
            result.errors.push_back({ 0, "the file looks like UTF-16 (" + std::string(charset)
                                             + ") but has an odd number of bytes: it is cut short or not UTF-16" });
            return result;
        }
        if (charset) {
            converted = decodeUtf16(bytes, charset);
            if (!converted) {
                result.errors.push_back({ 0, "the file looks like UTF-16 but cannot be decoded" });
                return result;
            }
            bytes = *converted;
        }
    }
    if (bytes.size() >= 3 && byteAt(0) == 0xEF && byteAt(1) == 0xBB && byteAt(2) == 0xBF)
        bytes.remove_prefix(3);
    // A byte-order mark further in is what joining two files leaves behind; it says nothing
    // about the text, so it is taken out, and the reader is told where.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (bytes.find(kByteOrderMark) != std::string_view::npos) {
        std::string cleaned;
        cleaned.reserve(bytes.size());
        int line = 1;
        std::size_t from = 0;
        for (std::size_t at = bytes.find(kByteOrderMark); at != std::string_view::npos; at = bytes.find(kByteOrderMark, from)) {
            line += static_cast<int>(std::count(bytes.begin() + static_cast<std::ptrdiff_t>(from), bytes.begin() + static_cast<std::ptrdiff_t>(at), '\n'));
            result.warnings.push_back({ line, "a byte-order mark inside the file was left out (were two files joined?)" });
            cleaned.append(bytes.substr(from, at - from));
            from = at + kByteOrderMark.size();
        }
        cleaned.append(bytes.substr(from));
        converted = std::move(cleaned);
        bytes = *converted;
    }

    Parse(m_limits, result).run(bytes);
    return result;
}

} // namespace contactstore::vcard

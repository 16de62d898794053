#include "platform/contactstore/vcard/ContentLine.h"

#include <algorithm>
#include <cctype>

namespace contactstore::vcard {

namespace {

// Property names and parameters are ASCII; the C library's locale-aware toupper is both
// slower and, in some locales, wrong for them.
char upper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

char lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Cards with hundreds of parameters on one line are noise or attacks; the ones that matter
// come first.
constexpr std::size_t kMaxParameters = 64;

bool isBareEncoding(std::string_view upper)
{
    return upper == "QUOTED-PRINTABLE" || upper == "BASE64" || upper == "B" || upper == "8BIT" || upper == "7BIT";
}

// Newer cards escape quotes and line ends inside parameter values with a caret.
std::string decodeCaret(std::string_view text)
{
    if (text.find('^') == std::string_view::npos)
        return std::string(text);
    std::string decoded;
    decoded.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '^' && i + 1 < text.size()) {
            const char next = text[i + 1];
            if (next == 'n') {
                decoded += '\n';
                ++i;
                continue;
            }
            if (next == '^' || next == '\'') {
                decoded += next == '^' ? '^' : '"';
                ++i;
                continue;
            }
        }
        decoded += text[i];
    }
    return decoded;
}

// Splits a parameter's value list at commas outside quotes and strips the quotes.
std::vector<std::string> splitParameterValues(std::string_view text)
{
    std::vector<std::string> values;
    // Most values are one word ("TYPE=CELL").
    if (text.find_first_of("\",") == std::string_view::npos) {
        values.push_back(decodeCaret(trimSpaces(text)));
        return values;
    }
    std::string current;
    bool quoted = false;
    for (char c : text) {
        if (c == '"') {
            quoted = !quoted;
            continue;
        }
        if (c == ',' && !quoted) {
            values.push_back(decodeCaret(trimSpaces(current)));
            current.clear();
            continue;
        }
        current += c;
    }
    values.push_back(decodeCaret(trimSpaces(current)));
    return values;
}

} // namespace

std::string toUpperAscii(std::string_view text)
{
    std::string upper(text);
    for (char& c : upper)
        c = vcard::upper(c);
    return upper;
}

std::string toLowerAscii(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        c = vcard::lower(c);
    return lower;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return upper(x) == upper(y);
           });
}

std::string_view trimSpaces(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

bool containsIgnoringCase(std::string_view text, std::string_view needle)
{
    if (needle.empty())
        return true;
    for (std::size_t i = 0; i + needle.size() <= text.size(); ++i) {
        if (upper(text[i]) == needle.front()
            && equalsIgnoringCase(text.substr(i, needle.size()), needle))
            return true;
    }
    return false;
}

bool ContentLine::declaresQuotedPrintable(std::string_view partialLine)
{
    const std::size_t colon = partialLine.find(':');
    if (!containsIgnoringCase(partialLine.substr(0, colon), "QUOTED-PRINTABLE"))
        return false;
    // The words may sit inside another parameter's quoted value; only the encoding counts.
    const std::optional<ContentLine> line = parse(partialLine, 0);
    if (!line)
        return true;
    return toUpperAscii(line->parameter("ENCODING")) == "QUOTED-PRINTABLE";
}

std::optional<ContentLine> ContentLine::parse(std::string_view text, int line)
{
    // The name and parameters end at the first colon outside a quoted parameter value.
    std::size_t colon = std::string_view::npos;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '"')
            quoted = !quoted;
        else if (text[i] == ':' && !quoted) {
            colon = i;
            break;
        }
    }
    if (colon == std::string_view::npos) {
        // An unbalanced quote must not hide the value: fall back to the first colon.
        colon = text.find(':');
        if (colon == std::string_view::npos)
            return std::nullopt;
    }

    ContentLine content;
    content.m_line = line;
    content.m_value = std::string(text.substr(colon + 1));

    // The name, then the parameters, each up to the next ';' outside quotes.
    std::string_view head = text.substr(0, colon);
    auto nextPiece = [&head]() {
        bool inQuotes = false;
        std::size_t end = 0;
        for (; end < head.size(); ++end) {
            if (head[end] == '"')
                inQuotes = !inQuotes;
            else if (head[end] == ';' && !inQuotes)
                break;
        }
        const std::string_view piece = head.substr(0, end);
        head.remove_prefix(std::min(end + 1, head.size()));
        return piece;
    };

    std::string_view qualifiedName = trimSpaces(nextPiece());
    const std::size_t dot = qualifiedName.rfind('.');
    if (dot != std::string_view::npos) {
        content.m_group = std::string(qualifiedName.substr(0, dot));
        qualifiedName.remove_prefix(dot + 1);
    }
    if (qualifiedName.empty())
        return std::nullopt;
    content.m_name = toUpperAscii(qualifiedName);

    while (!head.empty() && content.m_parameters.size() < kMaxParameters) {
        const std::string_view piece = trimSpaces(nextPiece());
        if (piece.empty())
            continue;
        const std::size_t equals = piece.find('=');
        Parameter parameter;
        if (equals == std::string_view::npos) {
            const std::string upper = toUpperAscii(piece);
            parameter.name = isBareEncoding(upper) ? "ENCODING" : "TYPE";
            parameter.values.push_back(std::string(piece));
        } else {
            parameter.name = toUpperAscii(trimSpaces(piece.substr(0, equals)));
            parameter.values = splitParameterValues(piece.substr(equals + 1));
        }
        content.m_parameters.push_back(std::move(parameter));
    }
    return content;
}

std::string ContentLine::text() const
{
    std::string out;
    if (!m_group.empty())
        out += m_group + '.';
    out += m_name;
    for (const Parameter& parameter : m_parameters) {
        out += ';';
        out += parameter.name;
        for (std::size_t i = 0; i < parameter.values.size(); ++i) {
            const std::string& value = parameter.values[i];
            out += i == 0 ? '=' : ',';
            // The quotes were taken off when the line was read; a value that holds a
            // separator needs them back.
            if (value.find_first_of(":;,") != std::string::npos)
                out += '"' + value + '"';
            else
                out += value;
        }
    }
    out += ':';
    out += m_value;
    return out;
}

std::string ContentLine::parameter(std::string_view name) const
{
    for (const Parameter& parameter : m_parameters) {
        if (parameter.name == name && !parameter.values.empty())
            return parameter.values.front();
    }
    return {};
}

std::vector<std::string> ContentLine::types() const
{
    std::vector<std::string> types;
    for (const Parameter& parameter : m_parameters) {
        if (parameter.name != "TYPE")
            continue;
        for (const std::string& value : parameter.values) {
            // "TYPE=HOME;TYPE=VOICE" and "TYPE=HOME,VOICE" both occur; some writers even
            // put a semicolon-free list in one quoted value.
            for (const std::string& single : splitParameterValues(value)) {
                if (!single.empty())
                    types.push_back(toUpperAscii(single));
            }
        }
    }
    return types;
}

bool ContentLine::hasType(std::string_view upperCaseType) const
{
    const std::vector<std::string> all = types();
    return std::find(all.begin(), all.end(), upperCaseType) != all.end();
}

} // namespace contactstore::vcard

#pragma once
// One property line of a card after unfolding: "item1.TEL;TYPE=CELL,VOICE:+81 90 1234 5678"
// taken apart into its group, name, parameters and still-encoded value. Names and parameter
// names are upper-cased; parameter values keep their case but lose their quotes.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace contactstore::vcard {

class ContentLine {
public:
    struct Parameter {
        std::string name;
        std::vector<std::string> values;
    };

    // Takes one unfolded line apart; none when it has no name or no ':' after it.
    // Old-style bare parameters ("TEL;CELL;PREF:") become TYPE values, and a bare encoding
    // ("QUOTED-PRINTABLE", "BASE64") becomes ENCODING.
    static std::optional<ContentLine> parse(std::string_view text, int line);

    // True when the line's own parameters say its value is quoted-printable; the reader
    // needs to know this before the line is complete, to join soft line breaks.
    static bool declaresQuotedPrintable(std::string_view partialLine);

    const std::string& group() const { return m_group; }
    const std::string& name() const { return m_name; }
    const std::string& value() const { return m_value; }
    const std::vector<Parameter>& parameters() const { return m_parameters; }
    int line() const { return m_line; }

    // The line written out again (unfolded): group, name, parameters and the value as read.
    std::string text() const;

    // The first value of the named parameter (upper-case name), empty when absent.
    std::string parameter(std::string_view name) const;
    // Every TYPE value, upper-cased, from all TYPE parameters.
    std::vector<std::string> types() const;
    bool hasType(std::string_view upperCaseType) const;

private:
    std::string m_group;
    std::string m_name;
    std::vector<Parameter> m_parameters;
    std::string m_value;
    int m_line { 0 };
};

std::string toUpperAscii(std::string_view text);
std::string toLowerAscii(std::string_view text);
bool equalsIgnoringCase(std::string_view a, std::string_view b);
std::string_view trimSpaces(std::string_view text);
// True when needle (upper-case ASCII) occurs in text, whatever the case of text's letters.
bool containsIgnoringCase(std::string_view text, std::string_view upperCaseNeedle);

} // namespace contactstore::vcard

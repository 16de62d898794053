#include "platform/contactstore/vcard/CardBuilder.h"

#include "platform/contactstore/vcard/CardLabels.h"
#include "platform/contactstore/vcard/ValueCodec.h"

#include <algorithm>
#include <array>
#include <map>
#include <string>

namespace contactstore::vcard {

namespace {

// A card naming more groups than this is noise; the first ones are kept.
constexpr std::size_t kMaxCategories = 100;

struct ServiceScheme {
    std::string_view scheme;
    std::string_view service;
};

// How instant-messaging addresses name their service, newest spelling first.
constexpr ServiceScheme kServiceSchemes[] = {
    { "aim", "AIM" },
    { "xmpp", "Jabber" },
    { "msnim", "MSN" },
    { "msn", "MSN" },
    { "ymsgr", "Yahoo" },
    { "icq", "ICQ" },
    { "skype", "Skype" },
    { "callto", "Skype" },
    { "gtalk", "GoogleTalk" },
    { "qq", "QQ" },
    { "facebook", "Facebook" },
    { "fb", "Facebook" },
    { "gg", "GaduGadu" },
    { "gadugadu", "GaduGadu" },
    { "x-apple", "" },
};

struct LegacyMessenger {
    std::string_view property;
    std::string_view service;
};

constexpr LegacyMessenger kLegacyMessengers[] = {
    { "X-AIM", "AIM" },
    { "X-JABBER", "Jabber" },
    { "X-MSN", "MSN" },
    { "X-YAHOO", "Yahoo" },
    { "X-ICQ", "ICQ" },
    { "X-SKYPE", "Skype" },
    { "X-SKYPE-USERNAME", "Skype" },
    { "X-GOOGLE-TALK", "GoogleTalk" },
    { "X-GTALK", "GoogleTalk" },
    { "X-QQ", "QQ" },
    { "X-GADUGADU", "GaduGadu" },
};

struct LegacyRelation {
    std::string_view property;
    std::string_view label;
};

constexpr LegacyRelation kLegacyRelations[] = {
    { "X-SPOUSE", labels::kSpouse },
    { "X-EVOLUTION-SPOUSE", labels::kSpouse },
    { "X-MS-SPOUSE", labels::kSpouse },
    { "X-KADDRESSBOOK-X-SPOUSESNAME", labels::kSpouse },
    { "X-MANAGER", labels::kManager },
    { "X-EVOLUTION-MANAGER", labels::kManager },
    { "X-MS-MANAGER", labels::kManager },
    { "X-KADDRESSBOOK-X-MANAGERSNAME", labels::kManager },
    { "X-ASSISTANT", labels::kAssistant },
    { "X-EVOLUTION-ASSISTANT", labels::kAssistant },
    { "X-MS-ASSISTANT", labels::kAssistant },
    { "X-KADDRESSBOOK-X-ASSISTANTSNAME", labels::kAssistant },
};

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && equalsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

std::string percentDecode(std::string_view text)
{
    auto hex = [](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    };
    std::string decoded;
    decoded.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            const int high = hex(text[i + 1]);
            const int low = hex(text[i + 2]);
            if (high >= 0 && low >= 0) {
                decoded += static_cast<char>(high * 16 + low);
                i += 2;
                continue;
            }
        }
        decoded += text[i];
    }
    return decoded;
}

// A number or address written as a URI; writers that double the scheme are not rare.
std::string withoutScheme(std::string value, std::string_view scheme)
{
    std::string_view rest = value;
    while (startsWithIgnoringCase(rest, scheme))
        rest = trimSpaces(rest.substr(scheme.size()));
    return std::string(rest);
}

bool isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(std::optional<int> year, int month)
{
    static constexpr int kDays[] = { 31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
    if (month == 2 && year && !isLeapYear(*year))
        return 28;
    return kDays[month - 1];
}

// Reads exactly count decimal digits from the front of text. No field of a card has more
// than a few; a longer run is not a number we can use (and would overflow).
std::optional<int> takeDigits(std::string_view& text, std::size_t count)
{
    if (text.size() < count || count == 0 || count > 6)
        return std::nullopt;
    int value = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    text.remove_prefix(count);
    return value;
}

bool takeSeparator(std::string_view& text)
{
    if (!text.empty() && (text.front() == '-' || text.front() == '/' || text.front() == '.')) {
        text.remove_prefix(1);
        return true;
    }
    return false;
}

bool allEmpty(const std::vector<std::string>& parts)
{
    return std::all_of(parts.begin(), parts.end(), [](const std::string& part) { return part.empty(); });
}

// The properties a person holds once.
enum class Single {
    Name,
    FormattedName,
    Organization,
    Title,
    Role,
    Birthday,
    Uid,
    Photo,
    FirstNamePhonetic,
    LastNamePhonetic,
    MiddleNamePhonetic,
    Reading,
    Count,
};

class Builder {
public:
    Builder(const std::vector<ContentLine>& lines, int firstLine, std::vector<ReadProblem>& warnings)
        : m_lines(lines)
        , m_warnings(warnings)
    {
        m_card.line = firstLine;
    }

    Card build()
    {
        collectItemGroups();
        for (const ContentLine& line : m_lines)
            take(line);
        finish();
        return std::move(m_card);
    }

private:
    // Apple-style item groups attach a label ("item1.X-ABLabel") or a country code
    // ("item2.X-ABADR") to the property of the same group.
    void collectItemGroups()
    {
        for (const ContentLine& line : m_lines) {
            if (line.group().empty())
                continue;
            if (line.name() == "X-ABLABEL") {
                std::string label = text(line);
                if (!label.empty())
                    m_itemLabels.emplace(toLowerAscii(line.group()), std::move(label));
            } else if (line.name() == "X-ABADR") {
                m_itemCountryCodes.emplace(toLowerAscii(line.group()), toLowerAscii(text(line)));
            }
        }
    }

    void take(const ContentLine& line)
    {
        const std::string_view name = line.name();
        if (name == "N")
            takeName(line);
        else if (name == "FN")
            takeSingleText(line, Single::FormattedName, m_card.formattedName);
        else if (name == "NICKNAME")
            appendText(m_card.nickname, text(line), ", ");
        else if (name == "X-PHONETIC-FIRST-NAME")
            takeSingleText(line, Single::FirstNamePhonetic, m_card.firstNamePhonetic);
        else if (name == "X-PHONETIC-LAST-NAME")
            takeSingleText(line, Single::LastNamePhonetic, m_card.lastNamePhonetic);
        else if (name == "X-PHONETIC-MIDDLE-NAME")
            takeSingleText(line, Single::MiddleNamePhonetic, m_card.middleNamePhonetic);
        else if (name == "SOUND" && line.hasType("X-IRMC-N"))
            takeIrmcReading(line);
        else if (name == "ORG")
            takeOrganization(line);
        else if (name == "TITLE")
            takeSingleText(line, Single::Title, m_card.jobTitle);
        else if (name == "ROLE")
            takeSingleText(line, Single::Role, m_role);
        else if (name == "NOTE")
            appendText(m_card.note, text(line), "\n");
        else if (name == "BDAY")
            takeBirthday(line);
        else if (name == "ANNIVERSARY" || name == "X-ANNIVERSARY" || name == "X-EVOLUTION-ANNIVERSARY"
            || name == "X-MS-ANNIVERSARY")
            takeDate(line, std::string(labels::kAnniversary));
        else if (name == "X-ABDATE")
            takeDate(line, {});
        else if (name == "TEL")
            takePhone(line);
        else if (name == "EMAIL")
            takeEmail(line);
        else if (name == "URL")
            takeText(line, LabeledProperty::Url, m_card.urls);
        else if (name == "ADR")
            takeAddress(line);
        else if (name == "IMPP")
            takeInstantMessage(line);
        else if (name == "X-ABRELATEDNAMES")
            takeText(line, LabeledProperty::RelatedName, m_card.relatedNames);
        else if (name == "RELATED")
            takeRelated(line);
        else if (name == "PHOTO")
            takePhoto(line);
        else if (name == "KIND" || name == "X-ADDRESSBOOKSERVER-KIND")
            takeKind(line);
        else if (name == "X-ABSHOWAS") {
            if (equalsIgnoringCase(text(line), "COMPANY"))
                m_card.kind = Card::Kind::Organization;
        } else if (name == "MEMBER" || name == "X-ADDRESSBOOKSERVER-MEMBER") {
            std::string member = text(line);
            if (!member.empty())
                m_card.members.push_back(std::move(member));
        } else if (name == "UID")
            takeSingleText(line, Single::Uid, m_card.uid);
        else if (name == "CATEGORIES")
            takeCategories(line);
        else if (name == "X-ANDROID-CUSTOM")
            takeAndroidCustom(line);
        else if (!takeLegacy(line) && !isFramingOrItemCompanion(name))
            m_card.otherProperties.push_back(line.text());
    }

    // Lines that belong to the card's frame or to another property's item group: never kept
    // on their own, since whoever writes the card writes them anew.
    static bool isFramingOrItemCompanion(std::string_view name)
    {
        return name == "VERSION" || name == "PRODID" || name == "REV" || name == "X-ABLABEL" || name == "X-ABADR";
    }

    // True when the line is an old spelling of a messenger or relation.
    bool takeLegacy(const ContentLine& line)
    {
        for (const LegacyMessenger& messenger : kLegacyMessengers) {
            if (line.name() == messenger.property) {
                std::string username = text(line);
                if (!username.empty())
                    m_card.instantMessages.push_back({ labelFor(line, LabeledProperty::InstantMessage),
                        { std::string(messenger.service), std::move(username), {} } });
                return true;
            }
        }
        for (const LegacyRelation& relation : kLegacyRelations) {
            if (line.name() == relation.property) {
                std::string name = text(line);
                if (!name.empty())
                    m_card.relatedNames.push_back({ itemLabel(line).value_or(std::string(relation.label)), name });
                return true;
            }
        }
        return false;
    }

    // The value's bytes as UTF-8 text, transfer encoding and character set undone; the
    // vCard escapes are still in place.
    std::string decoded(const ContentLine& line)
    {
        std::string bytes = line.value();
        const std::string encoding = toUpperAscii(line.parameter("ENCODING"));
        if (encoding == "QUOTED-PRINTABLE") {
            bytes = codec::decodeQuotedPrintable(bytes);
        } else if (encoding == "B" || encoding == "BASE64") {
            if (std::optional<std::string> binary = codec::decodeBase64(bytes))
                bytes = std::move(*binary);
            else
                warn(line, "the value is not valid base64; read as it stands");
        }
        const std::string charset = line.parameter("CHARSET");
        if (charset.empty()) {
            if (codec::isValidUtf8(bytes))
                return bytes;
            // 8-bit text that names no character set is most likely in the one another
            // value of the same card names (old handsets say it on some lines only).
            if (const std::string& cardCharset = cardCharacterSet(); !cardCharset.empty()) {
                if (std::optional<std::string> utf8 = codec::toUtf8(bytes, cardCharset))
                    return std::move(*utf8);
            }
            warn(line, "the text is not UTF-8 and no character set is named for it; read as Windows-1252");
            return codec::toUtf8(bytes, "windows-1252").value_or(std::string());
        }
        std::optional<std::string> utf8 = codec::toUtf8(bytes, charset);
        if (!utf8) {
            warn(line, "unknown character set \"" + codec::cleanText(charset) + "\"; read as UTF-8");
            utf8 = codec::toUtf8(bytes, "");
        }
        return utf8 ? std::move(*utf8) : std::string();
    }

    // The first character set other than UTF-8 that a line of the card names; empty when none.
    const std::string& cardCharacterSet()
    {
        if (!m_cardCharsetKnown) {
            m_cardCharsetKnown = true;
            for (const ContentLine& line : m_lines) {
                const std::string charset = toUpperAscii(line.parameter("CHARSET"));
                if (!charset.empty() && charset != "UTF-8" && charset != "UTF8") {
                    m_cardCharset = charset;
                    break;
                }
            }
        }
        return m_cardCharset;
    }

    // True, with a warning, when the card already had a line of this kind; a person keeps
    // the first. The same value in another language (a shared ALTID) is no repeat.
    bool repeated(const ContentLine& line, Single which)
    {
        const std::size_t index = static_cast<std::size_t>(which);
        if (!m_taken[index])
            return false;
        const std::string altId = line.parameter("ALTID");
        if (altId.empty() || altId != m_takenAltIds[index])
            warn(line, "the card already has one; this one is left out");
        return true;
    }

    void taken(const ContentLine& line, Single which)
    {
        const std::size_t index = static_cast<std::size_t>(which);
        m_taken[index] = true;
        m_takenAltIds[index] = line.parameter("ALTID");
    }

    // An empty line does not count as the card's one value of its kind.
    void takeSingleText(const ContentLine& line, Single which, std::string& field)
    {
        if (repeated(line, which))
            return;
        std::string value = text(line);
        if (value.empty())
            return;
        field = std::move(value);
        taken(line, which);
    }

    static std::string finish(std::string_view escaped)
    {
        if (isFinishedAlready(escaped))
            return std::string(trimSpaces(escaped));
        return std::string(trimSpaces(codec::cleanText(codec::unescapeText(escaped))));
    }

    // Most values are plain text: no escapes, no line ends or other control characters, and
    // sound UTF-8. Unescaping and cleaning leave those as they are.
    static bool isFinishedAlready(std::string_view escaped)
    {
        bool ascii = true;
        for (char c : escaped) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte == '\\' || byte == 0x7F || (byte < 0x20 && byte != '\t'))
                return false;
            ascii = ascii && byte < 0x80;
        }
        return ascii || codec::isValidUtf8(escaped);
    }

    // True when the value's bytes are its text as they stand: no transfer encoding, no
    // character set, sound UTF-8 (what decoded would give back unchanged).
    static bool isDecodedAlready(const ContentLine& line)
    {
        for (const ContentLine::Parameter& parameter : line.parameters()) {
            if (parameter.name == "ENCODING" || parameter.name == "CHARSET")
                return false;
        }
        return codec::isValidUtf8(line.value());
    }

    std::string text(const ContentLine& line) { return finish(isDecodedAlready(line) ? line.value() : decoded(line)); }

    // Parameter values carry no backslash escapes.
    static std::string cleanParameter(std::string_view value)
    {
        return std::string(trimSpaces(codec::cleanText(value)));
    }

    std::vector<std::string> components(const ContentLine& line, std::size_t atLeast)
    {
        std::string decodedValue;
        std::string_view value = line.value();
        if (!isDecodedAlready(line)) {
            decodedValue = decoded(line);
            value = decodedValue;
        }
        std::vector<std::string> parts;
        for (std::string_view part : codec::splitUnescaped(value, ';'))
            parts.push_back(finish(part));
        if (parts.size() < atLeast)
            parts.resize(atLeast);
        return parts;
    }

    static void appendText(std::string& field, const std::string& more, std::string_view separator)
    {
        if (more.empty())
            return;
        if (!field.empty())
            field += separator;
        field += more;
    }

    void warn(const ContentLine& line, std::string message)
    {
        // Bounded like every other list the reader keeps.
        if (m_warnings.size() < 1000)
            m_warnings.push_back({ line.line(), line.name() + ": " + std::move(message) });
    }

    std::optional<std::string> itemLabel(const ContentLine& line) const
    {
        if (line.group().empty())
            return std::nullopt;
        const auto found = m_itemLabels.find(toLowerAscii(line.group()));
        if (found == m_itemLabels.end())
            return std::nullopt;
        return found->second;
    }

    std::string labelFor(const ContentLine& line, LabeledProperty property)
    {
        if (std::optional<std::string> label = itemLabel(line))
            return *label;
        const std::vector<std::string> types = line.types();
        std::string label = labelForTypes(property, types);
        const std::string fallback = labelForTypes(property, {});
        if (label != fallback)
            return label;
        // Android writes its users' own labels as "X-" types ("TEL;X-Sat phone:").
        for (const ContentLine::Parameter& parameter : line.parameters()) {
            if (parameter.name != "TYPE")
                continue;
            for (const std::string& value : parameter.values) {
                const std::string upper = toUpperAscii(value);
                if (value.size() > 2 && upper.rfind("X-", 0) == 0 && upper != "X-OTHER" && upper != "X-MAIN"
                    && upper != "X-HOMEPAGE" && upper != "X-INTERNET") {
                    std::string custom = cleanParameter(std::string_view(value).substr(2));
                    if (!custom.empty())
                        return custom;
                }
            }
        }
        return label;
    }

    void takeName(const ContentLine& line)
    {
        if (repeated(line, Single::Name))
            return;
        std::vector<std::string> parts = components(line, 5);
        if (allEmpty(parts))
            return;
        taken(line, Single::Name);
        m_card.lastName = std::move(parts[0]);
        m_card.firstName = std::move(parts[1]);
        m_card.middleName = std::move(parts[2]);
        m_card.prefix = std::move(parts[3]);
        m_card.suffix = std::move(parts[4]);
        // SORT-AS lists the sort keys of the family and given name, written both as
        // SORT-AS="Mann,James" and as SORT-AS=Mann,James.
        std::vector<std::string> sortAs;
        for (const ContentLine::Parameter& parameter : line.parameters()) {
            if (parameter.name != "SORT-AS")
                continue;
            for (const std::string& value : parameter.values) {
                for (std::string_view key : codec::splitUnescaped(value, ','))
                    sortAs.push_back(cleanParameter(key));
            }
        }
        if (!sortAs.empty())
            m_sortAsLast = sortAs[0];
        if (sortAs.size() > 1)
            m_sortAsFirst = sortAs[1];
    }

    // Japanese handsets put the reading of a name in SOUND;X-IRMC-N, family name first.
    void takeIrmcReading(const ContentLine& line)
    {
        if (repeated(line, Single::Reading))
            return;
        std::vector<std::string> parts = components(line, 3);
        if (allEmpty(parts))
            return;
        taken(line, Single::Reading);
        m_irmcLast = std::move(parts[0]);
        m_irmcFirst = std::move(parts[1]);
        m_irmcMiddle = std::move(parts[2]);
    }

    void takeOrganization(const ContentLine& line)
    {
        if (repeated(line, Single::Organization))
            return;
        std::vector<std::string> parts = components(line, 1);
        if (allEmpty(parts))
            return;
        taken(line, Single::Organization);
        m_card.organization = std::move(parts[0]);
        std::string department;
        for (std::size_t i = 1; i < parts.size(); ++i)
            appendText(department, parts[i], ", ");
        m_card.department = std::move(department);
    }

    std::optional<int> omittedYear(const ContentLine& line)
    {
        const std::string omitted = line.parameter("X-APPLE-OMIT-YEAR");
        if (omitted.empty())
            return std::nullopt;
        std::string_view digits = omitted;
        return takeDigits(digits, 4);
    }

    void takeBirthday(const ContentLine& line)
    {
        if (repeated(line, Single::Birthday))
            return;
        const std::string value = text(line);
        if (value.empty())
            return;
        if (std::optional<Card::Date> date = CardBuilder::parseDate(value, omittedYear(line))) {
            m_card.birthday = date;
            taken(line, Single::Birthday);
        } else
            warn(line, "\"" + value.substr(0, 40) + "\" is not a date; left out");
    }

    void takeDate(const ContentLine& line, std::string label)
    {
        const std::string value = text(line);
        if (value.empty())
            return;
        std::optional<Card::Date> date = CardBuilder::parseDate(value, omittedYear(line));
        if (!date) {
            warn(line, "\"" + value.substr(0, 40) + "\" is not a date; left out");
            return;
        }
        if (std::optional<std::string> item = itemLabel(line))
            label = *item;
        else if (label.empty())
            label = labelFor(line, LabeledProperty::Date);
        m_card.dates.push_back({ std::move(label), *date });
    }

    void takePhone(const ContentLine& line)
    {
        std::string number = withoutScheme(text(line), "tel:");
        if (!number.empty())
            m_card.phones.push_back({ labelFor(line, LabeledProperty::Phone), std::move(number) });
    }

    void takeEmail(const ContentLine& line)
    {
        std::string address = withoutScheme(text(line), "mailto:");
        if (!address.empty())
            m_card.emails.push_back({ labelFor(line, LabeledProperty::Email), std::move(address) });
    }

    void takeText(const ContentLine& line, LabeledProperty property, std::vector<Card::Labeled<std::string>>& into)
    {
        std::string value = text(line);
        if (!value.empty())
            into.push_back({ labelFor(line, property), std::move(value) });
    }

    void takeRelated(const ContentLine& line)
    {
        std::string value = text(line);
        // A reference to another card names nobody the address book could show.
        if (value.empty() || startsWithIgnoringCase(value, "urn:"))
            return;
        m_card.relatedNames.push_back({ labelFor(line, LabeledProperty::RelatedName), std::move(value) });
    }

    void takeAddress(const ContentLine& line)
    {
        std::vector<std::string> parts = components(line, 7);
        Card::Address address;
        for (std::size_t i = 0; i < 3; ++i)
            appendText(address.street, parts[i], "\n");
        address.city = std::move(parts[3]);
        address.state = std::move(parts[4]);
        address.zip = std::move(parts[5]);
        address.country = std::move(parts[6]);
        if (!line.group().empty()) {
            const auto code = m_itemCountryCodes.find(toLowerAscii(line.group()));
            if (code != m_itemCountryCodes.end())
                address.countryCode = code->second;
        }
        if (!address.isEmpty())
            m_card.addresses.push_back({ labelFor(line, LabeledProperty::Address), std::move(address) });
    }

    void takeInstantMessage(const ContentLine& line)
    {
        const std::string value = text(line);
        if (value.empty())
            return;
        Card::InstantMessage message;
        std::string_view address = value;
        const std::size_t colon = address.find(':');
        bool knownScheme = false;
        std::string writtenScheme;
        if (colon != std::string_view::npos) {
            const std::string scheme = toLowerAscii(address.substr(0, colon));
            for (const ServiceScheme& entry : kServiceSchemes) {
                if (entry.scheme == scheme) {
                    message.service = std::string(entry.service);
                    knownScheme = true;
                    break;
                }
            }
            const bool looksLikeScheme = !scheme.empty()
                && std::all_of(scheme.begin(), scheme.end(), [](char c) {
                       return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.';
                   });
            if (knownScheme || looksLikeScheme) {
                address.remove_prefix(colon + 1);
                writtenScheme = scheme;
            }
        }
        // "aim:goim?screenname=name" is the old way to name an AIM user.
        if (knownScheme && startsWithIgnoringCase(address, "goim?")) {
            const std::size_t screenName = toLowerAscii(address).find("screenname=");
            if (screenName != std::string::npos)
                address.remove_prefix(screenName + 11);
        }
        message.username = std::string(trimSpaces(codec::cleanText(percentDecode(address))));
        const std::string service = cleanParameter(line.parameter("X-SERVICE-TYPE"));
        if (!service.empty())
            message.service = service;
        // A service named apart from its address ("GTalk" on an xmpp: address) keeps the
        // address's own scheme.
        if (writtenScheme != usualSchemeForService(message.service))
            message.scheme = std::move(writtenScheme);
        if (!message.username.empty())
            m_card.instantMessages.push_back({ labelFor(line, LabeledProperty::InstantMessage), std::move(message) });
    }

    void takePhoto(const ContentLine& line)
    {
        if (repeated(line, Single::Photo))
            return;
        std::string_view value = trimSpaces(line.value());
        if (value.empty())
            return;
        std::optional<std::string> bytes;
        if (startsWithIgnoringCase(value, "data:")) {
            const std::size_t comma = value.find(',');
            if (comma == std::string_view::npos) {
                warn(line, "the photo's data address has no data; left out");
                return;
            }
            const std::string header = toLowerAscii(value.substr(0, comma));
            const std::string_view payload = value.substr(comma + 1);
            if (header.find(";base64") != std::string::npos)
                bytes = codec::decodeBase64(payload);
            else
                bytes = percentDecode(payload);
        } else {
            const std::string encoding = toUpperAscii(line.parameter("ENCODING"));
            const std::string valueType = toUpperAscii(line.parameter("VALUE"));
            if (encoding == "B" || encoding == "BASE64") {
                bytes = codec::decodeBase64(value);
            } else if (valueType == "URI" || valueType == "URL" || value.find("://") != std::string_view::npos) {
                warn(line, "the photo is a link to elsewhere; it is not fetched");
                return;
            } else {
                // Some writers leave the encoding out of a base64 photo.
                bytes = codec::decodeBase64(value);
            }
        }
        if (!bytes || bytes->empty()) {
            warn(line, "the photo is not valid base64; left out");
            return;
        }
        m_card.photo = std::move(*bytes);
        taken(line, Single::Photo);
    }

    void takeKind(const ContentLine& line)
    {
        const std::string kind = toLowerAscii(text(line));
        if (kind == "group")
            m_card.kind = Card::Kind::Group;
        else if (kind == "org" || kind == "organization")
            m_card.kind = Card::Kind::Organization;
        else if (kind == "individual")
            m_card.kind = Card::Kind::Individual;
    }

    void takeCategories(const ContentLine& line)
    {
        const std::string value = decoded(line);
        for (std::string_view list : codec::splitUnescaped(value, ';')) {
            for (std::string_view raw : codec::splitUnescaped(list, ',')) {
                std::string name = finish(raw);
                if (name.empty())
                    continue;
                if (std::find(m_card.categories.begin(), m_card.categories.end(), name) != m_card.categories.end())
                    continue;
                if (m_card.categories.size() >= kMaxCategories) {
                    warn(line, "more than " + std::to_string(kMaxCategories) + " groups; the rest left out");
                    return;
                }
                m_card.categories.push_back(std::move(name));
            }
        }
    }

    // Android's own kinds of data: nicknames, relations and events.
    void takeAndroidCustom(const ContentLine& line)
    {
        std::vector<std::string> parts = components(line, 4);
        const std::string kind = toLowerAscii(parts[0]);
        if (kind == "vnd.android.cursor.item/nickname") {
            appendText(m_card.nickname, parts[1], ", ");
        } else if (kind == "vnd.android.cursor.item/relation") {
            if (parts[1].empty())
                return;
            static constexpr std::string_view kRelationLabels[] = { "", labels::kAssistant, labels::kBrother,
                labels::kChild, labels::kPartner, labels::kFather, labels::kFriend, labels::kManager, labels::kMother,
                labels::kParent, labels::kPartner, "", "", labels::kSister, labels::kSpouse };
            std::string label(labels::kOther);
            std::string_view typeText = parts[2];
            if (std::optional<int> type = takeDigits(typeText, typeText.size()); type && typeText.empty()
                && *type >= 0 && *type < static_cast<int>(std::size(kRelationLabels))) {
                if (!kRelationLabels[*type].empty())
                    label = std::string(kRelationLabels[*type]);
                else if (*type == 0 && !parts[3].empty())
                    label = parts[3];
            }
            m_card.relatedNames.push_back({ std::move(label), parts[1] });
        } else if (kind == "vnd.android.cursor.item/contact_event") {
            std::optional<Card::Date> date = CardBuilder::parseDate(parts[1]);
            if (!date)
                return;
            if (parts[2] == "3") {
                if (!m_card.birthday)
                    m_card.birthday = date;
                return;
            }
            std::string label(parts[2] == "1" ? labels::kAnniversary : labels::kOther);
            if (parts[2] == "0" && !parts[3].empty())
                label = parts[3];
            m_card.dates.push_back({ std::move(label), *date });
        }
    }

    void finish()
    {
        if (m_card.lastNamePhonetic.empty() && m_card.firstNamePhonetic.empty() && m_card.middleNamePhonetic.empty()) {
            if (!m_irmcLast.empty() || !m_irmcFirst.empty() || !m_irmcMiddle.empty()) {
                m_card.lastNamePhonetic = m_irmcLast;
                m_card.firstNamePhonetic = m_irmcFirst;
                m_card.middleNamePhonetic = m_irmcMiddle;
            } else {
                m_card.lastNamePhonetic = std::string(trimSpaces(m_sortAsLast));
                m_card.firstNamePhonetic = std::string(trimSpaces(m_sortAsFirst));
            }
        }
        if (m_card.jobTitle.empty())
            m_card.jobTitle = m_role;
        // A card with a display name but no name parts (mail programs write only FN) keeps
        // that name as the given name, unless it is just the company's name.
        const bool hasName = !m_card.firstName.empty() || !m_card.lastName.empty() || !m_card.middleName.empty()
            || !m_card.prefix.empty() || !m_card.suffix.empty() || !m_card.nickname.empty();
        if (m_card.kind != Card::Kind::Group && !hasName && !m_card.formattedName.empty()
            && m_card.formattedName != m_card.organization)
            m_card.firstName = m_card.formattedName;
        // Only a group has members; a person's MEMBER line means nothing.
        if (m_card.kind != Card::Kind::Group)
            m_card.members.clear();
        if (m_card.kind == Card::Kind::Group && m_card.formattedName.empty())
            m_card.formattedName = m_card.lastName.empty() ? m_card.firstName : m_card.lastName;
    }

    const std::vector<ContentLine>& m_lines;
    std::vector<ReadProblem>& m_warnings;
    Card m_card;
    std::map<std::string, std::string> m_itemLabels;
    std::map<std::string, std::string> m_itemCountryCodes;
    std::string m_sortAsLast;
    std::string m_sortAsFirst;
    std::string m_irmcLast;
    std::string m_irmcFirst;
    std::string m_irmcMiddle;
    std::string m_role;
    std::array<bool, static_cast<std::size_t>(Single::Count)> m_taken {};
    std::array<std::string, static_cast<std::size_t>(Single::Count)> m_takenAltIds;
    std::string m_cardCharset;
    bool m_cardCharsetKnown { false };
};

} // namespace

Card CardBuilder::build(const std::vector<ContentLine>& lines, int firstLine, std::vector<ReadProblem>& warnings)
{
    return Builder(lines, firstLine, warnings).build();
}

std::optional<Card::Date> CardBuilder::parseDate(std::string_view text, std::optional<int> omittedYear)
{
    text = trimSpaces(text);
    Card::Date date;
    if (text.substr(0, 2) == "--") {
        text.remove_prefix(2);
        const std::optional<int> month = takeDigits(text, 2);
        takeSeparator(text);
        const std::optional<int> day = takeDigits(text, 2);
        if (!month || !day)
            return std::nullopt;
        date.month = *month;
        date.day = *day;
    } else {
        const std::optional<int> year = takeDigits(text, 4);
        if (!year)
            return std::nullopt;
        const bool separated = takeSeparator(text);
        const std::optional<int> month = takeDigits(text, 2);
        if (separated)
            takeSeparator(text);
        const std::optional<int> day = takeDigits(text, 2);
        if (!month || !day)
            return std::nullopt;
        if (*year < 1)
            return std::nullopt;
        if (!omittedYear || *year != *omittedYear)
            date.year = *year;
        date.month = *month;
        date.day = *day;
    }
    // Whatever follows is a time of day or a zone, which a calendar day does not need;
    // anything else means this was not a date at all.
    if (!text.empty() && text.front() != 'T' && text.front() != 't' && text.front() != ' ')
        return std::nullopt;
    if (date.month < 1 || date.month > 12 || date.day < 1 || date.day > daysInMonth(date.year, date.month))
        return std::nullopt;
    return date;
}

} // namespace contactstore::vcard

#include "platform/contactstore/vcard/CardWriter.h"

#include "platform/contactstore/vcard/CardLabels.h"
#include "platform/contactstore/vcard/ValueCodec.h"

#include <cstdio>
#include <string_view>

namespace contactstore::vcard {

namespace {

constexpr std::size_t kFoldOctets = 75;

// The year the handset platforms put in a birthday whose year nobody knows.
constexpr int kOmittedYear = 1604;

std::string percentEncode(std::string_view text)
{
    std::string encoded;
    for (char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        // '?' too, so a user name never reads as the query of an old-style AIM address.
        if (byte <= 0x20 || byte == 0x7F || c == '%' || c == '?') {
            char buffer[4];
            std::snprintf(buffer, sizeof buffer, "%%%02X", byte);
            encoded += buffer;
        } else {
            encoded += c;
        }
    }
    return encoded;
}

// A parameter value, quoted when it holds a separator; quotes and line ends inside take
// the caret escapes that newer readers know.
std::string parameterValue(std::string_view value)
{
    bool needsQuotes = false;
    std::string escaped;
    for (char c : value) {
        switch (c) {
        case '^':
            escaped += "^^";
            break;
        case '"':
            escaped += "^'";
            break;
        case '\n':
            escaped += "^n";
            break;
        case ';':
        case ':':
        case ',':
        case ' ':
        case '\t':
            needsQuotes = true;
            escaped += c;
            break;
        default:
            escaped += c;
        }
    }
    return needsQuotes ? '"' + escaped + '"' : escaped;
}

std::string twoDigits(int value)
{
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%02d", value);
    return buffer;
}

std::string fourDigits(int value)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d", value);
    return buffer;
}

std::string_view imageType(std::string_view bytes)
{
    if (bytes.substr(0, 3) == "\xFF\xD8\xFF")
        return "JPEG";
    if (bytes.substr(0, 8) == "\x89PNG\r\n\x1A\n")
        return "PNG";
    if (bytes.substr(0, 4) == "GIF8")
        return "GIF";
    return {};
}

bool containsEastAsianScript(std::string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        if (lead < 0xE0 || lead >= 0xF0 || i + 2 >= text.size())
            continue;
        const unsigned codePoint = ((lead & 0x0Fu) << 12) | ((static_cast<unsigned char>(text[i + 1]) & 0x3Fu) << 6)
            | (static_cast<unsigned char>(text[i + 2]) & 0x3Fu);
        if ((codePoint >= 0x3040 && codePoint <= 0x30FF) || (codePoint >= 0x3400 && codePoint <= 0x9FFF)
            || (codePoint >= 0xAC00 && codePoint <= 0xD7AF))
            return true;
    }
    return false;
}

class CardText {
public:
    CardText(CardWriter::Version version, std::string& text)
        : m_version(version)
        , m_text(text)
    {
    }

    bool v4() const { return m_version == CardWriter::Version::V4; }

    void line(std::string_view nameAndParameters, std::string_view value)
    {
        std::string logical;
        logical.reserve(nameAndParameters.size() + value.size() + 1);
        logical.append(nameAndParameters);
        logical += ':';
        logical.append(value);
        CardWriter::appendFolded(logical, m_text);
    }

    void text(std::string_view name, std::string_view value)
    {
        if (!value.empty())
            line(name, codec::escapeText(value));
    }

    std::string typeParameter(const std::vector<std::string_view>& types) const
    {
        if (types.empty())
            return {};
        std::string parameter = ";TYPE=";
        for (std::size_t i = 0; i < types.size(); ++i) {
            if (i > 0)
                parameter += ',';
            parameter += v4() ? lowerType(types[i]) : std::string(types[i]);
        }
        return parameter;
    }

    // One labelled entry: TYPE values for a label that has them, else an item group with
    // the label spelled out. extraParameters go after the TYPE; an item group may also be
    // wanted for a companion line (the country code of an address), given in companion.
    void labeled(std::string_view name, LabeledProperty property, std::string_view label, std::string_view value,
        std::string_view extraParameters = {}, std::string_view companionName = {},
        std::string_view companionValue = {}, std::string_view alwaysType = {})
    {
        const bool asTypes = label.empty() || labelTravelsAsTypes(property, label);
        const bool needsGroup = !asTypes || !companionValue.empty();
        std::string group;
        if (needsGroup)
            group = "item" + std::to_string(++m_items) + ".";
        std::string head = group + std::string(name);
        head += extraParameters;
        std::vector<std::string_view> types;
        if (!alwaysType.empty())
            types.push_back(alwaysType);
        if (asTypes) {
            for (std::string_view type : typesForLabel(property, label))
                types.push_back(type);
        }
        head += typeParameter(types);
        line(head, value);
        if (!asTypes)
            line(group + "X-ABLabel", codec::escapeText(label));
        if (!companionValue.empty())
            line(group + std::string(companionName), codec::escapeText(companionValue));
    }

    std::string date(const Card::Date& date, bool& yearOmitted) const
    {
        yearOmitted = false;
        if (date.year)
            return fourDigits(*date.year) + "-" + twoDigits(date.month) + "-" + twoDigits(date.day);
        if (v4())
            return "--" + twoDigits(date.month) + twoDigits(date.day);
        yearOmitted = true;
        return fourDigits(kOmittedYear) + "-" + twoDigits(date.month) + "-" + twoDigits(date.day);
    }

    static std::string lowerType(std::string_view text)
    {
        std::string lower(text);
        for (char& c : lower) {
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        }
        return lower;
    }

private:
    CardWriter::Version m_version;
    std::string& m_text;
    int m_items { 0 };
};

} // namespace

std::string CardWriter::composeFormattedName(const Card& card)
{
    std::string name;
    auto add = [&](const std::string& part, std::string_view separator) {
        if (part.empty())
            return;
        if (!name.empty())
            name += separator;
        name += part;
    };
    if (containsEastAsianScript(card.lastName + card.firstName)) {
        add(card.prefix, " ");
        add(card.lastName, " ");
        add(card.middleName, "");
        add(card.firstName, "");
        add(card.suffix, " ");
    } else {
        add(card.prefix, " ");
        add(card.firstName, " ");
        add(card.middleName, " ");
        add(card.lastName, " ");
        if (!card.suffix.empty())
            add(card.suffix, name.empty() ? "" : ", ");
    }
    if (name.empty())
        name = card.organization;
    if (name.empty())
        name = card.nickname;
    return name;
}

void CardWriter::appendFolded(std::string_view line, std::string& text)
{
    bool first = true;
    while (!line.empty() || first) {
        const std::size_t room = first ? kFoldOctets : kFoldOctets - 1;
        std::size_t take = std::min(room, line.size());
        // Never cut inside a UTF-8 sequence: back up to the byte that starts one.
        if (take < line.size()) {
            std::size_t cut = take;
            while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80)
                --cut;
            if (cut > 0)
                take = cut;
        }
        if (!first)
            text += ' ';
        text.append(line.substr(0, take));
        text += "\r\n";
        line.remove_prefix(take);
        first = false;
    }
}

void CardWriter::append(const Card& card, std::string& text) const
{
    CardText out(m_version, text);
    out.line("BEGIN", "VCARD");
    out.line("VERSION", out.v4() ? "4.0" : "3.0");

    if (card.kind == Card::Kind::Group)
        out.line(out.v4() ? "KIND" : "X-ADDRESSBOOKSERVER-KIND", "group");
    else if (card.kind == Card::Kind::Organization)
        out.line(out.v4() ? "KIND" : "X-ABShowAs", out.v4() ? "org" : "COMPANY");

    const std::string name = codec::escapeText(card.lastName) + ";" + codec::escapeText(card.firstName) + ";"
        + codec::escapeText(card.middleName) + ";" + codec::escapeText(card.prefix) + ";"
        + codec::escapeText(card.suffix);
    // 3.0 requires N even for a company or a group; 4.0 lets a card without names go without.
    if (!out.v4() || name != ";;;;")
        out.line("N", name);
    out.line("FN", codec::escapeText(card.displayName()));
    out.text("NICKNAME", card.nickname);
    out.text("X-PHONETIC-FIRST-NAME", card.firstNamePhonetic);
    out.text("X-PHONETIC-MIDDLE-NAME", card.middleNamePhonetic);
    out.text("X-PHONETIC-LAST-NAME", card.lastNamePhonetic);
    if (!card.organization.empty() || !card.department.empty())
        out.line("ORG", codec::escapeText(card.organization)
                + (card.department.empty() ? std::string() : ";" + codec::escapeText(card.department)));
    out.text("TITLE", card.jobTitle);

    if (card.birthday) {
        bool yearOmitted = false;
        const std::string value = out.date(*card.birthday, yearOmitted);
        out.line(yearOmitted ? "BDAY;X-APPLE-OMIT-YEAR=1604" : "BDAY", value);
    }

    for (const auto& phone : card.phones)
        out.labeled("TEL", LabeledProperty::Phone, phone.label, codec::escapeText(phone.value));
    for (const auto& email : card.emails) {
        out.labeled("EMAIL", LabeledProperty::Email, email.label, codec::escapeText(email.value), {}, {}, {},
            out.v4() ? "" : "INTERNET");
    }
    for (const auto& address : card.addresses) {
        const Card::Address& value = address.value;
        const std::string components = ";;" + codec::escapeText(value.street) + ";" + codec::escapeText(value.city)
            + ";" + codec::escapeText(value.state) + ";" + codec::escapeText(value.zip) + ";"
            + codec::escapeText(value.country);
        out.labeled("ADR", LabeledProperty::Address, address.label, components, {}, "X-ABADR", value.countryCode);
    }
    for (const auto& url : card.urls)
        out.labeled("URL", LabeledProperty::Url, url.label, codec::escapeText(url.value));
    for (const auto& message : card.instantMessages) {
        const std::string service = message.value.service;
        std::string parameters;
        if (!service.empty())
            parameters = ";X-SERVICE-TYPE=" + parameterValue(service);
        const std::string_view scheme
            = message.value.scheme.empty() ? usualSchemeForService(service) : std::string_view(message.value.scheme);
        const std::string address
            = std::string(scheme) + ":" + codec::escapeText(percentEncode(message.value.username));
        out.labeled("IMPP", LabeledProperty::InstantMessage, message.label, address, parameters);
    }
    for (const auto& related : card.relatedNames) {
        out.labeled("X-ABRELATEDNAMES", LabeledProperty::RelatedName, related.label,
            codec::escapeText(related.value));
    }
    for (const auto& date : card.dates) {
        bool yearOmitted = false;
        const std::string value = out.date(date.value, yearOmitted);
        out.labeled("X-ABDATE", LabeledProperty::Date, date.label, value,
            yearOmitted ? ";X-APPLE-OMIT-YEAR=1604" : "");
    }
    out.text("NOTE", card.note);

    if (!card.photo.empty()) {
        const std::string_view type = imageType(card.photo);
        if (out.v4()) {
            const std::string mediaType
                = type.empty() ? std::string("application/octet-stream") : "image/" + CardText::lowerType(type);
            out.line("PHOTO", "data:" + mediaType + ";base64," + codec::encodeBase64(card.photo));
        } else {
            const std::string head
                = type.empty() ? std::string("PHOTO;ENCODING=b") : "PHOTO;ENCODING=b;TYPE=" + std::string(type);
            out.line(head, codec::encodeBase64(card.photo));
        }
    }

    for (const std::string& other : card.otherProperties)
        CardWriter::appendFolded(other, text);
    if (!card.categories.empty()) {
        std::string list;
        for (const std::string& category : card.categories) {
            if (!list.empty())
                list += ',';
            list += codec::escapeText(category);
        }
        out.line("CATEGORIES", list);
    }
    if (card.kind == Card::Kind::Group) {
        for (const std::string& member : card.members)
            out.text(out.v4() ? "MEMBER" : "X-ADDRESSBOOKSERVER-MEMBER", member);
    }
    out.text("UID", card.uid);
    out.line("END", "VCARD");
}

std::string CardWriter::write(const std::vector<Card>& cards) const
{
    std::string text;
    for (const Card& card : cards)
        append(card, text);
    return text;
}

} // namespace contactstore::vcard

#include "CardDump.h"

#include <cstdio>
#include <sstream>

using contactstore::vcard::Card;
using contactstore::vcard::ReadResult;

namespace vcardtest {

namespace {

std::string oneLine(const std::string& text)
{
    std::string line;
    for (char c : text) {
        if (c == '\n')
            line += "\\n";
        else if (c == '\t')
            line += "\\t";
        else
            line += c;
    }
    return line;
}

std::string date(const Card::Date& date)
{
    char text[32];
    if (date.year)
        std::snprintf(text, sizeof text, "%04d-%02d-%02d", *date.year, date.month, date.day);
    else
        std::snprintf(text, sizeof text, "--%02d-%02d", date.month, date.day);
    return text;
}

std::string imageKind(const std::string& bytes)
{
    if (bytes.rfind("\xFF\xD8\xFF", 0) == 0)
        return "JPEG";
    if (bytes.rfind("\x89PNG", 0) == 0)
        return "PNG";
    if (bytes.rfind("GIF8", 0) == 0)
        return "GIF";
    return "unknown format";
}

void field(std::ostringstream& out, const char* name, const std::string& value)
{
    if (!value.empty())
        out << "  " << name << ": " << oneLine(value) << '\n';
}

} // namespace

std::string dump(const Card& card)
{
    std::ostringstream out;
    out << "card at line " << card.line << '\n';
    out << "  kind: "
        << (card.kind == Card::Kind::Group ? "group" : card.kind == Card::Kind::Organization ? "organization" : "individual")
        << '\n';
    field(out, "uid", card.uid);
    field(out, "formatted name", card.formattedName);
    field(out, "prefix", card.prefix);
    field(out, "first name", card.firstName);
    field(out, "middle name", card.middleName);
    field(out, "last name", card.lastName);
    field(out, "suffix", card.suffix);
    field(out, "nickname", card.nickname);
    field(out, "phonetic first name", card.firstNamePhonetic);
    field(out, "phonetic middle name", card.middleNamePhonetic);
    field(out, "phonetic last name", card.lastNamePhonetic);
    field(out, "organization", card.organization);
    field(out, "department", card.department);
    field(out, "job title", card.jobTitle);
    if (card.birthday)
        out << "  birthday: " << date(*card.birthday) << '\n';
    for (const auto& entry : card.phones)
        out << "  phone [" << oneLine(entry.label) << "]: " << oneLine(entry.value) << '\n';
    for (const auto& entry : card.emails)
        out << "  email [" << oneLine(entry.label) << "]: " << oneLine(entry.value) << '\n';
    for (const auto& entry : card.urls)
        out << "  url [" << oneLine(entry.label) << "]: " << oneLine(entry.value) << '\n';
    for (const auto& entry : card.addresses) {
        const Card::Address& a = entry.value;
        out << "  address [" << oneLine(entry.label) << "]: street=" << oneLine(a.street) << " | city=" << oneLine(a.city)
            << " | state=" << oneLine(a.state) << " | zip=" << oneLine(a.zip) << " | country=" << oneLine(a.country)
            << " | code=" << oneLine(a.countryCode) << '\n';
    }
    for (const auto& entry : card.instantMessages) {
        out << "  instant message [" << oneLine(entry.label) << "]: service=" << oneLine(entry.value.service)
            << " | user=" << oneLine(entry.value.username);
        if (!entry.value.scheme.empty())
            out << " | scheme=" << oneLine(entry.value.scheme);
        out << '\n';
    }
    for (const auto& entry : card.relatedNames)
        out << "  related name [" << oneLine(entry.label) << "]: " << oneLine(entry.value) << '\n';
    for (const auto& entry : card.dates)
        out << "  date [" << oneLine(entry.label) << "]: " << date(entry.value) << '\n';
    field(out, "note", card.note);
    if (!card.photo.empty())
        out << "  photo: " << card.photo.size() << " bytes, " << imageKind(card.photo) << '\n';
    for (const std::string& category : card.categories)
        out << "  category: " << oneLine(category) << '\n';
    for (const std::string& member : card.members)
        out << "  member: " << oneLine(member) << '\n';
    return out.str();
}

std::string dump(const ReadResult& result, const std::function<std::string(const Card&)>& more)
{
    std::ostringstream out;
    for (const Card& card : result.cards) {
        out << dump(card);
        if (more)
            out << more(card);
    }
    for (const auto& warning : result.warnings)
        out << "warning at line " << warning.line << ": " << warning.message << '\n';
    for (const auto& error : result.errors)
        out << "error at line " << error.line << ": " << error.message << '\n';
    return out.str();
}

} // namespace vcardtest

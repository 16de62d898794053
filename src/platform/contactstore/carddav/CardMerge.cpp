#include "platform/contactstore/carddav/CardMerge.h"

#include <algorithm>

namespace contactstore::carddav {

using vcard::Card;

namespace {

std::string shown(const std::string& value)
{
    return "\"" + (value.size() > 60 ? value.substr(0, 57) + "..." : value) + "\"";
}

std::string shown(const std::optional<Card::Date>& date)
{
    if (!date)
        return "none";
    return (date->year ? std::to_string(*date->year) : std::string("----")) + "-" + std::to_string(date->month) + "-"
        + std::to_string(date->day);
}

std::string shown(Card::Kind kind)
{
    return kind == Card::Kind::Organization ? "organization" : kind == Card::Kind::Group ? "group" : "person";
}

struct Merger {
    const Card& base;
    const Card& localBase;
    const Card& local;
    const Card& remote;
    MergeResult& result;

    template <typename Value>
    void scalar(Value Card::*field, const char* name, bool showValues = true)
    {
        bool remoteChanged = !(remote.*field == base.*field);
        bool localChanged = !(local.*field == localBase.*field);
        if (localChanged && !remoteChanged) {
            result.card.*field = local.*field;
        } else if (localChanged && !(local.*field == remote.*field)) {
            // Both changed, differently: the server's value stands.
            std::string note = std::string(name) + ": both sides changed it; kept the server's";
            if (showValues)
                note += " " + shown(remote.*field) + ", this device had " + shown(local.*field);
            result.notes.push_back(std::move(note));
        }
    }

    template <typename Entry>
    void list(std::vector<Entry> Card::*field, const char* name)
    {
        const auto& mine = local.*field;
        const auto& mineBefore = localBase.*field;
        bool remoteChanged = !(remote.*field == base.*field);
        bool localChanged = !(mine == mineBefore);
        if (!localChanged)
            return;
        if (!remoteChanged) {
            result.card.*field = mine;
            return;
        }
        // Both changed: the server's list, less what this device removed, plus what it added.
        auto has = [](const std::vector<Entry>& entries, const Entry& entry) {
            return std::find(entries.begin(), entries.end(), entry) != entries.end();
        };
        std::vector<Entry> merged;
        for (const Entry& entry : remote.*field) {
            bool removedHere = has(mineBefore, entry) && !has(mine, entry);
            if (!removedHere && !has(merged, entry))
                merged.push_back(entry);
        }
        for (const Entry& entry : mine) {
            if (!has(mineBefore, entry) && !has(merged, entry))
                merged.push_back(entry);
        }
        if (!(merged == remote.*field))
            result.notes.push_back(std::string(name) + ": both sides changed it; kept the entries of both");
        result.card.*field = std::move(merged);
    }
};

} // namespace

MergeResult CardMerge::merge(const Card& base, const Card& localBase, const Card& local, const Card& remote)
{
    MergeResult result;
    result.card = remote;
    Merger merger { base, localBase, local, remote, result };
    merger.scalar(&Card::kind, "kind");
    merger.scalar(&Card::formattedName, "formatted name");
    merger.scalar(&Card::firstName, "first name");
    merger.scalar(&Card::lastName, "last name");
    merger.scalar(&Card::middleName, "middle name");
    merger.scalar(&Card::prefix, "prefix");
    merger.scalar(&Card::suffix, "suffix");
    merger.scalar(&Card::nickname, "nickname");
    merger.scalar(&Card::firstNamePhonetic, "phonetic first name");
    merger.scalar(&Card::lastNamePhonetic, "phonetic last name");
    merger.scalar(&Card::middleNamePhonetic, "phonetic middle name");
    merger.scalar(&Card::organization, "organization");
    merger.scalar(&Card::department, "department");
    merger.scalar(&Card::jobTitle, "job title");
    merger.scalar(&Card::note, "note");
    merger.scalar(&Card::birthday, "birthday");
    merger.scalar(&Card::photo, "photo", false);
    merger.list(&Card::phones, "phone numbers");
    merger.list(&Card::emails, "mail addresses");
    merger.list(&Card::urls, "web addresses");
    merger.list(&Card::relatedNames, "related names");
    merger.list(&Card::dates, "dates");
    merger.list(&Card::addresses, "addresses");
    merger.list(&Card::instantMessages, "instant messaging");
    merger.list(&Card::members, "members");
    return result;
}

} // namespace contactstore::carddav

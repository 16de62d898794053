#include "platform/contactstore/carddav/CollectionSync.h"

#include "platform/contactstore/Group.h"
#include "platform/contactstore/Person.h"
#include "platform/contactstore/carddav/CardMerge.h"
#include "platform/contactstore/vcard/BookExporter.h"
#include "platform/contactstore/vcard/CardReader.h"
#include "platform/contactstore/vcard/CardWriter.h"
#include "platform/contactstore/vcard/PersonCardMapping.h"
#include "platform/foundation/Log.h"

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <unordered_map>
#include <unordered_set>

namespace contactstore::carddav {

using vcard::Card;

namespace {

std::mutex g_hookMutex;
std::function<void()> g_afterBatchHook;
std::size_t g_batchSize = CollectionSync::kBatch;

constexpr PropertyID kCardProperties[] = {
    kPersonFirstNameProperty, kPersonLastNameProperty, kPersonMiddleNameProperty, kPersonPrefixProperty,
    kPersonSuffixProperty, kPersonNicknameProperty, kPersonFirstNamePhoneticProperty, kPersonLastNamePhoneticProperty,
    kPersonMiddleNamePhoneticProperty, kPersonOrganizationProperty, kPersonJobTitleProperty, kPersonDepartmentProperty,
    kPersonNoteProperty, kPersonBirthdayProperty, kPersonKindProperty, kPersonEmailProperty, kPersonPhoneProperty,
    kPersonRelatedNamesProperty, kPersonURLProperty, kPersonDateProperty, kPersonAddressProperty,
    kPersonInstantMessageProperty, kPersonFormattedNameProperty,
};

std::string cardText(const Card& card)
{
    std::string text;
    vcard::CardWriter(vcard::CardWriter::Version::V3).append(card, text);
    return text;
}

std::string digestOf(const std::string& text)
{
    std::uint64_t hash = 0xCBF29CE484222325ull;
    for (char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001B3ull;
    }
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return hex;
}

std::optional<Card> parseCard(const std::string& text)
{
    vcard::ReadResult read = vcard::CardReader().read(text);
    if (!read.ok() || read.cards.empty())
        return std::nullopt;
    return std::move(read.cards.front());
}

Card personCard(const Person& person)
{
    Card card = vcard::PersonCardMapping::cardFromPerson(person);
    if (const std::string* uid = person.stringValue(kPersonUIDProperty))
        card.uid = *uid;
    return card;
}

// The card as the device would hold it: what the address book keeps of it.
Card roundTrip(const Card& card)
{
    PersonRef scratch = Person::create();
    (void)vcard::PersonCardMapping::fillPerson(card, *scratch);
    Card held = personCard(*scratch);
    held.uid = card.uid;
    held.categories = card.categories;
    return held;
}

// Replaces everything a card says of a person, leaving the person's identity alone.
bool replacePersonFields(Person& person, const Card& card, Error* error)
{
    for (PropertyID property : kCardProperties) {
        if (!person.removeValue(property, error))
            return false;
    }
    if (card.photo.empty() && !person.removeImageData(error))
        return false;
    return vcard::PersonCardMapping::fillPerson(card, person, error);
}

// A UID without its "urn:uuid:" prefix. Group cards name their members by URI, and many clients
// keep a person's UID bare and name the member "urn:uuid:" and it, so a member may stand in either form.
std::string bareUid(const std::string& member)
{
    std::string_view rest(member);
    if (rest.starts_with("urn:uuid:"))
        rest.remove_prefix(9);
    return std::string(rest);
}

std::string fileNameFor(const std::string& uid)
{
    std::string name;
    for (char c : bareUid(uid)) {
        bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.';
        name += plain ? c : '-';
    }
    return name.substr(0, 200) + ".vcf";
}

// The member line of a person: a UID that is already a URI (ours are "urn:uuid:...") stands as
// it is; a bare one, as other clients make them, is named the way those clients expect.
std::string memberReference(const std::string& uid)
{
    return uid.find(':') == std::string::npos ? "urn:uuid:" + uid : uid;
}

std::string groupName(const Group& group)
{
    const std::string* name = group.stringValue(kGroupNameProperty);
    return name ? *name : std::string();
}

} // namespace

void CollectionSync::setBatchSizeForTesting(std::size_t size)
{
    std::lock_guard lock(g_hookMutex);
    g_batchSize = size == 0 ? kBatch : size;
}

void CollectionSync::setAfterBatchHookForTesting(std::function<void()> hook)
{
    std::lock_guard lock(g_hookMutex);
    g_afterBatchHook = std::move(hook);
}

struct CollectionSync::Impl {
    struct Pending {
        ItemRecord item;
        RecordRef record;
        // The device's record differs from the card on the server and still has to go up.
        bool dirty { false };
    };

    AddressBookRef book;
    SyncState& state;
    CardDavClient& client;
    CollectionRecord collection;
    CollectionReport report;
    SourceRef source;

    std::unordered_map<std::string, ItemRecord> items;
    std::vector<Pending> pending;
    std::vector<std::string> forgotten;

    std::unordered_map<RecordID, PersonRef> personByRecord;
    std::unordered_map<RecordID, GroupRef> groupByRecord;
    std::unordered_map<std::string, PersonRef> personByUid;
    std::unordered_map<RecordID, std::string> personItem;
    std::unordered_map<RecordID, std::string> groupItem;

    std::size_t batchSize { kBatch };
    // UIDs of the persons the account has synced: a group member among them that the device
    // no longer holds was deleted here, not kept elsewhere.
    std::unordered_set<std::string> syncedPersonUids;

    std::string label() const { return collection.displayName.empty() ? collection.url : collection.displayName; }

    void note(const std::string& line) { foundation::log("sync " + label() + ": " + line); }

    bool fail(SyncFailure failure)
    {
        if (!report.failure)
            report.failure = std::move(failure);
        return false;
    }

    void reindex()
    {
        personByRecord.clear();
        personByUid.clear();
        groupByRecord.clear();
        for (const PersonRef& person : book->copyArrayOfAllPeopleInSource(source)) {
            personByRecord[person->recordID()] = person;
            if (const std::string* uid = person->stringValue(kPersonUIDProperty))
                personByUid.emplace(*uid, person);
        }
        for (const GroupRef& group : book->copyArrayOfAllGroupsInSource(source))
            groupByRecord[group->recordID()] = group;
        personItem.clear();
        groupItem.clear();
        syncedPersonUids.clear();
        for (const auto& [url, item] : items) {
            (item.kind == ItemRecord::Kind::Person ? personItem : groupItem)[item.recordID] = url;
            if (item.kind == ItemRecord::Kind::Person && !item.uid.empty())
                syncedPersonUids.insert(item.uid);
        }
    }

    bool isKnownPerson(const std::string& member) const
    {
        std::string bare = bareUid(member);
        return personByUid.count(member) || personByUid.count(bare) || syncedPersonUids.count(member) || syncedPersonUids.count(bare);
    }

    Card groupCard(const Group& group, const std::string& uid, const std::string& baseText)
    {
        Card card;
        card.kind = Card::Kind::Group;
        card.uid = uid;
        card.formattedName = groupName(group);
        for (const PersonRef& member : group.copyArrayOfAllMembers()) {
            if (const std::string* memberUid = member->stringValue(kPersonUIDProperty))
                card.members.push_back(memberReference(*memberUid));
        }
        // Members the server names that this account has never held (cards of another
        // address book) stay members.
        if (!baseText.empty()) {
            if (auto base = parseCard(baseText)) {
                for (const std::string& member : base->members) {
                    if (!isKnownPerson(member) && std::find(card.members.begin(), card.members.end(), member) == card.members.end())
                        card.members.push_back(member);
                }
            }
        }
        return card;
    }

    Card localCardOf(const Record& record, const ItemRecord& item)
    {
        if (record.recordType() == kGroupType)
            return groupCard(static_cast<const Group&>(record), item.uid, item.base);
        return personCard(static_cast<const Person&>(record));
    }

    void record(ItemRecord item, RecordRef target, bool dirty)
    {
        pending.push_back({ std::move(item), std::move(target), dirty });
    }

    void forget(const std::string& url)
    {
        items.erase(url);
        forgotten.push_back(url);
    }

    // Saves the address book, then writes what the sync now knows of the cards saved.
    bool flush()
    {
        if (book->hasUnsavedChanges()) {
            Error error;
            if (!book->save(&error))
                return fail({ SyncFailure::Kind::ServerError, "The address book cannot be written: " + error.description });
            report.bookChanged = true;
        }
        if (pending.empty() && forgotten.empty())
            return true;
        reindex();
        std::vector<ItemRecord> written;
        written.reserve(pending.size());
        for (Pending& entry : pending) {
            if (entry.record->recordID() == kRecordInvalidID)
                continue;
            entry.item.recordID = entry.record->recordID();
            if (entry.item.uid.empty() && entry.record->recordType() == kPersonType) {
                if (const std::string* uid = entry.record->stringValue(kPersonUIDProperty))
                    entry.item.uid = *uid;
            }
            entry.item.localDigest = entry.dirty ? std::string() : digestOf(cardText(localCardOf(*entry.record, entry.item)));
            items[entry.item.url] = entry.item;
            written.push_back(entry.item);
        }
        pending.clear();
        bool stored = state.update(collection.url, written, forgotten);
        forgotten.clear();
        reindex();
        if (!stored)
            return fail({ SyncFailure::Kind::ServerError, "The sync state cannot be written: " + state.lastError() });
        std::function<void()> hook;
        {
            std::lock_guard lock(g_hookMutex);
            hook = g_afterBatchHook;
        }
        if (hook)
            hook();
        return true;
    }

    PersonRef createPerson(const Card& card)
    {
        PersonRef person = Person::createInSource(source);
        Error error;
        if (!card.uid.empty())
            (void)person->setValue(kPersonUIDProperty, card.uid);
        if (!vcard::PersonCardMapping::fillPerson(card, *person, &error) || !book->addRecord(person, &error)) {
            note("left out the card " + card.displayName() + ": " + error.description);
            return nullptr;
        }
        if (!card.uid.empty())
            personByUid.emplace(card.uid, person);
        return person;
    }

    // A card that is new or changed on the server, for a person.
    void applyRemotePerson(const RemoteCard& remote, const Card& card)
    {
        ItemRecord item { remote.url, card.uid, remote.etag, ItemRecord::Kind::Person, kRecordInvalidID, remote.data, {} };
        auto known = items.find(remote.url);
        PersonRef person;
        Card base;
        bool haveBase = false;
        if (known != items.end()) {
            item.uid = card.uid.empty() ? known->second.uid : card.uid;
            auto found = personByRecord.find(known->second.recordID);
            if (found == personByRecord.end()) {
                // Deleted here while it changed there: the server's change brings it back.
                note("brought back " + card.displayName() + ": deleted here, but changed on the server since");
                if (PersonRef restored = createPerson(card)) {
                    ++report.received;
                    record(std::move(item), restored, false);
                }
                return;
            }
            person = found->second;
            if (digestOf(cardText(personCard(*person))) == known->second.localDigest) {
                Error error;
                if (!replacePersonFields(*person, card, &error)) {
                    note("left out the server's change to " + card.displayName() + ": " + error.description);
                    return;
                }
                ++report.received;
                record(std::move(item), person, false);
                return;
            }
            if (auto parsed = parseCard(known->second.base)) {
                base = std::move(*parsed);
                haveBase = true;
            }
        } else {
            auto sameUid = card.uid.empty() ? personByUid.end() : personByUid.find(card.uid);
            if (sameUid == personByUid.end() || personItem.count(sameUid->second->recordID())) {
                if (PersonRef created = createPerson(card)) {
                    ++report.received;
                    record(std::move(item), created, false);
                }
                return;
            }
            // The device holds this card already without knowing its address (a sync stopped
            // after writing it): the two are joined, not doubled.
            person = sameUid->second;
        }

        Card local = personCard(*person);
        Card localBase = haveBase ? roundTrip(base) : Card {};
        if (haveBase)
            local.categories = base.categories;
        MergeResult merged = CardMerge::merge(base, localBase, local, card);
        for (const std::string& line : merged.notes)
            note(card.displayName() + ": " + line);
        merged.card.uid = card.uid.empty() ? local.uid : card.uid;
        Error error;
        if (!replacePersonFields(*person, merged.card, &error)) {
            note("left out the server's change to " + card.displayName() + ": " + error.description);
            return;
        }
        if (haveBase)
            ++report.merged;
        ++report.received;
        bool differs = cardText(roundTrip(merged.card)) != cardText(roundTrip(card));
        record(std::move(item), person, differs);
    }

    void applyGroupCard(Group& group, const Card& card)
    {
        if (groupName(group) != card.formattedName)
            (void)group.setValue(kGroupNameProperty, card.formattedName);
        std::vector<PersonRef> wanted;
        for (const std::string& uid : card.members) {
            auto found = personByUid.find(uid);
            if (found == personByUid.end())
                found = personByUid.find(bareUid(uid));
            if (found != personByUid.end() && std::find(wanted.begin(), wanted.end(), found->second) == wanted.end())
                wanted.push_back(found->second);
        }
        for (const PersonRef& member : group.copyArrayOfAllMembers()) {
            if (std::find_if(wanted.begin(), wanted.end(), [&](const PersonRef& p) { return p->recordID() == member->recordID(); }) == wanted.end())
                (void)group.removeMember(member);
        }
        for (const PersonRef& person : wanted) {
            if (!group.hasMember(*person))
                (void)group.addMember(person);
        }
    }

    GroupRef createGroup(const Card& card)
    {
        GroupRef group = Group::createInSource(source);
        Error error;
        if (!group->setValue(kGroupNameProperty, card.formattedName, &error) || !book->addRecord(group, &error)) {
            note("left out the group " + card.formattedName + ": " + error.description);
            return nullptr;
        }
        applyGroupCard(*group, card);
        return group;
    }

    void applyRemoteGroup(const RemoteCard& remote, const Card& card)
    {
        ItemRecord item { remote.url, card.uid, remote.etag, ItemRecord::Kind::Group, kRecordInvalidID, remote.data, {} };
        auto known = items.find(remote.url);
        GroupRef group;
        Card base;
        bool haveBase = false;
        if (known != items.end()) {
            auto found = groupByRecord.find(known->second.recordID);
            if (found == groupByRecord.end()) {
                note("brought back the group " + card.formattedName + ": deleted here, but changed on the server since");
                if (GroupRef restored = createGroup(card)) {
                    ++report.received;
                    record(std::move(item), restored, false);
                }
                return;
            }
            group = found->second;
            if (digestOf(cardText(groupCard(*group, known->second.uid, known->second.base))) == known->second.localDigest) {
                applyGroupCard(*group, card);
                ++report.received;
                record(std::move(item), group, false);
                return;
            }
            if (auto parsed = parseCard(known->second.base)) {
                base = std::move(*parsed);
                haveBase = true;
            }
        } else {
            // A group of that name the sync made but had not yet noted is joined, not doubled.
            for (const auto& [recordID, candidate] : groupByRecord) {
                if (!groupItem.count(recordID) && groupName(*candidate) == card.formattedName) {
                    group = candidate;
                    break;
                }
            }
            if (!group) {
                if (GroupRef created = createGroup(card)) {
                    ++report.received;
                    record(std::move(item), created, false);
                }
                return;
            }
        }
        Card local = groupCard(*group, item.uid, haveBase ? known->second.base : std::string());
        MergeResult merged = CardMerge::merge(base, haveBase ? base : Card {}, local, card);
        for (const std::string& line : merged.notes)
            note("group " + card.formattedName + ": " + line);
        applyGroupCard(*group, merged.card);
        if (haveBase)
            ++report.merged;
        ++report.received;
        record(std::move(item), group, !(merged.card.members == card.members && merged.card.formattedName == card.formattedName));
    }

    void applyRemoval(const std::string& url)
    {
        auto known = items.find(url);
        if (known == items.end())
            return;
        const ItemRecord& item = known->second;
        RecordRef target;
        if (item.kind == ItemRecord::Kind::Person) {
            if (auto found = personByRecord.find(item.recordID); found != personByRecord.end())
                target = found->second;
        } else if (auto found = groupByRecord.find(item.recordID); found != groupByRecord.end()) {
            target = found->second;
        }
        if (target && digestOf(cardText(localCardOf(*target, item))) != item.localDigest) {
            // Changed here since: kept, and sent again as a new card.
            note("kept " + target->copyCompositeName().value_or(item.uid) + ": deleted on the server, but changed here since");
            forget(url);
            return;
        }
        if (target && book->removeRecord(target))
            ++report.deletedHere;
        forget(url);
    }

    std::optional<RemoteCard> fetchOne(const std::string& url)
    {
        std::optional<RemoteCard> found;
        SyncFailure failure = client.fetchCards(collection.url, { url }, 1, [&](std::vector<RemoteCard>& cards) {
            if (!cards.empty())
                found = std::move(cards.front());
        });
        if (failure)
            fail(failure);
        return found;
    }

    std::string newCardUrl(const std::string& uid) const
    {
        std::string base = collection.url;
        if (base.empty() || base.back() != '/')
            base += '/';
        return base + fileNameFor(uid);
    }

    // Sends one record the device changed, or made, to the server. False when the server
    // cannot be used any more in this run.
    bool send(const RecordRef& target, const ItemRecord* known)
    {
        bool isGroup = target->recordType() == kGroupType;
        ItemRecord item;
        if (known) {
            item = *known;
        } else {
            item.kind = isGroup ? ItemRecord::Kind::Group : ItemRecord::Kind::Person;
            // A group's card identifier is made from the group's identifier in this book, so it
            // names the same group from one upload attempt to the next.
            item.uid = isGroup ? vcard::BookExporter::uidFor(*book, *target) : personCard(static_cast<Person&>(*target)).uid;
            item.url = newCardUrl(item.uid);
        }
        Card local = localCardOf(*target, item);
        Card outgoing = local;
        std::optional<Card> base = known ? parseCard(known->base) : std::nullopt;
        if (base) {
            // Only the device changed it: its fields over the last agreed card, which keeps
            // what the device cannot hold (categories, other clients' property lines).
            Card localBase = isGroup ? *base : roundTrip(*base);
            local.categories = base->categories;
            outgoing = CardMerge::merge(*base, localBase, local, *base).card;
        }
        if (outgoing.uid.empty())
            outgoing.uid = item.uid;
        for (int attempt = 0; attempt < 2; ++attempt) {
            std::string text = cardText(outgoing);
            std::string etag;
            SyncFailure failure;
            auto result = client.putCard(item.url, text, known || attempt > 0 ? item.etag : std::string(), etag, failure);
            if (result == CardDavClient::WriteResult::Failed)
                return fail(failure);
            if (result == CardDavClient::WriteResult::Written) {
                item.etag = etag;
                item.base = text;
                ++report.sent;
                record(std::move(item), target, false);
                return true;
            }
            // Someone else wrote the card since it was last seen: fetch it and merge.
            std::optional<RemoteCard> remote = fetchOne(item.url);
            if (report.failure)
                return false;
            if (!remote) {
                if (!known)
                    return true;
                known = nullptr;
                item.etag.clear();
                continue;
            }
            std::optional<Card> theirs = parseCard(remote->data);
            if (!theirs) {
                note("left " + item.url + " as it is on the server: its card cannot be read");
                return true;
            }
            Card localBase = base ? (isGroup ? *base : roundTrip(*base)) : Card {};
            MergeResult merged = CardMerge::merge(base.value_or(Card {}), localBase, local, *theirs);
            for (const std::string& line : merged.notes)
                note(theirs->displayName() + ": " + line);
            ++report.merged;
            if (isGroup) {
                applyGroupCard(static_cast<Group&>(*target), merged.card);
            } else {
                Error error;
                merged.card.uid = theirs->uid.empty() ? item.uid : theirs->uid;
                if (!replacePersonFields(static_cast<Person&>(*target), merged.card, &error))
                    note("left out the merge of " + theirs->displayName() + ": " + error.description);
            }
            outgoing = merged.card;
            item.etag = remote->etag;
            item.base = remote->data;
            known = &item;
        }
        // Still changing under us: the next sync tries again.
        record(std::move(item), target, true);
        return true;
    }

    // Deletes on the server a card whose record the device deleted.
    bool sendDeletion(const ItemRecord& item)
    {
        SyncFailure failure;
        auto result = client.deleteCard(item.url, item.etag, failure);
        if (result == CardDavClient::WriteResult::Failed)
            return fail(failure);
        if (result == CardDavClient::WriteResult::Conflict) {
            // Changed on the server since: the change brings the card back here.
            std::optional<RemoteCard> remote = fetchOne(item.url);
            if (report.failure)
                return false;
            if (remote) {
                if (auto card = parseCard(remote->data)) {
                    if (card->kind == Card::Kind::Group)
                        applyRemoteGroup(*remote, *card);
                    else
                        applyRemotePerson(*remote, *card);
                    return true;
                }
            }
        }
        if (result == CardDavClient::WriteResult::Written)
            ++report.deletedThere;
        forget(item.url);
        return true;
    }

    bool sendLocalChanges()
    {
        reindex();
        std::size_t sinceFlush = 0;
        auto step = [&]() {
            if (++sinceFlush < batchSize)
                return true;
            sinceFlush = 0;
            return flush();
        };
        auto sendAll = [&](const auto& records, const auto& itemOf) -> bool {
            for (const auto& [recordID, target] : records) {
                auto link = itemOf.find(recordID);
                const ItemRecord* known = nullptr;
                if (link != itemOf.end()) {
                    auto found = items.find(link->second);
                    if (found != items.end())
                        known = &found->second;
                }
                if (known && digestOf(cardText(localCardOf(*target, *known))) == known->localDigest)
                    continue;
                if (!send(target, known) || !step())
                    return false;
            }
            return true;
        };
        // Persons in the order they were made, so a big first upload goes out as the book reads.
        std::vector<std::pair<RecordID, PersonRef>> persons(personByRecord.begin(), personByRecord.end());
        std::sort(persons.begin(), persons.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        std::vector<std::pair<RecordID, GroupRef>> groups(groupByRecord.begin(), groupByRecord.end());
        std::sort(groups.begin(), groups.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        auto personLinks = personItem;
        auto groupLinks = groupItem;
        if (!sendAll(persons, personLinks) || !sendAll(groups, groupLinks))
            return false;

        std::vector<ItemRecord> deleted;
        for (const auto& [url, item] : items) {
            bool present = item.kind == ItemRecord::Kind::Person ? personByRecord.count(item.recordID) != 0
                                                                 : groupByRecord.count(item.recordID) != 0;
            if (!present)
                deleted.push_back(item);
        }
        for (const ItemRecord& item : deleted) {
            if (!sendDeletion(item) || !step())
                return false;
        }
        return flush();
    }

    CollectionReport run()
    {
        report.collection = label();
        source = book->sourceWithRecordID(collection.sourceID);
        if (!source) {
            fail({ SyncFailure::Kind::ServerError, "The address book has no account for " + label() + "." });
            return report;
        }
        for (ItemRecord& item : state.items(collection.url)) {
            std::string url = item.url;
            items.emplace(std::move(url), std::move(item));
        }
        reindex();

        std::vector<CardVersion> changed;
        std::vector<std::string> removed;
        std::string newToken;
        bool known = false;
        if (collection.offersSyncCollection && !collection.syncToken.empty()) {
            ChangeList changes;
            bool refused = false;
            if (SyncFailure failure = client.changesSince(collection.url, collection.syncToken, changes, refused)) {
                fail(failure);
                return report;
            }
            if (!refused) {
                changed = std::move(changes.changed);
                removed = std::move(changes.removed);
                newToken = std::move(changes.syncToken);
                known = true;
            }
        }
        if (!known) {
            std::vector<CardVersion> all;
            if (SyncFailure failure = client.listCards(collection.url, all, newToken)) {
                fail(failure);
                return report;
            }
            std::unordered_set<std::string> present;
            for (CardVersion& card : all) {
                present.insert(card.url);
                changed.push_back(std::move(card));
            }
            for (const auto& [url, item] : items) {
                if (!present.count(url))
                    removed.push_back(url);
            }
        }
        // The cards this device wrote itself come back with the ETag it noted.
        std::erase_if(changed, [this](const CardVersion& card) {
            auto found = items.find(card.url);
            return found != items.end() && !found->second.etag.empty() && found->second.etag == card.etag;
        });

        std::vector<std::string> urls;
        urls.reserve(changed.size());
        for (const CardVersion& card : changed)
            urls.push_back(card.url);
        std::vector<std::pair<RemoteCard, Card>> groupCards;
        bool stopped = false;
        SyncFailure fetchFailure = client.fetchCards(collection.url, urls, batchSize, [&](std::vector<RemoteCard>& batch) {
            if (stopped)
                return;
            for (RemoteCard& remote : batch) {
                std::optional<Card> card = parseCard(remote.data);
                if (!card) {
                    note("left out " + remote.url + ": its card cannot be read");
                    continue;
                }
                // Groups name their members, so they come after every person is in.
                if (card->kind == Card::Kind::Group)
                    groupCards.emplace_back(std::move(remote), std::move(*card));
                else
                    applyRemotePerson(remote, *card);
            }
            stopped = !flush();
        });
        if (fetchFailure)
            fail(fetchFailure);
        if (report.failure)
            return report;
        for (const std::string& url : removed)
            applyRemoval(url);
        if (!flush())
            return report;
        for (const auto& [remote, card] : groupCards)
            applyRemoteGroup(remote, card);
        if (!flush())
            return report;
        // Every change of the server up to the token is in the book now.
        if (!newToken.empty() && !state.setSyncToken(collection.url, newToken)) {
            fail({ SyncFailure::Kind::ServerError, "The sync state cannot be written: " + state.lastError() });
            return report;
        }
        sendLocalChanges();
        return report;
    }
};

CollectionSync::CollectionSync(AddressBookRef book, SyncState& state, CardDavClient& client, CollectionRecord collection)
    : m_book(std::move(book))
    , m_state(state)
    , m_client(client)
    , m_collection(std::move(collection))
{
}

CollectionReport CollectionSync::run()
{
    Impl impl { m_book, m_state, m_client, m_collection, {}, {}, {}, {}, {}, {}, {}, {}, {}, {} };
    {
        std::lock_guard lock(g_hookMutex);
        impl.batchSize = g_batchSize;
    }
    return impl.run();
}

} // namespace contactstore::carddav

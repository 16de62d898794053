#pragma once
// One record of the address book: a person, a group or a source (account). Records are
// shared objects handed out as std::shared_ptr; whoever holds one keeps it alive, even after
// the address book it came from is gone. A record read from an AddressBook belongs to that
// handle: changes to it stay pending in memory until that handle saves.
//
// Properties are read and written by property identifier (Constants.h); each has a type
// code (Values.h) and a write of a value of another type fails.

#include "platform/contactstore/Constants.h"
#include "platform/contactstore/Forward.h"
#include "platform/contactstore/MultiValue.h"
#include "platform/contactstore/StoreError.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace contactstore {

class AddressBookDatabase;

// Derived data a layer above keeps with a record (search folding, sort keys). The record
// owns it and drops it whenever one of its values changes, so it is never stale.
class RecordCache {
public:
    virtual ~RecordCache() = default;
};

class Record {
public:
    virtual ~Record();
    Record(const Record&) = delete;
    Record& operator=(const Record&) = delete;
    Record(Record&&) noexcept;
    Record& operator=(Record&&) noexcept;

    // kRecordInvalidID until the record has been saved in an address book.
    RecordID recordID() const { return m_recordID; }
    virtual RecordType recordType() const = 0;

    // The type code of a property on this kind of record; Invalid when it has no such property.
    virtual PropertyType typeOfProperty(PropertyID property) const = 0;

    // The value of a property, none when absent (never an empty string for absent text).
    std::optional<Value> copyValue(PropertyID property) const;
    // The held value without copying; null when absent. Valid until the next change.
    const Value* value(PropertyID property) const;
    // Typed reads; none when absent or of another type.
    const std::string* stringValue(PropertyID property) const;
    // A text read where it lies, without decoding the values kept in stored form: for going
    // over the names of every person (an order by name) without making each a copy of them.
    // Valid until the record's next read by property or change.
    std::optional<std::string_view> textValue(PropertyID property) const;
    std::optional<std::string> copyString(PropertyID property) const;
    std::optional<std::int64_t> copyInteger(PropertyID property) const;
    std::optional<Date> copyDate(PropertyID property) const;
    const MultiValue* multiValue(PropertyID property) const;
    // Whether the multi-value property has at least one entry; lists kept as read from
    // the file are looked at without being decoded.
    bool hasEntries(PropertyID property) const;

    // The most bytes one text of a record may hold (a name, a note, one phone number, one
    // part of an address): far beyond what a person writes, and small enough that every
    // screen can show and search it at once.
    static constexpr std::size_t kMaxTextBytes = 64 * 1024;

    // Writes one property. False with an error when the property is unknown, read-only, the
    // value is not of its type, or one of its texts is longer than kMaxTextBytes
    // (ValueTooLong); the record then keeps its previous value. An empty multi-value removes
    // the property.
    [[nodiscard]] bool setValue(PropertyID property, Value value, Error* error = nullptr);
    // Removes one property; removing an absent one succeeds.
    [[nodiscard]] bool removeValue(PropertyID property, Error* error = nullptr);

    // The name the address book shows for the record: a person's names in the composite
    // name format (or the organization, then the nickname), a group's or source's name.
    // None when the record has nothing to show.
    virtual std::optional<std::string> copyCompositeName() const = 0;

    // True when the record has changes its address book has not saved yet.
    bool hasUnsavedChanges() const { return m_changed; }

    // The derived data of the layer above, null after any change. Set on a const record
    // because caching does not change what the record holds.
    RecordCache* cache() const { return m_cache.get(); }
    void setCache(std::unique_ptr<RecordCache> cache) const { m_cache = std::move(cache); }

    // The collation key the store sorts the record by (NameFormat), kept with the tag of the
    // language and order it was made for until a value changes, so that sorting the members
    // of a big group again compares bytes instead of collating every name again. Null when
    // none is kept for that tag.
    const std::string* keptSortKey(std::string_view tag) const
    {
        if (!m_extras || m_extras->sortKeyTag != tag || m_extras->sortKey.empty())
            return nullptr;
        return &m_extras->sortKey;
    }
    void keepSortKey(std::string_view tag, std::string key) const
    {
        extras().sortKeyTag = tag;
        extras().sortKey = std::move(key);
    }

    // A value the store hands over in its stored form when it reads the record (see
    // keepStoredValues): a text, or an integer or date as a number.
    struct StoredDetail {
        enum class Kind : unsigned char { Text, Integer, Date };
        PropertyID property;
        Kind kind;
        std::string_view text;
        // An integer, or a date's milliseconds since the epoch.
        std::int64_t number;
    };

    // The address book that this record was read from or added to; null when none or gone.
    AddressBookRef addressBook() const { return m_book.lock(); }

protected:
    Record();
    // Whether a caller may write the property (the store keeps some itself).
    virtual bool isWritable(PropertyID property) const;
    // Told after a caller changed or removed a property, for values that follow from others.
    virtual void didChangeValue(PropertyID) { }
    void markChanged();
    // markChanged, remembering which property changed.
    void noteChanged(PropertyID property);
    // Sets a value as read from the file or given at creation, without checks or change marking.
    void assignStoredValue(PropertyID property, Value value);

    std::weak_ptr<AddressBook> m_book;

private:
    friend class AddressBook;
    friend class AddressBookDatabase;

    // Where the property's value is held; null when absent. Writes unpack the stored values first.
    std::pair<PropertyID, Value>* find(PropertyID property);
    const std::pair<PropertyID, Value>* find(PropertyID property) const;
    // Keeps lists as read from the file (StoredValueCodec's form), and the other values
    // (names, the identifier, dates, the note), in stored form until one of them is asked for.
    void keepStoredValues(std::string_view storedLists, std::span<const StoredDetail> details);
    // Brings the values kept in stored form into m_values, so that every value is where a
    // write expects it.
    void unpackStoredValues();
    // Decode the details, or the lists, kept in stored form, each once and all together.
    void openStoredDetails() const;
    void openStoredLists() const;
    // Lets the stored form go once its details and its lists are both open.
    void dropOpenedStoredValues() const;
    // Drops the derived data and the kept sort key, which a change makes stale.
    void forgetDerived() const;

    // The properties set or removed through this handle since it loaded or last saved: a
    // save writes only these, over whatever other handles have stored meanwhile.
    std::span<const PropertyID> changedProperties() const;
    void forgetChangedProperties();

    RecordID m_recordID { kRecordInvalidID };
    // Beside the identifier, where they take no room of their own.
    bool m_changed { false };
    mutable bool m_detailsOpened { false };
    mutable bool m_listsOpened { false };
    std::vector<std::pair<PropertyID, Value>> m_values;
    // Bytes that know their length: one pointer, where a string takes four words.
    class PackedBytes {
    public:
        PackedBytes() = default;
        // Room for `size` bytes, to be written through data(); none for a size of 0.
        explicit PackedBytes(std::size_t size);
        bool empty() const { return !m_bytes; }
        char* data() { return m_bytes.get() + sizeof(std::uint32_t); }
        std::string_view view() const;
        void clear() { m_bytes.reset(); }

    private:
        // The length (four bytes in the machine's order), then the bytes.
        std::unique_ptr<char[]> m_bytes;
    };
    // The values of a record read from the file, in stored form until one is read: a big book
    // holds a quarter of a million persons whose values nobody opens but for the few rows on
    // the screen, and in stored form they take a fraction of the memory. A read decodes the
    // details or the lists into the extras, where they stay put (values read before remain
    // valid) until a write moves them into m_values.
    mutable PackedBytes m_storedValues;

    // What only some records need (the values opened, the changes, the store's sort key),
    // held apart so that the others take one pointer for it.
    struct Extras {
        std::vector<std::pair<PropertyID, Value>> openedDetails;
        std::vector<std::pair<PropertyID, Value>> openedLists;
        std::vector<PropertyID> changedProperties;
        std::string sortKeyTag;
        std::string sortKey;
    };
    Extras& extras() const
    {
        if (!m_extras)
            m_extras = std::make_unique<Extras>();
        return *m_extras;
    }
    mutable std::unique_ptr<Extras> m_extras;
    // Held by itself: a list sorting every person gives each one, and needs nothing else.
    mutable std::unique_ptr<RecordCache> m_cache;
};

} // namespace contactstore

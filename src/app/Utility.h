#pragma once
// The application's one shared object: the address-book handle every address-book call goes
// through, the group catalogue that every group screen shows (address-book groups, local
// groups and the two leading pseudo-groups in one order), group names and colours, the short
// date text, phone-number cleaning, the kinds of accounts the address book holds, and which
// device and system the application runs on.
//
// Created on first use (at launch) and kept for the life of the process. The handle itself
// is kept by SharedAddressBook, so the address-book wrappers and this object always agree on
// it; it is read and written under a lock. Everything else runs on the main thread.

#include "platform/contactstore/Forward.h"
#include "platform/foundation/DateFormatter.h"
#include "platform/ui/Color.h"
#include "store/GroupObject.h"
#include "store/SettingsObject.h"

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaro {

class DataManager;

class Utility {
public:
    // The number of colours in the group palette; valid colour indexes are 0 to kPaletteSize - 1.
    static constexpr int kPaletteSize = 45;

    // The shared object, created on the first call (safe from any thread); creating it opens
    // the address book of the profile.
    static Utility& sharedUtility();

    Utility(const Utility&) = delete;
    Utility& operator=(const Utility&) = delete;

    // The handle in force; null when the address book could not be opened.
    contactstore::AddressBookRef addressBook() const;
    void setAddressBook(contactstore::AddressBookRef addressBook);

    // The settings record loaded at launch. The application stores no settings, so nothing
    // reads it; it is kept because the database hands it over.
    const std::optional<SettingsObject>& settingsObj() const { return _settingsObj; }
    void setSettingsObj(std::optional<SettingsObject> settings) { _settingsObj = std::move(settings); }

    // Lets go of the handle and opens a new one, so that changes saved elsewhere (another
    // application, an import) are seen.
    void resetObject();

    // Always none: bars and backgrounds keep the system's own tint.
    std::optional<ui::Color> getBgColor() const { return std::nullopt; }

    // The display name of a catalogue entry: a local group's own name, the name of a
    // pseudo-group from the strings table, else the address-book group's name (empty when
    // the address book no longer has that group, "GroupNoAccessTitle" while the book cannot
    // be read, so that the row says why it has no name).
    std::string getGroupName(const GroupObject& group) const;

    // Whether the address book is open and the user lets the application read it. While it
    // cannot be read, an address-book group is known only by the row the application stored
    // for it (its colour and place), and nothing about the group can be changed.
    bool canReadAddressBook() const;
    // Whether the user can change the group now (its name, colour, place, members, or delete
    // it): a local group always, an address-book group only while the book can be read.
    bool canChangeGroup(const GroupObject& group) const;

    // The group catalogue: all contacts, contacts in no group, then the address-book groups
    // and local groups in their shared order. Brings the stored address-book group rows into
    // line with the address book on the way: rows of groups deleted elsewhere go, groups
    // added elsewhere get a row at the end. While the address book cannot be read (access
    // refused) the stored rows are left alone, so colours and order survive. A new list on
    // every call; the caller owns it.
    std::vector<GroupObject> getAllGroupObject();

    // The palette colour of a colour index; none outside 0 to 44 (screens draw those black).
    static std::optional<ui::Color> getGroupColorwithIndex(int index);

    // Month, day, hour and minute as the strings table's "DateFormatterMMDDHHMM" pattern
    // says, in the device's zone and locale; the empty text for no date.
    std::string getMMDDHHMM(std::optional<std::chrono::system_clock::time_point> date);

    // The number without blanks, hyphens and parentheses.
    static std::string cleanPhoneNumber(std::string_view number);

    // What kinds of accounts the address book has: 0 when only Exchange, 2 when Exchange and
    // another kind that can hold groups, 1 otherwise (no Exchange, or no accounts at all).
    // Logs each account's type.
    int getAddressBookSourceType() const;

    // The device: an iPod touch (no phone, no text messages) by its model name; a 4-inch
    // screen by its pixel size; a system of version 7 or later.
    static bool isiTouch();
    static bool isiPhone5();
    static bool isIOS7();
    // The extra height of a 4-inch screen (88 points, else 0), and the offset of content
    // below the status bar from system 7 on (20 points, else 0).
    static int iPhone4to5SubSize();
    static double getStatusBarHeight();

    // Why the address book could not be opened the last time (damaged, unreadable); empty
    // when it opened.
    static std::string openAddressBookError();

private:
    Utility();

    static contactstore::AddressBookRef openAddressBook();
    // Steps 2 to 4 of the catalogue: the stored address-book group rows follow the book.
    void alignStoredGroupsWithAddressBook();
    void alignStoredGroupRows(DataManager& database);

    std::optional<SettingsObject> _settingsObj;
    // The date formatter of the last pattern, locale and zone asked for; building one costs
    // more than formatting a whole list of recent calls.
    std::string _dateFormatterKey;
    std::unique_ptr<foundation::DateFormatter> _dateFormatter;
};

} // namespace tessaro

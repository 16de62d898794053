#pragma once
// The address book's constants: record identifiers and types, property identifiers, the
// standard labels, the keys of address and instant-message values, account (source) types,
// person kinds, image formats and name orders.
//
// Property identifiers and label texts are written into the store's file and into vCard
// exports: never renumber or reword one; add new ones at the end.

#include <cstdint>

namespace contactstore {

// Records ------------------------------------------------------------------------------------

using RecordID = std::int32_t;
// What a record has before its first save, and what lookups of nothing return.
inline constexpr RecordID kRecordInvalidID = -1;

using RecordType = std::uint32_t;
inline constexpr RecordType kPersonType = 0;
inline constexpr RecordType kGroupType = 1;
inline constexpr RecordType kSourceType = 2;

// Properties ---------------------------------------------------------------------------------

using PropertyID = std::int32_t;
inline constexpr PropertyID kInvalidPropertyID = -1;

// Person, single values: thirteen strings, three dates, and the kind (an integer); the
// formatted name, a fourteenth string, comes after the multi-values.
inline constexpr PropertyID kPersonFirstNameProperty = 0;
inline constexpr PropertyID kPersonLastNameProperty = 1;
inline constexpr PropertyID kPersonMiddleNameProperty = 2;
inline constexpr PropertyID kPersonPrefixProperty = 3;
inline constexpr PropertyID kPersonSuffixProperty = 4;
inline constexpr PropertyID kPersonNicknameProperty = 5;
inline constexpr PropertyID kPersonFirstNamePhoneticProperty = 6;
inline constexpr PropertyID kPersonLastNamePhoneticProperty = 7;
inline constexpr PropertyID kPersonMiddleNamePhoneticProperty = 8;
inline constexpr PropertyID kPersonOrganizationProperty = 9;
inline constexpr PropertyID kPersonJobTitleProperty = 10;
inline constexpr PropertyID kPersonDepartmentProperty = 11;
inline constexpr PropertyID kPersonNoteProperty = 12;
inline constexpr PropertyID kPersonBirthdayProperty = 13;          // date
inline constexpr PropertyID kPersonCreationDateProperty = 14;      // date, kept by the store
inline constexpr PropertyID kPersonModificationDateProperty = 15;  // date, kept by the store
inline constexpr PropertyID kPersonKindProperty = 16;              // integer, kPersonKind...
// Person, multi-values.
inline constexpr PropertyID kPersonEmailProperty = 17;             // multi string
inline constexpr PropertyID kPersonPhoneProperty = 18;             // multi string
inline constexpr PropertyID kPersonRelatedNamesProperty = 19;      // multi string
inline constexpr PropertyID kPersonURLProperty = 20;               // multi string
inline constexpr PropertyID kPersonDateProperty = 21;              // multi date
inline constexpr PropertyID kPersonAddressProperty = 22;           // multi dictionary
inline constexpr PropertyID kPersonInstantMessageProperty = 23;    // multi dictionary
// Person, the identifier other programs know the person by ("urn:uuid:..."): given by the
// card it was imported from, else made when the person is first saved; it never changes.
inline constexpr PropertyID kPersonUIDProperty = 25;               // string
// Person, the display name as another program wrote it ("Bruce Banner, PhD"), kept only
// where the names do not make it; the store drops it when a name changes.
inline constexpr PropertyID kPersonFormattedNameProperty = 24;     // string

// Group.
inline constexpr PropertyID kGroupNameProperty = 100;              // string

// Source (account).
inline constexpr PropertyID kSourceTypeProperty = 200;             // integer, kSourceType...
inline constexpr PropertyID kSourceNameProperty = 201;             // string

// Person kinds.
inline constexpr std::int64_t kPersonKindPerson = 0;
inline constexpr std::int64_t kPersonKindOrganization = 1;

// Account types. The searchable bit marks directory accounts that are searched, not synced.
using SourceType = std::int32_t;
inline constexpr SourceType kSourceTypeSearchableMask = 0x1000000;
inline constexpr SourceType kSourceTypeLocal = 0;
inline constexpr SourceType kSourceTypeExchange = 1;
inline constexpr SourceType kSourceTypeExchangeGAL = kSourceTypeExchange | kSourceTypeSearchableMask;
inline constexpr SourceType kSourceTypeMobileMe = 2;
inline constexpr SourceType kSourceTypeLDAP = 3 | kSourceTypeSearchableMask;
inline constexpr SourceType kSourceTypeCardDAV = 4;
inline constexpr SourceType kSourceTypeCardDAVSearch = kSourceTypeCardDAV | kSourceTypeSearchableMask;

// Labels -------------------------------------------------------------------------------------
// Stored as these texts; their display forms come from Localization. Any other text is the
// user's own label and displays as itself.

// Any multi-value.
inline constexpr char kHomeLabel[] = "_$!<Home>!$_";
inline constexpr char kWorkLabel[] = "_$!<Work>!$_";
inline constexpr char kOtherLabel[] = "_$!<Other>!$_";
// Phone numbers.
inline constexpr char kPersonPhoneMobileLabel[] = "_$!<Mobile>!$_";
inline constexpr char kPersonPhoneIPhoneLabel[] = "iPhone";
inline constexpr char kPersonPhoneMainLabel[] = "_$!<Main>!$_";
inline constexpr char kPersonPhoneHomeFAXLabel[] = "_$!<HomeFAX>!$_";
inline constexpr char kPersonPhoneWorkFAXLabel[] = "_$!<WorkFAX>!$_";
inline constexpr char kPersonPhoneOtherFAXLabel[] = "_$!<OtherFAX>!$_";
inline constexpr char kPersonPhonePagerLabel[] = "_$!<Pager>!$_";
// Mail addresses.
inline constexpr char kPersonEmailICloudLabel[] = "iCloud";
// Web addresses.
inline constexpr char kPersonHomePageLabel[] = "_$!<HomePage>!$_";
// Dates.
inline constexpr char kPersonAnniversaryLabel[] = "_$!<Anniversary>!$_";
// Related names.
inline constexpr char kPersonFatherLabel[] = "_$!<Father>!$_";
inline constexpr char kPersonMotherLabel[] = "_$!<Mother>!$_";
inline constexpr char kPersonParentLabel[] = "_$!<Parent>!$_";
inline constexpr char kPersonBrotherLabel[] = "_$!<Brother>!$_";
inline constexpr char kPersonSisterLabel[] = "_$!<Sister>!$_";
inline constexpr char kPersonChildLabel[] = "_$!<Child>!$_";
inline constexpr char kPersonFriendLabel[] = "_$!<Friend>!$_";
inline constexpr char kPersonSpouseLabel[] = "_$!<Spouse>!$_";
inline constexpr char kPersonPartnerLabel[] = "_$!<Partner>!$_";
inline constexpr char kPersonAssistantLabel[] = "_$!<Assistant>!$_";
inline constexpr char kPersonManagerLabel[] = "_$!<Manager>!$_";

// Keys of dictionary values --------------------------------------------------------------------

// Postal addresses (kPersonAddressProperty).
inline constexpr char kPersonAddressStreetKey[] = "Street";
inline constexpr char kPersonAddressCityKey[] = "City";
inline constexpr char kPersonAddressStateKey[] = "State";
inline constexpr char kPersonAddressZIPKey[] = "ZIP";
inline constexpr char kPersonAddressCountryKey[] = "Country";
inline constexpr char kPersonAddressCountryCodeKey[] = "CountryCode";

// Instant-message accounts (kPersonInstantMessageProperty).
inline constexpr char kPersonInstantMessageServiceKey[] = "service";
inline constexpr char kPersonInstantMessageUsernameKey[] = "username";
// The address's URI scheme ("xmpp", "sip") where it is not the one the service usually has.
inline constexpr char kPersonInstantMessageSchemeKey[] = "scheme";
inline constexpr char kPersonInstantMessageServiceAIM[] = "AIM";
inline constexpr char kPersonInstantMessageServiceFacebook[] = "Facebook";
inline constexpr char kPersonInstantMessageServiceGaduGadu[] = "GaduGadu";
inline constexpr char kPersonInstantMessageServiceGoogleTalk[] = "GoogleTalk";
inline constexpr char kPersonInstantMessageServiceICQ[] = "ICQ";
inline constexpr char kPersonInstantMessageServiceJabber[] = "Jabber";
inline constexpr char kPersonInstantMessageServiceMSN[] = "MSN";
inline constexpr char kPersonInstantMessageServiceQQ[] = "QQ";
inline constexpr char kPersonInstantMessageServiceSkype[] = "Skype";
inline constexpr char kPersonInstantMessageServiceYahoo[] = "Yahoo";

// Images, orders ---------------------------------------------------------------------------------

enum class ImageFormat : int {
    Thumbnail = 0,
    OriginalSize = 2,
};

enum class SortOrdering : int {
    ByFirstName = 0,
    ByLastName = 1,
};

enum class CompositeNameFormat : int {
    FirstNameFirst = 0,
    LastNameFirst = 1,
};

} // namespace contactstore

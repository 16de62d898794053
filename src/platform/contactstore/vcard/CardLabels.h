#pragma once
// The address book's standard label texts and how they meet vCard TYPE parameters. Reading,
// a property's TYPE values pick a standard label (an "X-ABLabel" in the same item group wins
// over them); writing, a standard label becomes the TYPE values every reader knows, and a
// label without such a form travels as an item group with its own X-ABLabel line.

#include <string>
#include <string_view>
#include <vector>

namespace contactstore::vcard {

namespace labels {
inline constexpr std::string_view kHome = "_$!<Home>!$_";
inline constexpr std::string_view kWork = "_$!<Work>!$_";
inline constexpr std::string_view kOther = "_$!<Other>!$_";
inline constexpr std::string_view kMobile = "_$!<Mobile>!$_";
inline constexpr std::string_view kIPhone = "iPhone";
inline constexpr std::string_view kMain = "_$!<Main>!$_";
inline constexpr std::string_view kHomeFax = "_$!<HomeFAX>!$_";
inline constexpr std::string_view kWorkFax = "_$!<WorkFAX>!$_";
inline constexpr std::string_view kOtherFax = "_$!<OtherFAX>!$_";
inline constexpr std::string_view kPager = "_$!<Pager>!$_";
inline constexpr std::string_view kHomePage = "_$!<HomePage>!$_";
inline constexpr std::string_view kAnniversary = "_$!<Anniversary>!$_";
inline constexpr std::string_view kFather = "_$!<Father>!$_";
inline constexpr std::string_view kMother = "_$!<Mother>!$_";
inline constexpr std::string_view kParent = "_$!<Parent>!$_";
inline constexpr std::string_view kBrother = "_$!<Brother>!$_";
inline constexpr std::string_view kSister = "_$!<Sister>!$_";
inline constexpr std::string_view kChild = "_$!<Child>!$_";
inline constexpr std::string_view kFriend = "_$!<Friend>!$_";
inline constexpr std::string_view kSpouse = "_$!<Spouse>!$_";
inline constexpr std::string_view kPartner = "_$!<Partner>!$_";
inline constexpr std::string_view kAssistant = "_$!<Assistant>!$_";
inline constexpr std::string_view kManager = "_$!<Manager>!$_";
} // namespace labels

// The multi-valued properties; each has its own TYPE vocabulary and default label.
enum class LabeledProperty {
    Phone,
    Email,
    Url,
    Address,
    InstantMessage,
    RelatedName,
    Date,
};

// The label that a property's TYPE values (upper-cased) stand for. The defaults for a
// property without a telling TYPE: home page for URLs, "other" for everything else.
std::string labelForTypes(LabeledProperty property, const std::vector<std::string>& upperCaseTypes);

// The TYPE values that say the label when written; empty when the label has no TYPE form
// and must go out as an X-ABLabel, or (for URLs' home page) needs nothing at all.
std::vector<std::string_view> typesForLabel(LabeledProperty property, std::string_view label);

// True when the property's TYPE values alone say the label on reading it back.
bool labelTravelsAsTypes(LabeledProperty property, std::string_view label);

// The URI scheme an instant-message address of the service is written with ("xmpp" for
// Jabber); "x-apple" for a service without one of its own.
std::string_view usualSchemeForService(std::string_view service);

// "Father" for a related-name TYPE such as "parent" in newer cards, by the usual words.
std::string relatedLabelForType(std::string_view upperCaseType);

} // namespace contactstore::vcard

#include "platform/contactstore/Localization.h"

#include "platform/foundation/Device.h"
#include "platform/foundation/LocalizedStrings.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <mutex>
#include <utility>

namespace contactstore {

namespace {

struct KnownText {
    std::string_view text;     // the stored label
    std::string_view key;      // the strings-table key
    std::string_view english;  // shown when the table has no text
};

constexpr std::array kLabels {
    KnownText { kHomeLabel, "LabelHome", "home" },
    KnownText { kWorkLabel, "LabelWork", "work" },
    KnownText { kOtherLabel, "LabelOther", "other" },
    KnownText { kPersonPhoneMobileLabel, "LabelMobile", "mobile" },
    KnownText { kPersonPhoneIPhoneLabel, "LabelIPhone", "iPhone" },
    KnownText { kPersonPhoneMainLabel, "LabelMain", "main" },
    KnownText { kPersonPhoneHomeFAXLabel, "LabelHomeFax", "home fax" },
    KnownText { kPersonPhoneWorkFAXLabel, "LabelWorkFax", "work fax" },
    KnownText { kPersonPhoneOtherFAXLabel, "LabelOtherFax", "other fax" },
    KnownText { kPersonPhonePagerLabel, "LabelPager", "pager" },
    KnownText { kPersonEmailICloudLabel, "LabelICloud", "iCloud" },
    KnownText { kPersonHomePageLabel, "LabelHomePage", "homepage" },
    KnownText { kPersonAnniversaryLabel, "LabelAnniversary", "anniversary" },
    KnownText { kPersonFatherLabel, "LabelFather", "father" },
    KnownText { kPersonMotherLabel, "LabelMother", "mother" },
    KnownText { kPersonParentLabel, "LabelParent", "parent" },
    KnownText { kPersonBrotherLabel, "LabelBrother", "brother" },
    KnownText { kPersonSisterLabel, "LabelSister", "sister" },
    KnownText { kPersonChildLabel, "LabelChild", "child" },
    KnownText { kPersonFriendLabel, "LabelFriend", "friend" },
    KnownText { kPersonSpouseLabel, "LabelSpouse", "spouse" },
    KnownText { kPersonPartnerLabel, "LabelPartner", "partner" },
    KnownText { kPersonAssistantLabel, "LabelAssistant", "assistant" },
    KnownText { kPersonManagerLabel, "LabelManager", "manager" },
};

struct PropertyName {
    PropertyID property;
    std::string_view key;
    std::string_view english;
};

constexpr std::array kPropertyNames {
    PropertyName { kPersonFirstNameProperty, "PropertyFirstName", "First Name" },
    PropertyName { kPersonLastNameProperty, "PropertyLastName", "Last Name" },
    PropertyName { kPersonMiddleNameProperty, "PropertyMiddleName", "Middle Name" },
    PropertyName { kPersonPrefixProperty, "PropertyPrefix", "Prefix" },
    PropertyName { kPersonSuffixProperty, "PropertySuffix", "Suffix" },
    PropertyName { kPersonNicknameProperty, "PropertyNickname", "Nickname" },
    PropertyName { kPersonFirstNamePhoneticProperty, "PropertyFirstNamePhonetic", "Phonetic First Name" },
    PropertyName { kPersonLastNamePhoneticProperty, "PropertyLastNamePhonetic", "Phonetic Last Name" },
    PropertyName { kPersonMiddleNamePhoneticProperty, "PropertyMiddleNamePhonetic", "Phonetic Middle Name" },
    PropertyName { kPersonOrganizationProperty, "PropertyOrganization", "Company" },
    PropertyName { kPersonJobTitleProperty, "PropertyJobTitle", "Job Title" },
    PropertyName { kPersonDepartmentProperty, "PropertyDepartment", "Department" },
    PropertyName { kPersonNoteProperty, "PropertyNote", "Notes" },
    PropertyName { kPersonBirthdayProperty, "PropertyBirthday", "Birthday" },
    PropertyName { kPersonCreationDateProperty, "PropertyCreationDate", "Created" },
    PropertyName { kPersonModificationDateProperty, "PropertyModificationDate", "Modified" },
    PropertyName { kPersonKindProperty, "PropertyKind", "Kind" },
    PropertyName { kPersonEmailProperty, "PropertyEmail", "Email" },
    PropertyName { kPersonPhoneProperty, "PropertyPhone", "Phone" },
    PropertyName { kPersonRelatedNamesProperty, "PropertyRelatedNames", "Related Name" },
    PropertyName { kPersonURLProperty, "PropertyURL", "URL" },
    PropertyName { kPersonDateProperty, "PropertyDate", "Date" },
    PropertyName { kPersonAddressProperty, "PropertyAddress", "Address" },
    PropertyName { kPersonInstantMessageProperty, "PropertyInstantMessage", "Instant Message" },
};

std::mutex g_mutex;
Localization::Lookup g_lookup;
// Bumped whenever the lookup changes, so texts remembered from the old one are not used.
std::uint64_t g_lookupGeneration = 0;

// The shown texts of the known labels, remembered for one language: lists of thousands of
// persons ask for the same dozen labels again and again.
struct LabelTexts {
    bool filled { false };
    std::string language;
    std::uint64_t generation { 0 };
    std::array<std::string, kLabels.size()> texts;
};
LabelTexts g_labelTexts;

std::string lookUp(std::string_view key, std::string_view english)
{
    Localization::Lookup lookup;
    {
        std::lock_guard lock(g_mutex);
        lookup = g_lookup;
    }
    std::string text = lookup ? lookup(key) : foundation::localized(key);
    if (!text.empty())
        return text;
    return std::string(english);
}

const KnownText* knownLabel(std::string_view label)
{
    auto found = std::find_if(kLabels.begin(), kLabels.end(), [label](const KnownText& known) { return known.text == label; });
    return found == kLabels.end() ? nullptr : &*found;
}

std::string knownLabelText(std::size_t index)
{
    const std::string& language = foundation::Device::current().language();
    std::uint64_t generation;
    {
        std::lock_guard lock(g_mutex);
        if (g_labelTexts.filled && g_labelTexts.language == language && g_labelTexts.generation == g_lookupGeneration)
            return g_labelTexts.texts[index];
        generation = g_lookupGeneration;
    }
    // Looked up outside the lock, which the lookup takes itself.
    LabelTexts fresh { true, language, generation, {} };
    for (std::size_t i = 0; i < kLabels.size(); ++i)
        fresh.texts[i] = lookUp(kLabels[i].key, kLabels[i].english);
    std::string text = fresh.texts[index];
    std::lock_guard lock(g_mutex);
    g_labelTexts = std::move(fresh);
    return text;
}

} // namespace

void Localization::setLookup(Lookup lookup)
{
    std::lock_guard lock(g_mutex);
    g_lookup = std::move(lookup);
    ++g_lookupGeneration;
}

std::string_view Localization::labelKey(std::string_view label)
{
    const KnownText* known = knownLabel(label);
    return known ? known->key : std::string_view();
}

std::string Localization::localizedLabel(std::optional<std::string_view> label)
{
    if (!label)
        return {};
    if (const KnownText* known = knownLabel(*label))
        return knownLabelText(static_cast<std::size_t>(known - kLabels.data()));
    // Labels written by other programs in the same private form ("_$!<Car>!$_") still
    // read as their inner word rather than as markup.
    if (label->size() > 8 && label->starts_with("_$!<") && label->ends_with(">!$_"))
        return std::string(label->substr(4, label->size() - 8));
    return std::string(*label);
}

std::string Localization::localizedPropertyName(PropertyID property)
{
    for (const auto& known : kPropertyNames) {
        if (known.property == property)
            return lookUp(known.key, known.english);
    }
    return {};
}

} // namespace contactstore

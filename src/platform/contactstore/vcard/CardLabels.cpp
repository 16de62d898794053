#include "platform/contactstore/vcard/CardLabels.h"

#include <algorithm>

namespace contactstore::vcard {

namespace {

bool has(const std::vector<std::string>& types, std::string_view type)
{
    return std::find(types.begin(), types.end(), type) != types.end();
}

std::string homeWorkOther(const std::vector<std::string>& types, std::string_view fallback)
{
    if (has(types, "HOME"))
        return std::string(labels::kHome);
    if (has(types, "WORK"))
        return std::string(labels::kWork);
    if (has(types, "OTHER") || has(types, "X-OTHER"))
        return std::string(labels::kOther);
    return std::string(fallback);
}

} // namespace

std::string labelForTypes(LabeledProperty property, const std::vector<std::string>& types)
{
    switch (property) {
    case LabeledProperty::Phone:
        if (has(types, "FAX")) {
            if (has(types, "HOME"))
                return std::string(labels::kHomeFax);
            if (has(types, "WORK"))
                return std::string(labels::kWorkFax);
            return std::string(labels::kOtherFax);
        }
        // The handset's own exports say "IPHONE,CELL,VOICE": the narrower word wins.
        if (has(types, "IPHONE"))
            return std::string(labels::kIPhone);
        if (has(types, "CELL") || has(types, "MOBILE"))
            return std::string(labels::kMobile);
        if (has(types, "PAGER"))
            return std::string(labels::kPager);
        if (has(types, "MAIN") || has(types, "X-MAIN"))
            return std::string(labels::kMain);
        return homeWorkOther(types, labels::kOther);
    case LabeledProperty::Url:
        if (has(types, "HOMEPAGE") || has(types, "X-HOMEPAGE"))
            return std::string(labels::kHomePage);
        return homeWorkOther(types, labels::kHomePage);
    case LabeledProperty::RelatedName:
        for (const std::string& type : types) {
            std::string label = relatedLabelForType(type);
            if (!label.empty())
                return label;
        }
        return std::string(labels::kOther);
    case LabeledProperty::Date:
        if (has(types, "ANNIVERSARY"))
            return std::string(labels::kAnniversary);
        return homeWorkOther(types, labels::kOther);
    case LabeledProperty::Email:
    case LabeledProperty::Address:
    case LabeledProperty::InstantMessage:
        return homeWorkOther(types, labels::kOther);
    }
    return std::string(labels::kOther);
}

std::vector<std::string_view> typesForLabel(LabeledProperty property, std::string_view label)
{
    if (property == LabeledProperty::Phone) {
        if (label == labels::kMobile)
            return { "CELL", "VOICE" };
        if (label == labels::kIPhone)
            return { "IPHONE", "CELL", "VOICE" };
        if (label == labels::kMain)
            return { "MAIN" };
        if (label == labels::kHomeFax)
            return { "HOME", "FAX" };
        if (label == labels::kWorkFax)
            return { "WORK", "FAX" };
        if (label == labels::kOtherFax)
            return { "FAX" };
        if (label == labels::kPager)
            return { "PAGER" };
        if (label == labels::kHome)
            return { "HOME", "VOICE" };
        if (label == labels::kWork)
            return { "WORK", "VOICE" };
        if (label == labels::kOther)
            return { "OTHER", "VOICE" };
        return {};
    }
    if (property == LabeledProperty::RelatedName || property == LabeledProperty::Date)
        return {};
    if (label == labels::kHome)
        return { "HOME" };
    if (label == labels::kWork)
        return { "WORK" };
    if (label == labels::kOther)
        return { "OTHER" };
    return {};
}

bool labelTravelsAsTypes(LabeledProperty property, std::string_view label)
{
    if (property == LabeledProperty::Url && label == labels::kHomePage)
        return true;
    return !typesForLabel(property, label).empty();
}

std::string_view usualSchemeForService(std::string_view service)
{
    struct SchemeForService {
        std::string_view service;
        std::string_view scheme;
    };
    static constexpr SchemeForService kSchemes[] = {
        { "AIM", "aim" },
        { "Jabber", "xmpp" },
        { "MSN", "msnim" },
        { "Yahoo", "ymsgr" },
        { "ICQ", "icq" },
        { "Skype", "skype" },
        { "GoogleTalk", "gtalk" },
        { "QQ", "qq" },
        { "Facebook", "facebook" },
        { "GaduGadu", "gg" },
    };
    for (const SchemeForService& entry : kSchemes) {
        if (entry.service == service)
            return entry.scheme;
    }
    return "x-apple";
}

std::string relatedLabelForType(std::string_view type)
{
    struct Word {
        std::string_view type;
        std::string_view label;
    };
    static constexpr Word kWords[] = {
        { "FATHER", labels::kFather },
        { "MOTHER", labels::kMother },
        { "PARENT", labels::kParent },
        { "BROTHER", labels::kBrother },
        { "SISTER", labels::kSister },
        { "CHILD", labels::kChild },
        { "FRIEND", labels::kFriend },
        { "SPOUSE", labels::kSpouse },
        { "PARTNER", labels::kPartner },
        { "SWEETHEART", labels::kPartner },
        { "ASSISTANT", labels::kAssistant },
        { "MANAGER", labels::kManager },
    };
    for (const Word& word : kWords) {
        if (word.type == type)
            return std::string(word.label);
    }
    return {};
}

} // namespace contactstore::vcard

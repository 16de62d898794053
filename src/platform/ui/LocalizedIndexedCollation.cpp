#include "platform/ui/LocalizedIndexedCollation.h"

#include "platform/foundation/Device.h"
#include "platform/foundation/Log.h"

#include <unicode/alphaindex.h>
#include <unicode/coll.h>
#include <unicode/sortkey.h>

#include <map>
#include <set>

namespace ui {

struct LocalizedIndexedCollation::Index {
    std::unique_ptr<icu::AlphabeticIndex::ImmutableIndex> immutable;
};

namespace {

constexpr const char* otherSectionTitle = "#";

std::string utf8(const icu::UnicodeString& text)
{
    std::string out;
    text.toUTF8String(out);
    return out;
}

// The titles of the normal buckets of an index built for the locale alone.
std::vector<std::string> ownLabels(const icu::Locale& locale)
{
    UErrorCode status = U_ZERO_ERROR;
    icu::AlphabeticIndex index(locale, status);
    std::unique_ptr<icu::AlphabeticIndex::ImmutableIndex> immutable(index.buildImmutableIndex(status));
    std::vector<std::string> labels;
    if (U_FAILURE(status) || !immutable)
        return labels;
    for (int i = 0; i < immutable->getBucketCount(); ++i) {
        const auto* bucket = immutable->getBucket(i);
        if (bucket->getLabelType() == U_ALPHAINDEX_NORMAL)
            labels.push_back(utf8(bucket->getLabel()));
    }
    return labels;
}

} // namespace

const LocalizedIndexedCollation& LocalizedIndexedCollation::currentCollation()
{
    static std::map<std::string, std::unique_ptr<LocalizedIndexedCollation>> byLocale;
    auto locale = foundation::Device::current().localeIdentifier();
    auto& slot = byLocale[locale];
    if (!slot)
        slot = std::make_unique<LocalizedIndexedCollation>(locale);
    return *slot;
}

LocalizedIndexedCollation::LocalizedIndexedCollation(const std::string& localeIdentifier)
    : m_localeIdentifier(localeIdentifier)
    , m_index(std::make_unique<Index>())
{
    icu::Locale locale(localeIdentifier.c_str());
    UErrorCode status = U_ZERO_ERROR;
    m_collator.reset(icu::Collator::createInstance(locale, status));
    if (U_FAILURE(status)) {
        foundation::log("collation: no collator for " + localeIdentifier + ": " + u_errorName(status));
        m_collator.reset();
    }

    auto own = ownLabels(locale);
    std::set<std::string> ownSet(own.begin(), own.end());

    status = U_ZERO_ERROR;
    icu::AlphabeticIndex index(locale, status);
    index.addLabels(icu::Locale::getEnglish(), status);
    m_index->immutable.reset(index.buildImmutableIndex(status));
    if (U_FAILURE(status) || !m_index->immutable) {
        foundation::log("collation: no alphabetic index for " + localeIdentifier + ": " + u_errorName(status));
        m_index->immutable.reset();
        m_sectionTitles = { otherSectionTitle };
        return;
    }

    // Own labels first in their order, the English ones after them, "#" last.
    std::vector<std::string> english;
    for (int i = 0; i < m_index->immutable->getBucketCount(); ++i) {
        const auto* bucket = m_index->immutable->getBucket(i);
        if (bucket->getLabelType() != U_ALPHAINDEX_NORMAL)
            continue;
        auto label = utf8(bucket->getLabel());
        if (!ownSet.count(label))
            english.push_back(label);
    }
    std::map<std::string, int> sectionOfLabel;
    for (const auto& label : own) {
        sectionOfLabel.emplace(label, static_cast<int>(m_sectionTitles.size()));
        m_sectionTitles.push_back(label);
    }
    for (const auto& label : english) {
        sectionOfLabel.emplace(label, static_cast<int>(m_sectionTitles.size()));
        m_sectionTitles.push_back(label);
    }
    int other = static_cast<int>(m_sectionTitles.size());
    m_sectionTitles.push_back(otherSectionTitle);

    for (int i = 0; i < m_index->immutable->getBucketCount(); ++i) {
        const auto* bucket = m_index->immutable->getBucket(i);
        auto found = bucket->getLabelType() == U_ALPHAINDEX_NORMAL ? sectionOfLabel.find(utf8(bucket->getLabel())) : sectionOfLabel.end();
        m_sectionOfBucket.push_back(found == sectionOfLabel.end() ? other : found->second);
    }
}

LocalizedIndexedCollation::~LocalizedIndexedCollation() = default;

int LocalizedIndexedCollation::sectionForSectionIndexTitleAtIndex(int index) const
{
    if (index < 0 || index >= static_cast<int>(m_sectionTitles.size()))
        return -1;
    return index;
}

int LocalizedIndexedCollation::sectionForString(std::string_view name) const
{
    int other = static_cast<int>(m_sectionTitles.size()) - 1;
    if (!m_index->immutable)
        return other;
    UErrorCode status = U_ZERO_ERROR;
    auto text = icu::UnicodeString::fromUTF8(icu::StringPiece(name.data(), static_cast<int32_t>(name.size())));
    int bucket = m_index->immutable->getBucketIndex(text, status);
    if (U_FAILURE(status) || bucket < 0 || bucket >= static_cast<int>(m_sectionOfBucket.size()))
        return other;
    return m_sectionOfBucket[static_cast<std::size_t>(bucket)];
}

std::string LocalizedIndexedCollation::sortKey(std::string_view name) const
{
    auto text = icu::UnicodeString::fromUTF8(icu::StringPiece(name.data(), static_cast<int32_t>(name.size())));
    if (!m_collator) {
        std::string fallback;
        text.toUTF8String(fallback);
        return fallback;
    }
    // Most keys fit the first buffer; a long name asks again with the size ICU reports.
    std::string key(64, '\0');
    int32_t length = m_collator->getSortKey(text, reinterpret_cast<uint8_t*>(key.data()), static_cast<int32_t>(key.size()));
    if (length > static_cast<int32_t>(key.size())) {
        key.resize(static_cast<std::size_t>(length));
        length = m_collator->getSortKey(text, reinterpret_cast<uint8_t*>(key.data()), length);
    }
    // The key ends with a zero byte that adds nothing to the order.
    key.resize(length > 0 ? static_cast<std::size_t>(length - 1) : 0);
    return key;
}

int LocalizedIndexedCollation::compare(std::string_view a, std::string_view b) const
{
    if (!m_collator)
        return a.compare(b);
    UErrorCode status = U_ZERO_ERROR;
    auto result = m_collator->compareUTF8(icu::StringPiece(a.data(), static_cast<int32_t>(a.size())),
                                          icu::StringPiece(b.data(), static_cast<int32_t>(b.size())), status);
    return result == UCOL_LESS ? -1 : result == UCOL_GREATER ? 1 : 0;
}

} // namespace ui

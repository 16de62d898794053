#include "platform/contactstore/Person.h"

#include "platform/contactstore/AddressBookDatabase.h"
#include "platform/contactstore/NameFormat.h"
#include "platform/contactstore/PersonSearchKeys.h"

#include <mutex>
#include <utility>

namespace contactstore {

namespace {

std::mutex g_thumbnailMutex;
Person::ThumbnailMaker g_thumbnailMaker;

} // namespace

Person::Person() = default;

PersonRef Person::create()
{
    return std::make_shared<Person>();
}

PersonRef Person::createInSource(const SourceRef& source)
{
    auto person = create();
    person->m_source = source;
    return person;
}

PropertyType Person::propertyType(PropertyID property)
{
    switch (property) {
    case kPersonFirstNameProperty:
    case kPersonLastNameProperty:
    case kPersonMiddleNameProperty:
    case kPersonPrefixProperty:
    case kPersonSuffixProperty:
    case kPersonNicknameProperty:
    case kPersonFirstNamePhoneticProperty:
    case kPersonLastNamePhoneticProperty:
    case kPersonMiddleNamePhoneticProperty:
    case kPersonOrganizationProperty:
    case kPersonJobTitleProperty:
    case kPersonDepartmentProperty:
    case kPersonNoteProperty:
    case kPersonUIDProperty:
    case kPersonFormattedNameProperty:
        return PropertyType::String;
    case kPersonBirthdayProperty:
    case kPersonCreationDateProperty:
    case kPersonModificationDateProperty:
        return PropertyType::Date;
    case kPersonKindProperty:
        return PropertyType::Integer;
    case kPersonEmailProperty:
    case kPersonPhoneProperty:
    case kPersonRelatedNamesProperty:
    case kPersonURLProperty:
        return PropertyType::MultiString;
    case kPersonDateProperty:
        return PropertyType::MultiDate;
    case kPersonAddressProperty:
    case kPersonInstantMessageProperty:
        return PropertyType::MultiDictionary;
    default:
        return PropertyType::Invalid;
    }
}

PropertyType Person::typeOfProperty(PropertyID property) const
{
    return propertyType(property);
}

bool Person::isWritable(PropertyID property) const
{
    // A stored person's identifier is what other programs know it by: it cannot change.
    if (property == kPersonUIDProperty)
        return recordID() == kRecordInvalidID;
    return property != kPersonCreationDateProperty && property != kPersonModificationDateProperty;
}

void Person::didChangeValue(PropertyID property)
{
    if (PersonSearchKeys::isSearched(property)) {
        m_searchKeys.reset();
        m_searchKeysLoaded = false;
    }
    // A formatted name was written with the names as they were; once one of them changes
    // it no longer says this person's name.
    switch (property) {
    case kPersonFirstNameProperty:
    case kPersonLastNameProperty:
    case kPersonMiddleNameProperty:
    case kPersonPrefixProperty:
    case kPersonSuffixProperty:
        (void)removeValue(kPersonFormattedNameProperty);
        break;
    default:
        break;
    }
}

std::optional<std::string> Person::copyCompositeName() const
{
    std::string name = NameFormat::compositeName(*this);
    if (name.empty())
        return std::nullopt;
    return name;
}

bool Person::hasImageData() const
{
    return m_imageState != ImageState::None;
}

std::optional<std::string> Person::copyImageDataWithFormat(ImageFormat format) const
{
    switch (m_imageState) {
    case ImageState::None:
        return std::nullopt;
    case ImageState::Pending:
        if (!m_picture)
            return std::nullopt;
        return format == ImageFormat::Thumbnail ? m_picture->thumbnail : m_picture->image;
    case ImageState::Stored:
        if (!m_picture || !m_picture->stored)
            return std::nullopt;
        return m_picture->stored->readImage(recordID(), format);
    }
    return std::nullopt;
}

bool Person::setImageData(std::string data, Error* error)
{
    if (data.empty()) {
        reportError(error, ErrorCode::WrongValueType, "The picture has no data.");
        return false;
    }
    ThumbnailMaker maker;
    {
        std::lock_guard lock(g_thumbnailMutex);
        maker = g_thumbnailMaker;
    }
    std::optional<std::string> thumbnail;
    if (maker)
        thumbnail = maker(data);
    auto pending = std::make_unique<Picture>();
    pending->thumbnail = thumbnail && !thumbnail->empty() ? std::move(*thumbnail) : data;
    pending->image = std::move(data);
    m_picture = std::move(pending);
    m_imageState = ImageState::Pending;
    m_imageChanged = true;
    markChanged();
    return true;
}

bool Person::removeImageData(Error*)
{
    if (m_imageState == ImageState::None)
        return true;
    m_imageState = ImageState::None;
    m_picture.reset();
    m_imageChanged = true;
    markChanged();
    return true;
}

std::string_view Person::searchKeys() const
{
    if (m_searchKeysLoaded)
        return m_loadedSearchKeys;
    if (!m_searchKeys) {
        std::array<const std::string*, PersonSearchKeys::PhoneNumbers> texts {};
        for (std::size_t field = 0; field < texts.size(); ++field)
            texts[field] = stringValue(PersonSearchKeys::kTextProperties[field]);
        m_searchKeys = std::make_unique<std::string>(PersonSearchKeys::make(texts, multiValue(kPersonPhoneProperty)));
    }
    return *m_searchKeys;
}

void Person::setThumbnailMaker(ThumbnailMaker maker)
{
    std::lock_guard lock(g_thumbnailMutex);
    g_thumbnailMaker = std::move(maker);
}

} // namespace contactstore

#pragma once
// A person of the address book: names, organization, notes, dates, the multi-valued phone
// numbers, mail addresses, web addresses, dates, postal addresses, instant-message accounts
// and related names, a kind, and an optional picture kept in two forms (full size and
// thumbnail). Belongs to one source (account).

#include "platform/contactstore/Record.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace contactstore {

class Person final : public Record {
public:
    // A new empty person outside any address book (AddressBook::addRecord puts it in, the
    // next save gives it its identifier). Without a source it joins the book's local source.
    static PersonRef create();
    static PersonRef createInSource(const SourceRef& source);

    // Public for the store's contiguous storage; everyone else calls create().
    Person();

    RecordType recordType() const override { return kPersonType; }
    PropertyType typeOfProperty(PropertyID property) const override;
    std::optional<std::string> copyCompositeName() const override;

    // The type code of a person property; Invalid for an identifier persons do not have.
    static PropertyType propertyType(PropertyID property);

    // The account this person lives in; null for a new person not yet given one.
    SourceRef copySource() const { return m_source; }

    // Picture. Image data are the encoded bytes (PNG, JPEG); the thumbnail is made when the
    // picture is set (see setThumbnailMaker). Reading a saved picture goes to the file,
    // so a handle sees the picture as it is stored now, not as it was at the handle's start.
    bool hasImageData() const;
    std::optional<std::string> copyImageData() const { return copyImageDataWithFormat(ImageFormat::OriginalSize); }
    std::optional<std::string> copyImageDataWithFormat(ImageFormat format) const;
    // False with an error for empty data.
    [[nodiscard]] bool setImageData(std::string data, Error* error = nullptr);
    // Removing when there is no picture succeeds and changes nothing.
    [[nodiscard]] bool removeImageData(Error* error = nullptr);

    // Turns full image data into thumbnail data; none when it cannot (the full data then
    // serve as the thumbnail). The store has no image codec of its own, so the display sets
    // one; without one the thumbnail is the full image.
    using ThumbnailMaker = std::function<std::optional<std::string>(std::string_view imageData)>;
    static void setThumbnailMaker(ThumbnailMaker maker);

    // The person's search keys (PersonSearchKeys): as kept in the file, or folded afresh
    // from the values when one of them changed since.
    std::string_view searchKeys() const;

protected:
    bool isWritable(PropertyID property) const override;
    void didChangeValue(PropertyID property) override;

private:
    friend class AddressBook;
    friend class AddressBookDatabase;

    enum class ImageState : std::uint8_t { None, Stored, Pending };

    SourceRef m_source;
    // The small fields side by side: a big book holds hundreds of thousands of persons.
    ImageState m_imageState { ImageState::None };
    bool m_imageChanged { false };
    bool m_searchKeysLoaded { false };
    // The picture: set and not yet saved (its bytes), or saved (where it is read from, kept
    // so that it stays readable after the handle that loaded the person is gone). Most
    // persons have none, so it is held apart.
    struct Picture {
        std::string image;
        std::string thumbnail;
        std::shared_ptr<AddressBookDatabase> stored;
    };
    std::unique_ptr<Picture> m_picture;
    // The picture is in the file, read from there when asked for.
    void keepStoredPicture(std::shared_ptr<AddressBookDatabase> images)
    {
        m_imageState = ImageState::Stored;
        m_picture = std::make_unique<Picture>();
        m_picture->stored = std::move(images);
    }
    // Keys read with many persons at once sit in a text those persons share; the view is
    // given up when a searched value changes. Other keys are held here.
    void keepLoadedSearchKeys(std::string_view keys)
    {
        m_loadedSearchKeys = keys;
        m_searchKeysLoaded = true;
    }
    std::string_view m_loadedSearchKeys;
    // Keys made from the values, or read for this person alone; null until then, and again
    // after a searched value changes.
    mutable std::unique_ptr<std::string> m_searchKeys;
};

} // namespace contactstore

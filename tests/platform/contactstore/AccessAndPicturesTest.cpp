// Refused access, the asynchronous access answer, label display forms, and pictures.

#include "ContactStoreTestSupport.h"

#include "platform/contactstore/AccessControl.h"
#include "platform/contactstore/Group.h"
#include "platform/contactstore/Localization.h"
#include "platform/contactstore/NameFormat.h"
#include "platform/foundation/Device.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <future>
#include <thread>

using namespace contactstore;
using namespace contactstoretest;

namespace {

// Refuses access for the test's duration.
class RefusedAccess {
public:
    RefusedAccess() { AccessControl::setAccessRefused(true); }
    ~RefusedAccess() { AccessControl::setAccessRefused(false); }
};

} // namespace

TEST(AccessTest, ARefusedHandleShowsNothingAndWritesNothing)
{
    testsupport::TempDir folder;
    {
        auto book = openBook(folder.path());
        ASSERT_TRUE(book->addRecord(makePerson("Private")));
        ASSERT_TRUE(book->save());
    }
    RefusedAccess refused;
    EXPECT_EQ(AccessControl::authorizationStatus(), AuthorizationStatus::Denied);
    auto book = openBook(folder.path());
    ASSERT_TRUE(book);
    EXPECT_FALSE(book->isAccessGranted());
    EXPECT_EQ(book->personCount(), 0u);
    EXPECT_TRUE(book->copyArrayOfAllPeople().empty());
    EXPECT_TRUE(book->copyArrayOfAllSources().empty());
    EXPECT_FALSE(book->copyDefaultSource());

    Error error;
    EXPECT_FALSE(book->addRecord(makePerson("Sneaky"), &error));
    EXPECT_EQ(error.code, ErrorCode::AccessDenied);
    error = {};
    EXPECT_FALSE(book->addRecord(Group::create(), &error));
    EXPECT_EQ(error.code, ErrorCode::AccessDenied);
    error = {};
    EXPECT_FALSE(book->save(&error));
    EXPECT_EQ(error.code, ErrorCode::AccessDenied);

    testsupport::TempDir untouched;
    auto fresh = openBook(untouched.path());
    ASSERT_TRUE(fresh);
    EXPECT_FALSE(std::filesystem::exists(untouched / AddressBook::kDatabaseFileName)) << "a refused program creates no file";
}

TEST(AccessTest, TheAnswerArrivesOnceOnAnotherThread)
{
    for (bool refuse : { false, true }) {
        AccessControl::setAccessRefused(refuse);
        std::promise<std::tuple<bool, ErrorCode, std::thread::id>> answer;
        AccessControl::requestAccess([&answer](bool granted, const Error& error) {
            answer.set_value({ granted, error.code, std::this_thread::get_id() });
        });
        auto future = answer.get_future();
        ASSERT_EQ(future.wait_for(std::chrono::seconds(10)), std::future_status::ready);
        auto [granted, code, thread] = future.get();
        EXPECT_EQ(granted, !refuse);
        EXPECT_EQ(code, refuse ? ErrorCode::AccessDenied : ErrorCode::None);
        EXPECT_NE(thread, std::this_thread::get_id());
    }
    AccessControl::setAccessRefused(false);
}

TEST(LabelTest, StandardLabelsShowLocalizedTextsAndOthersShowThemselves)
{
    EXPECT_EQ(AddressBook::copyLocalizedLabel(kPersonPhoneMobileLabel), "mobile");
    EXPECT_EQ(AddressBook::copyLocalizedLabel(kPersonPhoneHomeFAXLabel), "home fax");
    EXPECT_EQ(AddressBook::copyLocalizedLabel("Boat phone"), "Boat phone");
    EXPECT_EQ(AddressBook::copyLocalizedLabel("_$!<Car>!$_"), "Car") << "another program's private form of a label";
    EXPECT_EQ(AddressBook::copyLocalizedLabel(std::nullopt), "");
    EXPECT_EQ(AddressBook::copyLocalizedLabel(""), "");

    Localization::setLookup([](std::string_view key) { return key == "LabelMobile" ? std::string("携帯") : std::string(); });
    EXPECT_EQ(AddressBook::copyLocalizedLabel(kPersonPhoneMobileLabel), "携帯");
    EXPECT_EQ(AddressBook::copyLocalizedLabel(kWorkLabel), "work") << "a key the table lacks falls back to English";
    EXPECT_EQ(Localization::localizedPropertyName(kPersonPhoneProperty), "Phone");
    Localization::setLookup(nullptr);
    EXPECT_EQ(AddressBook::copyLocalizedLabel(kPersonPhoneMobileLabel), "mobile");
    EXPECT_EQ(Localization::localizedPropertyName(12345), "");

    // The strings table of the device's language answers, here the test language of keys.
    foundation::Device::current().setLanguage("keys");
    EXPECT_EQ(AddressBook::copyLocalizedLabel(kPersonPhoneMobileLabel), "LabelMobile");
    EXPECT_EQ(Localization::localizedPropertyName(kPersonNoteProperty), "PropertyNote");
    EXPECT_EQ(AddressBook::copyLocalizedLabel("Boat phone"), "Boat phone");
    foundation::Device::current().setLanguage("ja");
    EXPECT_EQ(AddressBook::compositeNameFormat(), CompositeNameFormat::LastNameFirst) << "names follow the device's language";
    foundation::Device::current().setLanguage("en");
    EXPECT_EQ(AddressBook::compositeNameFormat(), CompositeNameFormat::FirstNameFirst);
}

TEST(PictureTest, APictureAndItsThumbnailAreSavedReadAndRemoved)
{
    testsupport::TempDir folder;
    Person::setThumbnailMaker([](std::string_view image) { return std::optional<std::string>("thumb:" + std::string(image.substr(0, 4))); });
    auto book = openBook(folder.path());
    auto person = makePerson("Pic");
    EXPECT_FALSE(person->hasImageData());
    EXPECT_TRUE(person->removeImageData()) << "removing no picture changes nothing";
    Error error;
    EXPECT_FALSE(person->setImageData("", &error));

    std::string png("\x89PNG\r\n\x1a\n", 8);
    png += std::string(100000, '\x00');
    ASSERT_TRUE(person->setImageData(png));
    EXPECT_EQ(person->copyImageData(), png);
    EXPECT_EQ(person->copyImageDataWithFormat(ImageFormat::Thumbnail), "thumb:\x89PNG");
    ASSERT_TRUE(book->addRecord(person));
    ASSERT_TRUE(book->save());
    Person::setThumbnailMaker(nullptr);

    auto reread = openBook(folder.path());
    auto stored = reread->personWithRecordID(person->recordID());
    ASSERT_TRUE(stored->hasImageData());
    EXPECT_EQ(stored->copyImageData(), png);
    EXPECT_EQ(stored->copyImageDataWithFormat(ImageFormat::Thumbnail), "thumb:\x89PNG");
    EXPECT_EQ(person->copyImageData(), png) << "the saving handle reads it back from the file";

    // The picture stays readable while the person is held, even once its handle is gone.
    reread.reset();
    EXPECT_EQ(stored->copyImageData(), png);

    // Without a thumbnail maker the full picture serves as the thumbnail.
    ASSERT_TRUE(person->setImageData("JPEGDATA"));
    EXPECT_EQ(person->copyImageDataWithFormat(ImageFormat::Thumbnail), "JPEGDATA");

    ASSERT_TRUE(person->removeImageData());
    ASSERT_TRUE(book->save());
    EXPECT_FALSE(openBook(folder.path())->personWithRecordID(person->recordID())->hasImageData());
    EXPECT_EQ(queryNumber(folder.path(), "SELECT count(*) FROM person_image"), 0);
}

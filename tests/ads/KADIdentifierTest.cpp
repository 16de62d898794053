// The hashed identifiers of the requests, and the installation identifier kept in the
// profile's keychain.

#include "ads/kestrel/KADIdentifier.h"
#include "platform/foundation/DataLocations.h"
#include "platform/foundation/Device.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <sys/stat.h>

namespace adstest {

TEST(KADIdentifier, Md5IsTheDigestOfTheUTF8Bytes)
{
    EXPECT_EQ(ads::KADIdentifier::md5(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(ads::KADIdentifier::md5("abc"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(ads::KADIdentifier::md5("日本"), "4dbed2e657457884e67137d3514119b3");
}

TEST(KADIdentifier, AdvertisingIdentifierIsSentOnlyWhereAllowed)
{
    struct Case {
        const char* version;
        bool tracking;
        const char* identifier;
        bool sent;
    };
    for (Case c : { Case { "7.0", true, "5B0E1C7A-2F43-4D9E-8A61-93C2D7E4B0F5", true },
                    Case { "6.0", true, "5B0E1C7A-2F43-4D9E-8A61-93C2D7E4B0F5", true },
                    Case { "5.1", true, "5B0E1C7A-2F43-4D9E-8A61-93C2D7E4B0F5", false },
                    Case { "7.0", false, "5B0E1C7A-2F43-4D9E-8A61-93C2D7E4B0F5", false },
                    Case { "7.0", true, "00000000-0000-0000-0000-000000000000", false },
                    Case { "7.0", true, "", false } }) {
        SCOPED_TRACE(std::string(c.version) + " " + c.identifier);
        auto& device = foundation::Device::current();
        device.reset();
        device.setSystemVersion(c.version);
        device.setAdvertisingTrackingEnabled(c.tracking);
        device.setAdvertisingIdentifier(c.identifier);
        EXPECT_EQ(ads::KADIdentifier::IDFAHashString(), c.sent ? ads::KADIdentifier::md5(c.identifier) : "");
    }
    foundation::Device::current().reset();
}

TEST(KADIdentifier, InstallationIdentifierIsMadeOnceAndKeptPrivate)
{
    testsupport::TempDir profile;
    foundation::DataLocations::setProfileDirectory(profile.path());
    auto first = ads::KADIdentifier::uniqueInstallationIdentifier();
    ASSERT_TRUE(first);
    EXPECT_TRUE(std::regex_match(*first, std::regex("[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}"))) << *first;
    EXPECT_EQ(ads::KADIdentifier::uniqueInstallationIdentifier(), first);
    EXPECT_EQ(ads::KADIdentifier::UIIDHashString(), ads::KADIdentifier::md5(*first));

    auto folder = foundation::DataLocations::keychainDirectory();
    struct stat info {};
    ASSERT_EQ(::stat(folder.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    int items = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        ++items;
        ASSERT_EQ(::stat(entry.path().c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0600u) << entry.path();
    }
    EXPECT_EQ(items, 1); // no temporary file left behind

    ads::KADIdentifier::resetUniqueInstallationIdentifier();
    auto second = ads::KADIdentifier::uniqueInstallationIdentifier();
    ASSERT_TRUE(second);
    EXPECT_NE(second, first);
}

TEST(KADIdentifier, WithoutAWritableKeychainThereIsNoIdentifier)
{
    testsupport::TempDir profile;
    // A file where the keychain folder should be.
    foundation::DataLocations::setProfileDirectory(profile.path());
    { std::FILE* blocker = std::fopen((profile.path() / "Keychain").c_str(), "w"); std::fclose(blocker); }
    EXPECT_FALSE(ads::KADIdentifier::uniqueInstallationIdentifier());
    EXPECT_EQ(ads::KADIdentifier::UIIDHashString(), "");
}

} // namespace adstest

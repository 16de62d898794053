// The shared object's answers other than the catalogue: colours, dates, numbers, accounts,
// the device, and the handle it keeps.

#include "AppFixture.h"

#include "addressbook/SharedAddressBook.h"
#include "app/Utility.h"
#include "platform/contactstore/AccessControl.h"
#include "platform/contactstore/AddressBook.h"
#include "platform/foundation/Device.h"

#include <chrono>

using tessaro::Utility;

namespace apptest {
namespace {

using UtilityTest = AppFixture;

TEST(PaletteTest, IndexesOutsideThePaletteGiveNoColourAndEveryOtherIsOpaque)
{
    EXPECT_FALSE(Utility::getGroupColorwithIndex(-1));
    EXPECT_FALSE(Utility::getGroupColorwithIndex(45));
    EXPECT_FALSE(Utility::getGroupColorwithIndex(-2147483647 - 1));
    for (int index = 0; index < Utility::kPaletteSize; ++index) {
        auto colour = Utility::getGroupColorwithIndex(index);
        ASSERT_TRUE(colour) << index;
        EXPECT_EQ(colour->alpha, 1.0) << index;
    }
}

TEST(PaletteTest, TableColoursAreDividedBy255AndTheLastFourAreGivenAsFractions)
{
    EXPECT_EQ(*Utility::getGroupColorwithIndex(0), ui::Color::rgb(207 / 255.0, 92 / 255.0, 92 / 255.0));
    EXPECT_EQ(*Utility::getGroupColorwithIndex(25), ui::Color::rgb(44 / 255.0, 54 / 255.0, 163 / 255.0));
    EXPECT_EQ(*Utility::getGroupColorwithIndex(40), ui::Color::rgb(163 / 255.0, 35 / 255.0, 35 / 255.0));
    EXPECT_EQ(*Utility::getGroupColorwithIndex(41), ui::Color::rgb(1, 0, 0));
    EXPECT_EQ(*Utility::getGroupColorwithIndex(42), ui::Color::rgb(1, 0.5, 0));
    EXPECT_EQ(*Utility::getGroupColorwithIndex(43), ui::Color::rgb(0, 0, 1));
    EXPECT_EQ(*Utility::getGroupColorwithIndex(44), ui::Color::rgb(0.1, 0.1, 0.1));
}

TEST(CleanPhoneNumberTest, OnlyBlanksHyphensAndParenthesesGo)
{
    EXPECT_EQ(Utility::cleanPhoneNumber("+1 (555) 123-4567"), "+15551234567");
    EXPECT_EQ(Utility::cleanPhoneNumber("*123#"), "*123#");
    EXPECT_EQ(Utility::cleanPhoneNumber("03-1234-5678 ext.9"), "0312345678ext.9");
    EXPECT_EQ(Utility::cleanPhoneNumber(" ( - ) "), "");
    EXPECT_EQ(Utility::cleanPhoneNumber("０３\t1"), "０３\t1");
}

TEST_F(UtilityTest, AccountKindsDecideBetweenExchangeOnlyMixedAndOther)
{
    using namespace contactstore;
    struct Case {
        std::vector<SourceType> kinds;
        int expected;
    };
    for (const auto& c : std::vector<Case> {
             { { kSourceTypeLocal }, 1 },
             { { kSourceTypeExchange }, 0 },
             { { kSourceTypeLocal, kSourceTypeExchange }, 2 },
             { { kSourceTypeExchange, kSourceTypeCardDAVSearch }, 0 },
             { { kSourceTypeExchange, kSourceTypeMobileMe }, 2 },
             { { kSourceTypeExchange, kSourceTypeLDAP }, 2 },
             { { kSourceTypeCardDAV }, 1 },
             { { kSourceTypeExchangeGAL }, 1 },
         }) {
        setAccountKinds(c.kinds);
        EXPECT_EQ(Utility::sharedUtility().getAddressBookSourceType(), c.expected) << c.kinds.size() << " accounts, first " << c.kinds[0];
    }
}

TEST_F(UtilityTest, AccountKindsAreLoggedByNumberAndName)
{
    using namespace contactstore;
    setAccountKinds({ kSourceTypeExchange, kSourceTypeExchangeGAL });
    log.clear();
    (void)Utility::sharedUtility().getAddressBookSourceType();
    EXPECT_EQ(log.takeLines(), (std::vector<std::string> { "...sourceType : 1", "kABSourceTypeExchange",
                                                            "...sourceType : 16777217" }));
}

TEST_F(UtilityTest, NoReadableAccountCountsAsNoExchange)
{
    contactstore::AccessControl::setAccessRefused(true);
    reopenAddressBook();
    EXPECT_EQ(Utility::sharedUtility().getAddressBookSourceType(), 1);
    Utility::sharedUtility().setAddressBook(nullptr);
    EXPECT_EQ(Utility::sharedUtility().getAddressBookSourceType(), 1);
}

TEST_F(UtilityTest, ResetObjectReplacesTheHandleSoChangesSavedElsewhereAreSeen)
{
    auto& utility = Utility::sharedUtility();
    auto before = utility.addressBook();
    ASSERT_TRUE(before);
    EXPECT_EQ(before, tessaro::SharedAddressBook::get());

    auto added = addGroupOutside("Friends");
    EXPECT_FALSE(before->groupWithRecordID(added));
    log.clear();
    utility.resetObject();
    EXPECT_TRUE(log.contains("_addressBook release"));
    ASSERT_NE(utility.addressBook(), before);
    EXPECT_TRUE(utility.addressBook()->groupWithRecordID(added));

    // Without a handle there is nothing to release, and a new one is still made.
    utility.setAddressBook(nullptr);
    log.clear();
    utility.resetObject();
    EXPECT_FALSE(log.contains("_addressBook release"));
    EXPECT_TRUE(utility.addressBook());
}

TEST_F(UtilityTest, ShortDateFollowsTheLanguagesPatternInTheDevicesZone)
{
    auto& device = foundation::Device::current();
    device.setTimeZone("UTC");
    using namespace std::chrono;
    auto afternoon = sys_days { year { 2024 } / 3 / 5 } + hours { 14 } + minutes { 7 };
    auto& utility = Utility::sharedUtility();

    EXPECT_EQ(utility.getMMDDHHMM(afternoon), "3/5 2:07 PM");
    device.setLanguage("ja");
    EXPECT_EQ(utility.getMMDDHHMM(afternoon), "3/5 14:07");
    device.setTimeZone("Asia/Tokyo");
    EXPECT_EQ(utility.getMMDDHHMM(afternoon), "3/5 23:07");
    EXPECT_EQ(utility.getMMDDHHMM(std::nullopt), "");
}

TEST_F(UtilityTest, DeviceChecksFollowModelScreenAndSystem)
{
    auto& device = foundation::Device::current();
    EXPECT_FALSE(Utility::isiTouch());
    EXPECT_TRUE(Utility::isiPhone5());
    EXPECT_EQ(Utility::iPhone4to5SubSize(), 88);
    EXPECT_TRUE(Utility::isIOS7());
    EXPECT_EQ(Utility::getStatusBarHeight(), 20.0);

    device.setModel("iPod touch");
    EXPECT_TRUE(Utility::isiTouch());
    device.setModel("iPod Touch");
    EXPECT_FALSE(Utility::isiTouch());
    device.setModel("");
    EXPECT_FALSE(Utility::isiTouch());

    device.setScreen(320, 480, 2.0);
    EXPECT_FALSE(Utility::isiPhone5());
    EXPECT_EQ(Utility::iPhone4to5SubSize(), 0);
    // Same points at a lower density is not the 640 × 1136 display.
    device.setScreen(320, 568, 1.0);
    EXPECT_FALSE(Utility::isiPhone5());

    device.setSystemVersion("6.1");
    EXPECT_FALSE(Utility::isIOS7());
    EXPECT_EQ(Utility::getStatusBarHeight(), 0.0);
    device.setSystemVersion("8.0");
    EXPECT_TRUE(Utility::isIOS7());
}

} // namespace
} // namespace apptest

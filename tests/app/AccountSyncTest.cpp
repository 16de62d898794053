// The application syncs its CardDAV accounts at start and on each return to the foreground,
// behind the busy overlay, against a real Radicale on 127.0.0.1; a server that cannot be
// reached is told in an alert and the book on the device stays as it was.

#include "AppFixture.h"
#include "RootSpies.h"

#include "app/TessaroAppDelegate.h"
#include "app/Utility.h"
#include "platform/automation/Driver.h"
#include "platform/contactstore/Person.h"
#include "platform/contactstore/Source.h"
#include "platform/contactstore/carddav/CardDavAccounts.h"
#include "platform/foundation/Device.h"
#include "support/JsonTree.h"
#include "support/RadicaleServer.h"

#include <chrono>
#include <thread>

namespace apptest {
namespace {

using json = nlohmann::json;
using namespace contactstore;
using testsupport::findNode;
using testsupport::RadicaleServer;

std::string card(const std::string& uid, const std::string& first)
{
    return "BEGIN:VCARD\r\n"
           "VERSION:3.0\r\n"
           "UID:" + uid + "\r\n"
           "N:Card;" + first + ";;;\r\n"
           "FN:" + first + " Card\r\n"
           "END:VCARD\r\n";
}

class AccountSyncTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        std::string missing = RadicaleServer::unavailableReason();
        if (!missing.empty())
            GTEST_SKIP() << missing;
        foundation::Device::current().setLanguage("keys");
        server = std::make_unique<RadicaleServer>();
        ASSERT_TRUE(server->isRunning()) << server->startError();
        bookUrl = server->addUserWithAddressBook("ann", "secret");
    }
    void TearDown() override
    {
        driver.reset();
        delegate.reset();
        AppFixture::TearDown();
    }

    void addAccount()
    {
        std::string name;
        std::vector<carddav::AddressBookCollection> collections;
        auto failure = carddav::CardDavAccounts::add({ server->origin(), "ann", "secret", "ann", false, {} }, name, collections);
        ASSERT_FALSE(failure) << failure.message;
    }

    void launch()
    {
        delegate = std::make_unique<tessaro::TessaroAppDelegate>(spies.make());
        ASSERT_TRUE(delegate->didFinishLaunchingWithOptions());
        driver = std::make_unique<tessaro::Driver>(delegate->window());
        driver->setForegroundHandler([this] { delegate->applicationWillEnterForeground(); });
    }

    json run(const json& command) { return driver->execute(command); }
    bool showing(const char* field, const char* value) { return findNode(run({ { "cmd", "dump" } })["tree"], field, value).has_value(); }

    // The sync answers from its own thread; the loop turns (time moving on for the reload's
    // overlay) until the busy overlay has gone.
    bool settled()
    {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (std::chrono::steady_clock::now() < deadline) {
            run({ { "cmd", "advance" }, { "seconds", 0.1 } });
            if (!showing("type", "WaitView"))
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return false;
    }

    static PersonRef named(const std::string& first)
    {
        for (const PersonRef& person : tessaro::Utility::sharedUtility().addressBook()->copyArrayOfAllPeople()) {
            if (person->copyString(kPersonFirstNameProperty) == first)
                return person;
        }
        return nullptr;
    }

    SpyScreens spies;
    std::unique_ptr<RadicaleServer> server;
    std::string bookUrl;
    std::unique_ptr<tessaro::TessaroAppDelegate> delegate;
    std::unique_ptr<tessaro::Driver> driver;
};

TEST_F(AccountSyncTest, ChangesOnEitherSideArriveAtStartAndOnReturnAndAnUnreachableServerIsTold)
{
    server->request("PUT", bookUrl + "ada.vcf", "ann", "secret", card("urn:uuid:ada", "Ada"));
    addAccount();

    launch();
    EXPECT_TRUE(showing("type", "WaitView"));
    ASSERT_TRUE(settled());
    ASSERT_TRUE(named("Ada"));
    EXPECT_FALSE(showing("type", "AlertView"));

    // A person made in the application, in the account, and a card made by another client.
    auto book = tessaro::Utility::sharedUtility().addressBook();
    SourceRef account = named("Ada")->copySource();
    ASSERT_EQ(account->sourceType(), kSourceTypeCardDAV);
    PersonRef cy = Person::createInSource(account);
    ASSERT_TRUE(cy->setValue(kPersonFirstNameProperty, std::string("Cy")));
    ASSERT_TRUE(book->addRecord(cy) && book->save());
    server->request("PUT", bookUrl + "bo.vcf", "ann", "secret", card("urn:uuid:bo", "Bo"));

    run({ { "cmd", "foreground" } });
    ASSERT_TRUE(settled());
    EXPECT_TRUE(named("Bo"));
    std::string cyUid = named("Cy")->copyString(kPersonUIDProperty).value_or("?");
    auto listing = server->request("PROPFIND", bookUrl, "ann", "secret", {}, "application/xml");
    EXPECT_EQ(listing.status, 207);
    auto onServer = server->request("GET", bookUrl + cyUid.substr(9) + ".vcf", "ann", "secret");
    EXPECT_EQ(onServer.status, 200) << listing.body;
    EXPECT_NE(onServer.body.find("FN:Cy"), std::string::npos);

    server->stop();
    run({ { "cmd", "foreground" } });
    ASSERT_TRUE(settled());
    EXPECT_TRUE(showing("text", "SyncUnreachableTitle"));
    EXPECT_TRUE(named("Ada") && named("Bo") && named("Cy"));
}

} // namespace
} // namespace apptest

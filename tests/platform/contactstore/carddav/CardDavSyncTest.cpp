// Two-way sync against a real Radicale server on 127.0.0.1: the first sync both ways, edits
// and deletions on each side, group membership, a conflict merged field by field, a sync
// killed half-way, a server that fails, refuses the password or is gone, and TLS.

#include "platform/contactstore/Group.h"
#include "platform/contactstore/Person.h"
#include "platform/contactstore/Source.h"
#include "platform/contactstore/carddav/CardDavAccounts.h"
#include "platform/contactstore/carddav/CardDavClient.h"
#include "platform/contactstore/carddav/HttpClient.h"
#include "platform/contactstore/vcard/CardReader.h"
#include "platform/contactstore/vcard/PersonCardMapping.h"
#include "platform/foundation/DataLocations.h"
#include "platform/foundation/Keychain.h"
#include "platform/foundation/Log.h"
#include "support/RadicaleServer.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <arpa/inet.h>
#include <atomic>
#include <map>
#include <netinet/in.h>
#include <set>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace contactstore;
using namespace contactstore::carddav;
using testsupport::RadicaleServer;

std::string uuid(char tag)
{
    return std::string("urn:uuid:00000000-0000-4000-8000-00000000000") + tag;
}

std::string card(const std::string& uid, const std::string& first, const std::string& last,
                 const std::string& extra = {})
{
    return "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:" + uid + "\r\nN:" + last + ";" + first + ";;;\r\nFN:" + first + " " + last
        + "\r\n" + extra + "END:VCARD\r\n";
}

std::string groupCardV4(const std::string& uid, const std::string& name, const std::vector<std::string>& members)
{
    std::string text = "BEGIN:VCARD\r\nVERSION:4.0\r\nKIND:group\r\nUID:" + uid + "\r\nFN:" + name + "\r\n";
    for (const std::string& member : members)
        text += "MEMBER:" + member + "\r\n";
    return text + "END:VCARD\r\n";
}

std::vector<std::string> phonesOf(const Person& person)
{
    std::vector<std::string> phones;
    if (const MultiValue* multi = person.multiValue(kPersonPhoneProperty)) {
        for (const MultiValueEntry& entry : multi->entries())
            phones.push_back(std::get<std::string>(entry.value));
    }
    std::sort(phones.begin(), phones.end());
    return phones;
}

void setPhones(Person& person, const std::vector<std::string>& phones)
{
    MultiValue multi(PropertyType::MultiString);
    for (const std::string& phone : phones)
        ASSERT_TRUE(multi.addValueAndLabel(phone, std::string(kPersonPhoneMobileLabel)));
    ASSERT_TRUE(person.setValue(kPersonPhoneProperty, multi));
}

class CardDavSyncTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string missing = RadicaleServer::unavailableReason();
        if (!missing.empty())
            GTEST_SKIP() << missing;
        m_server = std::make_unique<RadicaleServer>(transport());
        ASSERT_TRUE(m_server->isRunning()) << m_server->startError();
        m_previousProfile = foundation::DataLocations::profileDirectory();
        foundation::DataLocations::setProfileDirectory(m_profile.path());
        m_bookUrl = m_server->addUserWithAddressBook(m_user, m_password);
    }

    void TearDown() override
    {
        if (!m_previousProfile.empty())
            foundation::DataLocations::setProfileDirectory(m_previousProfile);
    }

    virtual RadicaleServer::Transport transport() const { return RadicaleServer::Transport::PlainHttp; }

    void addAccount(const std::string& certificate = {})
    {
        NewAccount account { m_server->origin(), m_user, m_password, "work", false, certificate };
        std::vector<AddressBookCollection> collections;
        SyncFailure failure = CardDavAccounts::add(account, m_account, collections);
        ASSERT_FALSE(failure) << failure.message;
        ASSERT_EQ(collections.size(), 1u);
        EXPECT_EQ(collections.front().url, m_bookUrl);
    }

    AccountReport sync()
    {
        std::vector<AccountReport> reports = CardDavAccounts::sync(m_account);
        EXPECT_EQ(reports.size(), 1u);
        return reports.empty() ? AccountReport {} : reports.front();
    }

    CollectionReport syncOk()
    {
        AccountReport report = sync();
        EXPECT_FALSE(report.failure) << report.failure.message;
        return report.collections.empty() ? CollectionReport {} : report.collections.front();
    }

    void put(const std::string& file, const std::string& text)
    {
        auto answer = m_server->request("PUT", m_bookUrl + file, m_user, m_password, text);
        ASSERT_TRUE(answer.status == 201 || answer.status == 204) << answer.status << " " << answer.body;
    }

    void remove(const std::string& file)
    {
        EXPECT_EQ(m_server->request("DELETE", m_bookUrl + file, m_user, m_password).status, 200);
    }

    // Every card on the server, by UID, as another client reads them.
    std::map<std::string, vcard::Card> serverCards()
    {
        HttpClient http(m_user, m_password, policy());
        CardDavClient client(http);
        std::vector<CardVersion> listed;
        std::string token;
        EXPECT_FALSE(client.listCards(m_bookUrl, listed, token));
        std::vector<std::string> urls;
        for (const CardVersion& version : listed)
            urls.push_back(version.url);
        std::map<std::string, vcard::Card> cards;
        EXPECT_FALSE(client.fetchCards(m_bookUrl, urls, 100, [&](std::vector<RemoteCard>& batch) {
            for (const RemoteCard& remote : batch) {
                auto read = vcard::CardReader().read(remote.data);
                EXPECT_EQ(read.cards.size(), 1u) << remote.data;
                if (!read.cards.empty())
                    cards[read.cards.front().uid] = read.cards.front();
            }
        }));
        return cards;
    }

    virtual TransportPolicy policy() const { return {}; }

    AddressBookRef book()
    {
        Error error;
        AddressBookRef opened = AddressBook::create(&error);
        EXPECT_TRUE(opened) << error.description;
        return opened;
    }

    static SourceRef accountSource(const AddressBookRef& opened)
    {
        for (const SourceRef& source : opened->copyArrayOfAllSources()) {
            if (source->sourceType() == kSourceTypeCardDAV)
                return source;
        }
        return nullptr;
    }

    static PersonRef named(const AddressBookRef& opened, const std::string& first)
    {
        for (const PersonRef& person : opened->copyArrayOfAllPeopleInSource(accountSource(opened))) {
            if (person->copyString(kPersonFirstNameProperty) == first)
                return person;
        }
        return nullptr;
    }

    static GroupRef groupNamed(const AddressBookRef& opened, const std::string& name)
    {
        for (const GroupRef& group : opened->copyArrayOfAllGroupsInSource(accountSource(opened))) {
            if (group->copyString(kGroupNameProperty) == name)
                return group;
        }
        return nullptr;
    }

    static std::set<std::string> memberNames(const GroupRef& group)
    {
        std::set<std::string> names;
        for (const PersonRef& member : group->copyArrayOfAllMembers())
            names.insert(member->copyString(kPersonFirstNameProperty).value_or("?"));
        return names;
    }

    void runSql(const std::string& sql)
    {
        sqlite3* connection = nullptr;
        ASSERT_EQ(sqlite3_open((m_profile.path() / "AddressBook" / SyncState::kFileName).c_str(), &connection), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(connection, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(connection);
        sqlite3_close(connection);
    }

    testsupport::TempDir m_profile;
    std::filesystem::path m_previousProfile;
    std::unique_ptr<RadicaleServer> m_server;
    std::string m_user { "ada" };
    std::string m_password { "correct horse" };
    std::string m_bookUrl;
    std::string m_account;
};

// With the server's sync-collection, and by comparing every ETag where a server has none.
class CardDavRoundTripTest : public CardDavSyncTest, public ::testing::WithParamInterface<bool> {
};

TEST_P(CardDavRoundTripTest, ChangesDeletionsAndGroupsTravelBothWaysAndSettle)
{
    put("ada.vcf", card(uuid('a'), "Ada", "Lovelace", "TEL;TYPE=CELL:111\r\n"));
    // Bob's card carries what the device cannot hold: another client's X- line (with a
    // parameter that must be quoted) and a property the device does not know.
    put("bob.vcf", card(uuid('b'), "Bob", "Babbage",
                        "TEL;TYPE=CELL:222\r\nX-SOCIALPROFILE;TYPE=mastodon;X-HOME=\"a:b\":https://social.example/@bob\r\n"
                        "EXPERTISE;LEVEL=expert:difference engines\r\n"));
    put("dan.vcf", card(uuid('d'), "Dan", "Dijkstra"));
    put("team.vcf", groupCardV4(uuid('t'), "Team", { uuid('a') }));
    addAccount();
    if (!GetParam())
        runSql("UPDATE collection SET offers_sync = 0;");

    // Made on the device before the first sync: a person and a group of the account.
    {
        AddressBookRef local = book();
        PersonRef cyd = Person::createInSource(accountSource(local));
        ASSERT_TRUE(cyd->setValue(kPersonFirstNameProperty, std::string("Cyd")));
        ASSERT_TRUE(local->addRecord(cyd));
        GroupRef friends = Group::createInSource(accountSource(local));
        ASSERT_TRUE(friends->setValue(kGroupNameProperty, std::string("Friends")));
        ASSERT_TRUE(local->addRecord(friends));
        ASSERT_TRUE(local->save());
        ASSERT_TRUE(friends->addMember(cyd));
        ASSERT_TRUE(local->save());
    }

    CollectionReport first = syncOk();
    EXPECT_EQ(first.received, 4u);
    EXPECT_EQ(first.sent, 2u);
    AddressBookRef local = book();
    ASSERT_TRUE(named(local, "Ada") && named(local, "Bob") && named(local, "Cyd") && named(local, "Dan"));
    EXPECT_EQ(phonesOf(*named(local, "Ada")), std::vector<std::string> { "111" });
    ASSERT_TRUE(groupNamed(local, "Team"));
    EXPECT_EQ(memberNames(groupNamed(local, "Team")), std::set<std::string> { "Ada" });
    std::string cydUid = named(local, "Cyd")->copyString(kPersonUIDProperty).value_or("");
    auto remote = serverCards();
    ASSERT_EQ(remote.size(), 6u);
    ASSERT_TRUE(remote.count(cydUid));
    auto friendsCard = std::find_if(remote.begin(), remote.end(), [](const auto& entry) { return entry.second.formattedName == "Friends"; });
    ASSERT_NE(friendsCard, remote.end());
    EXPECT_EQ(friendsCard->second.kind, vcard::Card::Kind::Group);
    EXPECT_EQ(friendsCard->second.members, std::vector<std::string> { cydUid });

    // An edit and a deletion on each side, and a member joins on the server.
    put("ada.vcf", card(uuid('a'), "Ada", "Lovelace", "TEL;TYPE=CELL:111\r\nNOTE:Analytical engine\r\n"));
    put("team.vcf", groupCardV4(uuid('t'), "Team", { uuid('a'), uuid('b') }));
    remove("dan.vcf");
    setPhones(*named(local, "Bob"), { "333" });
    ASSERT_TRUE(local->removeRecord(named(local, "Cyd")));
    ASSERT_TRUE(local->save());

    CollectionReport second = syncOk();
    EXPECT_EQ(second.deletedHere, 1u);
    EXPECT_EQ(second.deletedThere, 1u);
    local = book();
    EXPECT_EQ(named(local, "Ada")->copyString(kPersonNoteProperty), "Analytical engine");
    EXPECT_FALSE(named(local, "Dan"));
    EXPECT_EQ(memberNames(groupNamed(local, "Team")), (std::set<std::string> { "Ada", "Bob" }));
    remote = serverCards();
    EXPECT_EQ(remote.size(), 4u);
    EXPECT_FALSE(remote.count(cydUid));
    ASSERT_TRUE(remote.count(uuid('b')));
    EXPECT_EQ(remote[uuid('b')].phones.size(), 1u);
    EXPECT_EQ(remote[uuid('b')].phones.front().value, "333");
    // The device's edit replaced only what it holds: the rest of Bob's card is still there.
    std::string bobsOthers;
    for (const std::string& line : remote[uuid('b')].otherProperties)
        bobsOthers += line + "\n";
    EXPECT_NE(bobsOthers.find("X-SOCIALPROFILE"), std::string::npos) << bobsOthers;
    EXPECT_NE(bobsOthers.find("https://social.example/@bob"), std::string::npos) << bobsOthers;
    EXPECT_NE(bobsOthers.find("\"a:b\""), std::string::npos) << bobsOthers;
    EXPECT_NE(bobsOthers.find("EXPERTISE;LEVEL=expert:difference engines"), std::string::npos) << bobsOthers;
    EXPECT_EQ(bobsOthers.find("222"), std::string::npos) << bobsOthers;
    friendsCard = std::find_if(remote.begin(), remote.end(), [](const auto& entry) { return entry.second.formattedName == "Friends"; });
    ASSERT_NE(friendsCard, remote.end());
    EXPECT_TRUE(friendsCard->second.members.empty());

    // Nothing left to do: no card goes back and forth.
    CollectionReport third = syncOk();
    EXPECT_EQ(third.received + third.sent + third.deletedHere + third.deletedThere, 0u);
}

INSTANTIATE_TEST_SUITE_P(ChangeDetection, CardDavRoundTripTest, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "SyncCollection" : "EtagComparison"; });

TEST_F(CardDavSyncTest, AGroupNamesABareUidAsAUrnBothWaysAndKeepsItsOtherMembersOnUpload)
{
    put("eve.vcf", card("eve-bare", "Eve", "Everest"));
    put("fay.vcf", card("urn:uuid:fay", "Fay", "Fuji"));
    // Gus is in the group but not in this address book: the device must not drop him.
    put("club.vcf", groupCardV4("club", "Club", { "urn:uuid:eve-bare", "urn:uuid:fay", "urn:uuid:gus-elsewhere" }));
    addAccount();
    syncOk();
    {
        AddressBookRef local = book();
        ASSERT_TRUE(groupNamed(local, "Club"));
        EXPECT_EQ(memberNames(groupNamed(local, "Club")), (std::set<std::string> { "Eve", "Fay" }));
        ASSERT_TRUE(groupNamed(local, "Club")->removeMember(named(local, "Fay")));
        ASSERT_TRUE(local->save());
    }
    syncOk();
    auto remote = serverCards();
    auto club = std::find_if(remote.begin(), remote.end(), [](const auto& entry) { return entry.second.formattedName == "Club"; });
    ASSERT_NE(club, remote.end());
    std::vector<std::string> members = club->second.members;
    std::sort(members.begin(), members.end());
    EXPECT_EQ(members, (std::vector<std::string> { "urn:uuid:eve-bare", "urn:uuid:gus-elsewhere" }));
}

TEST_F(CardDavSyncTest, CardChangedOnBothSidesIsMergedFieldByField)
{
    put("eve.vcf", card(uuid('e'), "Eve", "Example", "TITLE:Engineer\r\nTEL;TYPE=CELL:100\r\nNOTE:old\r\n"));
    addAccount();
    syncOk();

    AddressBookRef local = book();
    PersonRef eve = named(local, "Eve");
    ASSERT_TRUE(eve);
    setPhones(*eve, { "100", "200" });
    ASSERT_TRUE(eve->setValue(kPersonJobTitleProperty, std::string("Lead")));
    ASSERT_TRUE(eve->setValue(kPersonOrganizationProperty, std::string("Local Org")));
    ASSERT_TRUE(local->save());
    put("eve.vcf", card(uuid('e'), "Eve", "Example", "TITLE:Manager\r\nTEL;TYPE=CELL:100\r\nTEL;TYPE=CELL:300\r\nNOTE:new\r\n"));

    foundation::LogCapture log;
    CollectionReport merged = syncOk();
    EXPECT_EQ(merged.merged, 1u);
    bool told = false;
    for (const std::string& line : log.lines())
        told = told || line.find("job title: both sides changed it; kept the server's \"Manager\"") != std::string::npos;
    EXPECT_TRUE(told);

    auto expectMerged = [](const vcard::Card& result) {
        std::vector<std::string> phones;
        for (const auto& phone : result.phones)
            phones.push_back(phone.value);
        std::sort(phones.begin(), phones.end());
        EXPECT_EQ(phones, (std::vector<std::string> { "100", "200", "300" }));
        EXPECT_EQ(result.jobTitle, "Manager");
        EXPECT_EQ(result.note, "new");
        EXPECT_EQ(result.organization, "Local Org");
    };
    local = book();
    expectMerged(vcard::PersonCardMapping::cardFromPerson(*named(local, "Eve")));
    auto remote = serverCards();
    ASSERT_TRUE(remote.count(uuid('e')));
    expectMerged(remote[uuid('e')]);

    CollectionReport settled = syncOk();
    EXPECT_EQ(settled.received + settled.sent, 0u);
}

// A server that answers every request with 500, or drops every connection unanswered.
class FaultyServer {
public:
    explicit FaultyServer(bool answers500)
    {
        m_socket = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(m_socket, 8);
        ::getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length);
        m_origin = "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port));
        m_thread = std::thread([this, answers500] {
            for (;;) {
                int connection = ::accept(m_socket, nullptr, nullptr);
                if (connection < 0 || m_stopping)
                    break;
                if (answers500) {
                    char buffer[65536];
                    (void)::recv(connection, buffer, sizeof buffer, 0);
                    std::string answer = "HTTP/1.1 500 Internal Server Error\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
                    (void)::send(connection, answer.data(), answer.size(), MSG_NOSIGNAL);
                }
                ::close(connection);
            }
        });
    }
    ~FaultyServer()
    {
        m_stopping = true;
        ::shutdown(m_socket, SHUT_RDWR);
        ::close(m_socket);
        m_thread.join();
    }
    const std::string& origin() const { return m_origin; }

private:
    int m_socket { -1 };
    std::atomic<bool> m_stopping { false };
    std::string m_origin;
    std::thread m_thread;
};

TEST_F(CardDavSyncTest, AFailingServerChangesNothingAndTheNextSyncFinishes)
{
    enum class Fault { WrongPassword, ServerGone, Answers500, DropsConnection };
    struct Case {
        Fault fault;
        SyncFailure::Kind kind;
        const char* name;
    };
    const Case cases[] = {
        { Fault::WrongPassword, SyncFailure::Kind::Unauthorized, "wrong password" },
        { Fault::ServerGone, SyncFailure::Kind::Unreachable, "server gone" },
        { Fault::Answers500, SyncFailure::Kind::ServerError, "answers 500" },
        { Fault::DropsConnection, SyncFailure::Kind::Unreachable, "drops the connection" },
    };
    put("ada.vcf", card(uuid('a'), "Ada", "Lovelace"));
    addAccount();
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        std::unique_ptr<FaultyServer> faulty;
        switch (test.fault) {
        case Fault::WrongPassword:
            foundation::Keychain::deleteGenericPassword(CardDavAccounts::kKeychainService, m_account);
            ASSERT_TRUE(foundation::Keychain::addGenericPassword(CardDavAccounts::kKeychainService, m_account, "wrong"));
            break;
        case Fault::ServerGone:
            m_server->stop();
            break;
        case Fault::Answers500:
        case Fault::DropsConnection:
            faulty = std::make_unique<FaultyServer>(test.fault == Fault::Answers500);
            runSql("UPDATE collection SET url = '" + faulty->origin() + "/ada/contacts/';");
            break;
        }
        AccountReport failed = sync();
        EXPECT_EQ(failed.failure.kind, test.kind) << failed.failure.message;
        EXPECT_FALSE(failed.failure.message.empty());
        EXPECT_EQ(book()->personCount(), 0u);

        switch (test.fault) {
        case Fault::WrongPassword:
            foundation::Keychain::deleteGenericPassword(CardDavAccounts::kKeychainService, m_account);
            ASSERT_TRUE(foundation::Keychain::addGenericPassword(CardDavAccounts::kKeychainService, m_account, m_password));
            break;
        case Fault::ServerGone:
            ASSERT_TRUE(m_server->start());
            break;
        default:
            runSql("UPDATE collection SET url = '" + m_bookUrl + "';");
        }
    }
    CollectionReport recovered = syncOk();
    EXPECT_EQ(recovered.received, 1u);
    EXPECT_TRUE(named(book(), "Ada"));
}

TEST_F(CardDavSyncTest, ASyncKilledHalfWayIsFinishedByTheNextWithoutDoubles)
{
    constexpr int kServerCards = 30;
    constexpr int kLocalPersons = 20;
    CollectionSync::setBatchSizeForTesting(8);
    // Stopped after the first batch taken from the server (of four), and after the first sent.
    for (int killAtBatch : { 1, 5 }) {
        SCOPED_TRACE("killed after batch " + std::to_string(killAtBatch));
        std::string user = "kill" + std::to_string(killAtBatch);
        m_bookUrl = m_server->addUserWithAddressBook(user, m_password);
        m_user = user;
        std::string seed;
        for (int i = 0; i < kServerCards; ++i)
            seed += card("urn:uuid:seed-" + std::to_string(i), "Server" + std::to_string(i), "Card");
        auto seeded = m_server->request("PUT", m_bookUrl, m_user, m_password, seed);
        ASSERT_EQ(seeded.status, 201) << seeded.body;
        testsupport::TempDir profile;
        foundation::DataLocations::setProfileDirectory(profile.path());
        addAccount();
        {
            AddressBookRef local = book();
            for (int i = 0; i < kLocalPersons; ++i) {
                PersonRef person = Person::createInSource(accountSource(local));
                ASSERT_TRUE(person->setValue(kPersonFirstNameProperty, "Local" + std::to_string(i)));
                ASSERT_TRUE(local->addRecord(person));
            }
            ASSERT_TRUE(local->save());
        }

        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            int batches = 0;
            CollectionSync::setAfterBatchHookForTesting([&batches, killAtBatch] {
                if (++batches == killAtBatch)
                    _exit(0);
            });
            (void)CardDavAccounts::sync(m_account);
            _exit(1);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the sync was not stopped half-way";

        syncOk();
        AddressBookRef local = book();
        std::vector<PersonRef> persons = local->copyArrayOfAllPeopleInSource(accountSource(local));
        std::set<std::string> uids;
        for (const PersonRef& person : persons)
            uids.insert(person->copyString(kPersonUIDProperty).value_or(""));
        EXPECT_EQ(persons.size(), static_cast<std::size_t>(kServerCards + kLocalPersons));
        EXPECT_EQ(uids.size(), persons.size());
        auto remote = serverCards();
        EXPECT_EQ(remote.size(), static_cast<std::size_t>(kServerCards + kLocalPersons));
        for (const std::string& uid : uids)
            EXPECT_TRUE(remote.count(uid)) << uid;
        CollectionReport settled = syncOk();
        EXPECT_EQ(settled.received + settled.sent + settled.deletedHere + settled.deletedThere, 0u);
        foundation::DataLocations::setProfileDirectory(m_profile.path());
    }
    CollectionSync::setBatchSizeForTesting(0);
}

class CardDavTlsTest : public CardDavSyncTest {
protected:
    RadicaleServer::Transport transport() const override { return RadicaleServer::Transport::Tls; }
    TransportPolicy policy() const override
    {
        TransportPolicy trusted;
        trusted.certificateAuthorityFile = m_server->certificateFile().string();
        return trusted;
    }
};

TEST_F(CardDavTlsTest, CertificatesAreCheckedAndATrustedServerSyncs)
{
    put("ada.vcf", card(uuid('a'), "Ada", "Lovelace"));
    // The test's own authority is not one the system trusts.
    NewAccount untrusted { m_server->origin(), m_user, m_password, "untrusted", false, {} };
    std::string name;
    std::vector<AddressBookCollection> collections;
    SyncFailure refused = CardDavAccounts::add(untrusted, name, collections);
    EXPECT_EQ(refused.kind, SyncFailure::Kind::Unreachable);
    EXPECT_NE(refused.message.find("certificate"), std::string::npos) << refused.message;
    EXPECT_TRUE(CardDavAccounts::list().empty());

    addAccount(m_server->certificateFile().string());
    EXPECT_EQ(syncOk().received, 1u);
    EXPECT_TRUE(named(book(), "Ada"));
}

TEST(CardDavTransportTest, PlainHttpOnlyToThisMachineUnlessAllowed)
{
    struct Case {
        const char* url;
        bool allowPlainHttp;
        bool permitted;
    };
    const Case cases[] = {
        { "https://dav.example.com/", false, true },
        { "http://127.0.0.1:5232/", false, true },
        { "http://127.8.9.10/", false, true },
        { "http://localhost:8080/dav/", false, true },
        { "http://[::1]:5232/", false, true },
        { "http://dav.example.com/", false, false },
        { "http://localhost.example.com/", false, false },
        { "http://dav.example.com/", true, true },
        { "ftp://dav.example.com/", true, false },
        { "dav.example.com", false, false },
    };
    for (const Case& test : cases) {
        TransportPolicy policy;
        policy.allowPlainHttp = test.allowPlainHttp;
        std::string why;
        EXPECT_EQ(HttpClient::permits(test.url, policy, &why), test.permitted) << test.url;
        EXPECT_EQ(why.empty(), test.permitted) << test.url;
    }
    // Nothing is sent where it is not permitted: the password never leaves in the clear.
    HttpClient client("ada", "secret", {});
    HttpResponse response = client.request("GET", "http://192.0.2.1/");
    EXPECT_TRUE(response.notPermitted);
    EXPECT_EQ(CardDavClient::failureOf(response, "http://192.0.2.1/").kind, SyncFailure::Kind::NotPermitted);
}

} // namespace

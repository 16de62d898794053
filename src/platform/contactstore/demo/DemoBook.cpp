#include "platform/contactstore/demo/DemoBook.h"

#include "platform/contactstore/Group.h"
#include "platform/contactstore/Person.h"
#include "platform/contactstore/Source.h"
#include "platform/contactstore/demo/AvatarImage.h"
#include "platform/contactstore/vcard/CardLabels.h"
#include "platform/contactstore/vcard/PersonCardMapping.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <string_view>

namespace contactstore::demo {

namespace {

using vcard::Card;
namespace labels = vcard::labels;

constexpr int kLocalPersons = 262;
constexpr int kExchangePersons = 38;

// SplitMix64: the same numbers on every machine and standard library, unlike the
// distributions of <random>.
class Generator {
public:
    explicit Generator(std::uint64_t seed)
        : m_state(seed)
    {
    }

    std::uint64_t next()
    {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    int below(int bound) { return static_cast<int>(next() % static_cast<std::uint64_t>(bound)); }
    bool chance(int percent) { return below(100) < percent; }

    template <typename T, std::size_t N>
    const T& pick(const std::array<T, N>& items)
    {
        return items[static_cast<std::size_t>(below(static_cast<int>(N)))];
    }

    std::string digits(int count)
    {
        std::string text;
        for (int i = 0; i < count; ++i)
            text += static_cast<char>('0' + below(10));
        return text;
    }

private:
    std::uint64_t m_state;
};

// A name with its reading (empty where the script needs none) and an ASCII spelling for
// mail addresses.
struct Name {
    std::string_view text;
    std::string_view reading;
    std::string_view ascii;
};

enum class Culture { English, French, German, Iberian, European, Japanese, Chinese, Korean, Vietnamese };

constexpr std::array<Name, 12> kEnglishGiven = { { { "James", "", "james" }, { "Olivia", "", "olivia" },
    { "William", "", "william" }, { "Emma", "", "emma" }, { "Oliver", "", "oliver" }, { "Charlotte", "", "charlotte" },
    { "Henry", "", "henry" }, { "Amelia", "", "amelia" }, { "Jack", "", "jack" }, { "Sophie", "", "sophie" },
    { "Thomas", "", "thomas" }, { "Grace", "", "grace" } } };
constexpr std::array<Name, 12> kEnglishFamily = { { { "Smith", "", "smith" }, { "Johnson", "", "johnson" },
    { "Williams", "", "williams" }, { "Brown", "", "brown" }, { "Taylor", "", "taylor" }, { "Davies", "", "davies" },
    { "Evans", "", "evans" }, { "Wilson", "", "wilson" }, { "Clarke", "", "clarke" }, { "Walker", "", "walker" },
    { "O'Connor", "", "oconnor" }, { "MacLeod", "", "macleod" } } };
constexpr std::array<Name, 10> kFrenchGiven = { { { "Amélie", "", "amelie" }, { "François", "", "francois" },
    { "Hélène", "", "helene" }, { "Jérôme", "", "jerome" }, { "Gaëlle", "", "gaelle" }, { "Noël", "", "noel" },
    { "Zoé", "", "zoe" }, { "Benoît", "", "benoit" }, { "Cécile", "", "cecile" }, { "Loïc", "", "loic" } } };
constexpr std::array<Name, 10> kFrenchFamily = { { { "Lefèvre", "", "lefevre" }, { "Girard", "", "girard" },
    { "Dupont", "", "dupont" }, { "Lemaître", "", "lemaitre" }, { "Rousseau", "", "rousseau" },
    { "Mercier", "", "mercier" }, { "Bézier", "", "bezier" }, { "Fournier", "", "fournier" },
    { "Faure", "", "faure" }, { "Chevalier", "", "chevalier" } } };
constexpr std::array<Name, 10> kGermanGiven = { { { "Jürgen", "", "juergen" }, { "Günther", "", "guenther" },
    { "Käthe", "", "kaethe" }, { "Jörg", "", "joerg" }, { "Björn", "", "bjoern" }, { "Lukas", "", "lukas" },
    { "Anna", "", "anna" }, { "Sören", "", "soeren" }, { "Ulrike", "", "ulrike" }, { "Mareike", "", "mareike" } } };
constexpr std::array<Name, 10> kGermanFamily = { { { "Müller", "", "mueller" }, { "Schröder", "", "schroeder" },
    { "Weiß", "", "weiss" }, { "Groß", "", "gross" }, { "Köhler", "", "koehler" }, { "Schäfer", "", "schaefer" },
    { "Fuchs", "", "fuchs" }, { "Krämer", "", "kraemer" }, { "Bäumer", "", "baeumer" },
    { "Hoffmann", "", "hoffmann" } } };
constexpr std::array<Name, 10> kIberianGiven = { { { "José", "", "jose" }, { "María", "", "maria" },
    { "Begoña", "", "begona" }, { "Íñigo", "", "inigo" }, { "João", "", "joao" }, { "Conceição", "", "conceicao" },
    { "Sebastián", "", "sebastian" }, { "Lucía", "", "lucia" }, { "Raúl", "", "raul" }, { "Inês", "", "ines" } } };
constexpr std::array<Name, 10> kIberianFamily = { { { "García", "", "garcia" }, { "Núñez", "", "nunez" },
    { "Peña", "", "pena" }, { "Muñoz", "", "munoz" }, { "Gonçalves", "", "goncalves" }, { "Ibáñez", "", "ibanez" },
    { "Álvarez", "", "alvarez" }, { "Magalhães", "", "magalhaes" }, { "Fernández", "", "fernandez" },
    { "Simões", "", "simoes" } } };
constexpr std::array<Name, 10> kEuropeanGiven = { { { "Åsa", "", "asa" }, { "Søren", "", "soren" },
    { "Łukasz", "", "lukasz" }, { "Zofia", "", "zofia" }, { "Tomáš", "", "tomas" }, { "Jiří", "", "jiri" },
    { "Çağla", "", "cagla" }, { "Emre", "", "emre" }, { "Ingrid", "", "ingrid" },
    { "Małgorzata", "", "malgorzata" } } };
constexpr std::array<Name, 10> kEuropeanFamily = { { { "Lindqvist", "", "lindqvist" }, { "Ørsted", "", "orsted" },
    { "Wiśniewski", "", "wisniewski" }, { "Nowak", "", "nowak" }, { "Dvořák", "", "dvorak" },
    { "Černý", "", "cerny" }, { "Yılmaz", "", "yilmaz" }, { "Öztürk", "", "ozturk" },
    { "Håkansson", "", "hakansson" }, { "Kowalczyk", "", "kowalczyk" } } };
constexpr std::array<Name, 12> kJapaneseGiven = { { { "太郎", "たろう", "taro" }, { "花子", "はなこ", "hanako" },
    { "健二", "けんじ", "kenji" }, { "由美", "ゆみ", "yumi" }, { "翔太", "しょうた", "shota" },
    { "美咲", "みさき", "misaki" }, { "大輔", "だいすけ", "daisuke" }, { "陽菜", "ひな", "hina" },
    { "直樹", "なおき", "naoki" }, { "彩", "あや", "aya" }, { "拓也", "たくや", "takuya" },
    { "恵", "めぐみ", "megumi" } } };
constexpr std::array<Name, 12> kJapaneseFamily = { { { "佐藤", "さとう", "sato" }, { "鈴木", "すずき", "suzuki" },
    { "高橋", "たかはし", "takahashi" }, { "田中", "たなか", "tanaka" }, { "伊藤", "いとう", "ito" },
    { "渡辺", "わたなべ", "watanabe" }, { "山本", "やまもと", "yamamoto" }, { "中村", "なかむら", "nakamura" },
    { "小林", "こばやし", "kobayashi" }, { "加藤", "かとう", "kato" }, { "吉田", "よしだ", "yoshida" },
    { "山田", "やまだ", "yamada" } } };
constexpr std::array<Name, 6> kChineseGiven = { { { "伟", "Wei", "wei" }, { "芳", "Fang", "fang" },
    { "静", "Jing", "jing" }, { "磊", "Lei", "lei" }, { "敏", "Min", "min" }, { "婷", "Ting", "ting" } } };
constexpr std::array<Name, 6> kChineseFamily = { { { "王", "Wang", "wang" }, { "李", "Li", "li" },
    { "张", "Zhang", "zhang" }, { "刘", "Liu", "liu" }, { "陈", "Chen", "chen" }, { "杨", "Yang", "yang" } } };
constexpr std::array<Name, 4> kKoreanGiven = { { { "민준", "", "minjun" }, { "서연", "", "seoyeon" },
    { "지호", "", "jiho" }, { "하은", "", "haeun" } } };
constexpr std::array<Name, 4> kKoreanFamily = { { { "김", "", "kim" }, { "이", "", "lee" }, { "박", "", "park" },
    { "최", "", "choi" } } };
constexpr std::array<Name, 4> kVietnameseGiven = { { { "Minh", "", "minh" }, { "Lan", "", "lan" },
    { "Hùng", "", "hung" }, { "Thảo", "", "thao" } } };
constexpr std::array<Name, 4> kVietnameseFamily = { { { "Nguyễn", "", "nguyen" }, { "Trần", "", "tran" },
    { "Lê", "", "le" }, { "Phạm", "", "pham" } } };

struct Place {
    std::string_view street;
    std::string_view city;
    std::string_view state;
    std::string_view zip;
    std::string_view country;
    std::string_view code;
};

struct Company {
    std::string_view name;
    std::string_view department;
    std::string_view url;
    Culture culture;
};

constexpr std::array<Company, 12> kCompanies = { {
    { "Blue Harbour Café", "", "https://blueharbour.example", Culture::English },
    { "Bäckerei Schäfer", "", "", Culture::German },
    { "山田工務店", "", "https://yamada-koumuten.example.jp", Culture::Japanese },
    { "Clínica Dental Sonrisa", "Recepción", "", Culture::Iberian },
    { "City Library", "Lending desk", "https://library.example", Culture::English },
    { "Pizzeria Da Michele", "", "", Culture::French },
    { "東京歯科クリニック", "受付", "", Culture::Japanese },
    { "Garage Lefèvre", "Atelier", "", Culture::French },
    { "Kestrel Logistics", "Customer service", "https://kestrel.example", Culture::English },
    { "Hôtel du Lac", "Réservations", "https://hoteldulac.example", Culture::French },
    { "Praxis Dr. Köhler", "", "", Culture::German },
    { "Sakura Sushi さくら寿司", "", "", Culture::Japanese },
} };

constexpr std::array<std::string_view, 6> kLocalGroups
    = { "Family", "Friends", "Work", "Tennis club", "Neighbours", "Book club" };
constexpr std::string_view kSchoolGroup = "School parents";
// A group nobody has joined yet, as real books have.
constexpr std::string_view kEmptyGroup = "Wedding guests";

constexpr std::array<std::uint32_t, 8> kPhotoColours
    = { 0x3A7BD5, 0xD5573A, 0x2E9E6B, 0x8E44AD, 0xE0A526, 0x34495E, 0xC0392B, 0x16A085 };

constexpr std::array<std::string_view, 6> kNotes = { "Met at the spring conference.",
    "Allergic to peanuts — remember for dinners.", "Prefers text messages to calls.",
    "Lent me \"The Name of the Rose\", still to return.", "Birthday present ideas: books, tea, plants.",
    "Call after 6 pm, works night shifts." };

constexpr std::array<std::string_view, 6> kJobTitles
    = { "Engineer", "Project Manager", "Designer", "Accountant", "Teacher", "Sales Director" };
constexpr std::array<std::string_view, 6> kEmployers
    = { "Tessera Works", "Acme Rockets", "Globex", "Initech", "Umbrella Studio", "Hooli" };

Culture pickCulture(Generator& random)
{
    const int roll = random.below(100);
    if (roll < 20)
        return Culture::English;
    if (roll < 30)
        return Culture::French;
    if (roll < 40)
        return Culture::German;
    if (roll < 50)
        return Culture::Iberian;
    if (roll < 60)
        return Culture::European;
    if (roll < 85)
        return Culture::Japanese;
    if (roll < 91)
        return Culture::Chinese;
    if (roll < 95)
        return Culture::Korean;
    return Culture::Vietnamese;
}

std::pair<Name, Name> pickNames(Generator& random, Culture culture)
{
    switch (culture) {
    case Culture::English:
        return { random.pick(kEnglishGiven), random.pick(kEnglishFamily) };
    case Culture::French:
        return { random.pick(kFrenchGiven), random.pick(kFrenchFamily) };
    case Culture::German:
        return { random.pick(kGermanGiven), random.pick(kGermanFamily) };
    case Culture::Iberian:
        return { random.pick(kIberianGiven), random.pick(kIberianFamily) };
    case Culture::European:
        return { random.pick(kEuropeanGiven), random.pick(kEuropeanFamily) };
    case Culture::Japanese:
        return { random.pick(kJapaneseGiven), random.pick(kJapaneseFamily) };
    case Culture::Chinese:
        return { random.pick(kChineseGiven), random.pick(kChineseFamily) };
    case Culture::Korean:
        return { random.pick(kKoreanGiven), random.pick(kKoreanFamily) };
    case Culture::Vietnamese:
        return { random.pick(kVietnameseGiven), random.pick(kVietnameseFamily) };
    }
    return { random.pick(kEnglishGiven), random.pick(kEnglishFamily) };
}

std::string mobileNumber(Generator& random, Culture culture)
{
    switch (culture) {
    case Culture::English:
        return "+1 (555) 01" + random.digits(1) + "-" + random.digits(4);
    case Culture::French:
        return "+33 6 " + random.digits(2) + " " + random.digits(2) + " " + random.digits(2) + " " + random.digits(2);
    case Culture::German:
        return "+49 151 " + random.digits(8);
    case Culture::Iberian:
        return "+34 6" + random.digits(2) + " " + random.digits(3) + " " + random.digits(3);
    case Culture::European:
        return "+48 5" + random.digits(2) + " " + random.digits(3) + " " + random.digits(3);
    case Culture::Japanese:
        return "090-" + random.digits(4) + "-" + random.digits(4);
    case Culture::Chinese:
        return "+86 138 " + random.digits(4) + " " + random.digits(4);
    case Culture::Korean:
        return "010-" + random.digits(4) + "-" + random.digits(4);
    case Culture::Vietnamese:
        return "+84 9" + random.digits(1) + " " + random.digits(3) + " " + random.digits(4);
    }
    return random.digits(10);
}

std::string landlineNumber(Generator& random, Culture culture)
{
    switch (culture) {
    case Culture::Japanese:
        return "03-" + random.digits(4) + "-" + random.digits(4);
    case Culture::English:
        return "+1 (555) 02" + random.digits(1) + "-" + random.digits(4);
    case Culture::French:
        return "+33 1 " + random.digits(2) + " " + random.digits(2) + " " + random.digits(2) + " " + random.digits(2);
    case Culture::German:
        return "+49 30 " + random.digits(7);
    default:
        return "+" + std::to_string(30 + random.below(60)) + " " + random.digits(2) + " " + random.digits(6);
    }
}

Place placeFor(Culture culture)
{
    static constexpr std::array<Place, 9> kPlaces = { {
        { "221B Baker Street", "London", "", "NW1 6XE", "United Kingdom", "gb" },
        { "12 Rue de l'Église", "Paris", "", "75004", "France", "fr" },
        { "Hauptstraße 5", "München", "Bayern", "80331", "Deutschland", "de" },
        { "Calle de Alcalá 42", "Madrid", "", "28014", "España", "es" },
        { "ul. Długa 7", "Kraków", "", "31-147", "Polska", "pl" },
        { "神宮前1-2-3", "渋谷区", "東京都", "150-0001", "日本", "jp" },
        { "建国路88号", "北京市", "北京", "100022", "中国", "cn" },
        { "세종대로 110", "중구", "서울특별시", "04524", "대한민국", "kr" },
        { "12 Lê Lợi", "Quận 1", "TP. Hồ Chí Minh", "700000", "Việt Nam", "vn" },
    } };
    return kPlaces[static_cast<std::size_t>(culture)];
}

std::string domainFor(Culture culture)
{
    switch (culture) {
    case Culture::Japanese:
        return "example.jp";
    case Culture::French:
        return "example.fr";
    case Culture::German:
        return "example.de";
    default:
        return "example.com";
    }
}

Card::Date randomDate(Generator& random, int fromYear, int years)
{
    Card::Date date;
    date.year = fromYear + random.below(years);
    date.month = 1 + random.below(12);
    date.day = 1 + random.below(28);
    return date;
}

DemoBook::Entry makePerson(Generator& random, int index, bool exchange)
{
    DemoBook::Entry entry;
    entry.exchange = exchange;
    Card& card = entry.card;
    const Culture culture = pickCulture(random);
    const auto [given, family] = pickNames(random, culture);
    card.firstName = std::string(given.text);
    card.lastName = std::string(family.text);
    card.firstNamePhonetic = std::string(given.reading);
    card.lastNamePhonetic = std::string(family.reading);
    if (culture == Culture::Vietnamese)
        card.middleName = random.chance(50) ? "Thị" : "Văn";
    if ((culture == Culture::English || culture == Culture::German) && random.chance(6))
        card.prefix = "Dr.";
    if (culture == Culture::English && random.chance(3))
        card.suffix = "Jr.";
    if (culture == Culture::English && random.chance(12))
        card.nickname = std::string(given.text.substr(0, 3)) + (random.chance(50) ? "s" : "");

    const std::string mailName
        = std::string(given.ascii) + "." + std::string(family.ascii) + (index % 7 == 0 ? std::to_string(index) : "");
    if (exchange) {
        card.organization = "Northwind Trading";
        static constexpr std::array<std::string_view, 4> kDepartments = { "Sales", "Logistics", "Finance", "IT" };
        card.department = std::string(random.pick(kDepartments));
        card.jobTitle = std::string(random.pick(kJobTitles));
        card.emails.push_back({ std::string(labels::kWork), mailName + "@northwind.example" });
        card.phones.push_back({ std::string(labels::kWork), "+1 (555) 03" + random.digits(1) + "-" + random.digits(4) });
        if (random.chance(60))
            card.phones.push_back({ std::string(labels::kMobile), mobileNumber(random, culture) });
        return entry;
    }

    // About one in ten has no phone number and one in five no mail address, as in real
    // books (the lists of such persons are groups of their own in the application).
    if (!random.chance(10)) {
        card.phones.push_back({ std::string(random.chance(15) ? labels::kIPhone : labels::kMobile),
            mobileNumber(random, culture) });
        if (random.chance(30))
            card.phones.push_back({ std::string(labels::kHome), landlineNumber(random, culture) });
        if (random.chance(3))
            card.phones.push_back({ std::string(labels::kHomeFax), landlineNumber(random, culture) });
    }
    if (!random.chance(20)) {
        card.emails.push_back({ std::string(labels::kHome), mailName + "@" + domainFor(culture) });
        if (random.chance(10))
            card.emails.push_back({ "Old address", mailName + "@oldmail.example" });
    }
    if (random.chance(35)) {
        card.organization = std::string(random.pick(kEmployers));
        card.jobTitle = std::string(random.pick(kJobTitles));
        card.emails.push_back({ std::string(labels::kWork), mailName + "@work.example" });
        if (random.chance(40))
            card.phones.push_back({ std::string(labels::kWork), landlineNumber(random, culture) });
    }
    if (random.chance(45)) {
        card.birthday = randomDate(random, 1950, 55);
        // Some people tell their birthday but not the year.
        if (random.chance(20))
            card.birthday->year.reset();
    }
    if (random.chance(25)) {
        const Place place = placeFor(culture);
        card.addresses.push_back({ std::string(labels::kHome),
            { std::string(place.street), std::string(place.city), std::string(place.state), std::string(place.zip),
                std::string(place.country), std::string(place.code) } });
    }
    if (random.chance(8))
        card.urls.push_back({ std::string(labels::kHomePage), "https://" + std::string(given.ascii) + ".example.org" });
    if (random.chance(8))
        card.instantMessages.push_back({ std::string(labels::kHome), { "Skype", mailName, {} } });
    if (random.chance(6)) {
        card.relatedNames.push_back({ std::string(labels::kSpouse), std::string(random.pick(kEnglishGiven).text) });
        card.dates.push_back({ std::string(labels::kAnniversary), randomDate(random, 1985, 35) });
    }
    if (random.chance(10))
        card.note = std::string(random.pick(kNotes));
    if (random.chance(15))
        card.photo = AvatarImage::png(64, random.pick(kPhotoColours));

    if (random.chance(5))
        entry.groups.emplace_back(kLocalGroups[0]);
    if (random.chance(12))
        entry.groups.emplace_back(kLocalGroups[1]);
    if (!card.organization.empty() && random.chance(45))
        entry.groups.emplace_back(kLocalGroups[2]);
    if (random.chance(6))
        entry.groups.emplace_back(kLocalGroups[3]);
    if (random.chance(3))
        entry.groups.emplace_back(kLocalGroups[4]);
    if (random.chance(4))
        entry.groups.emplace_back(kLocalGroups[5]);
    if (random.chance(2))
        entry.groups.emplace_back(kSchoolGroup);
    return entry;
}

DemoBook::Entry makeCompany(Generator& random, const Company& company)
{
    DemoBook::Entry entry;
    Card& card = entry.card;
    card.kind = Card::Kind::Organization;
    card.organization = std::string(company.name);
    card.department = std::string(company.department);
    card.phones.push_back({ std::string(labels::kMain), landlineNumber(random, company.culture) });
    if (!company.url.empty())
        card.urls.push_back({ std::string(labels::kHomePage), std::string(company.url) });
    const Place place = placeFor(company.culture);
    card.addresses.push_back({ std::string(labels::kWork),
        { std::string(place.street), std::string(place.city), std::string(place.state), std::string(place.zip),
            std::string(place.country), std::string(place.code) } });
    return entry;
}

} // namespace

std::vector<std::string> DemoBook::groupNames()
{
    std::vector<std::string> names(kLocalGroups.begin(), kLocalGroups.end());
    names.emplace_back(kSchoolGroup);
    names.emplace_back(kEmptyGroup);
    return names;
}

std::vector<DemoBook::Entry> DemoBook::entries()
{
    Generator random(20240615);
    std::vector<Entry> all;
    all.reserve(kLocalPersons + kExchangePersons + kCompanies.size());
    std::size_t nextCompany = 0;
    for (int i = 0; i < kLocalPersons; ++i) {
        all.push_back(makePerson(random, i, false));
        // Companies turn up among the persons, as they were added over the years.
        if (i % 22 == 21 && nextCompany < kCompanies.size())
            all.push_back(makeCompany(random, kCompanies[nextCompany++]));
    }
    while (nextCompany < kCompanies.size())
        all.push_back(makeCompany(random, kCompanies[nextCompany++]));
    for (int i = 0; i < kExchangePersons; ++i)
        all.push_back(makePerson(random, kLocalPersons + i, true));
    return all;
}

DemoBook::Result DemoBook::fillIfEmpty(const AddressBookRef& book)
{
    Result result;
    if (!book || !book->isAccessGranted()) {
        result.message = "the address book cannot be used (access refused); no sample book was added";
        return result;
    }
    if (book->personCount() > 0 || book->groupCount() > 0) {
        result.message = "the address book already holds " + std::to_string(book->personCount()) + " persons and "
            + std::to_string(book->groupCount()) + " groups; it is left as it is";
        return result;
    }
    const SourceRef local = book->copyDefaultSource();
    std::vector<RecordRef> added;
    Error error;
    // A sample book comes whole or not at all; the handle is left as it was.
    auto fail = [&](const std::string& what) {
        for (auto record = added.rbegin(); record != added.rend(); ++record)
            (void)book->removeRecord(*record);
        result.persons = 0;
        result.message = what + error.description;
        return result;
    };
    auto add = [&](const RecordRef& record) {
        if (!book->addRecord(record, &error))
            return false;
        added.push_back(record);
        return true;
    };

    SourceRef exchange;
    for (const SourceRef& source : book->copyArrayOfAllSources()) {
        if (source->sourceType() == kSourceTypeExchange) {
            exchange = source;
            break;
        }
    }
    if (!exchange) {
        exchange = Source::create(kSourceTypeExchange, std::string("Exchange"));
        if (!add(exchange))
            return fail("the sample book could not be added: ");
    }

    std::map<std::string, GroupRef> groups;
    for (const std::string& name : groupNames()) {
        GroupRef group = Group::createInSource(local);
        if (!group->setValue(kGroupNameProperty, name, &error) || !add(group))
            return fail("the sample book could not be added: ");
        groups.emplace(name, std::move(group));
    }
    for (const Entry& entry : entries()) {
        PersonRef person = Person::createInSource(entry.exchange ? exchange : local);
        if (!vcard::PersonCardMapping::fillPerson(entry.card, *person, &error) || !add(person))
            return fail("the sample book could not be added: ");
        for (const std::string& name : entry.groups) {
            if (!groups.at(name)->addMember(person, &error))
                return fail("the sample book could not be added: ");
        }
        ++result.persons;
    }
    if (!book->save(&error))
        return fail("the sample book could not be saved: ");
    result.filled = true;
    result.groups = groups.size();
    result.message = "added a sample address book: " + std::to_string(result.persons) + " persons ("
        + std::to_string(kExchangePersons) + " in an Exchange account) and " + std::to_string(result.groups)
        + " groups";
    return result;
}

} // namespace contactstore::demo

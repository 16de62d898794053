#include "app/DemoDatabase.h"

#include "addressbook/AddressBookQueries.h"
#include "app/GroupKinds.h"
#include "app/Utility.h"
#include "platform/foundation/Device.h"
#include "store/DataManager.h"

#include <algorithm>
#include <array>
#include <vector>

namespace tessaro {

namespace {

// Colours that tell neighbouring groups apart at a glance, in list order.
constexpr std::array<int, 10> kGroupColors = { 5, 7, 11, 0, 22, 36, 28, 2, 31, 16 };

struct SampleMemos {
    std::array<const char*, 4> oldestFirst;
};

const SampleMemos kEnglishMemos { {
    "Gate code for the school: 4711",
    "Bring to the tennis club: balls, towel, the new schedule",
    "Ask Mia about the book club on Thursday",
    "Call the plumber back before Friday",
} };

const SampleMemos kJapaneseMemos { {
    "学校の門の暗証番号：4711",
    "テニス部に持っていく物：ボール、タオル、新しい日程表",
    "木曜の読書会のことを美咲さんに聞く",
    "金曜までに水道屋さんに折り返し電話",
} };

// Persons with a photo and a phone number first, as one keeps favourites: the people one
// calls, recognised at a glance.
std::vector<Contact> favoriteCandidates()
{
    auto persons = AddressBookQueries::contacts();
    std::stable_sort(persons.begin(), persons.end(), [](const Contact& a, const Contact& b) { return a.recordID() < b.recordID(); });
    std::vector<Contact> chosen;
    for (int pass = 0; pass < 2 && static_cast<int>(chosen.size()) < DemoDatabase::kFavorites; ++pass) {
        for (const auto& person : persons) {
            if (static_cast<int>(chosen.size()) >= DemoDatabase::kFavorites)
                break;
            bool wanted = !person.phonenumbers().empty() && (pass == 1 || person.image().has_value());
            bool taken = std::any_of(chosen.begin(), chosen.end(), [&](const Contact& c) { return c.recordID() == person.recordID(); });
            if (wanted && !taken)
                chosen.push_back(person);
        }
    }
    return chosen;
}

} // namespace

std::string DemoDatabase::fill()
{
    auto& database = DataManager::sharedDataBase();
    if (!database.selectFavorite().empty() || !database.selectAllMemo().empty())
        return "the application's database already holds favourites or memos; it is left as it is";

    // The catalogue gives every address-book group its row first.
    auto groups = Utility::sharedUtility().getAllGroupObject();
    auto favorites = favoriteCandidates();
    const auto& memos = foundation::Device::current().language() == "ja" ? kJapaneseMemos : kEnglishMemos;
    int colored = 0;
    bool stored = database.performInTransaction([&] {
        for (auto& group : groups) {
            if (GroupKinds::isPseudoGroup(group))
                continue;
            group.colorIndex = kGroupColors[static_cast<std::size_t>(colored++) % kGroupColors.size()];
            bool written = GroupKinds::isLocalGroup(group) ? database.updateLocalGroup(group) : database.updateGroup(group);
            if (!written)
                return false;
        }
        for (const auto& person : favorites) {
            if (!database.insertFavorite(std::to_string(person.recordID())))
                return false;
        }
        for (const char* text : memos.oldestFirst) {
            MemoObject memo;
            memo.memo = text;
            if (!database.insertMemo(memo))
                return false;
        }
        return true;
    });
    if (!stored)
        return "the sample favourites and memos could not be stored";
    return "added " + std::to_string(favorites.size()) + " favourites, " + std::to_string(memos.oldestFirst.size())
        + " memos and colours for " + std::to_string(colored) + " groups";
}

} // namespace tessaro

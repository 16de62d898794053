// The favourites tab as a person uses it: adding from the picker of all persons (greyed
// favourites, search, index), the stored order after adds and moves, deletion, a favourite
// whose person was deleted elsewhere, and touching a favourite to see the person.

#include "../groups/GroupTabFixture.h"

#include "app/AppNotification.h"
#include "app/TessaroViewController.h"
#include "app/Utility.h"
#include "app/WaitView.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/SearchBar.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/SearchDisplayController.h"
#include "platform/ui/TableView.h"
#include "screens/favorites/FavoriteAddContactViewController.h"
#include "screens/favorites/FavoriteViewController.h"
#include "store/DataManager.h"

#include <gmock/gmock.h>

namespace groupstest {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using tessaro::DataManager;
using tessaro::FavoriteAddContactViewController;
using tessaro::FavoriteViewController;

class FavoritesTest : public GroupTabFixture {
protected:
    void SetUp() override
    {
        GroupTabFixture::SetUp();
        ann = addPerson("Ann", "Archer").recordID();
        bob = addPerson("Bob", "Baker").recordID();
        cid = addPerson("Cid", "Baxter").recordID();
        dan = addPerson("Dan", "Dunn").recordID();
    }

    void openTab()
    {
        launch();
        root().tabController()->setSelectedIndex(tessaro::TessaroViewController::kFavoritesTab);
        time.advance(1);
    }
    FavoriteViewController& favorites() const
    {
        auto* screen = dynamic_cast<FavoriteViewController*>(root().favoriteNavViewController()->viewControllers().front().get());
        EXPECT_NE(screen, nullptr);
        return *screen;
    }
    // The names the favourites list shows, checked by the shared table checker.
    std::vector<std::string> listed() const
    {
        auto contents = testsupport::checkTable(*favorites().myTableView());
        std::vector<std::string> names;
        for (const auto& row : contents.sections.empty() ? std::vector<testsupport::TableContents::Row> {} : contents.sections[0].rows)
            names.push_back(nameOf(row));
        return names;
    }
    // A row shows the photo (by its picture's name), the name, then the detail line.
    static std::string nameOf(const testsupport::TableContents::Row& row)
    {
        for (const auto& text : row.allTexts) {
            if (!text.ends_with(".png"))
                return text;
        }
        return {};
    }
    // The stored favourites: person and sort index, in stored order.
    static std::vector<std::pair<std::string, int>> stored()
    {
        std::vector<std::pair<std::string, int>> rows;
        for (const auto& favorite : DataManager::sharedDataBase().selectFavorite())
            rows.emplace_back(favorite.contactID, favorite.sortIndex);
        return rows;
    }
    static std::string id(contactstore::RecordID person) { return std::to_string(person); }

    FavoriteAddContactViewController& openPicker()
    {
        // The busy overlay first; the picker on the next turn of the run loop.
        favorites().add();
        EXPECT_NE(favorites().waitView()->superview(), nullptr);
        time.advance(1);
        EXPECT_EQ(favorites().waitView()->superview(), nullptr);
        auto picker = favorites().picker();
        EXPECT_TRUE(picker);
        return *picker;
    }
    void touchInPicker(FavoriteAddContactViewController& picker, const std::string& name)
    {
        auto contents = testsupport::checkTable(*picker.myTableView());
        for (std::size_t s = 0; s < contents.sections.size(); ++s) {
            for (std::size_t r = 0; r < contents.sections[s].rows.size(); ++r) {
                if (nameOf(contents.sections[s].rows[r]) == name) {
                    act({ { "cmd", "tapRow" }, { "section", s }, { "row", r } });
                    time.advance(1);
                    return;
                }
            }
        }
        ADD_FAILURE() << name << " is not in the picker";
    }

    contactstore::RecordID ann {}, bob {}, cid {}, dan {};
};

TEST_F(FavoritesTest, PickerAddsEachPersonLastAndIgnoresTheOnesAlreadyFavourites)
{
    openTab();
    EXPECT_THAT(listed(), IsEmpty());

    for (const char* name : { "Baker Bob", "Archer Ann" }) {
        auto& picker = openPicker();
        touchInPicker(picker, name);
        EXPECT_FALSE(favorites().picker()) << "the picker closes after " << name;
    }
    EXPECT_THAT(listed(), ElementsAre("Baker Bob", "Archer Ann"));
    EXPECT_THAT(stored(), ElementsAre(std::pair { id(bob), 1 }, std::pair { id(ann), 2 }));

    // A favourite is greyed in the picker and a touch on it does nothing: no second row.
    auto& picker = openPicker();
    auto section = testsupport::checkTable(*picker.myTableView());
    ASSERT_FALSE(section.sections.empty());
    EXPECT_EQ(nameOf(section.sections[0].rows[0]), "Archer Ann");
    std::optional<ui::IndexPath> path = ui::IndexPath { 0, 0 };
    auto cell = picker.myTableView()->cellForRowAtIndexPath(*path);
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->selectionStyle(), ui::TableViewCellSelectionStyle::None);
    touchInPicker(picker, "Archer Ann");
    EXPECT_TRUE(favorites().picker()) << "the picker stays open";
    EXPECT_EQ(stored().size(), 2u);

    act({ { "cmd", "tap" }, { "id", "favoritePicker.cancel" } });
    time.advance(1);
    EXPECT_FALSE(favorites().picker());
    EXPECT_THAT(listed(), ElementsAre("Baker Bob", "Archer Ann"));
}

TEST_F(FavoritesTest, PickerSearchJoinsTypedWordsHidesTheIndexAndTheHeaders)
{
    openTab();
    auto& picker = openPicker();
    auto contents = testsupport::checkTable(*picker.myTableView());
    // The index starts with the search symbol; choosing it shows the search field and no section.
    ASSERT_FALSE(contents.indexTitles.empty());
    EXPECT_EQ(contents.indexTitles.front(), ui::TableViewIndexSearch);
    EXPECT_EQ(picker.sectionForSectionIndexTitle(*picker.myTableView(), ui::TableViewIndexSearch, 0), -1);
    EXPECT_THAT(contents.headers(), ElementsAre("A", "B", "D"));

    act({ { "cmd", "tap" }, { "id", "favoritePicker.search.field" } });
    struct Case {
        std::string typed;
        std::vector<std::string> found;
    };
    for (const Case& c : std::vector<Case> { { "Ba", { "Baker Bob", "Baxter Cid" } },
                                             { "Bax ter", { "Baxter Cid" } },
                                             { "Cid Bax", {} },
                                             { "zzz", {} } }) {
        picker.searchBar()->setText(c.typed);
        picker.textDidChange(*picker.searchBar(), c.typed);
        auto& results = *picker.searchDisplayController()->searchResultsTableView();
        auto found = testsupport::checkTable(results);
        EXPECT_THAT(found.indexTitles, IsEmpty()) << c.typed;
        if (c.found.empty()) {
            EXPECT_TRUE(found.sections.empty()) << c.typed;
            continue;
        }
        ASSERT_EQ(found.sections.size(), 1u) << c.typed;
        EXPECT_EQ(found.sections[0].header, "") << c.typed;
        std::vector<std::string> names;
        for (const auto& row : found.sections[0].rows)
            names.push_back(nameOf(row));
        EXPECT_EQ(names, c.found) << c.typed;
    }
}

TEST_F(FavoritesTest, MovesAndDeletionsAreStoredAndSurviveARestart)
{
    for (const auto& person : { ann, bob, cid, dan })
        ASSERT_TRUE(DataManager::sharedDataBase().insertFavorite(id(person)));
    openTab();
    act({ { "cmd", "tap" }, { "id", "favorites.edit" } });
    EXPECT_TRUE(favorites().myTableView()->isEditing());

    // The third of four to the top: every favourite is written back with its new place.
    act({ { "cmd", "moveRow" }, { "from", { 0, 2 } }, { "to", { 0, 0 } } });
    EXPECT_THAT(stored(), ElementsAre(std::pair { id(cid), 0 }, std::pair { id(ann), 1 }, std::pair { id(bob), 2 },
                                      std::pair { id(dan), 3 }));
    act({ { "cmd", "swipeDelete" }, { "section", 0 }, { "row", 1 } });
    time.advance(1);
    act({ { "cmd", "tap" }, { "id", "favorites.done" } });
    EXPECT_THAT(listed(), ElementsAre("Baxter Cid", "Baker Bob", "Dunn Dan"));

    quit();
    openTab();
    EXPECT_THAT(listed(), ElementsAre("Baxter Cid", "Baker Bob", "Dunn Dan"));
}

TEST_F(FavoritesTest, AFavouriteOfADeletedPersonIsSkippedButKept)
{
    for (const auto& person : { ann, bob, cid })
        ASSERT_TRUE(DataManager::sharedDataBase().insertFavorite(id(person)));
    openTab();
    deletePersonOutside(bob);
    // What the return to the foreground does: a new handle, then the favourites reload.
    tessaro::Utility::sharedUtility().resetObject();
    root().reloadAllView();
    time.advance(1);
    EXPECT_THAT(listed(), ElementsAre("Archer Ann", "Baxter Cid"));
    EXPECT_EQ(stored().size(), 3u);

    // Reordering what shows leaves the hidden row where it was.
    act({ { "cmd", "tap" }, { "id", "favorites.edit" } });
    act({ { "cmd", "moveRow" }, { "from", { 0, 1 } }, { "to", { 0, 0 } } });
    EXPECT_THAT(stored(), ElementsAre(std::pair { id(cid), 0 }, std::pair { id(ann), 1 }, std::pair { id(bob), 2 }));
}

TEST_F(FavoritesTest, TouchingAFavouriteAsksTheRootToShowThePerson)
{
    ASSERT_TRUE(DataManager::sharedDataBase().insertFavorite(id(dan)));
    openTab();
    std::vector<tessaro::Contact> shown;
    auto observer = foundation::NotificationCenter::defaultCenter().addObserver(
        tessaro::AppNotification::kName, std::string(tessaro::AppNotification::kNotificationNameShowDetail),
        [&shown](const foundation::Notification& note) {
            if (const auto* person = note.value<tessaro::Contact>(tessaro::AppNotification::kContactKey))
                shown.push_back(*person);
        });
    act({ { "cmd", "tapRow" }, { "section", 0 }, { "row", 0 } });
    observer.reset();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].recordID(), dan);
    EXPECT_FALSE(favorites().myTableView()->indexPathForSelectedRow());
}

} // namespace
} // namespace groupstest

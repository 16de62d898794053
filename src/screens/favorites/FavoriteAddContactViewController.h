#pragma once
// The picker of a new favourite: every person of the address book in alphabetical sections
// with the index at the right edge and a search field above, by name or number. Persons who
// already are favourites show greyed and ignore a touch; touching anyone else hands the
// person to the favourites screen, which stores it and closes the picker. The picker is built
// afresh from the address book each time it opens.
//
// Ownership: the picker owns its table, search bar and search display controller (made when
// the view loads); the favourites screen that opened it is a plain pointer (the delegate),
// which that screen clears if it goes first.

#include "screens/favorites/FavoriteAddContactViewControllerDelegate.h"
#include "screens/groups/PersonSectionsViewController.h"

#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

namespace tessaro {

class FavoriteAddContactViewController : public PersonSectionsViewController {
public:
    static constexpr double kRowHeight = 48;

    // Builds the sections at once, so the picker is ready before it is shown.
    explicit FavoriteAddContactViewController(FavoriteAddContactViewControllerDelegate* controller);

    FavoriteAddContactViewControllerDelegate* controller() const { return _controller; }
    void setController(FavoriteAddContactViewControllerDelegate* controller) { _controller = controller; }

    void loadView() override;
    void viewDidLoad() override;

    void initData() override;
    void addBarButton();
    void cancel();

    // What the lists show, for the screens' own checks and the benchmarks.
    const std::vector<std::vector<Contact>>& arrSection() const { return _arrSection; }
    ui::TableView* myTableView() const { return _myTableView.get(); }
    bool isSearching() const { return _isSearch; }

    // Both tables: the list and the search results.
    std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath) override;
    bool canEditRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override { return false; }
    double heightForRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override { return kRowHeight; }
    void didSelectRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath) override;

    // Whether the person is stored as a favourite now.
    static bool isFavorite(const Contact& person);

private:
    FavoriteAddContactViewControllerDelegate* _controller { nullptr };
    // The favourites as they were when the sections were built, to grey their rows without
    // asking the database for every row that scrolls into sight.
    std::unordered_set<std::string> m_favoriteIDs;
    // Every person, as read when the list was last built without a search: each keystroke of
    // a search looks through these instead of reading the whole address book again.
    std::vector<Contact> m_allPersons;
    // The last search, folded, and the persons it found. A keystroke that adds to the text
    // can only narrow the matches, so it looks through these alone.
    std::string m_lastSearch;
    std::vector<Contact> m_lastMatches;
};

} // namespace tessaro

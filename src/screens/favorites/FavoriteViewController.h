#pragma once
// The root screen of the favourites tab: the persons the user keeps at hand, in the user's
// own order, each with photo, name and organisation line. Touching one shows the person over
// everything (through the app-wide notification). Edit lets rows be deleted and dragged into
// another order; the add button opens the picker of all persons behind the busy overlay.
//
// The list is read again from the database and the address book whenever it reloads. A
// favourite whose person was deleted from the address book is not shown but stays stored.
// Every change is written at once; a reorder writes the whole new order in one transaction.
// A change the database refuses is told in an alert and the list shows what is stored.
//
// Ownership: the screen owns its table and busy overlay. The picker is owned by its
// presentation; the screen keeps a weak link to clear its delegate if it goes first.

#include "addressbook/Contact.h"
#include "app/EditableListViewController.h"
#include "screens/favorites/FavoriteAddContactViewControllerDelegate.h"

#include <memory>
#include <vector>

namespace tessaro {

class FavoriteAddContactViewController;
class WaitView;

class FavoriteViewController : public EditableListViewController, public FavoriteAddContactViewControllerDelegate {
public:
    static constexpr double kRowHeight = 48;

    FavoriteViewController();
    ~FavoriteViewController() override;

    void viewDidLoad() override;

    // Rebuilds the list from the stored favourites, skipping persons that no longer exist.
    void initData();
    void reloadViewData() override;

    // The busy overlay goes up, and on the next turn of the run loop the picker is built
    // and shown (building it at 50,000 persons takes a moment).
    void add() override;
    void showFavoriteSelectView();

    // The picker's answers.
    void selectContactDone(const Contact& person) override;
    void selectContactDidCancel() override;

    // The table.
    int numberOfRowsInSection(ui::TableView& tableView, int section) override;
    std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath) override;
    double heightForRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override { return kRowHeight; }
    void didSelectRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath) override;
    void commitEditingStyle(ui::TableView& tableView, ui::TableViewCellEditingStyle style, const ui::IndexPath& indexPath) override;
    void moveRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& from, const ui::IndexPath& to) override;

    // What the screen holds, for the shell and tests.
    const std::vector<Contact>& arrFavoriteMember() const { return _arrFavoriteMember; }
    WaitView* waitView() const { return _waitView.get(); }
    std::shared_ptr<FavoriteAddContactViewController> picker() const { return m_picker.lock(); }

    // Writes the list's order (0 at the top) in one transaction; false when nothing was stored.
    [[nodiscard]] static bool storeOrder(const std::vector<Contact>& favorites);

private:
    void closePicker();

    std::vector<Contact> _arrFavoriteMember;
    std::shared_ptr<WaitView> _waitView;
    std::weak_ptr<FavoriteAddContactViewController> m_picker;
};

} // namespace tessaro

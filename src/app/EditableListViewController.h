#pragma once
// The base of the tab screens whose one list the user edits in place, the favourites and the
// memos: a plain table of one section, and a bar in two modes: Edit and Add normally, Done
// while rows can be deleted and dragged into another order. What the rows hold, what Add
// opens and how a new order is stored belong to the screen built on this.
//
// A change the database refuses is told in an alert, and the list then shows what is stored.
//
// Ownership: the screen owns its table (made when the view loads).

#include "app/CommonViewController.h"
#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"

#include <memory>
#include <string>
#include <vector>

namespace ui {
class TableView;
}

namespace tessaro {

class EditableListViewController : public CommonViewController, public ui::TableViewDataSource, public ui::TableViewDelegate {
public:
    ~EditableListViewController() override;

    void loadView() override;

    // The bar in its two modes.
    void addAddModeBarButton();
    void addEditModeBarButton();
    void edit();
    void editDone();
    virtual void add() = 0;

    bool canMoveRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override { return true; }

    ui::TableView* myTableView() const { return _myTableView.get(); }

protected:
    // `name` starts the accessibility identifiers: name.list, name.edit, name.add, name.done.
    explicit EditableListViewController(std::string name);

    // The list, filling the tab's page above the tab bar.
    void buildList(double rowHeight);
    // Whether an index path names a row of a list of that many.
    static bool isRow(const ui::IndexPath& indexPath, std::size_t count);
    // Takes the row out of the list and puts it in at the destination, as a drag leaves it;
    // false (the list untouched) when either place is not a row of the one section.
    template<typename Row>
    static bool moveRow(std::vector<Row>& rows, const ui::IndexPath& from, const ui::IndexPath& to)
    {
        if (from.section != to.section || !isRow(from, rows.size()) || !isRow(to, rows.size()))
            return false;
        Row moved = std::move(rows[static_cast<std::size_t>(from.row)]);
        rows.erase(rows.begin() + from.row);
        rows.insert(rows.begin() + to.row, std::move(moved));
        return true;
    }
    void showStoredAfterFailure();

    std::shared_ptr<ui::TableView> _myTableView;

private:
    std::string m_name;
};

} // namespace tessaro

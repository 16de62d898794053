#pragma once
// The root screen of the memo tab: the user's short texts, one line each, newest first.
// Touching one opens it in the editor; the add button opens an empty editor. Edit lets rows
// be deleted and dragged into another order; the top row always holds the highest sort index.
//
// The list is read again from the database whenever it reloads. A reorder writes the whole
// new order in one transaction; a change the database refuses is told in an alert and the
// list shows what is stored.
//
// Ownership: the screen owns its table; an editor it pushes is owned by the navigation stack.

#include "app/EditableListViewController.h"
#include "store/MemoObject.h"

#include <memory>
#include <vector>

namespace tessaro {

class MemoViewController : public EditableListViewController {
public:
    static constexpr double kRowHeight = 45;

    MemoViewController();

    void viewDidLoad() override;

    void initData();
    void reloadViewData() override;

    // Pushes an empty editor.
    void add() override;

    // The table.
    int numberOfRowsInSection(ui::TableView& tableView, int section) override;
    std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath) override;
    double heightForRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override { return kRowHeight; }
    void didSelectRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath) override;
    void commitEditingStyle(ui::TableView& tableView, ui::TableViewCellEditingStyle style, const ui::IndexPath& indexPath) override;
    void moveRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& from, const ui::IndexPath& to) override;

    const std::vector<MemoObject>& arrMemo() const { return _arrMemo; }

    // Gives the memos the sort indexes of their places (the top the highest, the bottom 0)
    // and writes them in one transaction; false when nothing was stored.
    [[nodiscard]] static bool storeOrder(std::vector<MemoObject>& memos);

private:
    void pushEditor(int memoID);

    std::vector<MemoObject> _arrMemo;
};

} // namespace tessaro

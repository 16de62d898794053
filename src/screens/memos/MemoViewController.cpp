#include "screens/memos/MemoViewController.h"

#include "platform/foundation/LocalizedStrings.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TableView.h"
#include "screens/memos/AddMemoViewController.h"
#include "store/DataManager.h"

namespace tessaro {

namespace {

const std::string kCellIdentifier = "MemoCell";

} // namespace

MemoViewController::MemoViewController()
    : EditableListViewController("memos")
{
}

void MemoViewController::viewDidLoad()
{
    setTitle(foundation::localized("MemoTabBarTitle"));
    initData();
    buildList(kRowHeight);
    addAddModeBarButton();
}

void MemoViewController::initData()
{
    _arrMemo = DataManager::sharedDataBase().selectAllMemo();
}

void MemoViewController::reloadViewData()
{
    initData();
    if (_myTableView)
        _myTableView->reloadData();
}

// ---- Opening the editor ----

void MemoViewController::add()
{
    pushEditor(AddMemoViewController::kNewMemoID);
}

void MemoViewController::pushEditor(int memoID)
{
    auto self = std::static_pointer_cast<CommonViewController>(shared_from_this());
    if (auto* navigation = navigationController())
        navigation->pushViewController(std::make_shared<AddMemoViewController>(memoID, self), true);
}

// ---- The table ----

int MemoViewController::numberOfRowsInSection(ui::TableView&, int section)
{
    return section == 0 ? static_cast<int>(_arrMemo.size()) : 0;
}

std::shared_ptr<ui::TableViewCell> MemoViewController::cellForRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath)
{
    auto cell = tableView.dequeueReusableCellWithIdentifier(kCellIdentifier);
    if (!cell)
        cell = std::make_shared<ui::TableViewCell>(ui::TableViewCellStyle::Default, kCellIdentifier);
    cell->setAccessoryType(ui::TableViewCellAccessoryType::DisclosureIndicator);
    cell->setSelectionStyle(ui::TableViewCellSelectionStyle::Blue);
    cell->textLabel().setText(isRow(indexPath, _arrMemo.size()) ? _arrMemo[static_cast<std::size_t>(indexPath.row)].memo : std::string());
    return cell;
}

void MemoViewController::didSelectRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath)
{
    if (isRow(indexPath, _arrMemo.size()))
        pushEditor(_arrMemo[static_cast<std::size_t>(indexPath.row)].memoID);
    tableView.deselectRowAtIndexPath(indexPath, true);
}

void MemoViewController::commitEditingStyle(ui::TableView& tableView, ui::TableViewCellEditingStyle style, const ui::IndexPath& indexPath)
{
    if (style != ui::TableViewCellEditingStyle::Delete || !isRow(indexPath, _arrMemo.size()))
        return;
    auto position = _arrMemo.begin() + indexPath.row;
    if (!DataManager::sharedDataBase().deleteMemo(*position)) {
        showStoredAfterFailure();
        return;
    }
    _arrMemo.erase(position);
    tableView.deleteRowsAtIndexPaths({ indexPath }, ui::TableViewRowAnimation::Fade);
}

bool MemoViewController::storeOrder(std::vector<MemoObject>& memos)
{
    int count = static_cast<int>(memos.size());
    for (int position = 0; position < count; ++position)
        memos[static_cast<std::size_t>(position)].sortIndex = count - 1 - position;
    auto& database = DataManager::sharedDataBase();
    return database.performInTransaction([&] {
        for (const auto& memo : memos) {
            if (!database.updateMemo(memo))
                return false;
        }
        return true;
    });
}

void MemoViewController::moveRowAtIndexPath(ui::TableView&, const ui::IndexPath& from, const ui::IndexPath& to)
{
    if (moveRow(_arrMemo, from, to) && !storeOrder(_arrMemo))
        showStoredAfterFailure();
}

} // namespace tessaro

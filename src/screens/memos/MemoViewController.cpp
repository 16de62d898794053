#include "screens/memos/MemoViewController.h"

#include "app/StoreFailureAlert.h"
#include "app/Utility.h"
#include "platform/foundation/LocalizedStrings.h"
#include "platform/foundation/Log.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TableView.h"
#include "screens/memos/AddMemoViewController.h"
#include "store/DataManager.h"

namespace tessaro {

namespace {

const std::string kCellIdentifier = "MemoCell";

} // namespace

MemoViewController::~MemoViewController()
{
    if (_myTableView) {
        _myTableView->setDataSource(nullptr);
        _myTableView->setDelegate(nullptr);
    }
}

void MemoViewController::loadView()
{
    CommonViewController::loadView();
    view()->setBackgroundColor(ui::Color::whiteColor());
}

void MemoViewController::viewDidLoad()
{
    setTitle(foundation::localized("MemoTabBarTitle"));
    initData();
    _myTableView = std::make_shared<ui::TableView>(ui::Rect { 0, 0, 320, 317.0 + Utility::iPhone4to5SubSize() },
                                                   ui::TableViewStyle::Plain);
    _myTableView->setBackgroundColor(ui::Color::whiteColor());
    _myTableView->setRowHeight(kRowHeight);
    _myTableView->setAccessibilityIdentifier("memos.list");
    _myTableView->setDataSource(this);
    _myTableView->setDelegate(this);
    view()->addSubview(_myTableView);
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

// ---- The bar ----

void MemoViewController::addAddModeBarButton()
{
    auto editItem = std::make_shared<ui::BarButtonItem>(ui::BarButtonSystemItem::Edit, [this](ui::BarButtonItem&) { edit(); });
    editItem->setAccessibilityIdentifier("memos.edit");
    auto addItem = std::make_shared<ui::BarButtonItem>(ui::BarButtonSystemItem::Add, [this](ui::BarButtonItem&) { add(); });
    addItem->setAccessibilityIdentifier("memos.add");
    navigationItem().setLeftBarButtonItem(editItem);
    navigationItem().setRightBarButtonItem(addItem);
}

void MemoViewController::addEditModeBarButton()
{
    auto doneItem = std::make_shared<ui::BarButtonItem>(ui::BarButtonSystemItem::Done, [this](ui::BarButtonItem&) { editDone(); });
    doneItem->setAccessibilityIdentifier("memos.done");
    navigationItem().setLeftBarButtonItem(doneItem);
    navigationItem().setRightBarButtonItem(nullptr);
}

void MemoViewController::edit()
{
    if (_myTableView)
        _myTableView->setEditing(true, true);
    addEditModeBarButton();
}

void MemoViewController::editDone()
{
    if (_myTableView)
        _myTableView->setEditing(false, true);
    addAddModeBarButton();
}

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
    bool inList = indexPath.section == 0 && indexPath.row >= 0 && indexPath.row < static_cast<int>(_arrMemo.size());
    cell->textLabel().setText(inList ? _arrMemo[static_cast<std::size_t>(indexPath.row)].memo : std::string());
    return cell;
}

void MemoViewController::didSelectRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath)
{
    if (indexPath.section == 0 && indexPath.row >= 0 && indexPath.row < static_cast<int>(_arrMemo.size()))
        pushEditor(_arrMemo[static_cast<std::size_t>(indexPath.row)].memoID);
    tableView.deselectRowAtIndexPath(indexPath, true);
}

void MemoViewController::commitEditingStyle(ui::TableView& tableView, ui::TableViewCellEditingStyle style, const ui::IndexPath& indexPath)
{
    if (style != ui::TableViewCellEditingStyle::Delete || indexPath.section != 0 || indexPath.row < 0
        || indexPath.row >= static_cast<int>(_arrMemo.size()))
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
    int count = static_cast<int>(_arrMemo.size());
    if (from.section != to.section || from.row < 0 || from.row >= count || to.row < 0 || to.row >= count)
        return;
    MemoObject moved = _arrMemo[static_cast<std::size_t>(from.row)];
    _arrMemo.erase(_arrMemo.begin() + from.row);
    _arrMemo.insert(_arrMemo.begin() + to.row, std::move(moved));
    if (!storeOrder(_arrMemo))
        showStoredAfterFailure();
}

void MemoViewController::showStoredAfterFailure()
{
    foundation::log("memos: the change was not stored");
    reloadViewData();
    StoreFailureAlert::show();
}

} // namespace tessaro

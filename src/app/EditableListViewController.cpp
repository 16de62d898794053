#include "app/EditableListViewController.h"

#include "app/StoreFailureAlert.h"
#include "app/Utility.h"
#include "platform/foundation/Log.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TableView.h"

namespace tessaro {

EditableListViewController::EditableListViewController(std::string name)
    : m_name(std::move(name))
{
}

EditableListViewController::~EditableListViewController()
{
    if (_myTableView) {
        _myTableView->setDataSource(nullptr);
        _myTableView->setDelegate(nullptr);
    }
}

void EditableListViewController::loadView()
{
    CommonViewController::loadView();
    view()->setBackgroundColor(ui::Color::whiteColor());
}

void EditableListViewController::buildList(double rowHeight)
{
    _myTableView = std::make_shared<ui::TableView>(ui::Rect { 0, 0, 320, 317.0 + Utility::iPhone4to5SubSize() },
                                                   ui::TableViewStyle::Plain);
    _myTableView->setBackgroundColor(ui::Color::whiteColor());
    _myTableView->setRowHeight(rowHeight);
    _myTableView->setAccessibilityIdentifier(m_name + ".list");
    _myTableView->setDataSource(this);
    _myTableView->setDelegate(this);
    view()->addSubview(_myTableView);
}

void EditableListViewController::addAddModeBarButton()
{
    auto editItem = std::make_shared<ui::BarButtonItem>(ui::BarButtonSystemItem::Edit, [this](ui::BarButtonItem&) { edit(); });
    editItem->setAccessibilityIdentifier(m_name + ".edit");
    auto addItem = std::make_shared<ui::BarButtonItem>(ui::BarButtonSystemItem::Add, [this](ui::BarButtonItem&) { add(); });
    addItem->setAccessibilityIdentifier(m_name + ".add");
    navigationItem().setLeftBarButtonItem(editItem);
    navigationItem().setRightBarButtonItem(addItem);
}

void EditableListViewController::addEditModeBarButton()
{
    auto doneItem = std::make_shared<ui::BarButtonItem>(ui::BarButtonSystemItem::Done, [this](ui::BarButtonItem&) { editDone(); });
    doneItem->setAccessibilityIdentifier(m_name + ".done");
    navigationItem().setLeftBarButtonItem(doneItem);
    navigationItem().setRightBarButtonItem(nullptr);
}

void EditableListViewController::edit()
{
    if (_myTableView)
        _myTableView->setEditing(true, true);
    addEditModeBarButton();
}

void EditableListViewController::editDone()
{
    if (_myTableView)
        _myTableView->setEditing(false, true);
    addAddModeBarButton();
}

bool EditableListViewController::isRow(const ui::IndexPath& indexPath, std::size_t count)
{
    return indexPath.section == 0 && indexPath.row >= 0 && static_cast<std::size_t>(indexPath.row) < count;
}

void EditableListViewController::showStoredAfterFailure()
{
    foundation::log(m_name + ": the change was not stored");
    reloadViewData();
    StoreFailureAlert::show();
}

} // namespace tessaro

#include "screens/groups/AddNewGroupViewController.h"

#include "app/Utility.h"
#include "platform/foundation/LocalizedStrings.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TableView.h"
#include "screens/groups/GroupEditViewController.h"
#include "screens/groups/GroupRowPieces.h"

namespace tessaro {

namespace {

const std::string kNameCellIdentifier = "GroupNameCell";
const std::string kColorCellIdentifier = "GroupColorCell";
constexpr int kNameSection = 0;

} // namespace

AddNewGroupViewController::AddNewGroupViewController(std::optional<std::string> name, int editIndex, int colorIndex,
                                                     bool isNew, GroupEditViewController* controller)
    : _controller(controller)
    , _name(std::move(name))
    , _isNew(isNew)
    , _editIndex(editIndex)
    , _colorIndex(colorIndex)
{
}

AddNewGroupViewController::~AddNewGroupViewController()
{
    if (_myTableView) {
        _myTableView->setDataSource(nullptr);
        _myTableView->setDelegate(nullptr);
    }
    if (_txtName)
        _txtName->setDelegate(nullptr);
    if (_myPickerView) {
        _myPickerView->setDataSource(nullptr);
        _myPickerView->setDelegate(nullptr);
    }
}

void AddNewGroupViewController::viewDidLoad()
{
    setTitle(foundation::localized(_isNew ? "AddNewGroupTitle" : "EditGroupTitle"));
    auto doneItem = std::make_shared<ui::BarButtonItem>(ui::BarButtonSystemItem::Done, [this](ui::BarButtonItem&) { saveName(); });
    doneItem->setAccessibilityIdentifier("groupForm.done");
    navigationItem().setRightBarButtonItem(doneItem);
    auto cancelItem = std::make_shared<ui::BarButtonItem>(ui::BarButtonSystemItem::Cancel, [this](ui::BarButtonItem&) { cancelName(); });
    cancelItem->setAccessibilityIdentifier("groupForm.cancel");
    navigationItem().setLeftBarButtonItem(cancelItem);

    auto content = view();
    content->setBackgroundColor(ui::Color::groupTableViewBackgroundColor());
    _myTableView = std::make_shared<ui::TableView>(ui::Rect { 0, 0, content->bounds().width(), 460.0 + Utility::iPhone4to5SubSize() },
                                                   ui::TableViewStyle::Grouped);
    _myTableView->setBackgroundColor(ui::Color::clearColor());
    _myTableView->setAccessibilityIdentifier("groupForm.list");
    _myTableView->setDataSource(this);
    _myTableView->setDelegate(this);
    content->addSubview(_myTableView);

    _myPickerView = std::make_shared<ui::PickerView>();
    _myPickerView->setDataSource(this);
    _myPickerView->setDelegate(this);
    _myPickerView->setShowsSelectionIndicator(true);
    _myPickerView->setFrame(pickerFrameWithSize(_myPickerView->sizeThatFits({})));
    // Stays at the bottom, as wide as the screen, whatever room the bars leave.
    _myPickerView->setAutoresizingMask(ui::AutoresizingMask::FlexibleWidth | ui::AutoresizingMask::FlexibleTopMargin);
    _myPickerView->setAccessibilityIdentifier("groupForm.colors");
    _myPickerView->setHidden(true);
    content->addSubview(_myPickerView);
    _myPickerView->selectRow(_colorIndex + 1, 0, false);
}

void AddNewGroupViewController::viewDidAppear(bool animated)
{
    CommonViewController::viewDidAppear(animated);
    // The row may have been built before the form was on screen, when no keyboard can be had.
    if (_txtName && !_keyboardRequested)
        _keyboardRequested = _txtName->becomeFirstResponder();
}

ui::Rect AddNewGroupViewController::pickerFrameWithSize(const ui::Size& size)
{
    double screenHeight = ui::Screen::mainScreen().applicationFrame().height();
    return { 0, screenHeight - size.height, size.width, size.height };
}

void AddNewGroupViewController::makeNameField()
{
    _txtName = std::make_shared<ui::TextField>(ui::Rect { 10, 0, 280, kRowHeight });
    _txtName->setContentVerticalAlignment(ui::ContentVerticalAlignment::Center);
    _txtName->setFont(ui::Font::boldSystemFontOfSize(18));
    _txtName->setKeyboardType(ui::KeyboardType::Default);
    _txtName->setReturnKeyType(ui::ReturnKeyType::Done);
    _txtName->setDelegate(this);
    _txtName->setText(_name.value_or(std::string()));
    _txtName->setAccessibilityIdentifier("groupForm.name");
}

std::shared_ptr<ui::TableViewCell> AddNewGroupViewController::cellForRowAtIndexPath(ui::TableView& tableView,
                                                                                   const ui::IndexPath& indexPath)
{
    if (indexPath.section == kNameSection) {
        // The field lives in one cell, made once and kept, so that no other cell the table
        // asks for can take it away from the row that shows it.
        if (indexPath.row != 0)
            return std::make_shared<ui::TableViewCell>(ui::TableViewCellStyle::Default, kNameCellIdentifier);
        bool firstBuild = !_nameCell;
        if (firstBuild) {
            _nameCell = std::make_shared<ui::TableViewCell>(ui::TableViewCellStyle::Default, kNameCellIdentifier);
            _nameCell->setSelectionStyle(ui::TableViewCellSelectionStyle::None);
            makeNameField();
            _nameCell->contentView().addSubview(_txtName);
        }
        if (firstBuild && !_keyboardRequested)
            _keyboardRequested = _txtName->becomeFirstResponder();
        return _nameCell;
    }
    auto cell = tableView.dequeueReusableCellWithIdentifier(kColorCellIdentifier);
    if (!cell)
        cell = std::make_shared<ui::TableViewCell>(ui::TableViewCellStyle::Default, kColorCellIdentifier);
    auto& label = cell->textLabel();
    label.setText(foundation::localized("GroupColorSetButtonTitle"));
    GroupObject shown;
    shown.colorIndex = _colorIndex;
    label.setTextColor(GroupRowPieces::nameColor(shown));
    cell->setBackgroundColor(ui::Color::whiteColor());
    return cell;
}

void AddNewGroupViewController::didSelectRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath)
{
    if (indexPath.section != kNameSection)
        showColorPicker();
    tableView.deselectRowAtIndexPath(indexPath, true);
}

void AddNewGroupViewController::showColorPicker()
{
    if (_txtName)
        _txtName->resignFirstResponder();
    if (_myPickerView) {
        _myPickerView->setHidden(false);
        _myPickerView->superview()->bringSubviewToFront(*_myPickerView);
    }
}

void AddNewGroupViewController::textFieldDidBeginEditing(ui::TextField&)
{
    if (_myPickerView)
        _myPickerView->setHidden(true);
}

bool AddNewGroupViewController::textFieldShouldReturn(ui::TextField& field)
{
    field.resignFirstResponder();
    return true;
}

std::shared_ptr<ui::View> AddNewGroupViewController::viewForRow(ui::PickerView&, int row, int, std::shared_ptr<ui::View>)
{
    auto swatch = std::make_shared<ui::Label>(ui::Rect { 0, 0, 240, 30 });
    if (row == 0) {
        swatch->setText(foundation::localized("GroupNoneTitle"));
        swatch->setFont(ui::Font::boldSystemFontOfSize(16));
        swatch->setBackgroundColor(ui::Color::clearColor());
    } else {
        swatch->setBackgroundColor(Utility::getGroupColorwithIndex(row - 1));
    }
    swatch->setAccessibilityIdentifier("groupForm.color." + std::to_string(row - 1));
    return swatch;
}

void AddNewGroupViewController::didSelectRow(ui::PickerView&, int row, int)
{
    if (row < 0 || row >= kPickerRows)
        return;
    _colorIndex = row - 1;
    if (_myTableView)
        _myTableView->reloadData();
}

void AddNewGroupViewController::saveName()
{
    std::string name = _txtName ? _txtName->text() : _name.value_or(std::string());
    if (name.empty()) {
        std::make_shared<ui::AlertView>(std::string(), foundation::localized("PleaseInputGroupName"), nullptr, "OK")->show();
        return;
    }
    if (!_controller) {
        dismissViewControllerAnimated(true);
        return;
    }
    // A group the address book refused keeps the form open with what the user typed; the
    // editor has said why.
    if (_isNew) {
        if (!_controller->addNewGroupDone(name, _colorIndex))
            return;
    } else {
        _controller->editGroupDone(name, _colorIndex, _editIndex);
    }
    _controller->dismissViewControllerAnimated(true);
}

void AddNewGroupViewController::cancelName()
{
    if (_controller)
        _controller->dismissViewControllerAnimated(true);
    else
        dismissViewControllerAnimated(true);
}

} // namespace tessaro

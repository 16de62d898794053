#pragma once
// The small form behind adding and editing a group: a name field and a colour row that
// opens a spinning list of the palette's 44 colours and a row for no colour. Done hands the
// name and colour to the group editor, which stores them; Cancel discards the form.
//
// Ownership: the form owns its table, name field and picker; it is owned by the navigation
// controller that the editor presents, and keeps the editor as a plain pointer (the editor
// presents it, so it outlives it).

#include "app/CommonViewController.h"
#include "platform/ui/PickerView.h"
#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"
#include "platform/ui/TextField.h"

#include <memory>
#include <optional>
#include <string>

namespace ui {
class TableView;
}

namespace tessaro {

class GroupEditViewController;

class AddNewGroupViewController : public CommonViewController,
                                  public ui::TableViewDataSource,
                                  public ui::TableViewDelegate,
                                  public ui::TextFieldDelegate,
                                  public ui::PickerViewDataSource,
                                  public ui::PickerViewDelegate {
public:
    static constexpr double kRowHeight = 48;
    // Row 0 of the picker is "no colour"; row k is palette colour k - 1.
    static constexpr int kPickerRows = 45;
    static constexpr double kPickerRowHeight = 40;
    static constexpr double kPickerWidth = 280;

    // name: the name to start with (none for a new group); editIndex: the catalogue index of
    // the group being edited (unused when adding); colorIndex: the palette index, -1 for none.
    AddNewGroupViewController(std::optional<std::string> name, int editIndex, int colorIndex, bool isNew,
                              GroupEditViewController* controller);
    ~AddNewGroupViewController() override;

    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;

    // Done: hands the name and colour over and closes, or asks for a name.
    void saveName();
    // Cancel: closes without storing anything.
    void cancelName();
    // Where a picker of this size sits: at the bottom of the screen's application frame.
    static ui::Rect pickerFrameWithSize(const ui::Size& size);

    int colorIndex() const { return _colorIndex; }
    bool isNew() const { return _isNew; }
    ui::TextField* nameField() const { return _txtName.get(); }
    ui::PickerView* pickerView() const { return _myPickerView.get(); }
    ui::TableView* tableView() const { return _myTableView.get(); }
    // The colour row was touched: the keyboard goes and the picker shows.
    void showColorPicker();

    // Table: the name row and the colour row.
    int numberOfSectionsInTableView(ui::TableView&) override { return 2; }
    int numberOfRowsInSection(ui::TableView&, int) override { return 1; }
    std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override;
    double heightForRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override { return kRowHeight; }
    void didSelectRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override;

    // Name field.
    void textFieldDidBeginEditing(ui::TextField&) override;
    bool textFieldShouldReturn(ui::TextField&) override;

    // Colour picker.
    int numberOfComponentsInPickerView(ui::PickerView&) override { return 1; }
    int numberOfRowsInComponent(ui::PickerView&, int) override { return kPickerRows; }
    double widthForComponent(ui::PickerView&, int) override { return kPickerWidth; }
    double rowHeightForComponent(ui::PickerView&, int) override { return kPickerRowHeight; }
    std::shared_ptr<ui::View> viewForRow(ui::PickerView&, int row, int component, std::shared_ptr<ui::View> reusing) override;
    void didSelectRow(ui::PickerView&, int row, int component) override;

private:
    void makeNameField();

    GroupEditViewController* _controller { nullptr };
    std::optional<std::string> _name;
    bool _isNew { true };
    int _editIndex { 0 };
    int _colorIndex { -1 };
    std::shared_ptr<ui::TableView> _myTableView;
    std::shared_ptr<ui::TableViewCell> _nameCell;
    std::shared_ptr<ui::TextField> _txtName;
    std::shared_ptr<ui::PickerView> _myPickerView;
    // The field asks for the keyboard once, when it is first shown.
    bool _keyboardRequested { false };
};

} // namespace tessaro

#pragma once
// The root screen of the settings tab. The application keeps no settings, so the screen
// only tells about itself: a panel with the icon, the name, the version and the rights
// notice; a row that opens the how-to-use pages; and a row left for a promotion, which
// stays empty. Nothing is read from or written to the database.
//
// Ownership: the screen owns its table; the how-to-use pages are owned by their
// presentation and hold the screen weakly.

#include "app/CommonViewController.h"
#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"

#include <memory>

namespace ui {
class TableView;
}

namespace tessaro {

class SettingsViewController : public CommonViewController, public ui::TableViewDataSource, public ui::TableViewDelegate {
public:
    enum Section { kInformationSection = 0, kHowToUseSection = 1, kPromotionSection = 2 };
    static constexpr const char* kVersionText = "Version 1.9";
    // Each cell's content lies in one container, tagged by its row, that is built afresh
    // every time the cell is handed out.
    static constexpr int kContainerTag = 1000;

    SettingsViewController() = default;
    ~SettingsViewController() override;

    void loadView() override;
    void viewDidLoad() override;

    // The table.
    int numberOfSectionsInTableView(ui::TableView& tableView) override { (void)tableView; return 3; }
    int numberOfRowsInSection(ui::TableView& tableView, int section) override;
    double heightForRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath) override;
    std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath) override;
    void didSelectRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath) override;

    // Presents the how-to-use pages over everything.
    void showHowToUse();

    ui::TableView* myTableView() const { return _myTableView.get(); }

private:
    std::shared_ptr<ui::TableViewCell> obtainTableCellForRow(ui::TableView& tableView, int row, int section);
    void fillInformationPanel(ui::View& container);

    std::shared_ptr<ui::TableView> _myTableView;
};

} // namespace tessaro

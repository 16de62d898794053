#pragma once
// The stand-in screen that automation drives until the application's own start-up takes
// its place: a list of a few dozen names in alphabetical sections, with a search bar and
// a section index, editing (delete, move within a section), an action sheet of device
// hand-offs, and a detail screen per name.
//
// Ownership: the list owns its table, search bar and search display controller, and is
// their data source and delegates; the navigation stack owns the list.

#include "platform/ui/ActionSheet.h"
#include "platform/ui/SearchBar.h"
#include "platform/ui/SearchDisplayController.h"
#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"
#include "platform/ui/ViewController.h"

#include <memory>
#include <string>
#include <vector>

namespace ui {
class TableView;
}

namespace tessaro::sample {

class SampleListController final : public ui::ViewController,
                                   public ui::TableViewDataSource,
                                   public ui::TableViewDelegate,
                                   public ui::SearchBarDelegate,
                                   public ui::SearchDisplayControllerDelegate,
                                   public ui::ActionSheetDelegate {
public:
    explicit SampleListController(std::vector<std::string> names);
    ~SampleListController() override;

    void viewDidLoad() override;
    void setEditing(bool editing, bool animated) override;

    // The names as listed, section by section.
    std::vector<std::string> listedNames() const;
    // Lists the names again (the return to the foreground does it).
    void reload();

    // Table data source and delegate (both tables: the list and the search results).
    int numberOfSectionsInTableView(ui::TableView&) override;
    int numberOfRowsInSection(ui::TableView&, int section) override;
    std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override;
    std::string titleForHeaderInSection(ui::TableView&, int section) override;
    std::vector<std::string> sectionIndexTitlesForTableView(ui::TableView&) override;
    int sectionForSectionIndexTitle(ui::TableView&, const std::string& title, int index) override;
    bool canEditRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override;
    bool canMoveRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override;
    void commitEditingStyle(ui::TableView&, ui::TableViewCellEditingStyle, const ui::IndexPath&) override;
    void moveRowAtIndexPath(ui::TableView&, const ui::IndexPath& from, const ui::IndexPath& to) override;
    ui::IndexPath targetIndexPathForMoveFromRowAtIndexPath(ui::TableView&, const ui::IndexPath& from,
                                                          const ui::IndexPath& proposed) override;
    void didSelectRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override;

    // Search.
    void textDidChange(ui::SearchBar&, const std::string& searchText) override;
    void searchBarCancelButtonClicked(ui::SearchBar&) override;

    // The action sheet of the Actions button.
    void clickedButtonAtIndex(ui::ActionSheet&, int buttonIndex) override;

private:
    struct Section {
        std::string title;
        std::vector<std::string> names;
    };

    void buildSections();
    bool isResults(const ui::TableView& tableView) const;
    const std::string& nameAt(ui::TableView& tableView, const ui::IndexPath& indexPath) const;
    void showActions();

    std::vector<std::string> m_names;
    std::vector<Section> m_sections;
    std::vector<std::string> m_matches;
    std::shared_ptr<ui::TableView> m_tableView;
    std::shared_ptr<ui::SearchBar> m_searchBar;
    std::unique_ptr<ui::SearchDisplayController> m_searchController;
};

} // namespace tessaro::sample

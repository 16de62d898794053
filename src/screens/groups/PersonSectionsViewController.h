#pragma once
// The base of the groups tab's person lists (a group's persons, and member editing): persons
// in the alphabetical sections of the device's language, the section index at the right edge
// headed by the search symbol, and a search field above the list that narrows it by name or
// number. While a search runs the sections hold the matches (one sorted section, or none),
// and both the list and the search results answer from them. Which persons a list holds,
// how its rows look and what a touch does belong to the screen built on this.
//
// Ownership: the screen owns its table, search bar and search display controller (which
// owns the results table); they are made when the view loads.

#include "addressbook/Contact.h"
#include "app/CommonViewController.h"
#include "app/PersonRowPieces.h"
#include "platform/ui/Color.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/SearchBar.h"
#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"

#include <memory>
#include <string>
#include <vector>

namespace ui {
class SearchDisplayController;
class TableView;
class TableViewCell;
class View;
} // namespace ui

namespace tessaro {

class PersonSectionsViewController : public CommonViewController,
                                     public ui::TableViewDataSource,
                                     public ui::TableViewDelegate,
                                     public ui::SearchBarDelegate {
public:
    // The photo's box inside the 48-point square at the left of a row.
    static constexpr double kPhotoBox = PersonRowPieces::kPhotoBox;

    ~PersonSectionsViewController() override;

    // Rebuilds the sections: every person of the list in alphabetical sections, or while a
    // search runs the matches of the search field's text.
    virtual void initData() = 0;
    void reloadViewData() override;
    void reloadSearchData();

    // Both tables: the list and the search results.
    int numberOfSectionsInTableView(ui::TableView& tableView) override;
    int numberOfRowsInSection(ui::TableView& tableView, int section) override;
    std::string titleForHeaderInSection(ui::TableView& tableView, int section) override;
    std::vector<std::string> sectionIndexTitlesForTableView(ui::TableView& tableView) override;
    int sectionForSectionIndexTitle(ui::TableView& tableView, const std::string& title, int index) override;

    // The search field.
    bool searchBarShouldBeginEditing(ui::SearchBar& searchBar) override;
    void textDidChange(ui::SearchBar& searchBar, const std::string& searchText) override;
    void searchBarSearchButtonClicked(ui::SearchBar& searchBar) override;
    void searchBarCancelButtonClicked(ui::SearchBar& searchBar) override;
    bool searchBarShouldEndEditing(ui::SearchBar& searchBar) override;

    ui::SearchBar* searchBar() const { return _searchBar.get(); }
    ui::SearchDisplayController* searchDisplayController() const { return _searchDC.get(); }

    // The size of a photo of that pixel size scaled into the photo box, keeping its aspect.
    static ui::Size photoSize(const ui::Size& imageSize);
    // The row's name: the person's name, or the phone numbers for a person without one.
    static std::string personRowName(const Contact& person);
    // Organisation, job title and department, each left empty when missing.
    static std::string personRowDetail(const Contact& person);

    // The person row every person list shares (the favourites too): a cell emptied of the
    // contents a reused row had, then the photo, the name in bold and the grey detail line,
    // from x on.
    static std::shared_ptr<ui::TableViewCell> emptyPersonCell(ui::TableView& tableView, const std::string& identifier);
    static void addPersonPieces(ui::View& content, const Contact& person, double x, double nameWidth, double detailWidth,
                                const ui::Color& nameColor = ui::Color::blackColor());
    // From system 7 on the rows' contents sit 10 points further right, clear of the flat
    // look's wider left inset.
    static double rowOffset();

protected:
    // Out of line, where the search display controller's type is complete.
    PersonSectionsViewController();

    // Makes the list in the page with the search field as its header, and the search display
    // controller whose results this screen answers too. `name` starts the accessibility
    // identifiers: name.list, name.search and name.results.
    void buildSearchableList(ui::View& page, const ui::Rect& frame, const std::string& name);

    // What the search field holds, with the blanks taken out as the search wants it.
    std::string searchText() const;
    // No sections: the index holds the search symbol alone.
    void clearSections();
    // The persons in their sections, or while a search runs the ones matching the search
    // field's text, sorted, as one section.
    void showPersons(std::vector<Contact> persons);
    // The matches of a search, sorted already, as one section.
    void showMatches(std::vector<Contact> sortedMatches);
    // The person at the index path, if the sections hold one there. The list keeps the
    // counts it last loaded while a search changes the sections under it, so an index path
    // may point past what the sections hold now.
    const Contact* personAt(const ui::IndexPath& indexPath) const;
    void reloadSearchResultsIfActive();

    // The small red tag of a person kept on an Exchange server, which groups cannot hold.
    static void addExchangeTagIfAny(ui::View& content, const Contact& person, double x);

    std::vector<std::vector<Contact>> _arrSection;
    // The index: the search symbol, then the title of each section.
    std::vector<std::string> _arrSectionTitle;
    std::shared_ptr<ui::TableView> _myTableView;
    std::shared_ptr<ui::SearchBar> _searchBar;
    std::unique_ptr<ui::SearchDisplayController> _searchDC;
    bool _isSearch { false };
    bool _isSearchCancelButtonClicked { false };
};

} // namespace tessaro

#pragma once
// Runs a search over a list screen: when its search bar starts editing, the search
// becomes active (the bar shows Cancel and the list dims); as soon as there is text, a
// results table of its own lies over the list below the bar, filled by the results data
// source and delegate (usually the list screen itself, which tells the two tables apart).
// Cancel, or a touch on the dimmed list, ends the search: the text is cleared, the bar
// gives up the keyboard and the results go.
//
// The order of the calls, as the handset makes them (the bar's delegate first, then this
// controller's):
//   touch on the bar:  searchBarShouldBeginEditing, searchDisplayControllerWillBeginSearch,
//                      searchBarTextDidBeginEditing, and after the animation
//                      searchDisplayControllerDidBeginSearch
//   each change:       textDidChange, shouldReloadTableForSearchString (true reloads the
//                      results table)
//   search key:        searchBarSearchButtonClicked, searchBarShouldEndEditing,
//                      searchBarTextDidEndEditing (the search stays active)
//   Cancel:            searchBarCancelButtonClicked, searchDisplayControllerWillEndSearch,
//                      textDidChange("") when there was text, searchBarShouldEndEditing,
//                      searchBarTextDidEndEditing (while editing), and after the animation
//                      searchDisplayControllerDidEndSearch
// isActive() turns true just after WillBeginSearch and false just after WillEndSearch.
//
// Ownership: the controller shares the search bar with the list (whose header it is) and
// owns the results table. The contents controller, the delegate and the results data
// source and delegate are plain pointers; the list screen that owns the controller is all
// of them and outlives it.

#include "platform/ui/Geometry.h"

#include <memory>
#include <string>

namespace ui {

class SearchBar;
class SearchDisplayController;
class TableView;
class TableViewDataSource;
class TableViewDelegate;
class View;
class ViewController;

class SearchDisplayControllerDelegate {
public:
    virtual ~SearchDisplayControllerDelegate() = default;
    virtual void searchDisplayControllerWillBeginSearch(SearchDisplayController&) { }
    virtual void searchDisplayControllerDidBeginSearch(SearchDisplayController&) { }
    virtual void searchDisplayControllerWillEndSearch(SearchDisplayController&) { }
    virtual void searchDisplayControllerDidEndSearch(SearchDisplayController&) { }
    // Whether the results table should be reloaded for the new text.
    virtual bool shouldReloadTableForSearchString(SearchDisplayController&, const std::string& /*searchString*/) { return true; }
    virtual void didLoadSearchResultsTableView(SearchDisplayController&, TableView&) { }
    virtual void willShowSearchResultsTableView(SearchDisplayController&, TableView&) { }
    virtual void didHideSearchResultsTableView(SearchDisplayController&, TableView&) { }
};

class SearchDisplayController {
public:
    // How long the bar and the dimming take to come and go; the did- calls follow it.
    static constexpr double animationDuration = 0.25;

    SearchDisplayController(std::shared_ptr<SearchBar> searchBar, ViewController& contentsController);
    ~SearchDisplayController();
    SearchDisplayController(const SearchDisplayController&) = delete;
    SearchDisplayController& operator=(const SearchDisplayController&) = delete;

    SearchBar& searchBar() const { return *m_searchBar; }
    ViewController& searchContentsController() const { return *m_contentsController; }

    SearchDisplayControllerDelegate* delegate() const { return m_delegate; }
    void setDelegate(SearchDisplayControllerDelegate* delegate) { m_delegate = delegate; }
    TableViewDataSource* searchResultsDataSource() const { return m_resultsDataSource; }
    void setSearchResultsDataSource(TableViewDataSource* dataSource);
    TableViewDelegate* searchResultsDelegate() const { return m_resultsDelegate; }
    void setSearchResultsDelegate(TableViewDelegate* delegate);

    // Made on first request.
    const std::shared_ptr<TableView>& searchResultsTableView();
    // Whether the results table lies over the list now.
    bool isShowingResults() const { return m_showingResults; }

    bool isActive() const { return m_active; }
    // Starting gives the bar the keyboard; ending clears it and takes the keyboard away.
    void setActive(bool visible, bool animated);

private:
    friend class SearchBar;

    // Calls from the bar.
    void searchBarWillBeginEditing();
    void searchBarTextDidChange(const std::string& text);
    void searchBarSearchButtonClicked();
    void searchBarCancelButtonClicked();

    void updatePresentation();
    void showResults(View& host, const Rect& area);
    void hideResults();
    Rect areaBelowSearchBar(View& host) const;

    std::shared_ptr<SearchBar> m_searchBar;
    ViewController* m_contentsController { nullptr };
    SearchDisplayControllerDelegate* m_delegate { nullptr };
    TableViewDataSource* m_resultsDataSource { nullptr };
    TableViewDelegate* m_resultsDelegate { nullptr };
    std::shared_ptr<TableView> m_resultsTable;
    std::shared_ptr<View> m_dimmingView;
    bool m_active { false };
    bool m_showingResults { false };
    bool m_activating { false };
    // Guards the delayed did- calls against a controller that has gone.
    std::shared_ptr<int> m_lifetime { std::make_shared<int>(0) };
};

} // namespace ui

#include "platform/ui/SearchDisplayController.h"

#include "platform/foundation/RunLoop.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/SearchBar.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"
#include "platform/ui/ViewController.h"

#include <algorithm>
#include <functional>

namespace ui {

namespace {

// The dark veil over the list while a search has no text yet; a touch on it ends the search.
class DimmingView final : public View {
public:
    std::function<void()> tapped;

    DimmingView() { setBackgroundColor(Color::blackColor().withAlpha(0.8)); }
    std::string typeName() const override { return "SearchDimmingView"; }
    void touchesBegan(const Touch&) override { }
    void touchesMoved(const Touch&) override { }
    void touchesCancelled(const Touch&) override { }
    void touchesEnded(const Touch&) override
    {
        if (tapped)
            tapped();
    }
};

} // namespace

SearchDisplayController::SearchDisplayController(std::shared_ptr<SearchBar> searchBar, ViewController& contentsController)
    : m_searchBar(std::move(searchBar))
    , m_contentsController(&contentsController)
{
    m_searchBar->m_displayController = this;
}

SearchDisplayController::~SearchDisplayController()
{
    if (m_searchBar->m_displayController == this)
        m_searchBar->m_displayController = nullptr;
    if (m_resultsTable) {
        m_resultsTable->setDataSource(nullptr);
        m_resultsTable->setDelegate(nullptr);
        m_resultsTable->removeFromSuperview();
    }
    if (m_dimmingView)
        m_dimmingView->removeFromSuperview();
}

void SearchDisplayController::setSearchResultsDataSource(TableViewDataSource* dataSource)
{
    m_resultsDataSource = dataSource;
    if (m_resultsTable)
        m_resultsTable->setDataSource(dataSource);
}

void SearchDisplayController::setSearchResultsDelegate(TableViewDelegate* delegate)
{
    m_resultsDelegate = delegate;
    if (m_resultsTable)
        m_resultsTable->setDelegate(delegate);
}

const std::shared_ptr<TableView>& SearchDisplayController::searchResultsTableView()
{
    if (!m_resultsTable) {
        m_resultsTable = std::make_shared<TableView>(Rect {}, TableViewStyle::Plain);
        m_resultsTable->setAutoresizingMask(AutoresizingMask::FlexibleWidth | AutoresizingMask::FlexibleHeight);
        m_resultsTable->setDataSource(m_resultsDataSource);
        m_resultsTable->setDelegate(m_resultsDelegate);
        if (m_delegate)
            m_delegate->didLoadSearchResultsTableView(*this, *m_resultsTable);
    }
    return m_resultsTable;
}

void SearchDisplayController::setActive(bool visible, bool animated)
{
    if (visible == m_active)
        return;
    std::weak_ptr<const void> guard = m_lifetime;
    double delay = animated ? animationDuration : 0;
    if (visible) {
        if (m_delegate)
            m_delegate->searchDisplayControllerWillBeginSearch(*this);
        m_active = true;
        m_searchBar->setShowsCancelButton(true, animated);
        // The bar may have scrolled away with the list it heads.
        if (auto* scroller = dynamic_cast<ScrollView*>(m_searchBar->superview()))
            scroller->scrollRectToVisible(m_searchBar->frame(), false);
        updatePresentation();
        if (!m_activating && !m_searchBar->isFirstResponder())
            m_searchBar->becomeFirstResponder();
        auto finish = [this] {
            if (m_active && m_delegate)
                m_delegate->searchDisplayControllerDidBeginSearch(*this);
        };
        if (animated)
            foundation::RunLoop::main().performAfterDelay(delay, guard, finish);
        else
            finish();
        return;
    }
    if (m_delegate)
        m_delegate->searchDisplayControllerWillEndSearch(*this);
    m_active = false;
    m_searchBar->clearTextForEndOfSearch();
    m_searchBar->resignFirstResponder();
    m_searchBar->setShowsCancelButton(false, animated);
    updatePresentation();
    auto finish = [this] {
        if (!m_active && m_delegate)
            m_delegate->searchDisplayControllerDidEndSearch(*this);
    };
    if (animated)
        foundation::RunLoop::main().performAfterDelay(delay, guard, finish);
    else
        finish();
}

void SearchDisplayController::searchBarWillBeginEditing()
{
    if (m_active)
        return;
    m_activating = true;
    setActive(true, true);
    m_activating = false;
}

void SearchDisplayController::searchBarTextDidChange(const std::string& text)
{
    if (!m_active)
        return;
    bool reload = !m_delegate || m_delegate->shouldReloadTableForSearchString(*this, text);
    bool wasShowing = m_showingResults;
    updatePresentation();
    // A table that has just come up was loaded as it came.
    if (reload && wasShowing && m_showingResults)
        m_resultsTable->reloadData();
}

void SearchDisplayController::searchBarSearchButtonClicked()
{
    m_searchBar->resignFirstResponder();
}

void SearchDisplayController::searchBarCancelButtonClicked()
{
    setActive(false, true);
}

Rect SearchDisplayController::areaBelowSearchBar(View& host) const
{
    Rect bar = m_searchBar->convertRectToView(m_searchBar->bounds(), &host);
    if (!m_searchBar->window() && !m_searchBar->isDescendantOf(host))
        bar = {};
    double top = std::clamp(bar.maxY(), 0.0, host.bounds().height());
    return { 0, top, host.bounds().width(), host.bounds().height() - top };
}

void SearchDisplayController::updatePresentation()
{
    // The list the bar heads shows or hides its section index with the search.
    if (auto* list = dynamic_cast<TableView*>(m_searchBar->superview()))
        list->setNeedsLayout();
    View* host = m_contentsController->viewIfLoaded();
    if (!m_active || !host) {
        hideResults();
        if (m_dimmingView)
            m_dimmingView->removeFromSuperview();
        return;
    }
    Rect area = areaBelowSearchBar(*host);
    if (m_searchBar->text().empty()) {
        hideResults();
        if (!m_dimmingView) {
            auto dimming = std::make_shared<DimmingView>();
            dimming->tapped = [this] { setActive(false, true); };
            m_dimmingView = dimming;
        }
        m_dimmingView->setFrame(area);
        host->addSubview(m_dimmingView);
        return;
    }
    if (m_dimmingView)
        m_dimmingView->removeFromSuperview();
    showResults(*host, area);
}

void SearchDisplayController::showResults(View& host, const Rect& area)
{
    auto& table = searchResultsTableView();
    table->setFrame(area);
    if (m_showingResults && table->superview() == &host)
        return;
    if (m_delegate)
        m_delegate->willShowSearchResultsTableView(*this, *table);
    host.addSubview(table);
    m_showingResults = true;
    table->setContentOffset({ 0, 0 });
    table->reloadData();
}

void SearchDisplayController::hideResults()
{
    if (!m_showingResults)
        return;
    m_showingResults = false;
    m_resultsTable->removeFromSuperview();
    if (m_delegate)
        m_delegate->didHideSearchResultsTableView(*this, *m_resultsTable);
}

} // namespace ui

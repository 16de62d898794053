#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/SearchBar.h"
#include "platform/ui/SearchDisplayController.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"
#include "platform/ui/TextField.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"
#include "support/ManualTime.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace ui;

namespace {

// A list screen with a search bar over its table, writing down every search event it
// hears, with whether the search was active at that moment ("+" active, "-" not).
class SearchScreen final : public ViewController,
                           public TableViewDataSource,
                           public TableViewDelegate,
                           public SearchBarDelegate,
                           public SearchDisplayControllerDelegate {
public:
    std::vector<std::string> journal;
    bool allowBegin { true };
    bool reloadForText { true };
    int resultRequests { 0 };
    std::vector<std::string> indexTitles;
    std::shared_ptr<TableView> table;
    std::shared_ptr<SearchBar> bar;
    std::unique_ptr<SearchDisplayController> search;

    void viewDidLoad() override
    {
        table = std::make_shared<TableView>(view()->bounds());
        bar = std::make_shared<SearchBar>(Rect { 0, 0, 320, SearchBar::height });
        bar->setPlaceholder("Search");
        bar->setDelegate(this);
        table->setTableHeaderView(bar);
        table->setDataSource(this);
        table->setDelegate(this);
        view()->addSubview(table);
        search = std::make_unique<SearchDisplayController>(bar, *this);
        search->setDelegate(this);
        search->setSearchResultsDataSource(this);
        search->setSearchResultsDelegate(this);
    }
    ~SearchScreen() override
    {
        if (bar)
            bar->setDelegate(nullptr);
        if (table) {
            table->setDataSource(nullptr);
            table->setDelegate(nullptr);
        }
    }

    void note(const std::string& event) { journal.push_back(event + (search && search->isActive() ? " +" : " -")); }
    std::vector<std::string> take() { return std::exchange(journal, {}); }

    int numberOfRowsInSection(TableView& tableView, int) override
    {
        if (search && &tableView == search->searchResultsTableView().get()) {
            ++resultRequests;
            return static_cast<int>(bar->text().size());
        }
        return 40;
    }
    std::vector<std::string> sectionIndexTitlesForTableView(TableView& tableView) override
    {
        return &tableView == table.get() ? indexTitles : std::vector<std::string> {};
    }
    std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView, const IndexPath& p) override
    {
        auto cell = tableView.dequeueReusableCellWithIdentifier("row");
        if (!cell)
            cell = std::make_shared<TableViewCell>(TableViewCellStyle::Default, "row");
        cell->textLabel().setText("row " + std::to_string(p.row));
        return cell;
    }

    bool searchBarShouldBeginEditing(SearchBar&) override
    {
        note("shouldBeginEditing");
        return allowBegin;
    }
    void searchBarTextDidBeginEditing(SearchBar&) override { note("didBeginEditing"); }
    void textDidChange(SearchBar&, const std::string& text) override { note("textDidChange '" + text + "'"); }
    void searchBarSearchButtonClicked(SearchBar&) override { note("searchButton"); }
    void searchBarCancelButtonClicked(SearchBar&) override { note("cancelButton"); }
    bool searchBarShouldEndEditing(SearchBar&) override
    {
        note("shouldEndEditing");
        return true;
    }
    void searchBarTextDidEndEditing(SearchBar&) override { note("didEndEditing"); }

    void searchDisplayControllerWillBeginSearch(SearchDisplayController&) override { note("willBeginSearch"); }
    void searchDisplayControllerDidBeginSearch(SearchDisplayController&) override { note("didBeginSearch"); }
    void searchDisplayControllerWillEndSearch(SearchDisplayController&) override { note("willEndSearch"); }
    void searchDisplayControllerDidEndSearch(SearchDisplayController&) override { note("didEndSearch"); }
    bool shouldReloadTableForSearchString(SearchDisplayController&, const std::string& text) override
    {
        note("shouldReload '" + text + "'");
        return reloadForText;
    }
    void didHideSearchResultsTableView(SearchDisplayController&, TableView&) override { note("didHideResults"); }
};

struct SearchDisplayControllerTest : ::testing::Test {
    testsupport::ManualTime time;
    std::shared_ptr<Window> window = std::make_shared<Window>(Rect { 0, 0, 320, 568 });
    std::shared_ptr<SearchScreen> screen = std::make_shared<SearchScreen>();
    using Journal = std::vector<std::string>;

    void SetUp() override
    {
        screen->view()->setFrame(window->bounds());
        window->setRootViewController(screen);
        window->makeKeyAndVisible();
        window->layoutIfNeeded();
    }
    void tapSearchField()
    {
        TextField& field = screen->bar->textField();
        window->tap(field.convertPointToView(field.bounds().center(), nullptr));
    }
    TextInput& keyboard() { return *window->firstResponder()->textInput(); }
};

} // namespace

TEST_F(SearchDisplayControllerTest, ATouchOnTheBarBeginsTheSearchInTheHandsetsOrder)
{
    tapSearchField();
    EXPECT_EQ(screen->take(), (Journal { "shouldBeginEditing -", "willBeginSearch -", "didBeginEditing +" }));
    EXPECT_TRUE(screen->bar->isFirstResponder());
    ASSERT_NE(screen->bar->cancelButton(), nullptr);
    time.advance(SearchDisplayController::animationDuration);
    EXPECT_EQ(screen->take(), (Journal { "didBeginSearch +" }));

    // Each keystroke: the bar's delegate first, then the question whether to reload.
    keyboard().insertText("a");
    keyboard().insertText("b");
    EXPECT_EQ(screen->take(), (Journal { "textDidChange 'a' +", "shouldReload 'a' +", "textDidChange 'ab' +", "shouldReload 'ab' +" }));
    EXPECT_TRUE(screen->search->isShowingResults());
    EXPECT_EQ(screen->search->searchResultsTableView()->numberOfRowsInSection(0), 2);

    // The search key puts the keyboard away; the search and its results stay.
    keyboard().insertText("\n");
    EXPECT_EQ(screen->take(), (Journal { "searchButton +", "shouldEndEditing +", "didEndEditing +" }));
    EXPECT_TRUE(screen->search->isActive());
    EXPECT_EQ(window->firstResponder(), nullptr);

    window->tap(screen->bar->cancelButton()->convertPointToView({ 10, 10 }, nullptr));
    EXPECT_EQ(screen->take(), (Journal { "cancelButton +", "willEndSearch +", "textDidChange '' -", "didHideResults -" }));
    EXPECT_FALSE(screen->search->isShowingResults());
    EXPECT_EQ(screen->search->searchResultsTableView()->superview(), nullptr);
    EXPECT_EQ(screen->bar->text(), "");
    EXPECT_EQ(screen->bar->cancelButton(), nullptr);
    time.advance(SearchDisplayController::animationDuration);
    EXPECT_EQ(screen->take(), (Journal { "didEndSearch -" }));
}

TEST_F(SearchDisplayControllerTest, CancelWhileTypingAlsoEndsTheEditingAfterClearingTheText)
{
    tapSearchField();
    keyboard().insertText("x");
    screen->take();
    window->tap(screen->bar->cancelButton()->convertPointToView({ 10, 10 }, nullptr));
    EXPECT_EQ(screen->take(), (Journal { "cancelButton +", "willEndSearch +", "textDidChange '' -", "shouldEndEditing -",
                                         "didEndEditing -", "didHideResults -" }));
    EXPECT_EQ(window->firstResponder(), nullptr);
}

TEST_F(SearchDisplayControllerTest, ResultsCoverTheListOnlyWhileThereIsTextAndReloadOnlyWhenAsked)
{
    tapSearchField();
    View& content = *screen->view();
    // No text yet: the list is dimmed, and a touch on it ends the search.
    ASSERT_EQ(content.subviews().back()->typeName(), "SearchDimmingView");
    EXPECT_EQ(content.subviews().back()->frame().y(), SearchBar::height);

    keyboard().insertText("ab");
    auto results = screen->search->searchResultsTableView();
    EXPECT_EQ(results->superview(), &content);
    EXPECT_EQ(results->frame(), (Rect { 0, SearchBar::height, 320, 568 - SearchBar::height }));
    int requests = screen->resultRequests;
    screen->reloadForText = false;
    keyboard().insertText("c");
    EXPECT_EQ(screen->resultRequests, requests);
    EXPECT_EQ(results->numberOfRowsInSection(0), 2);
    screen->reloadForText = true;
    keyboard().insertText("d");
    EXPECT_EQ(results->numberOfRowsInSection(0), 4);

    // Erasing all the text takes the results away again and dims the list.
    keyboard().replaceTextFromInput("");
    EXPECT_FALSE(screen->search->isShowingResults());
    ASSERT_EQ(content.subviews().back()->typeName(), "SearchDimmingView");
    screen->take();
    window->tap({ 160, 400 });
    EXPECT_EQ(screen->take(), (Journal { "willEndSearch +", "shouldEndEditing -", "didEndEditing -" }));
    EXPECT_FALSE(screen->search->isActive());
    EXPECT_NE(content.subviews().back()->typeName(), "SearchDimmingView");
}

TEST_F(SearchDisplayControllerTest, TheSectionIndexKeepsClearOfTheFieldAndGoesWhileTheSearchRuns)
{
    screen->indexTitles = { TableViewIndexSearch, "A", "B" };
    screen->table->reloadData();
    TextField& field = screen->bar->textField();
    auto fieldRight = [&] {
        window->layoutIfNeeded();
        return field.convertRectToView(field.bounds(), nullptr).maxX();
    };
    EXPECT_LE(fieldRight(), 320 - TableView::sectionIndexWidth);
    EXPECT_TRUE(screen->table->isShowingSectionIndex());

    for (const char* typed : { "", "ab" }) {
        SCOPED_TRACE(std::string("searching for '") + typed + "'");
        tapSearchField();
        keyboard().insertText(typed);
        window->layoutIfNeeded();
        EXPECT_FALSE(screen->table->isShowingSectionIndex());
        ASSERT_NE(screen->bar->cancelButton(), nullptr);
        Button& cancel = *screen->bar->cancelButton();
        View* hit = window->hitTest(cancel.convertPointToView({ cancel.bounds().width() - 5, 20 }, nullptr));
        EXPECT_TRUE(hit && (hit == &cancel || hit->isDescendantOf(cancel))) << "Cancel takes a touch at its right end";

        screen->search->setActive(false, false);
        EXPECT_LE(fieldRight(), 320 - TableView::sectionIndexWidth);
        EXPECT_TRUE(screen->table->isShowingSectionIndex()) << "the index comes back when the search ends";
    }
}

TEST_F(SearchDisplayControllerTest, ARefusedBeginStartsNoSearchAndAScrolledAwayBarComesBack)
{
    screen->allowBegin = false;
    tapSearchField();
    EXPECT_EQ(screen->take(), (Journal { "shouldBeginEditing -" }));
    EXPECT_FALSE(screen->search->isActive());
    EXPECT_EQ(window->firstResponder(), nullptr);

    screen->allowBegin = true;
    screen->table->setContentOffset({ 0, 500 });
    screen->search->setActive(true, false);
    EXPECT_EQ(screen->take(), (Journal { "willBeginSearch -", "shouldBeginEditing +", "didBeginEditing +", "didBeginSearch +" }));
    EXPECT_EQ(screen->table->contentOffset().y, 0);
    EXPECT_TRUE(screen->bar->isFirstResponder());
}

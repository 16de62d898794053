#include "platform/foundation/Device.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/SearchBar.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"
#include "platform/ui/TabBarItem.h"
#include "platform/ui/Image.h"
#include "platform/ui/TextMeasurer.h"
#include "platform/ui/Toolbar.h"
#include "platform/ui/Window.h"
#include "support/ManualTime.h"
#include "support/RecordingPainter.h"

#include <gtest/gtest.h>

using namespace ui;

namespace {

// The first visible view (depth first) showing the text, or null.
View* findByText(View& root, const std::string& text)
{
    if (root.isHidden())
        return nullptr;
    if (root.displayText() == text)
        return &root;
    for (auto& child : root.subviews()) {
        if (auto* found = findByText(*child, text))
            return found;
    }
    return nullptr;
}

// A picture of that size in points (only its header is read).
std::shared_ptr<const Image> solidImage(std::uint8_t width, std::uint8_t height)
{
    return Image::fromData("picture", { 'G', 'I', 'F', '8', '9', 'a', width, 0, height, 0 });
}

struct BarsTest : ::testing::Test {
    testsupport::ManualTime time;
    std::shared_ptr<Window> window = std::make_shared<Window>(Rect { 0, 0, 320, 568 });

    void tapText(const std::string& text)
    {
        window->layoutIfNeeded();
        auto* view = findByText(*window, text);
        ASSERT_NE(view, nullptr) << text;
        window->tap(view->convertRectToView(view->bounds(), nullptr).center());
    }
};

} // namespace

TEST_F(BarsTest, BackButtonShowsThePreviousTitleAndPopsWhenTapped)
{
    auto list = std::make_shared<ViewController>();
    list->setTitle("Groups");
    auto navigation = std::make_shared<NavigationController>(list);
    window->setRootViewController(navigation);
    window->makeKeyAndVisible();

    auto members = std::make_shared<ViewController>();
    members->setTitle("Family");
    navigation->pushViewController(members, false);
    EXPECT_EQ(navigation->navigationBar().backButtonTitle(), "Groups");

    tapText("Groups");
    time.advance(NavigationController::pushDuration);
    EXPECT_EQ(navigation->topViewController(), list.get());
    EXPECT_EQ(navigation->navigationBar().backButtonTitle(), "");
}

TEST_F(BarsTest, BarItemsActAndFollowTheirItemsStateWhileShown)
{
    auto screen = std::make_shared<ViewController>();
    auto navigation = std::make_shared<NavigationController>(screen);
    window->setRootViewController(navigation);
    window->makeKeyAndVisible();

    int adds = 0;
    auto add = std::make_shared<BarButtonItem>(BarButtonSystemItem::Add, [&](BarButtonItem&) { ++adds; });
    screen->navigationItem().setRightBarButtonItem(add);
    screen->navigationItem().setLeftBarButtonItem(screen->editButtonItem());

    tapText("+");
    EXPECT_EQ(adds, 1);
    add->setEnabled(false);
    tapText("+");
    EXPECT_EQ(adds, 1);

    tapText("Edit");
    EXPECT_TRUE(screen->isEditing());
    tapText("Done");
    EXPECT_FALSE(screen->isEditing());

    // A custom left item replaces the back button; hiding it brings nothing back.
    auto second = std::make_shared<ViewController>();
    navigation->pushViewController(second, false);
    second->navigationItem().setHidesBackButton(true);
    window->layoutIfNeeded();
    EXPECT_EQ(navigation->navigationBar().backButtonTitle(), "");
}

TEST_F(BarsTest, ToolbarSharesTheSpareWidthAmongFlexibleSpaces)
{
    auto toolbar = std::make_shared<Toolbar>(Rect { 0, 0, 320, 44 });
    auto flexible = [] { return std::make_shared<BarButtonItem>(BarButtonSystemItem::FlexibleSpace, nullptr); };
    auto fixed = std::make_shared<BarButtonItem>(BarButtonSystemItem::FixedSpace, nullptr);
    fixed->setWidth(40);
    auto left = std::make_shared<BarButtonItem>("Copy", BarButtonItemStyle::Bordered, nullptr);
    auto right = std::make_shared<BarButtonItem>("Mail", BarButtonItemStyle::Bordered, nullptr);
    toolbar->setItems({ left, flexible(), fixed, flexible(), right });
    toolbar->layoutIfNeeded();
    auto* copy = findByText(*toolbar, "Copy");
    auto* mail = findByText(*toolbar, "Mail");
    ASSERT_NE(copy, nullptr);
    ASSERT_NE(mail, nullptr);
    EXPECT_LT(copy->frame().x(), 20);
    EXPECT_GT(mail->frame().maxX(), 300);
    EXPECT_LE(mail->frame().maxX(), 320);
}

TEST_F(BarsTest, ToolbarTitlesTooWideForTheBarShareItsWidth)
{
    auto toolbar = std::make_shared<Toolbar>(Rect { 90, 0, 170, 30 });
    std::vector<std::shared_ptr<BarButtonItem>> items;
    for (const char* title : { "\xE3\x82\xB3\xE3\x83\x94\xE3\x83\xBC Copy", "\xE3\x83\xA1\xE3\x83\xBC\xE3\x83\xAB Mail", "SMS" })
        items.push_back(std::make_shared<BarButtonItem>(title, BarButtonItemStyle::Bordered, nullptr));
    toolbar->setItems(items);
    toolbar->layoutIfNeeded();
    double right = 0;
    for (const auto& view : toolbar->subviews()) {
        EXPECT_GE(view->frame().x(), right) << "buttons overlap";
        right = view->frame().maxX();
    }
    EXPECT_EQ(toolbar->subviews().size(), 3u);
    EXPECT_LE(right, 170);
}

TEST_F(BarsTest, ATitleTakesTheRoomItemsLeaveAndPicturesTooWideStandCentred)
{
    // A screen whose right item is a see-through toolbar wider than its two buttons.
    auto groups = std::make_shared<ViewController>();
    groups->setTitle("Groups");
    auto contacts = std::make_shared<ViewController>();
    contacts->setTitle("All Contacts");
    auto buttons = std::make_shared<Toolbar>(Rect { 0, 0, 144, 44 });
    buttons->setBackgroundColor(Color::clearColor());
    buttons->setItems({ std::make_shared<BarButtonItem>(BarButtonSystemItem::FlexibleSpace, nullptr),
                        std::make_shared<BarButtonItem>("Edit", BarButtonItemStyle::Plain, nullptr),
                        std::make_shared<BarButtonItem>("New", BarButtonItemStyle::Bordered, nullptr) });
    contacts->navigationItem().setRightBarButtonItem(std::make_shared<BarButtonItem>(buttons));
    auto navigation = std::make_shared<NavigationController>(groups);
    window->setRootViewController(navigation);
    window->makeKeyAndVisible();
    navigation->pushViewController(contacts, false);
    window->layoutIfNeeded();
    auto* title = findByText(navigation->navigationBar(), "All Contacts");
    ASSERT_NE(title, nullptr);
    double needed = TextMeasurer::current().measure("All Contacts", Font::boldSystemFontOfSize(17)).width;
    EXPECT_GE(title->frame().width(), needed) << "the whole title shows";
    auto* edit = findByText(*buttons, "Edit");
    ASSERT_NE(edit, nullptr);
    EXPECT_LE(title->frame().maxX(), edit->convertRectToView(edit->bounds(), &navigation->navigationBar()).minX());
    auto* back = findByText(navigation->navigationBar(), "Groups");
    ASSERT_NE(back, nullptr);
    EXPECT_GE(title->frame().minX(), back->frame().maxX());

    // A picture button wider than its little toolbar (a row's menu) stands centred on it.
    auto menu = std::make_shared<Toolbar>(Rect { 254, 0, 40, 42 });
    menu->setItems({ std::make_shared<BarButtonItem>(solidImage(24, 24), BarButtonItemStyle::Bordered, nullptr) });
    menu->layoutIfNeeded();
    ASSERT_EQ(menu->subviews().size(), 1u);
    EXPECT_DOUBLE_EQ(menu->subviews().front()->frame().midX(), 20);
}

TEST_F(BarsTest, SegmentedControlSendsValueChangedOnlyForTheUsersNewChoice)
{
    auto filter = std::make_shared<SegmentedControl>(std::vector<std::string> { "All", "Selected", "Others" });
    filter->setFrame({ 10, 100, 300, 30 });
    window->addSubview(filter);
    int changes = 0;
    filter->addAction(ControlEvent::ValueChanged, [&](Control&) { ++changes; });

    filter->setSelectedSegmentIndex(0);
    EXPECT_EQ(changes, 0);
    window->tap({ 160, 110 });
    EXPECT_EQ(filter->selectedSegmentIndex(), 1);
    EXPECT_EQ(changes, 1);
    window->tap({ 160, 110 });
    EXPECT_EQ(changes, 1);
    filter->setEnabledForSegmentAtIndex(false, 2);
    window->tap({ 260, 110 });
    EXPECT_EQ(filter->selectedSegmentIndex(), 1);

    filter->setSelectedSegmentIndex(7);
    EXPECT_EQ(filter->selectedSegmentIndex(), 1);
    filter->removeSegmentAtIndex(0);
    EXPECT_EQ(filter->selectedSegmentIndex(), 0);
    EXPECT_EQ(filter->titleForSegmentAtIndex(0), "Selected");
}

TEST_F(BarsTest, RenderingSkipsHiddenAndTransparentViewsAndComposesOpacity)
{
    auto shown = std::make_shared<Label>(Rect { 10, 20, 100, 20 });
    shown->setText("shown");
    auto hidden = std::make_shared<Label>(Rect { 10, 40, 100, 20 });
    hidden->setText("hidden");
    hidden->setHidden(true);
    auto faded = std::make_shared<View>(Rect { 0, 100, 320, 100 });
    faded->setAlpha(0.5);
    auto inner = std::make_shared<Label>(Rect { 5, 5, 100, 20 });
    inner->setText("inner");
    inner->setAlpha(0.5);
    faded->addSubview(inner);
    auto gone = std::make_shared<Label>(Rect { 0, 300, 100, 20 });
    gone->setText("gone");
    gone->setAlpha(0);
    for (auto& v : std::vector<std::shared_ptr<View>> { shown, hidden, faded, gone })
        window->addSubview(v);

    testsupport::RecordingPainter painter;
    window->renderWindow(painter);
    EXPECT_EQ(painter.textStrings(), (std::vector<std::string> { "shown", "inner" }));
    EXPECT_EQ(painter.findText("inner")->rect, (Rect { 5, 105, 100, 20 }));
    EXPECT_DOUBLE_EQ(painter.findText("inner")->opacity, 0.25);
    EXPECT_TRUE(painter.balanced());
}

TEST_F(BarsTest, ALabelHandsThePainterOnlyWhatItsLinesCanShow)
{
    std::string name;
    while (name.size() < 1'000'000)
        name += "Ann\xE3\x81\x95\xE3\x81\x95"; // "Annささ": the cut must not split a character
    for (int lines : { 1, 3, 0 }) {
        SCOPED_TRACE(lines);
        auto label = std::make_shared<Label>(Rect { 0, 100, 280, 44 });
        label->setNumberOfLines(lines);
        label->setText(name);
        window->addSubview(label);
        testsupport::RecordingPainter painter;
        window->renderWindow(painter);
        label->removeFromSuperview();
        ASSERT_EQ(painter.texts.size(), 1u);
        const std::string& drawn = painter.texts[0].text;
        EXPECT_LE(drawn.size(), 2048u * static_cast<std::size_t>(lines > 0 ? lines : 256));
        EXPECT_GE(drawn.size(), 2040u);
        EXPECT_EQ(drawn, name.substr(0, drawn.size()));
        EXPECT_NE(static_cast<unsigned char>(name[drawn.size()]) & 0xC0, 0x80) << "cut inside a character";
    }
}

TEST_F(BarsTest, ButtonShowsTheTitleOfItsStateFallingBackToNormal)
{
    auto button = std::make_shared<Button>(ButtonType::Custom, Rect { 0, 0, 100, 40 });
    button->setTitle("Send");
    button->setTitle("Sending", ControlState::Highlighted);
    EXPECT_EQ(button->currentTitle(), "Send");
    button->setHighlighted(true);
    EXPECT_EQ(button->currentTitle(), "Sending");
    button->setHighlighted(false);
    button->setSelected(true);
    EXPECT_EQ(button->currentTitle(), "Send");
    button->setEnabled(false);
    EXPECT_EQ(button->titleLabel().text(), "Send");
}

namespace {

// A list with one deletable row under a search field, saying nothing of its own words.
class PlainList final : public ViewController, public TableViewDataSource, public TableViewDelegate {
public:
    std::shared_ptr<TableView> table;
    std::shared_ptr<SearchBar> bar;
    void viewDidLoad() override
    {
        table = std::make_shared<TableView>(view()->bounds());
        bar = std::make_shared<SearchBar>();
        table->setTableHeaderView(bar);
        table->setDataSource(this);
        table->setDelegate(this);
        view()->addSubview(table);
    }
    ~PlainList() override
    {
        if (table) {
            table->setDataSource(nullptr);
            table->setDelegate(nullptr);
        }
    }
    int numberOfRowsInSection(TableView&, int) override { return 1; }
    std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView&, const IndexPath&) override
    {
        return std::make_shared<TableViewCell>(TableViewCellStyle::Default, "row");
    }
};

} // namespace

TEST_F(BarsTest, SystemWordsFollowTheDeviceLanguage)
{
    struct Case {
        const char* language;
        const char* edit;
        const char* done;
        const char* back;
        const char* cancel;
        const char* deleteRow;
    };
    const Case cases[] = {
        { "en", "Edit", "Done", "Back", "Cancel", "Delete" },
        { "ja", "編集", "完了", "戻る", "キャンセル", "削除" },
    };
    auto& device = foundation::Device::current();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language);
        device.setLanguage(c.language);
        window = std::make_shared<Window>(Rect { 0, 0, 320, 568 });
        auto list = std::make_shared<PlainList>();
        auto navigation = std::make_shared<NavigationController>(list);
        window->setRootViewController(navigation);
        window->makeKeyAndVisible();
        list->navigationItem().setLeftBarButtonItem(list->editButtonItem());
        tapText(c.edit);
        EXPECT_TRUE(list->isEditing());
        window->layoutIfNeeded();
        EXPECT_NE(findByText(*window, c.done), nullptr);
        list->setEditing(false, false);

        // The search field's Cancel and a swiped row's Delete are the system's too.
        list->bar->setShowsCancelButton(true);
        ASSERT_NE(list->bar->cancelButton(), nullptr);
        EXPECT_EQ(list->bar->cancelButton()->displayText(), c.cancel);
        ASSERT_TRUE(list->table->showDeleteConfirmationForRowAtIndexPath({ 0, 0 }));
        window->layoutIfNeeded();
        EXPECT_NE(findByText(*window, c.deleteRow), nullptr);

        navigation->pushViewController(std::make_shared<ViewController>(), false);
        EXPECT_EQ(navigation->navigationBar().backButtonTitle(), c.back);
    }
    device.reset();
}

TEST(TabBarItemPicture, SystemItemsShowTheSystemsPictureInTheLookOfTheSystemVersion)
{
    auto& device = foundation::Device::current();
    std::string version = device.systemVersion();

    device.setSystemVersion("6.1");
    TabBarItem favorites(TabBarSystemItem::Favorites, 1);
    ASSERT_TRUE(favorites.displayImage());
    EXPECT_EQ(favorites.displayImage()->name(), "system_favorites.png");

    device.setSystemVersion("7.0");
    TabBarItem contacts(TabBarSystemItem::Contacts, 2);
    ASSERT_TRUE(contacts.displayImage());
    EXPECT_EQ(contacts.displayImage()->name(), "system_contacts-ios7.png");

    // A picture set by the screen wins over the system's.
    auto own = Image::named("memo.png");
    contacts.setImage(own);
    EXPECT_EQ(contacts.displayImage(), own);

    TabBarItem more(TabBarSystemItem::More, 3);
    EXPECT_EQ(more.displayImage(), nullptr);
    device.setSystemVersion(version);
}

// The memo text view's keyboard bar and its copy, mail and message actions.

#include "AppFixture.h"
#include "RootSpies.h"

#include "app/AppNotification.h"
#include "app/MyTextView.h"
#include "app/MyToolBar.h"
#include "app/TessaroAppDelegate.h"
#include "app/TessaroViewController.h"
#include "platform/foundation/Device.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/services/MailComposeViewController.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Pasteboard.h"
#include "platform/ui/Window.h"

using tessaro::MyTextView;

namespace apptest {
namespace {

class MyTextViewTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        ui::Pasteboard::generalPasteboard().reset();
        foundation::Device::current().setLanguage("keys");
    }
    void TearDown() override
    {
        textView.reset();
        window.reset();
        ui::Pasteboard::generalPasteboard().reset();
        AppFixture::TearDown();
    }

    // A text view in a window of its own, editing.
    void edit(const std::string& memo)
    {
        window = std::make_shared<ui::Window>(ui::Rect { 0, 0, 320, 568 });
        window->makeKeyAndVisible();
        textView = std::make_shared<MyTextView>(ui::Rect { 0, 0, 320, 200 });
        textView->setText(memo);
        window->addSubview(textView);
        ASSERT_TRUE(textView->becomeFirstResponder());
    }

    tessaro::MyToolBar& toolbar()
    {
        for (const auto& child : textView->inputAccessoryView()->subviews()) {
            if (auto* bar = dynamic_cast<tessaro::MyToolBar*>(child.get()))
                return *bar;
        }
        throw std::runtime_error("no toolbar in the keyboard bar");
    }
    std::vector<std::string> titles()
    {
        std::vector<std::string> result;
        for (const auto& item : toolbar().items())
            result.push_back(item->title());
        return result;
    }
    void trigger(const std::string& identifier)
    {
        for (const auto& item : toolbar().items()) {
            if (item->accessibilityIdentifier() == identifier) {
                item->trigger();
                return;
            }
        }
        FAIL() << "no item " << identifier;
    }

    std::shared_ptr<ui::Window> window;
    std::shared_ptr<MyTextView> textView;
};

TEST_F(MyTextViewTest, TheKeyboardBarIsMadeOnceWithAHideButtonAndThreeActions)
{
    edit("memo");
    auto bar = textView->inputAccessoryView();
    ASSERT_TRUE(bar);
    EXPECT_EQ(textView->inputAccessoryView(), bar);
    // The window lays the bar right above the keyboard.
    EXPECT_EQ(bar->frame(), ui::Rect(0, 568 - ui::Window::keyboardHeight - 30, 320, 30));
    EXPECT_EQ(bar->backgroundColor(), ui::Color::clearColor());
    EXPECT_EQ(toolbar().frame(), ui::Rect(90, 0, 170, 30));
    EXPECT_EQ(titles(), (std::vector<std::string> { "MemoCopyTitle", "MemoMailTitle", "MemoSmsTitle" }));
    for (const auto& item : toolbar().items())
        EXPECT_EQ(item->style(), ui::BarButtonItemStyle::Bordered);

    ui::Button* down = nullptr;
    for (const auto& child : bar->subviews()) {
        if (auto* button = dynamic_cast<ui::Button*>(child.get()))
            down = button;
    }
    ASSERT_NE(down, nullptr);
    EXPECT_EQ(down->frame().origin, (ui::Point { 280, 0 }));
    EXPECT_EQ(down->frame().size, ui::Image::named("btn_down.png")->size());
    down->sendActionsForControlEvents(ui::ControlEvent::TouchUpInside);
    EXPECT_FALSE(textView->isFirstResponder());
}

TEST_F(MyTextViewTest, OnAnIPodTouchOnlyCopyAndMailAreOffered)
{
    foundation::Device::current().setModel("iPod touch");
    foundation::Device::current().setSystemVersion("6.1");
    edit("memo");
    EXPECT_EQ(titles(), (std::vector<std::string> { "MemoCopyTitle", "MemoMailTitle" }));
    EXPECT_EQ(toolbar().frame().x(), 100);
}

TEST_F(MyTextViewTest, CopyingPutsTheWholeTextOnThePasteboardEvenWhenEmpty)
{
    edit("");
    trigger("memo.copy");
    ASSERT_TRUE(ui::Pasteboard::generalPasteboard().string());
    EXPECT_EQ(*ui::Pasteboard::generalPasteboard().string(), "");
    auto* alert = dynamic_cast<ui::AlertView*>(ui::ButtonPanel::topmostVisible());
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->title(), "");
    EXPECT_EQ(alert->message(), "MemoCopyOK");
    EXPECT_EQ(alert->numberOfButtons(), 1);
    EXPECT_EQ(alert->buttonTitleAtIndex(0), "OK");

    textView->setText("Line one\n行二");
    trigger("memo.copy");
    EXPECT_EQ(*ui::Pasteboard::generalPasteboard().string(), "Line one\n行二");
}

TEST_F(MyTextViewTest, MailAndMessageEndEditingBeforeHandingTheMemoOn)
{
    struct Heard {
        std::string action;
        std::string memo;
        bool stillEditing;
    };
    std::vector<Heard> heard;
    auto observation = foundation::NotificationCenter::defaultCenter().addObserver(
        tessaro::AppNotification::kName, std::nullopt, [&](const foundation::Notification& notification) {
            heard.push_back({ notification.object, notification.text("memo"), textView->isFirstResponder() });
        });

    edit("Buy milk");
    trigger("memo.mail");
    ASSERT_TRUE(textView->becomeFirstResponder());
    trigger("memo.sms");
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_EQ(heard[0].action, "kNotificationNameMemoMail");
    EXPECT_EQ(heard[0].memo, "Buy milk");
    EXPECT_FALSE(heard[0].stillEditing);
    EXPECT_EQ(heard[1].action, "kNotificationNameMemoSMS");
    EXPECT_FALSE(heard[1].stillEditing);
}

TEST_F(MyTextViewTest, AMemoMailedWhileEditingReachesTheRootsMailComposer)
{
    SpyScreens spies;
    tessaro::TessaroAppDelegate delegate(spies.make());
    ASSERT_TRUE(delegate.didFinishLaunchingWithOptions());
    auto* root = delegate.viewController().get();
    auto* memos = root->memoNavController()->topViewController();
    textView = std::make_shared<MyTextView>(ui::Rect { 0, 0, 320, 200 });
    textView->setText("Meet at 7");
    memos->view()->addSubview(textView);
    root->tabController()->userSelectedTab(tessaro::TessaroViewController::kMemosTab);
    ASSERT_TRUE(textView->becomeFirstResponder());

    trigger("memo.mail");
    EXPECT_FALSE(textView->isFirstResponder());
    auto* composer = dynamic_cast<services::MailComposeViewController*>(root->presentedViewController());
    ASSERT_NE(composer, nullptr);
    EXPECT_EQ(composer->messageBody(), "Meet at 7");
    textView.reset();
}

} // namespace
} // namespace apptest

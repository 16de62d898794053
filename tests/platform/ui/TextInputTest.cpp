#include "platform/ui/Label.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"
#include "platform/ui/Window.h"
#include "support/ManualTime.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace ui;

namespace {

class FieldJournal final : public TextFieldDelegate {
public:
    std::vector<std::string> events;
    bool allowBegin { true };
    bool allowEnd { true };
    std::string refusedReplacement { "!" };

    bool textFieldShouldBeginEditing(TextField&) override
    {
        events.push_back("shouldBegin");
        return allowBegin;
    }
    void textFieldDidBeginEditing(TextField&) override { events.push_back("didBegin"); }
    bool textFieldShouldEndEditing(TextField&) override
    {
        events.push_back("shouldEnd");
        return allowEnd;
    }
    void textFieldDidEndEditing(TextField&) override { events.push_back("didEnd"); }
    bool shouldChangeCharactersInRange(TextField&, TextRange range, const std::string& text) override
    {
        events.push_back("change " + std::to_string(range.location) + "+" + std::to_string(range.length) + " '" + text + "'");
        return text != refusedReplacement;
    }
    bool textFieldShouldReturn(TextField& field) override
    {
        events.push_back("return");
        field.resignFirstResponder();
        return false;
    }
    std::vector<std::string> take() { return std::exchange(events, {}); }
};

// The memo editor's text view: its bar above the keyboard is made on first request.
class MemoText final : public TextView {
public:
    using TextView::TextView;
    int barsMade { 0 };
    std::shared_ptr<View> inputAccessoryView() override
    {
        if (!m_bar) {
            m_bar = std::make_shared<View>(Rect { 0, 0, 320, 30 });
            ++barsMade;
        }
        return m_bar;
    }

private:
    std::shared_ptr<View> m_bar;
};

class MemoJournal final : public TextViewDelegate {
public:
    std::vector<std::string> events;
    bool textViewShouldBeginEditing(TextView&) override
    {
        events.push_back("shouldBegin");
        return true;
    }
    void textViewDidBeginEditing(TextView&) override { events.push_back("didBegin"); }
    void textViewDidEndEditing(TextView&) override { events.push_back("didEnd"); }
    bool shouldChangeTextInRange(TextView&, TextRange, const std::string& text) override { return text != "#"; }
    void textViewDidChange(TextView& view) override { events.push_back("changed '" + view.text() + "'"); }
};

struct TextInputTest : ::testing::Test {
    testsupport::ManualTime time;
    std::shared_ptr<Window> window = std::make_shared<Window>(Rect { 0, 0, 320, 568 });
    using Events = std::vector<std::string>;

    void SetUp() override { window->makeKeyAndVisible(); }
    void tap(View& view) { window->tap(view.convertPointToView(view.bounds().center(), nullptr)); }
};

} // namespace

TEST_F(TextInputTest, ATouchGivesAFieldTheKeyboardOnlyWhenItsDelegateAgrees)
{
    auto field = std::make_shared<TextField>(Rect { 20, 100, 280, 31 });
    FieldJournal journal;
    field->setDelegate(&journal);
    window->addSubview(field);
    std::vector<std::string> actions;
    field->addAction(ControlEvent::EditingDidBegin, [&](Control&) { actions.push_back("begin"); });
    field->addAction(ControlEvent::EditingDidEnd, [&](Control&) { actions.push_back("end"); });

    journal.allowBegin = false;
    tap(*field);
    EXPECT_EQ(journal.take(), (Events { "shouldBegin" }));
    EXPECT_EQ(window->firstResponder(), nullptr);

    journal.allowBegin = true;
    tap(*field);
    EXPECT_EQ(journal.take(), (Events { "shouldBegin", "didBegin" }));
    EXPECT_TRUE(field->isEditing());
    EXPECT_TRUE(window->keyboardFrame().has_value());

    // Another field asks this one to let go first; a refusal keeps the keyboard here.
    auto other = std::make_shared<TextField>(Rect { 20, 200, 280, 31 });
    window->addSubview(other);
    journal.allowEnd = false;
    tap(*other);
    EXPECT_EQ(journal.take(), (Events { "shouldEnd" }));
    EXPECT_EQ(window->firstResponder(), field.get());
    journal.allowEnd = true;
    tap(*other);
    EXPECT_EQ(journal.take(), (Events { "shouldEnd", "didEnd" }));
    EXPECT_EQ(window->firstResponder(), other.get());
    EXPECT_EQ(actions, (std::vector<std::string> { "begin", "end" }));
    field->setDelegate(nullptr);
}

TEST_F(TextInputTest, TypingGoesThroughTheDelegateWholeCharactersAtATime)
{
    auto field = std::make_shared<TextField>(Rect { 20, 100, 280, 31 });
    FieldJournal journal;
    field->setDelegate(&journal);
    window->addSubview(field);
    int changes = 0;
    field->addAction(ControlEvent::EditingChanged, [&](Control&) { ++changes; });
    int exits = 0;
    field->addAction(ControlEvent::EditingDidEndOnExit, [&](Control&) { ++exits; });
    tap(*field);
    journal.take();

    field->insertText("Zoë");
    field->insertText("!");
    EXPECT_EQ(field->text(), "Zoë");
    field->deleteBackward();
    EXPECT_EQ(field->text(), "Zo");
    // A native editor sends the whole text; only what changed is offered to the delegate.
    field->replaceTextFromInput("Zoé Adams");
    EXPECT_EQ(journal.take(), (Events { "change 0+0 'Zoë'", "change 4+0 '!'", "change 2+2 ''", "change 2+0 'é Adams'" }));
    EXPECT_EQ(changes, 3);

    // The return key: the delegate decides, the text keeps no line break.
    field->insertText("\n");
    EXPECT_EQ(journal.take(), (Events { "return", "shouldEnd", "didEnd" }));
    EXPECT_EQ(field->text(), "Zoé Adams");
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(window->firstResponder(), nullptr);

    // Text set in code tells nobody.
    field->setText("Ann");
    EXPECT_TRUE(journal.take().empty());
    EXPECT_EQ(field->displayText(), "Ann");
    field->setText("");
    field->setPlaceholder("Name");
    EXPECT_EQ(field->displayText(), "Name");
    field->setDelegate(nullptr);
}

TEST_F(TextInputTest, ATextViewShowsItsLazilyMadeBarAboveTheKeyboardWhileItEdits)
{
    auto memo = std::make_shared<MemoText>(Rect { 0, 64, 320, 317 });
    MemoJournal journal;
    memo->setDelegate(&journal);
    window->addSubview(memo);
    EXPECT_EQ(memo->barsMade, 0);

    tap(*memo);
    ASSERT_EQ(window->firstResponder(), memo.get());
    EXPECT_EQ(memo->barsMade, 1);
    auto bar = memo->inputAccessoryView();
    EXPECT_EQ(bar->superview(), window.get());
    EXPECT_EQ(bar->frame().y(), 568 - Window::keyboardHeight - 30);

    memo->insertText("line one\nline two");
    memo->insertText("#");
    EXPECT_EQ(memo->text(), "line one\nline two");
    memo->deleteBackward();
    EXPECT_EQ(journal.events, (std::vector<std::string> { "shouldBegin", "didBegin", "changed 'line one\nline two'", "changed 'line one\nline tw'" }));

    EXPECT_TRUE(memo->resignFirstResponder());
    EXPECT_EQ(bar->superview(), nullptr);
    EXPECT_EQ(journal.events.back(), "didEnd");
    tap(*memo);
    EXPECT_EQ(memo->barsMade, 1);
    EXPECT_EQ(memo->inputAccessoryView()->superview(), window.get());

    // Leaving the window takes the keyboard and its bar away too.
    memo->removeFromSuperview();
    EXPECT_EQ(window->firstResponder(), nullptr);
    EXPECT_EQ(memo->inputAccessoryView()->superview(), nullptr);
    memo->setDelegate(nullptr);
}

TEST_F(TextInputTest, ATextViewThatIsNotEditableNeverTakesTheKeyboard)
{
    auto memo = std::make_shared<TextView>(Rect { 0, 64, 320, 100 });
    memo->setEditable(false);
    window->addSubview(memo);
    tap(*memo);
    EXPECT_EQ(window->firstResponder(), nullptr);
    EXPECT_FALSE(memo->becomeFirstResponder());
}

TEST_F(TextInputTest, AFieldAskedForTheKeyboardBeforeItIsShownTakesItWhenItArrives)
{
    // The group form builds its name field inside a row that is not on screen yet.
    auto row = std::make_shared<View>(Rect { 0, 100, 320, 48 });
    auto field = std::make_shared<TextField>(Rect { 10, 0, 280, 48 });
    FieldJournal journal;
    field->setDelegate(&journal);
    row->addSubview(field);
    EXPECT_FALSE(field->becomeFirstResponder());
    EXPECT_TRUE(journal.take().empty());

    window->addSubview(row);
    EXPECT_EQ(window->firstResponder(), field.get());
    EXPECT_EQ(journal.take(), (Events { "shouldBegin", "didBegin" }));

    // Given up in the meantime, the wish is forgotten.
    auto later = std::make_shared<TextField>(Rect { 10, 0, 280, 48 });
    later->becomeFirstResponder();
    later->resignFirstResponder();
    window->addSubview(later);
    EXPECT_EQ(window->firstResponder(), field.get());
    field->setDelegate(nullptr);
}

// A person's pointer becomes the handset's touches: a press and release is a tap of the
// control under it, highlighted meanwhile; the keyboard's area belongs to the keyboard;
// the window's widget maps its pixels to points at any zoom.

#include "QtTestApplication.h"

#include "platform/foundation/Device.h"
#include "platform/ui/Button.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextInput.h"
#include "platform/ui/Window.h"
#include "shell/qt/KeyboardPanel.h"
#include "shell/qt/ScreenWidget.h"
#include "shell/qt/TouchRouter.h"
#include "support/ManualTime.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <algorithm>

using namespace ui;
using tessaro::TouchRouter;

namespace {

struct InputTest : ::testing::Test {
    testsupport::ManualTime time;
    std::shared_ptr<Window> window = std::make_shared<Window>(Rect { 0, 0, 320, 568 });
    std::shared_ptr<Button> left = std::make_shared<Button>(ButtonType::Custom, Rect { 20, 100, 100, 44 });
    std::shared_ptr<Button> right = std::make_shared<Button>(ButtonType::Custom, Rect { 200, 100, 100, 44 });
    int leftTaps = 0;
    int rightTaps = 0;

    InputTest()
    {
        shelltest::qtApplication();
        window->addSubview(left);
        window->addSubview(right);
        left->addAction(ControlEvent::TouchUpInside, [this](Control&) { ++leftTaps; });
        right->addAction(ControlEvent::TouchUpInside, [this](Control&) { ++rightTaps; });
        window->makeKeyAndVisible();
    }
};

void sendMouse(QWidget& widget, QEvent::Type type, QPointF position)
{
    Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, position, widget.mapToGlobal(position), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

// A dial pad's keys: writes down the presses it is handed.
class KeyTakingView final : public View, public KeyPressHandler {
public:
    using View::View;
    bool keyPressed(const KeyPress& press) override
    {
        switch (press.kind) {
        case KeyPress::Kind::Text: taken += press.text; break;
        case KeyPress::Kind::Backspace: taken += "<del>"; break;
        case KeyPress::Kind::Return: taken += "<ret>"; break;
        case KeyPress::Kind::Escape: taken += "<esc>"; break;
        }
        return true;
    }
    std::string taken;
};

void sendKey(QWidget& widget, int key, const QString& text, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(&widget, &event);
}

} // namespace

TEST_F(InputTest, PressAndReleaseTapTheControlUnderThem)
{
    TouchRouter router(*window);
    router.press({ 50, 120 });
    EXPECT_TRUE(left->isHighlighted()) << "highlighted while pressed";
    EXPECT_FALSE(right->isHighlighted());
    router.move({ 53, 122 });
    EXPECT_TRUE(left->isHighlighted()) << "a wobble keeps the press";
    router.release({ 53, 122 });
    EXPECT_FALSE(left->isHighlighted());
    EXPECT_EQ(leftTaps, 1);
    EXPECT_EQ(rightTaps, 0);

    router.press({ 250, 120 });
    router.release({ 250, 120 });
    EXPECT_EQ(leftTaps, 1);
    EXPECT_EQ(rightTaps, 1);
}

TEST_F(InputTest, PressThatLeavesTheControlIsNoTap)
{
    TouchRouter router(*window);
    router.press({ 50, 120 });
    router.move({ 50, 400 });
    EXPECT_FALSE(left->isHighlighted()) << "the finger left the control";
    router.release({ 50, 400 });
    EXPECT_EQ(leftTaps, 0);

    // Released over the other control: still no tap of either; the touch stays with the
    // control it began on.
    router.press({ 50, 120 });
    router.release({ 250, 120 });
    EXPECT_EQ(leftTaps, 0);
    EXPECT_EQ(rightTaps, 0);

    // A cancelled press (the window lost the mouse) taps nothing and leaves no highlight.
    router.press({ 50, 120 });
    router.cancel();
    EXPECT_FALSE(left->isHighlighted());
    router.release({ 50, 120 });
    EXPECT_EQ(leftTaps, 0);
}

TEST_F(InputTest, KeyboardKeysTypeIntoTheFieldAndItsDownKeyPutsItAway)
{
    using Key = tessaro::KeyboardPanel::Key;
    auto field = std::make_shared<TextField>(Rect { 10, 60, 300, 30 });
    window->addSubview(field);
    auto underKeyboard = std::make_shared<Button>(ButtonType::Custom, Rect { 0, 400, 320, 168 });
    int hiddenTaps = 0;
    underKeyboard->addAction(ControlEvent::TouchUpInside, [&](Control&) { ++hiddenTaps; });
    window->addSubview(underKeyboard);
    window->makeKeyAndVisible();
    ASSERT_TRUE(field->becomeFirstResponder());

    TouchRouter router(*window);
    Rect keyboard = *window->keyboardFrame();
    // Finds the key as the keyboard shows it now (shift and the page change the keys).
    auto tapKey = [&](Key::Kind kind, const std::string& label = {}) {
        auto keys = tessaro::KeyboardPanel::keys(keyboard, field->traits(), router.keyboardState());
        auto found = std::find_if(keys.begin(), keys.end(),
                                  [&](const Key& k) { return k.kind == kind && (label.empty() || k.label == label); });
        ASSERT_NE(found, keys.end()) << label;
        router.press(found->frame.center());
        router.release(found->frame.center());
    };
    tapKey(Key::Kind::Character, "h");
    tapKey(Key::Kind::Character, "i");
    tapKey(Key::Kind::Shift);
    tapKey(Key::Kind::Character, "A");
    tapKey(Key::Kind::Character, "b");
    tapKey(Key::Kind::PageSwitch);
    tapKey(Key::Kind::Character, "7");
    tapKey(Key::Kind::Backspace);
    tapKey(Key::Kind::Space);
    EXPECT_EQ(field->text(), "hiAb ") << "shift holds for one letter";
    EXPECT_EQ(hiddenTaps, 0) << "the keyboard covers the button";
    EXPECT_TRUE(field->isFirstResponder());

    // A press that slides off its key types nothing.
    auto keys = tessaro::KeyboardPanel::keys(keyboard, field->traits(), router.keyboardState());
    router.press(keys.front().frame.center());
    router.release(keys.back().frame.center());
    EXPECT_EQ(field->text(), "hiAb ");

    tapKey(Key::Kind::Hide);
    EXPECT_FALSE(field->isFirstResponder());
    EXPECT_FALSE(window->keyboardFrame());
    router.press({ 30, 500 });
    router.release({ 30, 500 });
    EXPECT_EQ(hiddenTaps, 1) << "without the keyboard the button is reachable again";
}

TEST(KeyboardKeys, TheKeyboardFitsTheFieldAndTheLanguage)
{
    using Key = tessaro::KeyboardPanel::Key;
    struct Case {
        const char* language;
        KeyboardType type;
        ReturnKeyType returnKey;
        std::size_t characters;
        const char* space;
        const char* returnLabel;
    };
    const Case cases[] = {
        { "en", KeyboardType::Default, ReturnKeyType::Default, 26, "space", "return" },
        { "ja", KeyboardType::Default, ReturnKeyType::Default, 26, "空白", "改行" },
        { "ja", KeyboardType::EmailAddress, ReturnKeyType::Search, 26, "空白", "検索" },
        { "en", KeyboardType::NumberPad, ReturnKeyType::Default, 10, "", "" },
        { "en", KeyboardType::PhonePad, ReturnKeyType::Default, 11, "", "" },
    };
    Rect frame { 0, 568 - Window::keyboardHeight, 320, Window::keyboardHeight };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.language) + " " + std::to_string(int(c.type)));
        foundation::Device::current().setLanguage(c.language);
        TextInputTraits traits;
        traits.keyboardType = c.type;
        traits.returnKeyType = c.returnKey;
        auto keys = tessaro::KeyboardPanel::keys(frame, traits, {});
        auto count = std::count_if(keys.begin(), keys.end(), [](const Key& k) { return k.kind == Key::Kind::Character; });
        EXPECT_EQ(std::size_t(count), c.characters);
        auto labelOf = [&](Key::Kind kind) {
            auto found = std::find_if(keys.begin(), keys.end(), [&](const Key& k) { return k.kind == kind; });
            return found == keys.end() ? std::string() : found->label;
        };
        EXPECT_EQ(labelOf(Key::Kind::Space), c.space);
        EXPECT_EQ(labelOf(Key::Kind::Return), c.returnLabel);
        for (const auto& key : keys) {
            EXPECT_TRUE(frame.contains(key.frame.center())) << key.label;
            EXPECT_EQ(tessaro::KeyboardPanel::keyAt(keys, key.frame.center()), &key) << "keys do not overlap: " << key.label;
        }
        EXPECT_TRUE(std::any_of(keys.begin(), keys.end(), [](const Key& k) { return k.kind == Key::Kind::Backspace; }));
    }
    foundation::Device::current().reset();
}

TEST_F(InputTest, TheComputersKeysReachAPadInSightAsItsOwnKeys)
{
    auto pad = std::make_shared<KeyTakingView>(Rect { 0, 300, 320, 200 });
    window->addSubview(pad);
    window->addKeyPressHandler(pad, *pad);
    tessaro::ScreenWidget widget(window);
    sendKey(widget, Qt::Key_0, "0");
    sendKey(widget, Qt::Key_9, "9");
    sendKey(widget, Qt::Key_Backspace, "\b");
    sendKey(widget, Qt::Key_Return, "\r");
    sendKey(widget, Qt::Key_Enter, "\r");
    sendKey(widget, Qt::Key_Escape, "\x1b");
    sendKey(widget, Qt::Key_Q, "\x11", Qt::ControlModifier);
    EXPECT_EQ(pad->taken, "09<del><ret><ret><esc>") << "a desktop shortcut is no key of the handset";
}

TEST_F(InputTest, WidgetMapsItsPixelsToPointsAtAnyZoom)
{
    tessaro::ScreenWidget widget(window);
    for (double zoom : { 1.0, 1.5, 2.0 }) {
        widget.resize(widget.sizeForZoom(zoom));
        ASSERT_DOUBLE_EQ(widget.zoom(), zoom);
        int before = rightTaps;
        QPointF onRight(250 * zoom, 120 * zoom);
        sendMouse(widget, QEvent::MouseButtonPress, onRight);
        EXPECT_TRUE(right->isHighlighted()) << zoom;
        sendMouse(widget, QEvent::MouseButtonRelease, onRight);
        EXPECT_EQ(rightTaps, before + 1) << zoom;
        EXPECT_EQ(leftTaps, 0) << zoom;
    }

    // A window wider than the handset's proportions centres the screen between bars.
    widget.resize(640 + 200, 1136);
    EXPECT_DOUBLE_EQ(widget.zoom(), 2.0);
    sendMouse(widget, QEvent::MouseButtonPress, QPointF(100 + 50 * 2, 120 * 2));
    sendMouse(widget, QEvent::MouseButtonRelease, QPointF(100 + 50 * 2, 120 * 2));
    EXPECT_EQ(leftTaps, 1);
    int tapsBefore = leftTaps + rightTaps;
    sendMouse(widget, QEvent::MouseButtonPress, QPointF(50, 240));
    sendMouse(widget, QEvent::MouseButtonRelease, QPointF(50, 240));
    EXPECT_EQ(leftTaps + rightTaps, tapsBefore) << "a press on the bar beside the screen taps nothing";
}

// The window's machinery around the view tree: the run loop on Qt's event loop with the
// real clock, the native editor over the focused field, the return to the foreground, and
// URLs the desktop cannot take.

#include "QtTestApplication.h"

#include "platform/foundation/RunLoop.h"
#include "platform/ui/Application.h"
#include "platform/ui/Pasteboard.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextInput.h"
#include "platform/ui/Window.h"
#include "shell/qt/DesktopHandoff.h"
#include "shell/qt/Display.h"
#include "shell/qt/RunLoopBridge.h"
#include "shell/qt/ScreenWidget.h"
#include "support/ManualTime.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace ui;

namespace {

// Runs Qt's event loop until the condition holds or two seconds have passed.
bool waitUntil(const std::function<bool()>& condition)
{
    QElapsedTimer elapsed;
    elapsed.start();
    while (!condition() && elapsed.elapsed() < 2000)
        QApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
    return condition();
}

// Stands in for a text field: records what the editor sends.
class RecordingField final : public View, public TextInput {
public:
    RecordingField(const Rect& frame, bool multiline)
        : View(frame)
        , m_multiline(multiline)
    {
    }
    bool canBecomeFirstResponder() const override { return true; }
    TextInput* textInput() override { return this; }
    std::string text() const override { return m_text; }
    void replaceTextFromInput(const std::string& text) override
    {
        m_text = text;
        replaced.push_back(text);
    }
    void insertText(const std::string& text) override
    {
        inserted.push_back(text);
        if (text == "\n" && resignOnReturn) {
            (void)resignFirstResponder();
            return;
        }
        m_text += text;
    }
    void deleteBackward() override { }
    bool isMultiline() const override { return m_multiline; }
    // The screen changing the text itself (clearing a search field, say).
    void setTextFromScreen(std::string text)
    {
        m_text = std::move(text);
        setNeedsDisplay();
    }

    std::vector<std::string> replaced;
    std::vector<std::string> inserted;
    bool resignOnReturn { false };

private:
    std::string m_text;
    bool m_multiline { false };
};

void typeInto(QWidget& editor, const QString& text)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(&editor, &press);
    }
}

void pressReturn(QWidget& editor)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(&editor, &press);
}

struct EditorTest : ::testing::Test {
    testsupport::ManualTime time;
    std::shared_ptr<Window> window = std::make_shared<Window>(Rect { 0, 0, 320, 568 });
    std::shared_ptr<RecordingField> field = std::make_shared<RecordingField>(Rect { 10, 100, 300, 30 }, false);
    std::unique_ptr<tessaro::ScreenWidget> widget;

    EditorTest()
    {
        shelltest::qtApplication();
        auto root = std::make_shared<View>(window->bounds());
        root->setBackgroundColor(Color::whiteColor());
        window->addSubview(root);
        root->addSubview(field);
        window->makeKeyAndVisible();
        widget = std::make_unique<tessaro::ScreenWidget>(window);
        widget->resize(widget->sizeForZoom(2));
        widget->show();
    }

    QWidget* editor() { return widget->editorOverlay().editorWidget(); }
    void focus(View& view)
    {
        ASSERT_TRUE(view.becomeFirstResponder());
        widget->editorOverlay().sync();
    }
};

} // namespace

TEST_F(EditorTest, FocusedFieldGetsANativeEditorOverItsFrameThatGoesWhenItResigns)
{
    EXPECT_EQ(editor(), nullptr);
    focus(*field);
    ASSERT_NE(editor(), nullptr);
    auto* line = qobject_cast<QLineEdit*>(editor());
    ASSERT_NE(line, nullptr);
    EXPECT_TRUE(line->isVisible());
    // Over the field's frame at the zoom of 2, inside it.
    QRect geometry = line->geometry();
    EXPECT_GE(geometry.left(), 20);
    EXPECT_LE(geometry.right(), 20 + 600);
    EXPECT_GE(geometry.top(), 200);
    EXPECT_LE(geometry.bottom(), 200 + 60);
    EXPECT_GT(geometry.width(), 500);

    ASSERT_TRUE(field->resignFirstResponder());
    widget->editorOverlay().sync();
    EXPECT_EQ(editor(), nullptr);
    EXPECT_FALSE(line->isVisible()) << "the keyboard goes down with the editor";

    // Escape is the keyboard's down key.
    focus(*field);
    ASSERT_EQ(editor(), line);
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(line, &escape);
    EXPECT_FALSE(field->isFirstResponder());
    EXPECT_TRUE(waitUntil([&] { return !line->isVisible(); }));
}

TEST_F(EditorTest, TypingReachesTheFieldAsUserInputAndReturnAsTheReturnKey)
{
    focus(*field);
    auto* line = qobject_cast<QLineEdit*>(editor());
    ASSERT_NE(line, nullptr);
    typeInto(*line, QStringLiteral("Ann"));
    EXPECT_EQ(field->text(), "Ann");
    EXPECT_EQ(field->replaced, (std::vector<std::string> { "A", "An", "Ann" }));

    // An input method commits composed text in one go.
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("山田"));
    QApplication::sendEvent(line, &commit);
    EXPECT_EQ(field->text(), "Ann山田");

    pressReturn(*line);
    EXPECT_EQ(field->inserted, (std::vector<std::string> { "\n" }));

    // The screen clearing its field shows in the editor.
    field->setTextFromScreen("");
    widget->editorOverlay().sync();
    EXPECT_EQ(line->text(), QString());
    EXPECT_EQ(field->replaced.size(), 4u) << "taking over the screen's text is not typing";
}

TEST_F(EditorTest, AnInputMethodAddressingTheWindowComposesIntoTheFocusedField)
{
    EXPECT_FALSE(widget->inputMethodQuery(Qt::ImEnabled).toBool()) << "no field has the keyboard";
    ASSERT_TRUE(field->becomeFirstResponder());
    widget->refresh();
    ASSERT_TRUE(waitUntil([&] { return widget->testAttribute(Qt::WA_InputMethodEnabled); }));
    EXPECT_TRUE(widget->inputMethodQuery(Qt::ImEnabled).toBool());

    // "satou" typed into a Japanese engine: first a composition, then the converted word.
    QInputMethodEvent composing(QStringLiteral("さとう"), {});
    QApplication::sendEvent(widget.get(), &composing);
    EXPECT_EQ(field->text(), "") << "a composition is not the field's text yet";
    QRect fieldOnScreen = widget->toWidgetRect(field->frame()).toAlignedRect();
    QRect caret = widget->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    EXPECT_TRUE(fieldOnScreen.adjusted(-2, -2, 2, 2).contains(caret)) << "the candidates open by the field";
    QInputMethodEvent converted;
    converted.setCommitString(QStringLiteral("佐藤"));
    QApplication::sendEvent(widget.get(), &converted);
    EXPECT_EQ(field->text(), "佐藤");

    ASSERT_TRUE(field->resignFirstResponder());
    widget->refresh();
    EXPECT_TRUE(waitUntil([&] { return !widget->testAttribute(Qt::WA_InputMethodEnabled); }));
}

TEST_F(EditorTest, ReturnThatEndsEditingTakesTheEditorAway)
{
    field->resignOnReturn = true;
    focus(*field);
    auto* line = qobject_cast<QLineEdit*>(editor());
    ASSERT_NE(line, nullptr);
    pressReturn(*line);
    EXPECT_FALSE(field->isFirstResponder());
    EXPECT_TRUE(waitUntil([&] { return !line->isVisible(); }));
}

TEST_F(EditorTest, MultilineFieldGetsATextEditorWithLineBreaksAtTheEnd)
{
    auto memo = std::make_shared<RecordingField>(Rect { 0, 200, 320, 150 }, true);
    window->addSubview(memo);
    focus(*memo);
    auto* text = qobject_cast<QPlainTextEdit*>(editor());
    ASSERT_NE(text, nullptr);
    typeInto(*text, QStringLiteral("milk"));
    pressReturn(*text);
    typeInto(*text, QStringLiteral("eggs"));
    EXPECT_EQ(memo->text(), "milk\neggs");
    EXPECT_EQ(memo->inserted, (std::vector<std::string> { "\n" })) << "the return key reached the field as typed";
    EXPECT_EQ(text->toPlainText(), QStringLiteral("milk\neggs"));
}

TEST_F(EditorTest, EditorFollowsTheFocusFromFieldToField)
{
    auto other = std::make_shared<RecordingField>(Rect { 10, 300, 300, 30 }, false);
    window->addSubview(other);
    other->setTextFromScreen("kept");
    focus(*field);
    auto* line = qobject_cast<QLineEdit*>(editor());
    ASSERT_NE(line, nullptr);
    typeInto(*line, QStringLiteral("x"));
    focus(*other);
    ASSERT_EQ(editor(), line) << "one line editor, moved";
    EXPECT_EQ(line->text(), QStringLiteral("kept"));
    EXPECT_GE(line->geometry().top(), 600);
    typeInto(*line, QStringLiteral("!"));
    EXPECT_EQ(other->text(), "kept!");
    EXPECT_EQ(field->text(), "x") << "the first field no longer receives";

    // The field leaving the screen ends the editing.
    other->removeFromSuperview();
    widget->editorOverlay().sync();
    EXPECT_EQ(editor(), nullptr);
}

TEST_F(EditorTest, EditorTakesTheLookAndTextAreaOfARealTextField)
{
    auto real = std::make_shared<TextField>(Rect { 20, 300, 280, 34 });
    real->setBorderStyle(TextFieldBorderStyle::RoundedRect);
    real->setFont(Font::boldSystemFontOfSize(20));
    real->setTextAlignment(TextAlignment::Right);
    real->setPlaceholder("Group name");
    real->setSecureTextEntry(true);
    window->addSubview(real);
    focus(*real);
    auto* line = qobject_cast<QLineEdit*>(editor());
    ASSERT_NE(line, nullptr);

    Rect text = real->convertRectToView(real->textRect(), nullptr);
    QRect geometry = line->geometry();
    EXPECT_NEAR(geometry.left(), text.minX() * 2, 1);
    EXPECT_NEAR(geometry.right() + 1, text.maxX() * 2, 1);
    EXPECT_EQ(line->font().pixelSize(), 40) << "20 points at a zoom of 2";
    EXPECT_TRUE(line->font().bold());
    EXPECT_TRUE(line->alignment() & Qt::AlignRight);
    EXPECT_EQ(line->placeholderText(), QStringLiteral("Group name"));
    EXPECT_EQ(line->echoMode(), QLineEdit::Password);

    typeInto(*line, QStringLiteral("Team"));
    EXPECT_EQ(real->text(), "Team");
}

TEST_F(EditorTest, EditorNeverShowsTextTheFieldRefused)
{
    // A delegate that takes digits only, as a number field's would.
    struct DigitsOnly final : TextFieldDelegate {
        bool shouldChangeCharactersInRange(TextField&, TextRange, const std::string& replacement) override
        {
            return replacement.find_first_not_of("0123456789") == std::string::npos;
        }
    } digitsOnly;
    auto number = std::make_shared<TextField>(Rect { 20, 300, 280, 34 });
    number->setDelegate(&digitsOnly);
    window->addSubview(number);
    focus(*number);
    auto* line = qobject_cast<QLineEdit*>(editor());
    ASSERT_NE(line, nullptr);

    typeInto(*line, QStringLiteral("12a3"));
    EXPECT_EQ(number->text(), "123");
    EXPECT_TRUE(waitUntil([&] { return line->text() == QStringLiteral("123"); })) << line->text().toStdString();
    number->setDelegate(nullptr);
}

TEST(PasteboardTest, PasteboardAndDesktopClipboardAreOne)
{
    shelltest::qtApplication();
    auto& pasteboard = Pasteboard::generalPasteboard();
    pasteboard.reset();
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("copied before"));
    tessaro::DesktopHandoff::joinPasteboardToClipboard();
    EXPECT_EQ(pasteboard.string(), "copied before");

    pasteboard.setString("Buy milk\n牛乳");
    EXPECT_EQ(clipboard->text(), QStringLiteral("Buy milk\n牛乳"));

    int changes = pasteboard.changeCount();
    clipboard->setText(QStringLiteral("from the desktop"));
    EXPECT_EQ(pasteboard.string(), "from the desktop");
    EXPECT_EQ(pasteboard.changeCount(), changes + 1) << "no echo back and forth";

    tessaro::DesktopHandoff::separatePasteboardFromClipboard();
    pasteboard.setString("kept to itself");
    EXPECT_EQ(clipboard->text(), QStringLiteral("from the desktop"));
    pasteboard.reset();
}

TEST(ForegroundTest, RestoringAMinimisedWindowRunsWillEnterForegroundOnce)
{
    shelltest::qtApplication();
    testsupport::ManualTime time;
    auto window = std::make_shared<Window>(Rect { 0, 0, 320, 568 });
    tessaro::ScreenWidget widget(window);
    int returns = 0;
    widget.setWillEnterForegroundHandler([&] { ++returns; });
    widget.show();
    EXPECT_EQ(returns, 0) << "the first showing is the launch, not a return";

    widget.setWindowState(Qt::WindowMinimized);
    QApplication::processEvents();
    EXPECT_EQ(returns, 0);
    widget.setWindowState(Qt::WindowNoState);
    widget.show();
    QApplication::processEvents();
    EXPECT_EQ(returns, 1);
    // Being activated again without having gone away is no return.
    widget.activateWindow();
    QApplication::processEvents();
    EXPECT_EQ(returns, 1);
}

TEST(RunLoopBridgeTest, DueEntriesRunOnQtsLoopWithTheRealClockAndPostsWakeItFromAnyThread)
{
    shelltest::qtApplication();
    auto& loop = foundation::RunLoop::main();
    loop.useSystemClock();
    int turns = 0;
    tessaro::RunLoopBridge bridge(loop, [&] { ++turns; });

    bool delayedRan = false;
    double postedAt = loop.now();
    loop.performAfterDelay(0.05, [&] { delayedRan = true; });
    EXPECT_FALSE(delayedRan);
    EXPECT_TRUE(waitUntil([&] { return delayedRan; }));
    EXPECT_GE(loop.now() - postedAt, 0.05);

    std::atomic<std::thread::id> ranOn;
    std::atomic<bool> posted { false };
    std::thread worker([&] {
        loop.post([&] {
            ranOn = std::this_thread::get_id();
            posted = true;
        });
    });
    worker.join();
    EXPECT_TRUE(waitUntil([&] { return posted.load(); }));
    EXPECT_EQ(ranOn.load(), std::this_thread::get_id()) << "work handed back runs on the main thread";
    EXPECT_GE(turns, 2);
    loop.cancelAll();
}

TEST(DesktopHandoffTest, UrlsTheDesktopCannotTakeAreNotOpened)
{
    shelltest::qtApplication();
    int asked = 0;
    auto nobody = [&](const std::string& scheme) {
        ++asked;
        EXPECT_EQ(scheme, "facetime");
        return false;
    };
    EXPECT_FALSE(tessaro::DesktopHandoff::openOnDesktop("facetime://0312345678", nobody));
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(tessaro::DesktopHandoff::openOnDesktop("no scheme here", nobody));
    EXPECT_EQ(asked, 1) << "text that is no URL never reaches the desktop";

    // Through the application: refused by the desktop means not opened, and said so.
    testsupport::ManualTime time;
    auto& application = Application::shared();
    application.reset();
    application.setURLOpener([&](const std::string& url) { return tessaro::DesktopHandoff::openOnDesktop(url, nobody); });
    EXPECT_FALSE(application.openURL("facetime://0312345678"));
    application.reset();
}

TEST(DisplayZoomTest, ScreenIsSizedForTheMonitor)
{
    struct Case {
        double available;
        double zoom;
    };
    for (const auto& c : { Case { 1040, 1.5 }, Case { 2120, 2.0 }, Case { 700, 1.0 }, Case { 400, 0.5 }, Case { 0, 1.0 } })
        EXPECT_DOUBLE_EQ(tessaro::Display::zoomForMonitor(568, c.available), c.zoom) << c.available;
}

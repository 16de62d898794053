#include "platform/ui/Application.h"
#include "platform/ui/Image.h"
#include "platform/ui/TextInput.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"
#include "platform/foundation/Device.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <vector>

using namespace ui;

namespace {

// The smallest text-taking view: enough to take the focus and show a keyboard bar.
class Field : public View, public TextInput {
public:
    using View::View;
    bool canBecomeFirstResponder() const override { return true; }
    TextInput* textInput() override { return this; }
    std::shared_ptr<View> inputAccessoryView() override { return accessory; }
    void didBecomeFirstResponder() override { ++focusGained; }
    void didResignFirstResponder() override { ++focusLost; }
    std::string text() const override { return value; }
    void replaceTextFromInput(const std::string& text) override { value = text; }
    void insertText(const std::string& text) override { value += text; }
    void deleteBackward() override
    {
        if (!value.empty())
            value.pop_back();
    }

    std::string value;
    std::shared_ptr<View> accessory;
    int focusGained { 0 };
    int focusLost { 0 };
};

// Keys of its own: takes digits only, and writes down what it took.
class Pad : public View, public KeyPressHandler {
public:
    using View::View;
    bool keyPressed(const KeyPress& press) override
    {
        if (press.kind == KeyPress::Kind::Text && (press.text.empty() || press.text[0] < '0' || press.text[0] > '9'))
            return false;
        taken += press.kind == KeyPress::Kind::Text ? press.text : "<key>";
        return true;
    }
    std::string taken;
};

} // namespace

TEST(WindowKeys, APressGoesToTheNewestPadInSightAndNeverPastAFocusedField)
{
    auto window = std::make_shared<Window>(Rect { 0, 0, 320, 568 });
    auto older = std::make_shared<Pad>(Rect { 0, 300, 320, 200 });
    auto newer = std::make_shared<Pad>(Rect { 0, 0, 320, 200 });
    window->addSubview(older);
    window->addSubview(newer);
    window->addKeyPressHandler(older, *older);
    window->addKeyPressHandler(newer, *newer);

    EXPECT_TRUE(window->pressKey(KeyPress::typed("1")));
    EXPECT_TRUE(window->pressKey(KeyPress::key(KeyPress::Kind::Backspace)));
    EXPECT_FALSE(window->pressKey(KeyPress::typed("x"))) << "a press no handler wants is left to the display";
    EXPECT_EQ(newer->taken, "1<key>");

    // Whatever keeps the newer pad out of sight hands the press to the older one.
    auto cover = std::make_shared<View>(Rect { 0, 0, 320, 200 });
    struct Case {
        const char* name;
        std::function<void()> hide;
        std::function<void()> undo;
    };
    std::vector<Case> cases {
        { "hidden", [&] { newer->setHidden(true); }, [&] { newer->setHidden(false); } },
        { "taken off the window", [&] { newer->removeFromSuperview(); }, [&] { window->addSubview(newer); } },
        { "a screen laid over it", [&] { window->addSubview(cover); }, [&] { cover->removeFromSuperview(); } },
    };
    for (auto& c : cases) {
        older->taken.clear();
        c.hide();
        EXPECT_TRUE(window->pressKey(KeyPress::typed("2"))) << c.name;
        EXPECT_EQ(older->taken, "2") << c.name;
        c.undo();
    }
    // Laid over the older pad too, the cover leaves nobody to take the press.
    cover->setFrame({ 0, 0, 320, 568 });
    window->addSubview(cover);
    EXPECT_FALSE(window->pressKey(KeyPress::typed("3")));
    cover->removeFromSuperview();

    // A focused field types the press itself.
    auto field = std::make_shared<Field>(Rect { 0, 520, 320, 40 });
    window->addSubview(field);
    ASSERT_TRUE(field->becomeFirstResponder());
    newer->taken.clear();
    EXPECT_FALSE(window->pressKey(KeyPress::typed("4")));
    EXPECT_EQ(newer->taken, "");

    // A pad that went is forgotten.
    window->endEditing();
    older->taken.clear();
    newer->removeFromSuperview();
    newer.reset();
    EXPECT_TRUE(window->pressKey(KeyPress::typed("5")));
    EXPECT_EQ(older->taken, "5");
}

TEST(WindowFocus, FocusMovesBetweenFieldsAndTheKeyboardBarFollowsIt)
{
    auto window = std::make_shared<Window>(Rect { 0, 0, 320, 568 });
    auto memo = std::make_shared<Field>(Rect { 0, 0, 320, 200 });
    memo->accessory = std::make_shared<View>(Rect { 0, 0, 320, 30 });
    auto name = std::make_shared<Field>(Rect { 0, 200, 320, 40 });
    window->addSubview(memo);
    window->addSubview(name);

    ASSERT_TRUE(memo->becomeFirstResponder());
    EXPECT_TRUE(memo->isFirstResponder());
    EXPECT_EQ(memo->accessory->superview(), window.get());
    EXPECT_EQ(memo->accessory->frame().y(), 568 - Window::keyboardHeight - 30);
    ASSERT_TRUE(window->keyboardFrame().has_value());

    ASSERT_TRUE(name->becomeFirstResponder());
    EXPECT_EQ(memo->focusLost, 1);
    EXPECT_EQ(memo->accessory->superview(), nullptr);

    // Ending editing in an ancestor takes the focus away; the keyboard goes.
    window->endEditing();
    EXPECT_EQ(window->firstResponder(), nullptr);
    EXPECT_EQ(name->focusLost, 1);
    EXPECT_FALSE(window->keyboardFrame().has_value());
}

TEST(WindowFocus, RemovedOrHiddenFieldLosesTheFocusAndAFieldOutsideAWindowCannotTakeIt)
{
    auto window = std::make_shared<Window>(Rect { 0, 0, 320, 568 });
    auto container = std::make_shared<View>(Rect { 0, 0, 320, 568 });
    auto field = std::make_shared<Field>(Rect { 0, 0, 320, 40 });
    field->accessory = std::make_shared<View>(Rect { 0, 0, 320, 30 });
    container->addSubview(field);
    window->addSubview(container);

    ASSERT_TRUE(field->becomeFirstResponder());
    container->removeFromSuperview();
    EXPECT_EQ(window->firstResponder(), nullptr);
    EXPECT_EQ(field->focusLost, 1);
    EXPECT_EQ(field->accessory->superview(), nullptr);
    EXPECT_FALSE(field->becomeFirstResponder());

    window->addSubview(container);
    ASSERT_TRUE(field->becomeFirstResponder());
    container->setHidden(true);
    EXPECT_EQ(window->firstResponder(), nullptr);
}

TEST(ApplicationURLs, OnlyWellFormedURLsAreHandedOnAndRecorded)
{
    auto& app = Application::shared();
    app.reset();
    std::vector<std::string> opened;
    app.setURLOpener([&](const std::string& url) {
        opened.push_back(url);
        return true;
    });
    struct Case {
        const char* url;
        bool accepted;
    };
    const Case cases[] = {
        { "tel://0312345678", true },
        { "mailto:a@b.c?cc=&bcc=&body=Hello%20world%0A%E3%81%82", true },
        { "sms://?body=hello world", false },
        { "sms://?body=\xE3\x81\x82", false },
        { "mailto:a@b.c?body=100%", false },
        { "no scheme here", false },
        { "", false },
        { "https://example.com/a?b=c#d", true },
    };
    for (const auto& c : cases)
        EXPECT_EQ(app.openURL(c.url), c.accepted) << c.url;
    EXPECT_EQ(opened, (std::vector<std::string> { "tel://0312345678", "mailto:a@b.c?cc=&bcc=&body=Hello%20world%0A%E3%81%82", "https://example.com/a?b=c#d" }));
    EXPECT_EQ(app.takeOpenedURLs(), opened);
    EXPECT_TRUE(app.openedURLs().empty());
    app.reset();
}

TEST(ApplicationURLs, ADeviceThatCannotPhoneRefusesTelephoneAndMessages)
{
    auto& app = Application::shared();
    app.reset();
    auto& device = foundation::Device::current();
    device.setModel("iPod touch");
    EXPECT_FALSE(app.canOpenURL("tel://123"));
    EXPECT_FALSE(app.openURL("sms://123"));
    EXPECT_TRUE(app.canOpenURL("facetime://a@b.c"));
    EXPECT_TRUE(app.openedURLs().empty());
    device.reset();
    EXPECT_TRUE(app.canOpenURL("tel://123"));
    app.reset();
}

TEST(Images, SizesComeFromTheFileHeaderAndTheDoubleScaleFileIsPreferred)
{
    testsupport::TempDir dir;
    auto png = [](int w, int h) {
        std::vector<std::uint8_t> bytes { 0x89, 'P', 'N', 'G', 0x0d, 0x0a, 0x1a, 0x0a, 0, 0, 0, 13, 'I', 'H', 'D', 'R' };
        for (int v : { w, h }) {
            bytes.push_back(static_cast<std::uint8_t>(v >> 24));
            bytes.push_back(static_cast<std::uint8_t>(v >> 16));
            bytes.push_back(static_cast<std::uint8_t>(v >> 8));
            bytes.push_back(static_cast<std::uint8_t>(v));
        }
        bytes.resize(33, 0);
        return bytes;
    };
    auto write = [&](const char* name, const std::vector<std::uint8_t>& bytes) {
        std::ofstream out(dir / name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    };
    write("btn_down.png", png(40, 30));
    write("btn_down@2x.png", png(80, 60));
    write("memo.png", png(30, 30));
    auto saved = Image::resourceDirectory();
    Image::setResourceDirectory(dir.path());

    auto down = Image::named("btn_down.png");
    ASSERT_NE(down, nullptr);
    EXPECT_EQ(down->size(), (Size { 40, 30 }));
    EXPECT_EQ(down->scale(), 2.0);
    auto memo = Image::named("memo");
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(memo->size(), (Size { 30, 30 }));
    EXPECT_EQ(Image::named("missing.png"), nullptr);
    EXPECT_EQ(Image::named("btn_down.png"), down);

    std::vector<std::uint8_t> gif { 'G', 'I', 'F', '8', '9', 'a', 64, 1, 50, 0 };
    auto banner = Image::fromData("banner", gif);
    ASSERT_NE(banner, nullptr);
    EXPECT_EQ(banner->size(), (Size { 320, 50 }));
    EXPECT_EQ(Image::fromData("junk", { 1, 2, 3 }), nullptr);

    Image::setResourceDirectory(saved);
}

// Painting a view tree through the Qt painter: the colours land on the pixels where the
// views are, with their clipping, opacity, borders, corners and scrolling; pictures by
// their content modes; the status bar and the keyboard over the screens.

#include "QtTestApplication.h"

#include "platform/foundation/Device.h"
#include "platform/ui/Image.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/SearchBar.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextInput.h"
#include "platform/ui/Window.h"
#include "shell/qt/KeyboardPanel.h"
#include "shell/qt/DecodedImages.h"
#include "shell/qt/ScreenRenderer.h"
#include "support/ManualTime.h"

#include <QBuffer>
#include <QColor>
#include <QImage>

#include <functional>
#include <string>

#include <gtest/gtest.h>

using namespace ui;
using tessaro::ScreenRenderer;

namespace {

constexpr double scale = 2;

QColor pixelAt(const QImage& image, double x, double y)
{
    return image.pixelColor(int(x * scale), int(y * scale));
}

::testing::AssertionResult near(const QColor& actual, const QColor& expected, int tolerance = 3)
{
    if (std::abs(actual.red() - expected.red()) <= tolerance && std::abs(actual.green() - expected.green()) <= tolerance
        && std::abs(actual.blue() - expected.blue()) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got " << actual.name().toStdString() << ", expected "
                                         << expected.name().toStdString();
}

std::shared_ptr<View> coloured(const Rect& frame, const Color& color)
{
    auto view = std::make_shared<View>(frame);
    view->setBackgroundColor(color);
    return view;
}

// A focusable view that takes text, standing in for a text field.
class TypingView final : public View, public TextInput {
public:
    using View::View;
    bool canBecomeFirstResponder() const override { return true; }
    TextInput* textInput() override { return this; }
    std::string text() const override { return m_text; }
    void replaceTextFromInput(const std::string& text) override { m_text = text; }
    void insertText(const std::string& text) override { m_text += text; }
    void deleteBackward() override { }

private:
    std::string m_text;
};

std::shared_ptr<const Image> solidPng(int width, int height, const QColor& color, double imageScale = 1)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return Image::fromData("solid", std::vector<std::uint8_t>(bytes.begin(), bytes.end()), imageScale);
}

struct PaintingTest : ::testing::Test {
    testsupport::ManualTime time;
    std::shared_ptr<Window> window;
    std::shared_ptr<View> root;

    PaintingTest()
    {
        shelltest::qtApplication();
        foundation::Device::current().reset();
        window = std::make_shared<Window>(Rect { 0, 0, 320, 480 });
        root = coloured({ 0, 0, 320, 480 }, Color::whiteColor());
        window->addSubview(root);
    }
    ~PaintingTest() override { foundation::Device::current().reset(); }

    QImage render() { return ScreenRenderer::renderImage(*window, scale, "9:41 AM"); }
};

} // namespace

TEST_F(PaintingTest, ViewsFillTheirFramesInTreeOrderAtTheScreensScale)
{
    auto red = coloured({ 20, 40, 100, 60 }, Color::redColor());
    auto blue = coloured({ 10, 10, 30, 20 }, Color::blueColor());
    auto hidden = coloured({ 0, 0, 100, 60 }, Color::blackColor());
    hidden->setHidden(true);
    root->addSubview(red);
    red->addSubview(blue);
    red->addSubview(hidden);

    QImage image = render();
    EXPECT_EQ(image.size(), QSize(640, 960));
    EXPECT_TRUE(near(pixelAt(image, 21, 41), Qt::red));
    EXPECT_TRUE(near(pixelAt(image, 119.6, 99.6), Qt::red)) << "the last pixel inside the frame";
    EXPECT_TRUE(near(pixelAt(image, 120.2, 70), Qt::white)) << "the first pixel right of it";
    EXPECT_TRUE(near(pixelAt(image, 70, 100.2), Qt::white)) << "the first pixel below it";
    // The subview lies in its superview's coordinates.
    EXPECT_TRUE(near(pixelAt(image, 31, 51), Qt::blue));
    EXPECT_TRUE(near(pixelAt(image, 29, 51), Qt::red));
    EXPECT_TRUE(near(pixelAt(image, 90, 90), Qt::red)) << "a hidden view paints nothing";
}

TEST_F(PaintingTest, ClippingScrollingOpacityBordersAndCorners)
{
    // A scrolled view with clipping: its content moves up, and what lies outside is cut.
    auto scroller = coloured({ 0, 100, 320, 100 }, Color::whiteColor());
    scroller->setClipsToBounds(true);
    auto content = coloured({ 0, 0, 100, 300 }, Color::redColor());
    auto lower = coloured({ 0, 150, 100, 150 }, Color::blueColor());
    content->addSubview(lower);
    scroller->addSubview(content);
    scroller->setBounds({ 0, 120, 320, 100 });
    root->addSubview(scroller);

    // Half transparent green over white.
    auto faint = coloured({ 200, 250, 50, 50 }, Color::rgb(0, 1, 0));
    faint->setAlpha(0.5);
    root->addSubview(faint);

    // A bordered, rounded box.
    auto box = coloured({ 100, 350, 100, 60 }, Color::whiteColor());
    box->setBorderWidth(4);
    box->setBorderColor(Color::blackColor());
    box->setCornerRadius(20);
    root->addSubview(box);

    QImage image = render();
    EXPECT_TRUE(near(pixelAt(image, 50, 105), Qt::red)) << "content 120 points down shows at the top";
    EXPECT_TRUE(near(pixelAt(image, 50, 135), Qt::blue)) << "its lower part scrolled up by 120";
    EXPECT_TRUE(near(pixelAt(image, 50, 205), Qt::white)) << "the rest is clipped away";
    EXPECT_TRUE(near(pixelAt(image, 225, 275), QColor(127, 255, 127), 4));
    EXPECT_TRUE(near(pixelAt(image, 150, 351), Qt::black)) << "the border lies inside the frame";
    EXPECT_TRUE(near(pixelAt(image, 150, 356), Qt::white)) << "and is 4 points wide";
    EXPECT_TRUE(near(pixelAt(image, 101, 351), Qt::white)) << "the corner is rounded off";
}

TEST_F(PaintingTest, PicturesFollowTheirContentModeAndScale)
{
    // 20 × 10 pixels at scale 2: 10 × 5 points.
    auto picture = solidPng(20, 10, Qt::red, 2);
    ASSERT_TRUE(picture);
    auto centred = std::make_shared<ImageView>(Rect { 0, 100, 100, 100 });
    centred->setImage(picture);
    centred->setContentMode(ContentMode::Center);
    auto fitted = std::make_shared<ImageView>(Rect { 100, 100, 100, 100 });
    fitted->setImage(picture);
    fitted->setContentMode(ContentMode::ScaleAspectFit);
    root->addSubview(centred);
    root->addSubview(fitted);

    QImage image = render();
    EXPECT_TRUE(near(pixelAt(image, 50, 150), Qt::red));
    EXPECT_TRUE(near(pixelAt(image, 46, 148), Qt::red));
    EXPECT_TRUE(near(pixelAt(image, 44, 150), Qt::white)) << "10 points wide, centred";
    EXPECT_TRUE(near(pixelAt(image, 50, 146), Qt::white)) << "5 points high, centred";
    // Aspect fit: 100 × 50 in the middle of the square.
    EXPECT_TRUE(near(pixelAt(image, 101, 127), Qt::red));
    EXPECT_TRUE(near(pixelAt(image, 150, 123), Qt::white));
    EXPECT_TRUE(near(pixelAt(image, 150, 177), Qt::white));
}

TEST_F(PaintingTest, TintedPicturesKeepTheirShapeInTheTintColour)
{
    // A half-transparent grey square, drawn as a template in blue: the shape turns blue over
    // the white behind it, and what lies outside the picture stays white.
    auto picture = solidPng(20, 20, QColor(128, 128, 128, 255));
    ASSERT_TRUE(picture);
    auto view = std::make_shared<ImageView>(Rect { 0, 100, 100, 100 });
    view->setImage(picture);
    view->setContentMode(ContentMode::Center);
    view->setTintColor(Color::blueColor());
    root->addSubview(view);

    QImage image = render();
    EXPECT_TRUE(near(pixelAt(image, 50, 150), Qt::blue));
    EXPECT_TRUE(near(pixelAt(image, 20, 150), Qt::white));
}

TEST_F(PaintingTest, BytesThatAreNoPictureDrawNothingAndDoNotStopTheRest)
{
    std::vector<std::uint8_t> broken { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R',
                                       0, 0, 0, 10, 0, 0, 0, 10, 8, 6, 0, 0, 0 };
    auto image = Image::fromData("broken", broken);
    ASSERT_TRUE(image) << "the header reads as a PNG of 10 × 10";
    auto view = std::make_shared<ImageView>(Rect { 0, 100, 100, 100 });
    view->setImage(image);
    root->addSubview(view);
    root->addSubview(coloured({ 200, 100, 20, 20 }, Color::blueColor()));

    QImage rendered = render();
    EXPECT_TRUE(near(pixelAt(rendered, 50, 150), Qt::white));
    EXPECT_TRUE(near(pixelAt(rendered, 210, 110), Qt::blue));

    // With the display's decoder asked, such bytes are no picture at all, so a screen shows
    // its default picture in their place; bytes that decode still make one.
    tessaro::DecodedImages::installDecodingCheck();
    EXPECT_FALSE(Image::fromData("broken", broken));
    EXPECT_TRUE(solidPng(4, 4, Qt::red));
    Image::setDecodingCheck(nullptr);
}

TEST_F(PaintingTest, StatusBarOverTheScreenByTheSystemsLook)
{
    root->setBackgroundColor(Color::redColor());

    foundation::Device::current().setSystemVersion("7.0");
    QImage overlay = render();
    // See-through: the screen's own colour shows between the texts.
    EXPECT_TRUE(near(pixelAt(overlay, 60, 2), Qt::red));
    EXPECT_TRUE(near(pixelAt(overlay, 60, 25), Qt::red));

    foundation::Device::current().setSystemVersion("6.1");
    QImage opaque = render();
    EXPECT_TRUE(near(pixelAt(opaque, 60, 2), Qt::black));
    EXPECT_TRUE(near(pixelAt(opaque, 60, 19), Qt::black));
    EXPECT_TRUE(near(pixelAt(opaque, 60, 21), Qt::red));
}

TEST_F(PaintingTest, KeyboardCoversTheBottomWhileAFieldHasTheFocus)
{
    root->setBackgroundColor(Color::redColor());
    auto field = std::make_shared<TypingView>(Rect { 10, 100, 300, 30 });
    root->addSubview(field);
    window->makeKeyAndVisible();

    EXPECT_TRUE(near(pixelAt(render(), 1, 479), Qt::red));
    ASSERT_TRUE(field->becomeFirstResponder());
    QImage typing = render();
    EXPECT_FALSE(near(pixelAt(typing, 1, 479), Qt::red, 30)) << "the keyboard's panel is there";
    EXPECT_FALSE(near(pixelAt(typing, 1, 480 - Window::keyboardHeight + 1), Qt::red, 30));
    // Its keys carry their letters: the first key ("q") has dark ink in its middle.
    Rect keyboard = *window->keyboardFrame();
    auto first = tessaro::KeyboardPanel::keys(keyboard, {}, {}).front();
    EXPECT_EQ(first.label, "q");
    int inked = 0;
    for (double x = first.frame.minX() + 4; x < first.frame.maxX() - 4; x += 0.5) {
        for (double y = first.frame.minY() + 6; y < first.frame.maxY() - 6; y += 0.5)
            inked += pixelAt(typing, x, y).lightness() < 100 ? 1 : 0;
    }
    EXPECT_GT(inked, 10) << "a letter on the key";
    EXPECT_TRUE(near(pixelAt(typing, 1, 480 - Window::keyboardHeight - 1), Qt::red));
    ASSERT_TRUE(field->resignFirstResponder());
    EXPECT_TRUE(near(pixelAt(render(), 1, 479), Qt::red)) << "and goes down when the field resigns";
}

TEST_F(PaintingTest, SystemControlsTakeTheLookOfTheSystemVersion)
{
    for (const char* version : { "7.0", "6.1" }) {
        SCOPED_TRACE(version);
        bool glossy = std::string(version) == "6.1";
        foundation::Device::current().setSystemVersion(version);
        window = std::make_shared<Window>(Rect { 0, 0, 320, 480 });
        root = coloured({ 0, 0, 320, 480 }, Color::whiteColor());
        window->addSubview(root);
        auto bar = std::make_shared<NavigationBar>(Rect { 0, 20, 320, 44 });
        auto item = std::make_shared<NavigationItem>("Groups");
        item->setLeftBarButtonItem(std::make_shared<BarButtonItem>("Edit", BarButtonItemStyle::Bordered, nullptr));
        bar->setItems({ item });
        root->addSubview(bar);
        auto search = std::make_shared<SearchBar>(Rect { 0, 64, 320, 44 });
        root->addSubview(search);
        window->makeKeyAndVisible();
        window->layoutIfNeeded();
        QImage plain = render();

        // Bars: shaded from light to dark in the glossy look, one colour in the flat one.
        int shading = pixelAt(plain, 200, 22).lightness() - pixelAt(plain, 200, 61).lightness();
        if (glossy)
            EXPECT_GT(shading, 20);
        else
            EXPECT_LT(std::abs(shading), 4);
        // Bar buttons: a bezel around the title in the glossy look, a bare title in the flat.
        Rect edit = bar->subviews().front()->frame();
        QColor insideBezel = pixelAt(plain, edit.minX() + 3, 20 + edit.midY());
        QColor beside = pixelAt(plain, edit.minX() - 2, 20 + edit.midY());
        EXPECT_EQ(near(insideBezel, beside, 6), !glossy) << "inside the button against beside it";

        // The search field: rounded corners on the bar's colour, a magnifier at its start.
        TextField& field = search->textField();
        Rect fieldFrame = field.convertRectToView(field.bounds(), nullptr);
        EXPECT_FALSE(near(pixelAt(plain, fieldFrame.minX() + 0.5, fieldFrame.minY() + 0.5), Qt::white, 10))
            << "no square white corner";
        int lens = 0;
        for (double x = fieldFrame.minX() + 4; x < fieldFrame.minX() + 26; x += 0.5)
            lens += pixelAt(plain, x, fieldFrame.midY()).lightness() < 190 ? 1 : 0;
        EXPECT_GT(lens, 2) << "the magnifier";

        // An action sheet keeps Cancel apart: between the choices and Cancel the dimmed
        // screen (flat) or the dark panel (glossy) shows, not a button.
        auto sheet = std::make_shared<ActionSheet>("", nullptr, "Cancel", "", std::vector<std::string> { "Mail", "Message" });
        sheet->showInView(*root);
        window->layoutIfNeeded();
        QImage withSheet = render();
        View* cancel = nullptr;
        View* message = nullptr;
        std::function<void(View&)> find = [&](View& v) {
            if (v.displayText() == "Cancel" && v.typeName() == "Button")
                cancel = &v;
            if (v.displayText() == "Message" && v.typeName() == "Button")
                message = &v;
            for (auto& child : v.subviews())
                find(*child);
        };
        find(*sheet);
        ASSERT_TRUE(cancel && message);
        Rect cancelFrame = cancel->convertRectToView(cancel->bounds(), nullptr);
        Rect messageFrame = message->convertRectToView(message->bounds(), nullptr);
        double gapY = (messageFrame.maxY() + cancelFrame.minY()) / 2;
        ASSERT_GT(cancelFrame.minY() - messageFrame.maxY(), 4);
        QColor gap = pixelAt(withSheet, cancelFrame.midX(), gapY);
        QColor onCancel = pixelAt(withSheet, cancelFrame.minX() + 6, cancelFrame.midY());
        EXPECT_GT(std::abs(gap.lightness() - onCancel.lightness()), 40) << "Cancel is a block of its own";
        if (glossy)
            EXPECT_LT(onCancel.lightness(), 110) << "the glossy Cancel is dark";
        sheet->dismissWithClickedButtonIndex(0, false);
    }
}

// Screenshots: the screen written as a PNG at the handset's pixels, readable, showing the
// screen; a file that cannot be written is a failure with a reason.

#include "QtTestApplication.h"

#include "platform/foundation/Device.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"
#include "shell/qt/ScreenRenderer.h"
#include "support/ManualTime.h"
#include "support/TempDir.h"

#include <QImage>

#include <gtest/gtest.h>

#include <fstream>

using namespace ui;

namespace {

struct ScreenshotTest : ::testing::Test {
    testsupport::ManualTime time;
    testsupport::TempDir folder;

    ScreenshotTest() { shelltest::qtApplication(); }
    ~ScreenshotTest() override { foundation::Device::current().reset(); }

    std::shared_ptr<Window> screenWithBlueBlock()
    {
        auto window = std::make_shared<Window>();
        auto root = std::make_shared<View>(window->bounds());
        root->setBackgroundColor(Color::whiteColor());
        auto block = std::make_shared<View>(Rect { 100, 200, 50, 50 });
        block->setBackgroundColor(Color::blueColor());
        root->addSubview(block);
        window->addSubview(root);
        return window;
    }
};

} // namespace

TEST_F(ScreenshotTest, WrittenAtTheDevicesPixelsForEachScreenSize)
{
    struct Case {
        int heightPoints;
        QSize pixels;
    };
    for (const auto& c : { Case { 568, QSize(640, 1136) }, Case { 480, QSize(640, 960) } }) {
        foundation::Device::current().setScreen(320, c.heightPoints);
        auto window = screenWithBlueBlock();
        auto file = folder / ("screen-" + std::to_string(c.heightPoints) + ".png");
        std::string error;
        ASSERT_TRUE(tessaro::ScreenRenderer::writePng(*window, file, Screen::mainScreen().scale(), error)) << error;

        QImage written(QString::fromStdString(file.string()), "PNG");
        ASSERT_FALSE(written.isNull());
        EXPECT_EQ(written.size(), c.pixels);
        EXPECT_EQ(written.pixelColor(250, 450), QColor(Qt::blue));
        EXPECT_EQ(written.pixelColor(150, 450), QColor(Qt::white));
    }
}

TEST_F(ScreenshotTest, MissingFoldersAreMadeAndUnwritablePlacesReported)
{
    auto window = screenWithBlueBlock();
    std::string error;
    auto nested = folder / "shots" / "today" / "screen.png";
    EXPECT_TRUE(tessaro::ScreenRenderer::writePng(*window, nested, 2, error)) << error;
    EXPECT_TRUE(std::filesystem::exists(nested));

    // A plain file where a folder should be.
    auto blocker = folder / "blocker";
    std::ofstream(blocker) << "x";
    error.clear();
    EXPECT_FALSE(tessaro::ScreenRenderer::writePng(*window, blocker / "screen.png", 2, error));
    EXPECT_FALSE(error.empty());

    error.clear();
    EXPECT_FALSE(tessaro::ScreenRenderer::writePng(*window, folder.path(), 2, error)) << "a folder is no PNG file";
    EXPECT_FALSE(error.empty());
}

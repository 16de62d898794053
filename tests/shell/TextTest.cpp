// Setting text with Qt: what the measurer says fits is what the painter shows whole; lines
// break, truncate and shrink as the style asks; Japanese comes out in real glyphs.

#include "QtTestApplication.h"

#include "platform/ui/Label.h"
#include "platform/ui/TextMeasurer.h"
#include "platform/ui/Window.h"
#include "shell/qt/QtPainter.h"
#include "shell/qt/SystemFonts.h"
#include "shell/qt/TextLayout.h"
#include "support/ManualTime.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include <chrono>

#include <gtest/gtest.h>

using namespace ui;
using tessaro::TextBlock;
using tessaro::TextLayout;

namespace {

const QString ellipsis = QString(QChar(0x2026));

// The text drawn black on white into a box of the size, at two pixels per point.
QImage paintText(const std::string& text, const Size& box, const TextStyle& style)
{
    QImage image(int(box.width * 2) + 40, int(box.height * 2) + 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(2, 2);
    painter.translate(10, 10);
    tessaro::QtPainter canvas(painter);
    canvas.drawText(text, { 0, 0, box.width, box.height }, style);
    painter.end();
    return image;
}

// The columns (in pixels) between which anything dark was drawn; -1, -1 when nothing was.
std::pair<int, int> inkColumns(const QImage& image)
{
    int first = -1;
    int last = -1;
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            if (qGray(image.pixel(x, y)) < 128) {
                if (first < 0)
                    first = x;
                last = x;
                break;
            }
        }
    }
    return { first, last };
}

TextStyle style(double size, int lines = 1, LineBreakMode mode = LineBreakMode::TruncateTail)
{
    TextStyle result;
    result.font = Font::systemFontOfSize(size);
    result.numberOfLines = lines;
    result.lineBreakMode = mode;
    return result;
}

struct TextTest : ::testing::Test {
    testsupport::ManualTime time;
    shelltest::QtMeasurerInstalled measurer;
};

} // namespace

TEST_F(TextTest, WhatTheMeasurerSaysFitsIsPaintedWhole)
{
    const std::vector<std::string> texts { "Everyone", "Family & Friends", "WWWWWWWWWW", "ill-fitting 1111",
                                           "山田 太郎", "やまだ たろう" };
    for (const auto& text : texts) {
        for (double size : { 12.0, 17.0, 20.0 }) {
            Size fitted = TextMeasurer::current().measure(text, Font::systemFontOfSize(size));
            TextBlock block = TextLayout::layoutInRect(text, fitted, style(size));
            ASSERT_EQ(block.lines.size(), 1u) << text;
            EXPECT_FALSE(block.lines[0].text.endsWith(ellipsis)) << text << " at " << size;
            // The same ink as with all the room in the world.
            EXPECT_EQ(inkColumns(paintText(text, fitted, style(size))),
                      inkColumns(paintText(text, { fitted.width + 200, fitted.height }, style(size))))
                << text << " at " << size;
        }
    }
}

TEST_F(TextTest, LabelSizedToFitKeepsItsTextOnOneLine)
{
    Label label({ 0, 0, 10, 10 });
    label.setFont(Font::boldSystemFontOfSize(17));
    label.setText("Contacts without a mail address");
    label.sizeToFit();
    TextBlock block = TextLayout::layoutInRect(label.text(), label.frame().size, label.textStyle());
    ASSERT_EQ(block.lines.size(), 1u);
    EXPECT_EQ(block.lines[0].text.toStdString(), label.text());
}

TEST_F(TextTest, LinesBreakAtWordsAndStopAtTheLimitWithAnEllipsis)
{
    const std::string text = "one two three four five six seven eight nine ten";
    QFontMetricsF metrics(tessaro::SystemFonts::toQFont(Font::systemFontOfSize(17)));
    double width = metrics.horizontalAdvance(QStringLiteral("one two three")) + 2;

    TextBlock all = TextLayout::layoutInRect(text, { width, 1000 }, style(17, 0, LineBreakMode::WordWrap));
    ASSERT_GE(all.lines.size(), 4u);
    EXPECT_EQ(all.lines[0].text, QStringLiteral("one two three"));
    QStringList words;
    for (const auto& line : all.lines) {
        EXPECT_LE(line.width, width + 0.5);
        words << line.text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    }
    EXPECT_EQ(words.join(QLatin1Char(' ')).toStdString(), text) << "no word lost or split";

    TextBlock two = TextLayout::layoutInRect(text, { width, 1000 }, style(17, 2));
    ASSERT_EQ(two.lines.size(), 2u);
    EXPECT_EQ(two.lines[0].text, QStringLiteral("one two three"));
    EXPECT_TRUE(two.lines[1].text.endsWith(ellipsis)) << two.lines[1].text.toStdString();
    EXPECT_LE(two.lines[1].width, width + 0.5);

    // Unlimited lines stop where the box ends.
    TextBlock boxed = TextLayout::layoutInRect(text, { width, all.lineHeight * 2.5 }, style(17, 0));
    EXPECT_EQ(boxed.lines.size(), 2u);
    EXPECT_TRUE(boxed.lines[1].text.endsWith(ellipsis));

    // A line break in the text always starts a line; a one-line style shows the first and
    // says more follows.
    TextBlock breaks = TextLayout::layoutInRect("first\nsecond", { 300, 1000 }, style(17, 0));
    ASSERT_EQ(breaks.lines.size(), 2u);
    EXPECT_EQ(breaks.lines[1].text, QStringLiteral("second"));
    TextBlock single = TextLayout::layoutInRect("first\nsecond", { 300, 1000 }, style(17, 1));
    ASSERT_EQ(single.lines.size(), 1u);
    EXPECT_TRUE(single.lines[0].text.startsWith(QStringLiteral("first")));
    EXPECT_TRUE(single.lines[0].text.endsWith(ellipsis) || single.lines[0].text.contains(QStringLiteral("second")));
}

TEST_F(TextTest, TruncationModesKeepTheirEnd)
{
    const std::string number = "+81 90 1234 5678 9012 3456";
    QFontMetricsF metrics(tessaro::SystemFonts::toQFont(Font::systemFontOfSize(17)));
    double width = metrics.horizontalAdvance(QString::fromStdString(number)) / 2;

    struct Case {
        LineBreakMode mode;
        bool keepsStart;
        bool keepsEnd;
    };
    for (const auto& c : { Case { LineBreakMode::TruncateTail, true, false }, Case { LineBreakMode::TruncateHead, false, true },
                           Case { LineBreakMode::TruncateMiddle, true, true } }) {
        TextBlock block = TextLayout::layoutInRect(number, { width, 30 }, style(17, 1, c.mode));
        ASSERT_EQ(block.lines.size(), 1u);
        const QString& shown = block.lines[0].text;
        EXPECT_TRUE(shown.contains(ellipsis)) << shown.toStdString();
        EXPECT_EQ(shown.startsWith(QStringLiteral("+81")), c.keepsStart) << shown.toStdString();
        EXPECT_EQ(shown.endsWith(QStringLiteral("3456")), c.keepsEnd) << shown.toStdString();
        EXPECT_LE(block.lines[0].width, width + 0.5);
    }
}

TEST_F(TextTest, SingleLineShrinksToFitButNotBelowItsMinimum)
{
    const std::string text = "Contacts without a phone number";
    QFontMetricsF metrics(tessaro::SystemFonts::toQFont(Font::boldSystemFontOfSize(38)));
    double natural = metrics.horizontalAdvance(QString::fromStdString(text));

    TextStyle shrinking = style(38);
    shrinking.font = Font::boldSystemFontOfSize(38);
    shrinking.minimumScaleFactor = 0.25;
    TextBlock fitted = TextLayout::layoutInRect(text, { natural * 0.6, 50 }, shrinking);
    EXPECT_LT(fitted.font.pixelSize(), 38);
    EXPECT_GE(fitted.font.pixelSize(), 38 * 0.5);
    EXPECT_LE(fitted.width(), natural * 0.6 + 0.5);
    EXPECT_FALSE(fitted.lines[0].text.endsWith(ellipsis));

    // Far too narrow: down to the minimum, then truncated.
    shrinking.minimumScaleFactor = 0.5;
    TextBlock floor = TextLayout::layoutInRect(text, { natural * 0.2, 50 }, shrinking);
    EXPECT_EQ(floor.font.pixelSize(), 19);
    EXPECT_TRUE(floor.lines[0].text.endsWith(ellipsis));

    // Without a minimum scale the size stays.
    TextBlock fixed = TextLayout::layoutInRect(text, { natural * 0.6, 50 }, style(38));
    EXPECT_EQ(fixed.font.pixelSize(), 38);
}

TEST_F(TextTest, JapaneseIsDrawnInRealGlyphs)
{
    // Private-use code points have no glyph anywhere: they come out as the empty boxes a
    // missing font would give for kana and kanji.
    QImage japanese = paintText("山田", { 100, 30 }, style(20));
    QImage boxes = paintText("\xee\x80\x80\xee\x80\x81", { 100, 30 }, style(20));
    EXPECT_NE(inkColumns(japanese), std::make_pair(-1, -1));
    EXPECT_NE(japanese, boxes);

    QFont font = tessaro::SystemFonts::toQFont(Font::systemFontOfSize(17));
    EXPECT_TRUE(font.families().contains(QStringLiteral("Noto Sans CJK JP")));
}

TEST_F(TextTest, AlignmentPlacesTheLineInTheBox)
{
    auto columns = [](TextAlignment alignment) {
        TextStyle s = style(17);
        s.alignment = alignment;
        return inkColumns(paintText("Memo", { 200, 30 }, s));
    };
    auto [leftStart, leftEnd] = columns(TextAlignment::Left);
    auto [centreStart, centreEnd] = columns(TextAlignment::Center);
    auto [rightStart, rightEnd] = columns(TextAlignment::Right);
    // Box from pixel 20 to 420.
    EXPECT_LT(leftStart, 30);
    EXPECT_NEAR((centreStart + centreEnd) / 2.0, 220, 6);
    EXPECT_GT(rightEnd, 405);
    EXPECT_EQ(centreEnd - centreStart, leftEnd - leftStart);
}

TEST_F(TextTest, AMillionCharacterNameIsPaintedAndMeasuredAtOnce)
{
    // A name as a hostile file can hold it: no spaces to break at, Latin and Japanese mixed
    // so that the cut must fall between whole characters.
    std::string name;
    while (name.size() < 1'000'000)
        name += "Bartholomewさとう";
    Label label({ 0, 0, 280, 44 });
    label.setText(name);
    auto start = std::chrono::steady_clock::now();
    QImage image = paintText(name, { 280, 44 }, style(17, 1));
    Size fits = label.sizeThatFits({ 280, 0 });
    Size wrapped = TextMeasurer::current().measure(name, Font::systemFontOfSize(17), 280, 0);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    // Whole minutes before the text was bounded; a generous limit for a slow, shared machine.
    EXPECT_LT(seconds, 30.0);
    auto [first, last] = inkColumns(image);
    EXPECT_GE(first, 0) << "the name is drawn";
    EXPECT_GT(fits.width, 200) << "a one-line label fills its width";
    EXPECT_GT(wrapped.height, fits.height);

    TextBlock line = TextLayout::layoutInRect(name, { 280, 44 }, style(17, 1));
    ASSERT_EQ(line.lines.size(), 1u);
    EXPECT_TRUE(line.lines[0].text.startsWith(QStringLiteral("Bartholomew")));
    EXPECT_TRUE(line.lines[0].text.endsWith(ellipsis));
}

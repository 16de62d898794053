#include "shell/qt/TextLayout.h"

#include "platform/ui/TextBounds.h"

#include "shell/qt/SystemFonts.h"

#include <QFontMetricsF>
#include <QStringList>
#include <QTextLayout>
#include <QTextOption>

#include <algorithm>
#include <cmath>

namespace tessaro {

namespace {

// Text a hair wider than its box still counts as fitting: the measurer's answer is used as
// a frame size after rounding, and a truncation caused by rounding would look like a bug.
constexpr double widthTolerance = 0.5;

Qt::TextElideMode elideModeFor(ui::LineBreakMode mode)
{
    switch (mode) {
    case ui::LineBreakMode::TruncateHead:
        return Qt::ElideLeft;
    case ui::LineBreakMode::TruncateMiddle:
        return Qt::ElideMiddle;
    case ui::LineBreakMode::TruncateTail:
        return Qt::ElideRight;
    default:
        return Qt::ElideNone;
    }
}

bool truncates(ui::LineBreakMode mode)
{
    return elideModeFor(mode) != Qt::ElideNone;
}

// The lines one paragraph breaks into at the width.
QStringList wrapParagraph(const QString& paragraph, const QFont& font, double maxWidth, ui::LineBreakMode mode)
{
    if (maxWidth <= 0 || paragraph.isEmpty())
        return { paragraph };
    QTextLayout layout(paragraph, font);
    QTextOption option;
    option.setWrapMode(mode == ui::LineBreakMode::CharacterWrap ? QTextOption::WrapAnywhere
                                                                : QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.setCacheEnabled(false);
    QStringList lines;
    layout.beginLayout();
    for (;;) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(maxWidth + widthTolerance);
        lines << paragraph.mid(line.textStart(), line.textLength());
    }
    layout.endLayout();
    if (lines.isEmpty())
        lines << paragraph;
    return lines;
}

QString withoutTrailingSpaces(QString line)
{
    while (!line.isEmpty() && line.back().isSpace())
        line.chop(1);
    return line;
}

} // namespace

double TextBlock::width() const
{
    double widest = 0;
    for (const auto& line : lines)
        widest = std::max(widest, line.width);
    return widest;
}

TextBlock TextLayout::layout(const QString& text, const QFont& font, double maxWidth, int maxLines, double maxHeight,
                             ui::LineBreakMode mode)
{
    QFontMetricsF metrics(font);
    TextBlock block;
    block.font = font;
    block.lineHeight = std::ceil(metrics.height());
    block.ascent = metrics.ascent();

    int limit = maxLines > 0 ? maxLines : 0;
    if (maxHeight > 0) {
        // A box lower than one line still shows its first line, clipped, as the handset does.
        int fitting = std::max(1, int(std::floor((maxHeight + widthTolerance) / block.lineHeight)));
        limit = limit > 0 ? std::min(limit, fitting) : fitting;
    }

    QStringList paragraphs = text.split(QLatin1Char('\n'));
    QStringList wrapped;
    // Where each wrapped line starts in the text, so the rest can be truncated from there.
    std::vector<qsizetype> starts;
    qsizetype paragraphStart = 0;
    for (const auto& paragraph : paragraphs) {
        qsizetype offset = paragraphStart;
        for (const auto& line : wrapParagraph(paragraph, font, maxWidth, mode)) {
            wrapped << line;
            starts.push_back(offset);
            offset += line.size();
        }
        paragraphStart += paragraph.size() + 1;
    }

    bool leftOver = limit > 0 && wrapped.size() > limit;
    qsizetype kept = leftOver ? limit : wrapped.size();
    for (qsizetype i = 0; i < kept; ++i) {
        QString line = wrapped[i];
        bool last = i == kept - 1;
        if (last && maxWidth > 0 && truncates(mode)) {
            if (leftOver) {
                // The rest of the text from this line on, in one line, so the ellipsis says
                // that something follows.
                QString rest = text.mid(starts[std::size_t(i)]);
                rest.replace(QLatin1Char('\n'), QLatin1Char(' '));
                Qt::TextElideMode elide = kept == 1 ? elideModeFor(mode) : Qt::ElideRight;
                line = metrics.elidedText(rest, elide, maxWidth + widthTolerance);
            } else if (metrics.horizontalAdvance(line) > maxWidth + widthTolerance) {
                line = metrics.elidedText(line, elideModeFor(mode), maxWidth + widthTolerance);
            }
        }
        if (maxWidth > 0 && !last)
            line = withoutTrailingSpaces(line);
        double width = metrics.horizontalAdvance(line);
        if (maxWidth > 0 && !truncates(mode))
            width = std::min(width, maxWidth);
        block.lines.push_back({ line, width });
    }
    if (block.lines.empty())
        block.lines.push_back({ QString(), 0 });
    return block;
}

TextBlock TextLayout::layoutInRect(const std::string& text, const ui::Size& box, const ui::TextStyle& style)
{
    std::string_view shown = ui::TextBounds::forLines(text, style.numberOfLines);
    QString string = QString::fromUtf8(shown.data(), static_cast<qsizetype>(shown.size()));
    QFont font = SystemFonts::toQFont(style.font);
    double maxWidth = std::max(0.0, box.width);
    bool singleLine = style.numberOfLines == 1 && !string.contains(QLatin1Char('\n'));
    if (singleLine && style.minimumScaleFactor > 0 && maxWidth > 0) {
        double natural = QFontMetricsF(font).horizontalAdvance(string);
        if (natural > maxWidth + widthTolerance) {
            double smallest = std::max(1.0, style.font.pointSize * std::min(1.0, style.minimumScaleFactor));
            double size = std::max(smallest, std::floor(style.font.pointSize * maxWidth / natural));
            // Widths do not shrink exactly in proportion; step down until the line fits.
            for (;; size -= 1) {
                font = SystemFonts::toQFont(style.font.withSize(std::max(size, smallest)));
                if (size <= smallest || QFontMetricsF(font).horizontalAdvance(string) <= maxWidth + widthTolerance)
                    break;
            }
        }
    }
    return layout(string, font, maxWidth, style.numberOfLines, box.height, style.lineBreakMode);
}

} // namespace tessaro

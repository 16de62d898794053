#include "shell/qt/QtPainter.h"

#include "shell/qt/DecodedImages.h"
#include "shell/qt/SystemFonts.h"
#include "shell/qt/TextLayout.h"

#include <QColor>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QTextDocument>

#include <algorithm>

namespace tessaro {

namespace {

QColor toQColor(const ui::Color& color)
{
    return QColor::fromRgbF(float(std::clamp(color.red, 0.0, 1.0)), float(std::clamp(color.green, 0.0, 1.0)),
                            float(std::clamp(color.blue, 0.0, 1.0)), float(std::clamp(color.alpha, 0.0, 1.0)));
}

QRectF toQRect(const ui::Rect& rect)
{
    return { rect.x(), rect.y(), rect.width(), rect.height() };
}

// A corner radius larger than half the short side would make Qt draw a blob; the handset
// draws the pill shape instead.
double fittingRadius(const ui::Rect& rect, double radius)
{
    return std::clamp(radius, 0.0, std::min(rect.width(), rect.height()) / 2);
}

} // namespace

QtPainter::QtPainter(QPainter& painter)
    : m_painter(painter)
{
    m_painter.setRenderHint(QPainter::Antialiasing, true);
    m_painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    m_painter.setRenderHint(QPainter::TextAntialiasing, true);
}

void QtPainter::save()
{
    m_painter.save();
}

void QtPainter::restore()
{
    m_painter.restore();
}

void QtPainter::translate(double dx, double dy)
{
    m_painter.translate(dx, dy);
}

void QtPainter::clipToRect(const ui::Rect& rect, double cornerRadius)
{
    double radius = fittingRadius(rect, cornerRadius);
    if (radius > 0) {
        QPainterPath path;
        path.addRoundedRect(toQRect(rect), radius, radius);
        m_painter.setClipPath(path, Qt::IntersectClip);
    } else {
        m_painter.setClipRect(toQRect(rect), Qt::IntersectClip);
    }
}

void QtPainter::multiplyOpacity(double factor)
{
    m_painter.setOpacity(m_painter.opacity() * std::clamp(factor, 0.0, 1.0));
}

void QtPainter::fillRect(const ui::Rect& rect, const ui::Color& color, double cornerRadius)
{
    if (rect.isEmpty() || color.isClear())
        return;
    double radius = fittingRadius(rect, cornerRadius);
    if (radius > 0) {
        QPainterPath path;
        path.addRoundedRect(toQRect(rect), radius, radius);
        m_painter.fillPath(path, toQColor(color));
    } else {
        m_painter.fillRect(toQRect(rect), toQColor(color));
    }
}

void QtPainter::strokeRect(const ui::Rect& rect, const ui::Color& color, double lineWidth, double cornerRadius)
{
    if (rect.isEmpty() || color.isClear() || lineWidth <= 0)
        return;
    // The stroke is centred on the path, so the path runs half a line inside the edge.
    ui::Rect inner = rect.insetBy(lineWidth / 2, lineWidth / 2);
    QPen pen(toQColor(color), lineWidth);
    pen.setJoinStyle(Qt::MiterJoin);
    m_painter.save();
    m_painter.setPen(pen);
    m_painter.setBrush(Qt::NoBrush);
    double radius = fittingRadius(inner, cornerRadius - lineWidth / 2);
    if (radius > 0)
        m_painter.drawRoundedRect(toQRect(inner), radius, radius);
    else
        m_painter.drawRect(toQRect(inner));
    m_painter.restore();
}

void QtPainter::fillEllipse(const ui::Rect& rect, const ui::Color& color)
{
    if (rect.isEmpty() || color.isClear())
        return;
    m_painter.save();
    m_painter.setPen(Qt::NoPen);
    m_painter.setBrush(toQColor(color));
    m_painter.drawEllipse(toQRect(rect));
    m_painter.restore();
}

void QtPainter::drawLine(const ui::Point& from, const ui::Point& to, const ui::Color& color, double lineWidth)
{
    if (color.isClear() || lineWidth <= 0)
        return;
    QPen pen(toQColor(color), lineWidth);
    pen.setCapStyle(Qt::FlatCap);
    m_painter.save();
    m_painter.setPen(pen);
    m_painter.drawLine(QPointF(from.x, from.y), QPointF(to.x, to.y));
    m_painter.restore();
}

void QtPainter::drawText(const std::string& text, const ui::Rect& rect, const ui::TextStyle& style)
{
    if (text.empty() || style.color.isClear())
        return;
    TextBlock block = TextLayout::layoutInRect(text, rect.size, style);
    double top = rect.y();
    if (style.centerVertically)
        top += (rect.height() - block.height()) / 2;
    m_painter.save();
    m_painter.setFont(block.font);
    m_painter.setPen(toQColor(style.color));
    double baseline = top + block.ascent + (block.lineHeight - QFontMetricsF(block.font).height()) / 2;
    for (const auto& line : block.lines) {
        double x = rect.x();
        if (style.alignment == ui::TextAlignment::Center)
            x += (rect.width() - line.width) / 2;
        else if (style.alignment == ui::TextAlignment::Right)
            x += rect.width() - line.width;
        m_painter.drawText(QPointF(x, baseline), line.text);
        baseline += block.lineHeight;
    }
    m_painter.restore();
}

bool QtPainter::drawHTML(const std::string& html, const ui::Rect& rect)
{
    // Qt's rich text is a subset of HTML without scripts or network access: enough for a
    // banner or a short page, and nothing in a page can reach out from here.
    QTextDocument document;
    document.setDefaultFont(SystemFonts::toQFont(ui::Font::systemFontOfSize(12)));
    document.setDocumentMargin(0);
    document.setHtml(QString::fromUtf8(html.data(), static_cast<qsizetype>(html.size())));
    document.setTextWidth(rect.width());
    m_painter.save();
    m_painter.translate(rect.x(), rect.y());
    document.drawContents(&m_painter, QRectF(0, 0, rect.width(), rect.height()));
    m_painter.restore();
    return true;
}

ui::Rect QtPainter::imageRect(const ui::Size& imageSize, const ui::Rect& rect, ui::ContentMode mode)
{
    double w = imageSize.width;
    double h = imageSize.height;
    if (w <= 0 || h <= 0)
        return rect;
    switch (mode) {
    case ui::ContentMode::ScaleToFill:
        return rect;
    case ui::ContentMode::ScaleAspectFit:
    case ui::ContentMode::ScaleAspectFill: {
        double sx = rect.width() / w;
        double sy = rect.height() / h;
        double s = mode == ui::ContentMode::ScaleAspectFit ? std::min(sx, sy) : std::max(sx, sy);
        return { rect.midX() - w * s / 2, rect.midY() - h * s / 2, w * s, h * s };
    }
    case ui::ContentMode::Center:
        return { rect.midX() - w / 2, rect.midY() - h / 2, w, h };
    case ui::ContentMode::Top:
        return { rect.midX() - w / 2, rect.minY(), w, h };
    case ui::ContentMode::Bottom:
        return { rect.midX() - w / 2, rect.maxY() - h, w, h };
    case ui::ContentMode::Left:
        return { rect.minX(), rect.midY() - h / 2, w, h };
    case ui::ContentMode::Right:
        return { rect.maxX() - w, rect.midY() - h / 2, w, h };
    case ui::ContentMode::TopLeft:
        return { rect.minX(), rect.minY(), w, h };
    case ui::ContentMode::TopRight:
        return { rect.maxX() - w, rect.minY(), w, h };
    case ui::ContentMode::BottomLeft:
        return { rect.minX(), rect.maxY() - h, w, h };
    case ui::ContentMode::BottomRight:
        return { rect.maxX() - w, rect.maxY() - h, w, h };
    }
    return rect;
}

void QtPainter::drawImage(const ui::Image& image, const ui::Rect& rect, ui::ContentMode mode)
{
    drawDecodedImage(image, rect, mode, std::nullopt);
}

void QtPainter::drawTintedImage(const ui::Image& image, const ui::Rect& rect, ui::ContentMode mode, const ui::Color& tint)
{
    drawDecodedImage(image, rect, mode, tint);
}

void QtPainter::drawDecodedImage(const ui::Image& image, const ui::Rect& rect, ui::ContentMode mode,
                                 const std::optional<ui::Color>& tint)
{
    QImage decoded = DecodedImages::shared().imageFor(image);
    if (decoded.isNull())
        return;
    ui::Size size = image.size();
    if (size.isEmpty())
        size = { decoded.width() / std::max(1.0, image.scale()), decoded.height() / std::max(1.0, image.scale()) };
    ui::Rect target = imageRect(size, rect, mode);
    if (target.isEmpty())
        return;
    if (tint) {
        // A template picture keeps only its shape: every pixel takes the tint, scaled by the
        // pixel's own coverage.
        QImage shape = decoded.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QPainter fill(&shape);
        fill.setCompositionMode(QPainter::CompositionMode_SourceIn);
        fill.fillRect(shape.rect(), toQColor(*tint));
        fill.end();
        m_painter.drawImage(toQRect(target), shape);
        return;
    }
    m_painter.drawImage(toQRect(target), decoded);
}

} // namespace tessaro

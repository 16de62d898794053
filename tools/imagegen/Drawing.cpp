#include "Drawing.h"

#include "app/GroupPalette.h"

#include <QFontMetricsF>
#include <QPainterPathStroker>
#include <QTransform>
#include <QtMath>

#include <array>
#include <cmath>

namespace drawing {

QFont latinFont(qreal points, QFont::Weight weight)
{
    QFont result(QStringLiteral("DejaVu Sans"));
    result.setPointSizeF(points);
    result.setWeight(weight);
    result.setHintingPreference(QFont::PreferNoHinting);
    return result;
}

QFont font(const QString& language, qreal points, QFont::Weight weight)
{
    if (language != QLatin1String("ja"))
        return latinFont(points, weight);
    // Kana and kanji need a Japanese face; Latin letters inside Japanese text take its own
    // Latin glyphs, which match the kana in weight.
    QFont result(QStringLiteral("Noto Sans CJK JP"));
    result.setPointSizeF(points);
    result.setWeight(weight);
    result.setHintingPreference(QFont::PreferNoHinting);
    return result;
}

QColor paletteColor(int index)
{
    if (index < 0 || index >= static_cast<int>(tessaro::kGroupPalette.size()))
        return Qt::black;
    const auto& entry = tessaro::kGroupPalette[static_cast<std::size_t>(index)];
    return QColor::fromRgbF(entry.red, entry.green, entry.blue);
}

QTransform unitTransform(const QRectF& box)
{
    return QTransform(box.width(), 0, 0, box.height(), box.left(), box.top());
}

QPainterPath personPath()
{
    QPainterPath head;
    head.addEllipse(QPointF(0.5, 0.33), 0.19, 0.19);
    QPainterPath shoulders;
    shoulders.addEllipse(QRectF(0.12, 0.58, 0.76, 0.76));
    QPainterPath lowerEdge;
    lowerEdge.addRect(QRectF(0, 0, 1, 0.94));
    return head.united(shoulders.intersected(lowerEdge)).simplified();
}

QPainterPath handsetPath()
{
    // A receiver seen from the side: a thick quarter ring bowing out to the bottom left, the
    // earpiece at its top left end and the mouthpiece at its bottom right end, both pads
    // turned toward the speaker's face at the top right.
    const QPointF centre(0.80, 0.20);
    const qreal radius = 0.56;
    QPainterPath handle;
    handle.arcMoveTo(QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius), 180 + 8);
    handle.arcTo(QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius), 180 + 8, 74);
    QPainterPathStroker stroker;
    stroker.setWidth(0.17);
    stroker.setCapStyle(Qt::FlatCap);
    QPainterPath shape = stroker.createStroke(handle);

    auto pad = [&](qreal degrees) {
        // A rounded pad across the ring's end, reaching in toward the centre.
        QPainterPath piece;
        piece.addRoundedRect(QRectF(-0.15, -0.13, 0.30, 0.26), 0.08, 0.08);
        QTransform place;
        const qreal radians = qDegreesToRadians(degrees);
        place.translate(centre.x() + (radius - 0.05) * std::cos(radians),
                        centre.y() - (radius - 0.05) * std::sin(radians));
        place.rotate(-degrees);
        return place.map(piece);
    };
    shape = shape.united(pad(180 + 10)).united(pad(270 - 10));
    return shape.simplified();
}

QPainterPath starPath()
{
    QPainterPath star;
    for (int i = 0; i < 10; ++i) {
        const double angle = -M_PI / 2 + i * M_PI / 5;
        const double radius = (i % 2 == 0) ? 0.5 : 0.2;
        const QPointF point(0.5 + radius * std::cos(angle), 0.53 + radius * std::sin(angle));
        if (i == 0)
            star.moveTo(point);
        else
            star.lineTo(point);
    }
    star.closeSubpath();
    return star;
}

void fillPath(QPainter& painter, const QPainterPath& unitPath, const QRectF& box, const QColor& color)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawPath(unitTransform(box).map(unitPath));
    painter.restore();
}

void strokePath(QPainter& painter, const QPainterPath& unitPath, const QRectF& box, const QColor& color,
                qreal width)
{
    painter.save();
    painter.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(unitTransform(box).map(unitPath));
    painter.restore();
}

void menuGlyph(QPainter& painter, const QRectF& box, const QColor& color)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    const qreal unit = box.height() / 7.0;
    for (int i = 0; i < 3; ++i) {
        const qreal y = box.top() + unit * (1 + 2 * i);
        painter.drawEllipse(QRectF(box.left(), y, unit, unit));
        painter.drawRoundedRect(QRectF(box.left() + unit * 2, y, box.width() - unit * 2, unit),
                                unit / 2, unit / 2);
    }
    painter.restore();
}

void headPlaceholder(QPainter& painter, const QRectF& box)
{
    painter.save();
    QLinearGradient background(box.topLeft(), box.bottomLeft());
    background.setColorAt(0, QColor(214, 216, 222));
    background.setColorAt(1, QColor(184, 188, 196));
    painter.setPen(Qt::NoPen);
    painter.setBrush(background);
    const qreal radius = box.width() * 0.16;
    painter.drawRoundedRect(box, radius, radius);
    painter.setClipRect(box);
    const QRectF figure(box.left() + box.width() * 0.12, box.top() + box.height() * 0.14,
                        box.width() * 0.76, box.height() * 0.86);
    fillPath(painter, personPath(), figure, QColor(250, 250, 252));
    painter.restore();
}

void tickMark(QPainter& painter, const QRectF& box, const QColor& color, qreal width)
{
    QPainterPath tick;
    tick.moveTo(0.08, 0.55);
    tick.lineTo(0.38, 0.85);
    tick.lineTo(0.92, 0.15);
    strokePath(painter, tick, box, color, width);
}

void fittedText(QPainter& painter, const QRectF& box, const QString& text, QFont font, int flags)
{
    const bool wraps = flags & Qt::TextWordWrap;
    for (int attempt = 0; attempt < 40; ++attempt) {
        const QFontMetricsF metrics(font, painter.device());
        const QRectF needed = metrics.boundingRect(box, flags, text);
        const bool fits = wraps ? needed.height() <= box.height() + 0.01 : needed.width() <= box.width() + 0.01;
        if (fits || font.pointSizeF() <= 4)
            break;
        font.setPointSizeF(font.pointSizeF() * 0.95);
    }
    painter.save();
    painter.setFont(font);
    painter.drawText(box, flags, text);
    painter.restore();
}

} // namespace drawing

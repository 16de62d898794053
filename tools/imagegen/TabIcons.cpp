#include "Drawing.h"
#include "Drawings.h"
#include "Look.h"

using namespace drawing;

namespace {

// Tab icons are one colour on transparency, so a tab bar may also use them as a mask and tint
// the selected one; the older look fills its shapes, the newer one outlines them.
constexpr qreal kIconSize = 30;
constexpr qreal kOutline = 1.5;

void clearShape(QPainter& painter, const QPainterPath& shape)
{
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_Clear);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawPath(shape);
    painter.restore();
}

void drawKeypadIcon(QPainter& painter, Look look)
{
    const qreal radius = 2.7;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 3; ++column) {
            const QPointF centre(7 + column * 8, 3.5 + row * 7.6);
            if (look == Look::Classic) {
                painter.setPen(Qt::NoPen);
                painter.setBrush(kIconGrey);
            } else {
                painter.setPen(QPen(kIconGrey, 1.1));
                painter.setBrush(Qt::NoBrush);
            }
            painter.drawEllipse(centre, radius, radius);
        }
    }
}

void drawMemoIcon(QPainter& painter, Look look)
{
    // A sheet with its top right corner turned down, and ruled lines.
    QPainterPath sheet;
    sheet.moveTo(6, 3);
    sheet.lineTo(19, 3);
    sheet.lineTo(25, 9);
    sheet.lineTo(25, 27);
    sheet.lineTo(6, 27);
    sheet.closeSubpath();
    QPainterPath fold;
    fold.moveTo(19, 3);
    fold.lineTo(19, 9);
    fold.lineTo(25, 9);
    QPainterPath rules;
    for (int i = 0; i < 4; ++i) {
        rules.moveTo(10, 12 + i * 4);
        rules.lineTo(i == 3 ? 17 : 21, 12 + i * 4);
    }
    if (look == Look::Classic) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(kIconGrey);
        painter.drawPath(sheet);
        QPainterPathStroker stroker;
        stroker.setWidth(1.6);
        stroker.setCapStyle(Qt::RoundCap);
        clearShape(painter, stroker.createStroke(rules));
        stroker.setWidth(1.0);
        clearShape(painter, stroker.createStroke(fold));
    } else {
        painter.setPen(QPen(kIconGrey, kOutline, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(sheet);
        painter.drawPath(fold);
        painter.setPen(QPen(kIconGrey, 1.2, Qt::SolidLine, Qt::RoundCap));
        painter.drawPath(rules);
    }
}

void drawInformationIcon(QPainter& painter, Look look)
{
    const QRectF disc(3, 3, 24, 24);
    QPainterPath letter;
    letter.addEllipse(QPointF(15, 9.6), 1.9, 1.9);
    letter.addRoundedRect(QRectF(13.3, 13, 3.4, 9.5), 1.2, 1.2);
    if (look == Look::Classic) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(kIconGrey);
        painter.drawEllipse(disc);
        clearShape(painter, letter);
    } else {
        painter.setPen(QPen(kIconGrey, kOutline));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(disc.adjusted(0.5, 0.5, -0.5, -0.5));
        painter.setPen(Qt::NoPen);
        painter.setBrush(kIconGrey);
        painter.drawPath(letter);
    }
}

void drawShapeIcon(QPainter& painter, Look look, const QPainterPath& unitShape, const QRectF& box)
{
    if (look == Look::Classic)
        fillPath(painter, unitShape, box, kIconGrey);
    else
        strokePath(painter, unitShape, box, kIconGrey, kOutline);
}

} // namespace

void addTabIcons(ImageCatalog& catalog)
{
    const QSizeF size(kIconSize, kIconSize);
    for (Look look : kBothLooks) {
        const QString suffix = lookSuffix(look);
        catalog.add("keyboard" + suffix + ".png", size, [look](QPainter& p) { drawKeypadIcon(p, look); });
        catalog.add("memo" + suffix + ".png", size, [look](QPainter& p) { drawMemoIcon(p, look); });
        catalog.add("information" + suffix + ".png", size, [look](QPainter& p) { drawInformationIcon(p, look); });
        // The favourites and groups tabs use the platform's own tab items; these are their icons.
        catalog.add("system_favorites" + suffix + ".png", size, [look](QPainter& p) {
            drawShapeIcon(p, look, starPath(), QRectF(2.5, 2, 25, 25));
        });
        catalog.add("system_contacts" + suffix + ".png", size, [look](QPainter& p) {
            drawShapeIcon(p, look, personPath(), QRectF(3.5, 2.5, 23, 25));
        });
    }
}

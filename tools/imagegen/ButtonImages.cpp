#include "Drawing.h"
#include "Drawings.h"
#include "Look.h"

using namespace drawing;

namespace {

void drawDownButton(QPainter& painter)
{
    // Sits at the right end of the bar above the keyboard: a small key cap showing a keyboard
    // with an arrow down, the usual sign for "put the keyboard away".
    const QRectF cap(3, 2, 34, 26);
    QLinearGradient fill(cap.topLeft(), cap.bottomLeft());
    fill.setColorAt(0, QColor(252, 252, 253));
    fill.setColorAt(1, QColor(222, 224, 228));
    painter.setPen(QPen(QColor(160, 164, 172), 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(cap, 5, 5);

    const QColor ink(88, 92, 102);
    const QRectF keyboard(11, 6, 18, 11);
    painter.setPen(QPen(ink, 1.2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(keyboard, 1.5, 1.5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 5; ++column)
            painter.drawRect(QRectF(13 + column * 3, 8.2 + row * 2.6, 1.6, 1.4));
    }
    painter.drawRect(QRectF(15.5, 13.6, 9, 1.4));
    QPainterPath arrow;
    arrow.moveTo(16, 19.5);
    arrow.lineTo(20, 23.5);
    arrow.lineTo(24, 19.5);
    painter.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(arrow);
}

void drawCallButton(QPainter& painter, Look look)
{
    // 44 x 51 points at the left of the typed number; the older look puts it on a dark strip.
    const QRectF area(0, 0, 44, 51);
    if (look == Look::Flat) {
        const QRectF disc(4, 7.5, 36, 36);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(76, 217, 100));
        painter.drawEllipse(disc);
        fillPath(painter, handsetPath(), disc.adjusted(8, 8, -8, -8), Qt::white);
        return;
    }
    QLinearGradient strip(area.topLeft(), area.bottomLeft());
    strip.setColorAt(0, QColor(62, 66, 74));
    strip.setColorAt(1, QColor(30, 32, 36));
    painter.fillRect(area, strip);
    const QRectF button(4, 6, 36, 39);
    QLinearGradient green(button.topLeft(), button.bottomLeft());
    green.setColorAt(0, QColor(110, 214, 104));
    green.setColorAt(1, QColor(44, 152, 46));
    painter.setPen(QPen(QColor(22, 90, 24), 1));
    painter.setBrush(green);
    painter.drawRoundedRect(button, 7, 7);
    QRectF gloss = button.adjusted(1, 1, -1, 0);
    gloss.setHeight(button.height() / 2 - 1);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 60));
    painter.drawRoundedRect(gloss, 6, 6);
    fillPath(painter, handsetPath(), button.adjusted(8, 9.5, -8, -9.5), Qt::white);
}

void drawApplicationIcon(QPainter& painter)
{
    // Three people in three group colours: contacts kept by groups.
    const QRectF tile(0, 0, 57, 57);
    QLinearGradient background(tile.topLeft(), tile.bottomLeft());
    background.setColorAt(0, QColor(250, 251, 253));
    background.setColorAt(1, QColor(226, 231, 240));
    painter.setPen(Qt::NoPen);
    painter.setBrush(background);
    painter.drawRoundedRect(tile, 10, 10);

    struct Member { QRectF disc; int colour; };
    const Member members[] = {
        { QRectF(17, 5, 23, 23), 5 },
        { QRectF(5, 27, 23, 23), 0 },
        { QRectF(29, 27, 23, 23), 7 },
    };
    for (const Member& member : members) {
        painter.setPen(QPen(Qt::white, 2));
        painter.setBrush(paletteColor(member.colour));
        painter.drawEllipse(member.disc);
        painter.save();
        QPainterPath clip;
        clip.addEllipse(member.disc);
        painter.setClipPath(clip);
        fillPath(painter, personPath(), member.disc.adjusted(3, 4, -3, 0), Qt::white);
        painter.restore();
    }
}

void drawCompose(QPainter& painter)
{
    // A sheet with a pencil crossing its corner: "write a new mail".
    painter.setPen(QPen(kSystemBlue, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    QPainterPath sheet;
    sheet.moveTo(12, 4);
    sheet.lineTo(4, 4);
    sheet.lineTo(4, 19);
    sheet.lineTo(19, 19);
    sheet.lineTo(19, 11);
    painter.drawPath(sheet);
    QPainterPath pencil;
    pencil.moveTo(10, 14);
    pencil.lineTo(10.8, 11);
    pencil.lineTo(18.5, 3.3);
    pencil.lineTo(20.7, 5.5);
    pencil.lineTo(13, 13.2);
    pencil.closeSubpath();
    painter.drawPath(pencil);
}

void drawSearch(QPainter& painter)
{
    const QColor ink(142, 142, 147);
    painter.setPen(QPen(ink, 1.6));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QRectF(1.5, 1.5, 8, 8));
    painter.setPen(QPen(ink, 2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(8.6, 8.6), QPointF(12.5, 12.5));
}

void drawDisclosure(QPainter& painter)
{
    QPainterPath chevron;
    chevron.moveTo(1.5, 1.5);
    chevron.lineTo(6.5, 6.5);
    chevron.lineTo(1.5, 11.5);
    painter.setPen(QPen(QColor(199, 199, 204), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(chevron);
}

} // namespace

void addButtonImages(ImageCatalog& catalog)
{
    catalog.add("btn_menu_top.png", QSizeF(20, 20),
                [](QPainter& p) { menuGlyph(p, QRectF(1, 2, 18, 16), kSystemBlue); });
    catalog.add("btn_down.png", QSizeF(40, 30), drawDownButton);
    for (Look look : kBothLooks)
        catalog.add("btnCall" + lookSuffix(look) + ".png", QSizeF(44, 51),
                    [look](QPainter& p) { drawCallButton(p, look); });
    catalog.add("head.png", QSizeF(38, 38), [](QPainter& p) { headPlaceholder(p, QRectF(0, 0, 38, 38)); });
    catalog.add("icon_o.png", QSizeF(57, 57), drawApplicationIcon);

    // Marks the platform's own lists and bars draw.
    catalog.add("system_checkmark.png", QSizeF(14, 14),
                [](QPainter& p) { tickMark(p, QRectF(1, 1.5, 12, 11), kSystemBlue, 2); });
    catalog.add("system_disclosure.png", QSizeF(8, 13), drawDisclosure);
    catalog.add("system_compose.png", QSizeF(22, 22), drawCompose);
    catalog.add("system_search.png", QSizeF(14, 14), drawSearch);
}

#include "Drawing.h"
#include "Drawings.h"
#include "Look.h"

using namespace drawing;

namespace {

// The pad is 320 x 195 points: three columns and four rows of 107 x 49 point keys, the right
// column one point to the left so the pad ends at the screen's edge. A key has no picture of
// its own when idle, so the background carries every key face; the pressed picture of a key
// repeats that face in the pressed colours and lies exactly over it.
constexpr qreal kKeyWidth = 107;
constexpr qreal kKeyHeight = 49;

enum class KeyKind { Digit, Done, Delete };

struct Key {
    int row;
    int column;
    KeyKind kind;
    int digit;        // for digit keys
    const char* letters;
};

constexpr Key kKeys[] = {
    { 0, 0, KeyKind::Digit, 1, "" },     { 0, 1, KeyKind::Digit, 2, "ABC" },  { 0, 2, KeyKind::Digit, 3, "DEF" },
    { 1, 0, KeyKind::Digit, 4, "GHI" },  { 1, 1, KeyKind::Digit, 5, "JKL" },  { 1, 2, KeyKind::Digit, 6, "MNO" },
    { 2, 0, KeyKind::Digit, 7, "PQRS" }, { 2, 1, KeyKind::Digit, 8, "TUV" },  { 2, 2, KeyKind::Digit, 9, "WXYZ" },
    { 3, 0, KeyKind::Done, 0, "" },      { 3, 1, KeyKind::Digit, 0, "+" },    { 3, 2, KeyKind::Delete, 0, "" },
};

QRectF keyFrame(const Key& key)
{
    const qreal x = key.column * kKeyWidth - (key.column == 2 ? 1 : 0);
    return QRectF(x, key.row * kKeyHeight, kKeyWidth, kKeyHeight);
}

struct KeyColours {
    QColor top, bottom, ink, letters, line;
};

KeyColours coloursFor(Look look, KeyKind kind, bool pressed)
{
    if (look == Look::Classic) {
        if (pressed)
            return { QColor(96, 156, 234), QColor(34, 94, 200), Qt::white, QColor(226, 236, 252), QColor(8, 10, 14) };
        if (kind != KeyKind::Digit)
            return { QColor(58, 61, 68), QColor(34, 36, 41), Qt::white, Qt::white, QColor(8, 10, 14) };
        return { QColor(80, 84, 93), QColor(46, 49, 55), Qt::white, QColor(178, 183, 192), QColor(8, 10, 14) };
    }
    if (pressed)
        return { QColor(188, 192, 200), QColor(188, 192, 200), Qt::black, QColor(40, 40, 44), QColor(200, 203, 208) };
    if (kind != KeyKind::Digit)
        return { QColor(210, 213, 219), QColor(210, 213, 219), Qt::black, Qt::black, QColor(200, 203, 208) };
    return { QColor(254, 254, 254), QColor(254, 254, 254), Qt::black, QColor(40, 40, 44), QColor(200, 203, 208) };
}

void drawDoneGlyph(QPainter& painter, const QRectF& frame, const QColor& ink)
{
    // The keypad slides away: a keyboard with an arrow down beneath it.
    const QPointF centre = frame.center();
    const QRectF keyboard(centre.x() - 13, centre.y() - 12, 26, 15);
    painter.setPen(QPen(ink, 1.4));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(keyboard, 2, 2);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 6; ++column)
            painter.drawRect(QRectF(keyboard.left() + 3 + column * 3.5, keyboard.top() + 3 + row * 3.6, 2, 1.8));
    }
    painter.drawRect(QRectF(keyboard.left() + 7, keyboard.top() + 10.2, 12, 1.8));
    QPainterPath arrow;
    arrow.moveTo(centre.x() - 5, centre.y() + 6.5);
    arrow.lineTo(centre.x(), centre.y() + 11.5);
    arrow.lineTo(centre.x() + 5, centre.y() + 6.5);
    painter.setPen(QPen(ink, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(arrow);
}

void drawDeleteGlyph(QPainter& painter, const QRectF& frame, const QColor& ink)
{
    // The usual "delete backwards" key: a tag pointing left with a cross in it.
    const QPointF centre = frame.center();
    const qreal left = centre.x() - 15, right = centre.x() + 13, top = centre.y() - 9, bottom = centre.y() + 9;
    QPainterPath tag;
    tag.moveTo(left, centre.y());
    tag.lineTo(left + 9, top);
    tag.lineTo(right, top);
    tag.lineTo(right, bottom);
    tag.lineTo(left + 9, bottom);
    tag.closeSubpath();
    painter.setPen(QPen(ink, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(tag);
    const QPointF crossCentre(centre.x() + 3, centre.y());
    painter.setPen(QPen(ink, 1.7, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(crossCentre + QPointF(-4, -4), crossCentre + QPointF(4, 4));
    painter.drawLine(crossCentre + QPointF(-4, 4), crossCentre + QPointF(4, -4));
}

void drawKey(QPainter& painter, const QRectF& frame, const Key& key, Look look, bool pressed)
{
    const KeyColours colours = coloursFor(look, key.kind, pressed);
    QLinearGradient fill(frame.topLeft(), frame.bottomLeft());
    fill.setColorAt(0, colours.top);
    fill.setColorAt(1, colours.bottom);
    painter.fillRect(frame, fill);

    // Separators on the top and left edge only, so neighbouring keys share one line.
    painter.setPen(QPen(colours.line, look == Look::Classic ? 1 : 0.5));
    const qreal half = look == Look::Classic ? 0.5 : 0.25;
    painter.drawLine(QPointF(frame.left(), frame.top() + half), QPointF(frame.right(), frame.top() + half));
    if (key.column > 0)
        painter.drawLine(QPointF(frame.left() + half, frame.top()), QPointF(frame.left() + half, frame.bottom()));
    if (look == Look::Classic) {
        // A faint light edge under the dark separator gives the older look its raised keys.
        painter.setPen(QPen(QColor(255, 255, 255, pressed ? 70 : 38), 1));
        painter.drawLine(QPointF(frame.left() + 1, frame.top() + 1.5), QPointF(frame.right(), frame.top() + 1.5));
    }

    if (key.kind == KeyKind::Done) {
        drawDoneGlyph(painter, frame, colours.ink);
        return;
    }
    if (key.kind == KeyKind::Delete) {
        drawDeleteGlyph(painter, frame, colours.ink);
        return;
    }
    const bool flat = look == Look::Flat;
    painter.setPen(colours.ink);
    painter.setFont(latinFont(flat ? 25 : 23, flat ? QFont::ExtraLight : QFont::Bold));
    painter.drawText(QRectF(frame.left(), frame.top() + 2, frame.width(), 31), Qt::AlignHCenter | Qt::AlignBottom,
                     QString::number(key.digit));
    QFont letters = latinFont(key.digit == 0 ? 11 : 8, QFont::Bold);
    letters.setLetterSpacing(QFont::AbsoluteSpacing, 1.6);
    painter.setPen(colours.letters);
    painter.setFont(letters);
    painter.drawText(QRectF(frame.left(), frame.top() + 33, frame.width(), 13), Qt::AlignHCenter | Qt::AlignTop,
                     QString::fromLatin1(key.letters));
}

void drawBackground(QPainter& painter, Look look)
{
    const QRectF pad(0, 0, 320, 195);
    painter.fillRect(pad, coloursFor(look, KeyKind::Digit, false).line);
    painter.save();
    painter.setClipRect(pad);
    for (const Key& key : kKeys)
        drawKey(painter, keyFrame(key), key, look, false);
    painter.restore();
}

} // namespace

void addKeypadImages(ImageCatalog& catalog)
{
    for (Look look : kBothLooks) {
        const QString suffix = lookSuffix(look);
        catalog.add("number_keyboard_background" + suffix, QSizeF(320, 195),
                    [look](QPainter& p) { drawBackground(p, look); });
        for (const Key& key : kKeys) {
            QString name;
            switch (key.kind) {
            case KeyKind::Digit: name = QStringLiteral("number_%1_select").arg(key.digit); break;
            case KeyKind::Done: name = QStringLiteral("numberdone_press"); break;
            case KeyKind::Delete: name = QStringLiteral("numberdel_press"); break;
            }
            catalog.add(name + suffix, QSizeF(kKeyWidth, kKeyHeight), [look, key](QPainter& p) {
                drawKey(p, QRectF(0, 0, kKeyWidth, kKeyHeight), key, look, true);
            });
        }
    }
}

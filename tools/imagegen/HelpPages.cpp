#include "Drawing.h"
#include "Drawings.h"
#include "Look.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainterPath>

#include <cstdio>

using namespace drawing;

namespace {

// A how-to-use picture is 224 x 376 points: the paging view is 320 x 396 and lays each picture
// 38 points in from the left and 10 from the top, 96 points narrower and 20 lower than itself.
constexpr QSizeF kPageSize(224, 376);
// What of the application's screen a page shows, in screen points: below the status bar and
// the banner slot, the screen of a 3.5-inch handset down to its tab bar.
constexpr QRectF kShownScreen(0, 70, 320, 410);
// Where it lies on the page, shrunk to 180 points wide.
constexpr qreal kScreenScale = 180.0 / 320.0;
constexpr QRectF kScreenFrame(22, 126, 320 * kScreenScale, 410 * kScreenScale);

// One page's screen as tools/help-pages left it: the screenshot and where a finger goes.
struct PageScreen {
    QImage shot;
    // Pixels per point of the screenshot.
    qreal scale { 2 };
    std::optional<QPointF> touch;
};

bool loadPageScreen(const QDir& screens, const QString& base, PageScreen& page, QString& problem)
{
    const QString shotFile = screens.filePath(base + QStringLiteral(".png"));
    if (!page.shot.load(shotFile)) {
        problem = QStringLiteral("cannot read the screenshot %1").arg(shotFile);
        return false;
    }
    page.scale = page.shot.width() / 320.0;
    QFile touch(screens.filePath(base + QStringLiteral(".touch")));
    if (touch.open(QIODevice::ReadOnly)) {
        const QStringList numbers = QString::fromUtf8(touch.readAll()).simplified().split(QLatin1Char(' '));
        if (numbers.size() == 2)
            page.touch = QPointF(numbers[0].toDouble(), numbers[1].toDouble());
    }
    return true;
}

void drawPage(QPainter& painter, int page, Look look, const QString& language, const StringsTable& texts, const PageScreen& screen)
{
    const QRectF card(0, 0, kPageSize.width(), kPageSize.height());
    const bool flat = look == Look::Flat;

    // The card: white on the newer look; on the older one a soft grey with a blue-grey band.
    painter.setPen(Qt::NoPen);
    if (flat) {
        painter.setBrush(Qt::white);
    } else {
        QLinearGradient fill(card.topLeft(), card.bottomLeft());
        fill.setColorAt(0, QColor(244, 245, 247));
        fill.setColorAt(1, QColor(214, 218, 224));
        painter.setBrush(fill);
    }
    painter.drawRoundedRect(card, 12, 12);
    if (!flat) {
        painter.save();
        QPainterPath clip;
        clip.addRoundedRect(card, 12, 12);
        painter.setClipPath(clip);
        QLinearGradient band(QPointF(0, 0), QPointF(0, 44));
        band.setColorAt(0, QColor(128, 148, 174));
        band.setColorAt(1, QColor(92, 114, 146));
        painter.fillRect(QRectF(0, 0, card.width(), 44), band);
        painter.restore();
    }

    // Step number and the caption from the strings table.
    const QRectF badge(12, 9, 26, 26);
    painter.setBrush(flat ? kSystemBlue : QColor(255, 255, 255));
    painter.drawEllipse(badge);
    painter.setPen(flat ? Qt::white : QColor(80, 100, 130));
    painter.setFont(latinFont(15, QFont::Bold));
    painter.drawText(badge, Qt::AlignCenter, QString::number(page));
    const QString title = texts.text(QStringLiteral("HowtouseCaption%1Title").arg(page));
    const QString body = texts.text(QStringLiteral("HowtouseCaption%1Text").arg(page));
    painter.setPen(flat ? Qt::black : Qt::white);
    fittedText(painter, QRectF(46, 4, 170, 36), title, font(language, 14, QFont::Bold),
               Qt::AlignVCenter | Qt::AlignLeft | Qt::TextWordWrap);
    painter.setPen(QColor(60, 60, 66));
    fittedText(painter, QRectF(12, 50, 200, 68), body, font(language, 11), Qt::AlignTop | Qt::AlignLeft | Qt::TextWordWrap);

    // The application's own screen, in a dark bezel.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(28, 28, 30));
    painter.drawRoundedRect(kScreenFrame.adjusted(-4, -4, 4, 4), 8, 8);
    painter.save();
    QPainterPath screenClip;
    screenClip.addRoundedRect(kScreenFrame, 3, 3);
    painter.setClipPath(screenClip);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF source(kShownScreen.x() * screen.scale, kShownScreen.y() * screen.scale, kShownScreen.width() * screen.scale,
                        kShownScreen.height() * screen.scale);
    painter.drawImage(kScreenFrame, screen.shot, source);
    // A ring where the user's finger goes next.
    if (screen.touch) {
        const QPointF centre = kScreenFrame.topLeft() + (*screen.touch - kShownScreen.topLeft()) * kScreenScale;
        painter.setPen(QPen(QColor(255, 149, 0), 2.2));
        painter.setBrush(QColor(255, 149, 0, 50));
        painter.drawEllipse(centre, 12, 12);
    }
    painter.restore();
}

} // namespace

bool addHelpPages(ImageCatalog& catalog, const std::map<QString, StringsTable>& tablesByLanguage, const QDir& screens)
{
    bool complete = true;
    for (const auto& [language, table] : tablesByLanguage) {
        for (Look look : kBothLooks) {
            for (int page = 1; page <= 4; ++page) {
                // Named as the how-to-use screen forms it: page, language tag, look, ".PNG".
                const QString base = QStringLiteral("htu-%1-%2%3").arg(page).arg(language, lookSuffix(look));
                PageScreen screen;
                QString problem;
                if (!loadPageScreen(screens, base, screen, problem)) {
                    std::fprintf(stderr, "imagegen: %s\n", qPrintable(problem));
                    complete = false;
                    continue;
                }
                const StringsTable* texts = &table;
                catalog.add(base + QStringLiteral(".PNG"), kPageSize, [page, look, language, texts, screen](QPainter& p) {
                    drawPage(p, page, look, language, *texts, screen);
                });
            }
        }
    }
    return complete;
}

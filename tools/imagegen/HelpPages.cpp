#include "Drawing.h"
#include "Drawings.h"
#include "Look.h"

#include <vector>

using namespace drawing;

namespace {

// A how-to-use picture is 224 x 376 points: the paging view is 320 x 396 and lays each picture
// 38 points in from the left and 10 from the top, 96 points narrower and 20 lower than itself.
constexpr QSizeF kPageSize(224, 376);
// The screen pictured inside a page is drawn in real screen points and shrunk to fit.
constexpr QRectF kScreenFrame(22, 118, 180, 246);
constexpr qreal kScreenScale = 180.0 / 320.0;

struct SampleGroup {
    QString name;
    int colour;
    int count;
    bool local;
};

struct SamplePerson {
    QString section;  // empty: continues the section above
    QString name;
    QString detail;
};

struct PageCaption {
    QString title;
    QString body;
};

// What a page shows besides the application's own texts: sample groups and people, the
// platform's Edit and Done buttons, and the captions, in each language.
struct Sample {
    QString edit, done;
    std::vector<SampleGroup> groups;
    int allCount, ungroupedCount, noNumberCount, noMailCount;
    std::vector<SamplePerson> people;
    QStringList indexTitles;
    PageCaption captions[4];
};

Sample sampleFor(const QString& language)
{
    if (language == QLatin1String("ja")) {
        return Sample {
            QStringLiteral("編集"), QStringLiteral("完了"),
            { { QStringLiteral("友人"), 7, 14, false }, { QStringLiteral("家族"), 0, 6, false },
              { QStringLiteral("仕事"), 5, 23, false }, { QStringLiteral("テニス部"), 11, 9, true } },
            58, 12, 3, 20,
            { { QStringLiteral("あ"), QStringLiteral("青木 花子"), QStringLiteral("みどり書店 店長") },
              { QString(), QStringLiteral("安藤 健"), QString() },
              { QStringLiteral("か"), QStringLiteral("加藤 美咲"), QStringLiteral("市立図書館 司書") },
              { QStringLiteral("さ"), QStringLiteral("佐藤 健二"), QStringLiteral("さくら商事 営業部") },
              { QStringLiteral("た"), QStringLiteral("田中 陽菜"), QString() } },
            { QStringLiteral("あ"), QStringLiteral("か"), QStringLiteral("さ"), QStringLiteral("た"),
              QStringLiteral("な"), QStringLiteral("は"), QStringLiteral("ま"), QStringLiteral("や"),
              QStringLiteral("ら"), QStringLiteral("わ"), QStringLiteral("A"), QStringLiteral("#") },
            { { QStringLiteral("グループをひと目で"),
                QStringLiteral("アドレス帳のグループもアプリ内のグループも、色分けしてひとつの一覧に。それぞれの人数もすぐにわかります。") },
              { QStringLiteral("グループを開く"),
                QStringLiteral("グループをタップすると、メンバーが五十音順に並びます。名前や電話番号で検索もできます。") },
              { QStringLiteral("グループにまとめて連絡"),
                QStringLiteral("メニューボタンから、メンバー全員にまとめてメールやメッセージを送ったり、メンバーを選び直したりできます。") },
              { QStringLiteral("グループを整理"),
                QStringLiteral("グループ一覧の「編集」から、グループの追加、名前や色の変更、並べ替えができます。") } },
        };
    }
    return Sample {
        QStringLiteral("Edit"), QStringLiteral("Done"),
        { { QStringLiteral("Friends"), 7, 14, false }, { QStringLiteral("Family"), 0, 6, false },
          { QStringLiteral("Work"), 5, 23, false }, { QStringLiteral("Tennis Club"), 11, 9, true } },
        58, 12, 3, 20,
        { { QStringLiteral("B"), QStringLiteral("Baker Olivia"), QStringLiteral("Harbor Books Manager") },
          { QString(), QStringLiteral("Brown Liam"), QString() },
          { QStringLiteral("C"), QStringLiteral("Clark Noah"), QStringLiteral("City Library Librarian") },
          { QStringLiteral("D"), QStringLiteral("Davis Ava"), QStringLiteral("Green Cafe Chef") },
          { QStringLiteral("E"), QStringLiteral("Evans Mia"), QString() } },
        QStringLiteral("A B C D E F G H I J K L M N O P Q R S T U V W X Y Z #").split(' '),
        { { QStringLiteral("All your groups in one list"),
            QStringLiteral("Address book groups and groups kept in this app, each in its own color, with the number of people in each.") },
          { QStringLiteral("Open a group"),
            QStringLiteral("Tap a group to see its people in alphabetical sections. Search by name or phone number.") },
          { QStringLiteral("Mail or message a whole group"),
            QStringLiteral("Tap a group's menu button to send one email or message to all its members, or to choose who belongs to it.") },
          { QStringLiteral("Arrange your groups"),
            QStringLiteral("Tap Edit on the group list to add groups, rename them, give them a color and drag them into order.") } },
    };
}

// Draws a screen of the application in screen points (320 wide), in one look and language.
class MockScreen {
public:
    MockScreen(QPainter& painter, Look look, const QString& language, const StringsTable& texts)
        : m_p(painter), m_look(look), m_language(language), m_texts(texts)
    {
    }

    bool flat() const { return m_look == Look::Flat; }
    qreal inset() const { return flat() ? 10 : 0; }
    QFont font(qreal points, QFont::Weight weight = QFont::Normal) const
    {
        return drawing::font(m_language, points, weight);
    }
    QString text(const char* key) const { return m_texts.text(QString::fromLatin1(key)); }

    void navigationBar(const QString& title, const QString& left, const QString& right)
    {
        const QRectF bar(0, 0, 320, 44);
        if (flat()) {
            m_p.fillRect(bar, QColor(248, 248, 248));
            m_p.fillRect(QRectF(0, 43.5, 320, 0.5), QColor(178, 178, 178));
            m_p.setPen(Qt::black);
            fittedText(m_p, QRectF(80, 0, 160, 44), title, font(17, QFont::DemiBold), Qt::AlignCenter);
            m_p.setPen(kSystemBlue);
            fittedText(m_p, QRectF(8, 0, 70, 44), left, font(17), Qt::AlignVCenter | Qt::AlignLeft);
            fittedText(m_p, QRectF(242, 0, 70, 44), right, font(right == QLatin1String("+") ? 28 : 17),
                       Qt::AlignVCenter | Qt::AlignRight);
            return;
        }
        QLinearGradient fill(bar.topLeft(), bar.bottomLeft());
        fill.setColorAt(0, QColor(182, 194, 210));
        fill.setColorAt(0.5, QColor(128, 148, 174));
        fill.setColorAt(1, QColor(106, 129, 160));
        m_p.fillRect(bar, fill);
        m_p.fillRect(QRectF(0, 43, 320, 1), QColor(45, 55, 70));
        m_p.setPen(QColor(60, 72, 90));
        fittedText(m_p, QRectF(80, -1, 160, 44), title, font(19, QFont::Bold), Qt::AlignCenter);
        m_p.setPen(Qt::white);
        fittedText(m_p, QRectF(80, 0, 160, 44), title, font(19, QFont::Bold), Qt::AlignCenter);
        barButton(QRectF(6, 7, 62, 30), left);
        barButton(QRectF(252, 7, 62, 30), right);
    }

    void barButton(const QRectF& frame, const QString& title)
    {
        QLinearGradient fill(frame.topLeft(), frame.bottomLeft());
        fill.setColorAt(0, QColor(120, 140, 168));
        fill.setColorAt(1, QColor(76, 98, 130));
        m_p.setPen(QPen(QColor(52, 66, 88), 1));
        m_p.setBrush(fill);
        m_p.drawRoundedRect(frame, 5, 5);
        m_p.setPen(Qt::white);
        fittedText(m_p, frame.adjusted(4, 0, -4, 0), title,
                   font(title == QLatin1String("+") ? 22 : 13, QFont::Bold), Qt::AlignCenter);
    }

    void separator(qreal y, qreal left = 0)
    {
        m_p.fillRect(QRectF(left, y - 0.5, 320 - left, 0.5), QColor(200, 199, 204));
    }

    void disclosure(qreal y, qreal height)
    {
        QPainterPath chevron;
        chevron.moveTo(302, y + height / 2 - 6);
        chevron.lineTo(308, y + height / 2);
        chevron.lineTo(302, y + height / 2 + 6);
        m_p.setPen(QPen(flat() ? QColor(199, 199, 204) : QColor(130, 130, 130), 2.4, Qt::SolidLine,
                        Qt::RoundCap, Qt::RoundJoin));
        m_p.setBrush(Qt::NoBrush);
        m_p.drawPath(chevron);
    }

    // One row of the group list; the menu button sits at x 254 + inset, 40 points wide.
    void groupRow(qreal y, const QString& name, const QColor& colour, int count, bool local)
    {
        m_p.fillRect(QRectF(0, y, 320, 42), Qt::white);
        m_p.setPen(colour);
        fittedText(m_p, QRectF(5 + inset(), y, 205, 42), name, font(18, QFont::Bold),
                   Qt::AlignVCenter | Qt::AlignLeft);
        if (local) {
            m_p.setPen(Qt::red);
            m_p.setFont(latinFont(8));
            m_p.drawText(QRectF(inset(), y + 1, 100, 9), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("  Local"));
        }
        countBadge(m_p, QRectF(216 + inset(), y + 9, 32, 24), count, 14);
        menuGlyph(m_p, QRectF(262 + inset(), y + 12, 22, 18), flat() ? kSystemBlue : QColor(96, 112, 136));
        disclosure(y, 42);
        separator(y + 42);
    }

    qreal groupList(const Sample& sample, qreal top)
    {
        qreal y = top;
        const QColor grey(128, 128, 128);
        groupRow(y, text("GroupAllContacts"), grey, sample.allCount, false);
        groupRow(y += 42, text("GroupNogroupPeople"), grey, sample.ungroupedCount, false);
        for (const SampleGroup& group : sample.groups)
            groupRow(y += 42, group.name, paletteColor(group.colour), group.count, group.local);
        groupRow(y += 42, text("NoNumberGroupTitle"), grey, sample.noNumberCount, false);
        groupRow(y += 42, text("NoEmailGroupTitle"), grey, sample.noMailCount, false);
        return y + 42;
    }

    void searchBar(qreal y)
    {
        const QRectF bar(0, y, 320, 44);
        if (flat()) {
            m_p.fillRect(bar, QColor(201, 201, 206));
        } else {
            QLinearGradient fill(bar.topLeft(), bar.bottomLeft());
            fill.setColorAt(0, QColor(192, 202, 214));
            fill.setColorAt(1, QColor(150, 166, 186));
            m_p.fillRect(bar, fill);
        }
        const QRectF field(8, y + 8, 276, 28);
        m_p.setPen(flat() ? Qt::NoPen : QPen(QColor(120, 130, 146), 1));
        m_p.setBrush(Qt::white);
        m_p.drawRoundedRect(field, flat() ? 5 : 14, flat() ? 5 : 14);
        const QColor ink(142, 142, 147);
        m_p.setPen(QPen(ink, 1.8));
        m_p.setBrush(Qt::NoBrush);
        m_p.drawEllipse(QRectF(field.left() + 10, y + 15, 10, 10));
        m_p.drawLine(QPointF(field.left() + 18.5, y + 23.5), QPointF(field.left() + 23, y + 28));
        m_p.setPen(ink);
        fittedText(m_p, QRectF(field.left() + 30, field.top(), field.width() - 36, field.height()),
                   text("SearchBarPlaceHolderTitle"), font(14), Qt::AlignVCenter | Qt::AlignLeft);
    }

    void sectionHeader(qreal y, const QString& title)
    {
        const QRectF band(0, y, 320, 22);
        if (flat()) {
            m_p.fillRect(band, QColor(247, 247, 247));
            m_p.setPen(Qt::black);
        } else {
            QLinearGradient fill(band.topLeft(), band.bottomLeft());
            fill.setColorAt(0, QColor(164, 180, 196));
            fill.setColorAt(1, QColor(140, 158, 178));
            m_p.fillRect(band, fill);
            m_p.setPen(Qt::white);
        }
        m_p.setFont(font(15, QFont::Bold));
        m_p.drawText(band.adjusted(12, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, title);
    }

    void personRow(qreal y, const SamplePerson& person)
    {
        m_p.fillRect(QRectF(0, y, 300, 48), Qt::white);
        headPlaceholder(m_p, QRectF(inset() + 5, y + 5, 38, 38));
        m_p.setPen(Qt::black);
        fittedText(m_p, QRectF(inset() + 50, y + 2, 200, 30), person.name, font(18, QFont::Bold),
                   Qt::AlignVCenter | Qt::AlignLeft);
        m_p.setPen(QColor(160, 160, 160));
        fittedText(m_p, QRectF(inset() + 50, y + 27, 220, 20), person.detail, font(14),
                   Qt::AlignVCenter | Qt::AlignLeft);
        separator(y + 48, inset() + 50);
    }

    void sectionIndex(qreal top, qreal bottom, const QStringList& titles)
    {
        const qreal step = (bottom - top - 16) / (titles.size() + 1);
        const QColor ink = flat() ? kSystemBlue : QColor(92, 100, 112);
        m_p.setPen(QPen(ink, 1.4));
        m_p.setBrush(Qt::NoBrush);
        m_p.drawEllipse(QRectF(305, top + 8, 7, 7));
        m_p.drawLine(QPointF(311, top + 14), QPointF(314, top + 17));
        m_p.setPen(ink);
        m_p.setFont(font(9.5, QFont::Bold));
        for (int i = 0; i < titles.size(); ++i)
            m_p.drawText(QRectF(300, top + 8 + step * (i + 1), 18, step), Qt::AlignCenter, titles[i]);
    }

    void dim()
    {
        m_p.fillRect(QRectF(0, 0, 320, 480), QColor(0, 0, 0, flat() ? 80 : 120));
    }

    // An action sheet at the bottom of the screen: a title, the buttons, then Cancel.
    void actionSheet(qreal bottom, const QString& title, const QStringList& buttons, const QString& cancel)
    {
        const qreal rowHeight = flat() ? 44 : 46;
        const qreal titleHeight = 34;
        const qreal height = titleHeight + rowHeight * buttons.size() + rowHeight + 24;
        const qreal top = bottom - height;
        if (flat()) {
            QRectF group(8, top, 304, titleHeight + rowHeight * buttons.size());
            m_p.setPen(Qt::NoPen);
            m_p.setBrush(QColor(250, 250, 250, 245));
            m_p.drawRoundedRect(group, 6, 6);
            m_p.setPen(QColor(143, 143, 143));
            fittedText(m_p, QRectF(16, top, 288, titleHeight), title, font(13), Qt::AlignCenter);
            qreal y = top + titleHeight;
            for (const QString& button : buttons) {
                m_p.fillRect(QRectF(8, y, 304, 0.5), QColor(200, 200, 204));
                m_p.setPen(kSystemBlue);
                fittedText(m_p, QRectF(16, y, 288, rowHeight), button, font(19), Qt::AlignCenter);
                y += rowHeight;
            }
            const QRectF cancelFrame(8, y + 8, 304, rowHeight);
            m_p.setPen(Qt::NoPen);
            m_p.setBrush(QColor(255, 255, 255, 250));
            m_p.drawRoundedRect(cancelFrame, 6, 6);
            m_p.setPen(kSystemBlue);
            fittedText(m_p, cancelFrame, cancel, font(19, QFont::DemiBold), Qt::AlignCenter);
            return;
        }
        QLinearGradient panel(QPointF(0, top), QPointF(0, bottom));
        panel.setColorAt(0, QColor(70, 78, 92, 235));
        panel.setColorAt(1, QColor(30, 34, 42, 235));
        m_p.fillRect(QRectF(0, top - 8, 320, height + 8), panel);
        m_p.setPen(Qt::white);
        fittedText(m_p, QRectF(16, top - 4, 288, titleHeight), title, font(14, QFont::Bold), Qt::AlignCenter);
        qreal y = top + titleHeight;
        auto sheetButton = [&](const QString& label, bool isCancel) {
            const QRectF frame(20, y + 3, 280, rowHeight - 8);
            QLinearGradient fill(frame.topLeft(), frame.bottomLeft());
            fill.setColorAt(0, isCancel ? QColor(96, 102, 112) : QColor(252, 252, 252));
            fill.setColorAt(1, isCancel ? QColor(52, 56, 64) : QColor(214, 216, 220));
            m_p.setPen(QPen(QColor(20, 22, 26), 1));
            m_p.setBrush(fill);
            m_p.drawRoundedRect(frame, 9, 9);
            m_p.setPen(isCancel ? Qt::white : Qt::black);
            fittedText(m_p, frame.adjusted(8, 0, -8, 0), label, font(16, QFont::Bold), Qt::AlignCenter);
            y += rowHeight;
        };
        for (const QString& button : buttons)
            sheetButton(button, false);
        y += 8;
        sheetButton(cancel, true);
    }

    // The rows of the group editor: a delete sign, the name, the count, Edit, the drag grip.
    void editRow(qreal y, const SampleGroup& group, const QString& edit)
    {
        const QRectF cell(10, y, 300, 42);
        m_p.fillRect(cell, Qt::white);
        m_p.setPen(Qt::NoPen);
        m_p.setBrush(QColor(255, 59, 48));
        m_p.drawEllipse(QRectF(20, y + 11, 20, 20));
        m_p.fillRect(QRectF(24.5, y + 20, 11, 2.2), Qt::white);
        const qreal x = 48;
        if (group.local) {
            m_p.setPen(Qt::red);
            m_p.setFont(latinFont(8));
            m_p.drawText(QRectF(x - 10, y + 1, 100, 9), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("  Local"));
        }
        m_p.setPen(paletteColor(group.colour));
        fittedText(m_p, QRectF(x + 10, y, 130, 42), group.name, font(16, QFont::Bold),
                   Qt::AlignVCenter | Qt::AlignLeft);
        countBadge(m_p, QRectF(x + 150, y + 9, 30, 24), group.count, 14);
        if (flat()) {
            m_p.setPen(kSystemBlue);
            fittedText(m_p, QRectF(x + 184, y, 40, 42), edit, font(15), Qt::AlignCenter);
        } else {
            barButton(QRectF(x + 184, y + 7, 40, 28), edit);
        }
        m_p.setPen(QPen(QColor(170, 170, 176), 1.6));
        for (int i = 0; i < 3; ++i)
            m_p.drawLine(QPointF(284, y + 16 + i * 5), QPointF(300, y + 16 + i * 5));
        m_p.fillRect(QRectF(10, y + 41.5, 300, 0.5), QColor(200, 199, 204));
    }

    void groupedBackground()
    {
        if (flat()) {
            m_p.fillRect(QRectF(0, 0, 320, 480), QColor(239, 239, 244));
            return;
        }
        m_p.fillRect(QRectF(0, 0, 320, 480), QColor(197, 204, 212));
        m_p.setPen(QPen(QColor(203, 210, 218), 2));
        for (qreal x = 2; x < 320; x += 6)
            m_p.drawLine(QPointF(x, 0), QPointF(x, 480));
    }

    // The group form under the list: its name, the colour row drawn in the group's colour,
    // and a strip of the palette it is chosen from.
    void groupForm(qreal top, const SampleGroup& group, const QString& colourTitle)
    {
        const QColor colour = paletteColor(group.colour);
        m_p.setPen(QPen(QColor(200, 199, 204), 0.5));
        m_p.setBrush(Qt::white);
        m_p.drawRoundedRect(QRectF(10, top, 300, 44), flat() ? 0 : 8, flat() ? 0 : 8);
        m_p.drawRoundedRect(QRectF(10, top + 56, 300, 44), flat() ? 0 : 8, flat() ? 0 : 8);
        m_p.setPen(Qt::black);
        fittedText(m_p, QRectF(22, top, 276, 44), group.name, font(18, QFont::Bold),
                   Qt::AlignVCenter | Qt::AlignLeft);
        m_p.setPen(colour);
        fittedText(m_p, QRectF(22, top + 56, 276, 44), colourTitle, font(18, QFont::Bold),
                   Qt::AlignVCenter | Qt::AlignLeft);
        const int swatches[] = { 0, 1, 2, 3, 5, 6, 7, 8, 10, 11, 12, 20 };
        const qreal size = 300.0 / 12;
        for (int i = 0; i < 12; ++i) {
            const QRectF swatch(10 + i * size + 1, top + 112, size - 2, size - 2);
            m_p.setPen(swatches[i] == group.colour ? QPen(Qt::black, 2) : Qt::NoPen);
            m_p.setBrush(paletteColor(swatches[i]));
            m_p.drawRect(swatch);
        }
    }

    // A ring where the user's finger goes.
    void touch(const QPointF& centre)
    {
        m_p.setPen(QPen(QColor(255, 149, 0), 4));
        m_p.setBrush(QColor(255, 149, 0, 50));
        m_p.drawEllipse(centre, 22, 22);
    }

private:
    QPainter& m_p;
    Look m_look;
    QString m_language;
    const StringsTable& m_texts;
};

void drawGroupListPage(MockScreen& screen, const Sample& sample)
{
    screen.navigationBar(screen.text("GroupTitle"), sample.edit, QStringLiteral("+"));
    screen.groupList(sample, 44);
    screen.touch(QPointF(232 + screen.inset(), 44 + 42 * 2 + 21));
}

void drawGroupContactsPage(MockScreen& screen, const Sample& sample)
{
    screen.navigationBar(sample.groups.front().name, screen.text("GroupTitle"), sample.edit);
    screen.searchBar(44);
    qreal y = 88;
    for (const SamplePerson& person : sample.people) {
        if (!person.section.isEmpty()) {
            screen.sectionHeader(y, person.section);
            y += 22;
        }
        screen.personRow(y, person);
        y += 48;
    }
    screen.sectionIndex(88, 440, sample.indexTitles);
    screen.touch(QPointF(266, 44 + 22));
}

void drawGroupMenuPage(MockScreen& screen, const Sample& sample)
{
    screen.navigationBar(screen.text("GroupTitle"), sample.edit, QStringLiteral("+"));
    screen.groupList(sample, 44);
    screen.dim();
    screen.touch(QPointF(273 + screen.inset(), 44 + 42 * 2 + 21));
    screen.actionSheet(440, sample.groups.front().name,
                       { screen.text("SendGroupSMSTitle"), screen.text("SendGroupMailTitle"),
                         screen.text("GroupMembersEditTitle") },
                       screen.text("CancelButtonTitle"));
}

void drawGroupEditPage(MockScreen& screen, const Sample& sample)
{
    screen.groupedBackground();
    screen.navigationBar(screen.text("GroupEditViewTitle"), sample.done, QStringLiteral("+"));
    qreal y = 44 + 20;
    for (const SampleGroup& group : sample.groups) {
        screen.editRow(y, group, sample.edit);
        y += 42;
    }
    screen.touch(QPointF(252, 44 + 20 + 42 + 21));
    screen.groupForm(y + 24, sample.groups[1], screen.text("GroupColorSetButtonTitle"));
}

void drawPage(QPainter& painter, int page, Look look, const QString& language, const StringsTable& texts)
{
    const Sample sample = sampleFor(language);
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

    // Step number and caption.
    const QRectF badge(12, 9, 26, 26);
    painter.setBrush(flat ? kSystemBlue : QColor(255, 255, 255));
    painter.drawEllipse(badge);
    painter.setPen(flat ? Qt::white : QColor(80, 100, 130));
    painter.setFont(latinFont(15, QFont::Bold));
    painter.drawText(badge, Qt::AlignCenter, QString::number(page));
    const PageCaption& caption = sample.captions[page - 1];
    painter.setPen(flat ? Qt::black : Qt::white);
    fittedText(painter, QRectF(46, 4, 170, 36), caption.title, font(language, 14, QFont::Bold),
               Qt::AlignVCenter | Qt::AlignLeft | Qt::TextWordWrap);
    painter.setPen(QColor(60, 60, 66));
    fittedText(painter, QRectF(12, 50, 200, 62), caption.body, font(language, 11),
               Qt::AlignTop | Qt::AlignLeft | Qt::TextWordWrap);

    // The pictured screen, in a dark bezel.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(28, 28, 30));
    painter.drawRoundedRect(kScreenFrame.adjusted(-4, -4, 4, 4), 8, 8);
    painter.save();
    QPainterPath screenClip;
    screenClip.addRoundedRect(kScreenFrame, 3, 3);
    painter.setClipPath(screenClip);
    painter.fillRect(kScreenFrame, Qt::white);
    painter.translate(kScreenFrame.topLeft());
    painter.scale(kScreenScale, kScreenScale);
    MockScreen screen(painter, look, language, texts);
    switch (page) {
    case 1: drawGroupListPage(screen, sample); break;
    case 2: drawGroupContactsPage(screen, sample); break;
    case 3: drawGroupMenuPage(screen, sample); break;
    default: drawGroupEditPage(screen, sample); break;
    }
    painter.restore();
}

} // namespace

void addHelpPages(ImageCatalog& catalog, const std::map<QString, StringsTable>& tablesByLanguage)
{
    for (const auto& [language, table] : tablesByLanguage) {
        for (Look look : kBothLooks) {
            for (int page = 1; page <= 4; ++page) {
                // Named as the how-to-use screen forms it: page, language tag, look, ".PNG".
                const QString name = QStringLiteral("htu-%1-%2%3.PNG").arg(page).arg(language, lookSuffix(look));
                const StringsTable* texts = &table;
                catalog.add(name, kPageSize, [page, look, language, texts](QPainter& p) {
                    drawPage(p, page, look, language, *texts);
                });
            }
        }
    }
}

#include "shell/qt/StatusBar.h"

#include "platform/foundation/Device.h"

#include <QLocale>
#include <QTime>

namespace tessaro {

StatusBar::Look StatusBar::currentLook()
{
    return foundation::Device::current().systemMajorVersion() >= 7 ? Look::Overlay : Look::OpaqueBlack;
}

std::string StatusBar::currentTimeText()
{
    QTime now = QTime::currentTime();
    // Japanese handsets show a 24-hour clock; the English ones a 12-hour clock with AM/PM.
    if (foundation::Device::current().language() == "ja")
        return now.toString(QStringLiteral("H:mm")).toStdString();
    return QLocale(QLocale::English, QLocale::UnitedStates).toString(now, QStringLiteral("h:mm AP")).toStdString();
}

void StatusBar::draw(ui::Painter& painter, double width, Look look, const std::string& timeText)
{
    ui::Color ink = look == Look::Overlay ? ui::Color::blackColor() : ui::Color::whiteColor();
    if (look == Look::OpaqueBlack)
        painter.fillRect({ 0, 0, width, height }, ui::Color::blackColor());

    ui::TextStyle side;
    side.font = ui::Font::systemFontOfSize(12);
    side.color = ink;
    painter.drawText("Tessaro", { 6, 0, 100, height }, side);

    ui::TextStyle clock = side;
    clock.font = ui::Font::boldSystemFontOfSize(12);
    clock.alignment = ui::TextAlignment::Center;
    painter.drawText(timeText, { width / 2 - 60, 0, 120, height }, clock);

    // A full battery: body, charge and the terminal nub.
    ui::Rect body { width - 32, 6, 22, 9 };
    painter.strokeRect(body, ink, 1, 2);
    painter.fillRect(body.insetBy(2, 2), ink);
    painter.fillRect({ body.maxX() + 1, 8.5, 1.5, 4 }, ink);
    ui::TextStyle percent = side;
    percent.alignment = ui::TextAlignment::Right;
    painter.drawText("100%", { body.minX() - 44, 0, 40, height }, percent);
}

} // namespace tessaro

#include "shell/qt/KeyboardPanel.h"

#include "platform/foundation/Device.h"
#include "platform/ui/SystemLook.h"
#include "platform/ui/SystemWords.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"
#include "platform/ui/Window.h"

#include <QString>

#include <algorithm>
#include <array>

namespace tessaro {

namespace {

using Kind = KeyboardPanel::Key::Kind;

const ui::Color panelColor = ui::Color::rgb255(209, 213, 219);
const ui::Color keyColor = ui::Color::whiteColor();
const ui::Color functionKeyColor = ui::Color::rgb255(172, 179, 188);
const ui::Color inkColor = ui::Color::blackColor();
const ui::Color keyShadow = ui::Color::rgb255(136, 138, 142);

// The handset's portrait keyboard: ten keys of 26 points a row with 6 between them, rows
// 54 points apart.
constexpr double sideMargin = 3;
constexpr double keyGap = 6;
constexpr double keyHeight = 39;
constexpr double topMargin = 11;
constexpr double rowPitch = 54;
constexpr double wideKeyWidth = 36;

bool isNumberPad(ui::KeyboardType type)
{
    return type == ui::KeyboardType::NumberPad || type == ui::KeyboardType::DecimalPad
        || type == ui::KeyboardType::PhonePad;
}

std::string returnKeyWord(ui::ReturnKeyType type)
{
    switch (type) {
    case ui::ReturnKeyType::Go: return ui::systemWord(ui::SystemWord::Go);
    case ui::ReturnKeyType::Google:
    case ui::ReturnKeyType::Yahoo:
    case ui::ReturnKeyType::Search: return ui::systemWord(ui::SystemWord::Search);
    case ui::ReturnKeyType::Join: return ui::systemWord(ui::SystemWord::Join);
    case ui::ReturnKeyType::Next: return ui::systemWord(ui::SystemWord::Next);
    case ui::ReturnKeyType::Route: return ui::systemWord(ui::SystemWord::Route);
    case ui::ReturnKeyType::Send: return ui::systemWord(ui::SystemWord::Send);
    case ui::ReturnKeyType::Done: return ui::systemWord(ui::SystemWord::Done);
    case ui::ReturnKeyType::EmergencyCall: return ui::systemWord(ui::SystemWord::EmergencyCall);
    case ui::ReturnKeyType::Default: break;
    }
    return ui::systemWord(ui::SystemWord::Return);
}

// One row of character keys, centred.
void addRow(std::vector<KeyboardPanel::Key>& keys, const std::vector<std::string>& labels, double y, double keyWidth,
            const ui::Rect& frame)
{
    double rowWidth = double(labels.size()) * keyWidth + double(labels.size() - 1) * keyGap;
    double x = frame.midX() - rowWidth / 2;
    for (const auto& label : labels) {
        keys.push_back({ Kind::Character, label, { x, y, keyWidth, keyHeight } });
        x += keyWidth + keyGap;
    }
}

std::vector<std::string> split(const char* characters, bool upper)
{
    std::vector<std::string> labels;
    for (const auto& c : QString::fromUtf8(characters))
        labels.push_back((upper ? QString(c).toUpper() : QString(c)).toStdString());
    return labels;
}

std::vector<KeyboardPanel::Key> numberPad(const ui::Rect& frame, ui::KeyboardType type)
{
    // Three columns of four, edge to edge, with hairline gaps.
    std::vector<KeyboardPanel::Key> keys;
    double width = (frame.width() - 2) / 3;
    double height = (frame.height() - 3) / 4;
    const std::array<const char*, 9> digits { "1", "2", "3", "4", "5", "6", "7", "8", "9" };
    for (int i = 0; i < 9; ++i) {
        double x = frame.minX() + (i % 3) * (width + 1);
        double y = frame.minY() + (i / 3) * (height + 1);
        keys.push_back({ Kind::Character, digits[std::size_t(i)], { x, y, width, height } });
    }
    double y = frame.minY() + 3 * (height + 1);
    if (type == ui::KeyboardType::DecimalPad)
        keys.push_back({ Kind::Character, ".", { frame.minX(), y, width, height } });
    else if (type == ui::KeyboardType::PhonePad)
        keys.push_back({ Kind::Character, "+", { frame.minX(), y, width, height } });
    else
        keys.push_back({ Kind::Hide, "", { frame.minX(), y, width, height } });
    keys.push_back({ Kind::Character, "0", { frame.minX() + width + 1, y, width, height } });
    keys.push_back({ Kind::Backspace, "", { frame.minX() + 2 * (width + 1), y, width, height } });
    return keys;
}

void drawChevronDown(ui::Painter& painter, const ui::Rect& key)
{
    ui::Point mid = key.center();
    painter.drawLine({ mid.x - 8, mid.y - 4 }, { mid.x, mid.y + 4 }, inkColor, 1.5);
    painter.drawLine({ mid.x, mid.y + 4 }, { mid.x + 8, mid.y - 4 }, inkColor, 1.5);
}

void drawBackspace(ui::Painter& painter, const ui::Rect& key)
{
    ui::Point mid = key.center();
    ui::Rect body { mid.x - 7, mid.y - 7, 17, 14 };
    painter.strokeRect(body, inkColor, 1.2, 2);
    painter.drawLine({ body.minX(), body.minY() + 0.6 }, { body.minX() - 6, mid.y }, inkColor, 1.2);
    painter.drawLine({ body.minX() - 6, mid.y }, { body.minX(), body.maxY() - 0.6 }, inkColor, 1.2);
    painter.drawLine({ mid.x - 1, mid.y - 3 }, { mid.x + 5, mid.y + 3 }, inkColor, 1.2);
    painter.drawLine({ mid.x - 1, mid.y + 3 }, { mid.x + 5, mid.y - 3 }, inkColor, 1.2);
}

void drawShift(ui::Painter& painter, const ui::Rect& key, bool on)
{
    ui::Point mid = key.center();
    ui::Color ink = on ? ui::Color::systemBlueColor() : inkColor;
    painter.drawLine({ mid.x - 8, mid.y + 1 }, { mid.x, mid.y - 8 }, ink, 1.5);
    painter.drawLine({ mid.x, mid.y - 8 }, { mid.x + 8, mid.y + 1 }, ink, 1.5);
    painter.strokeRect({ mid.x - 4, mid.y + 1, 8, 7 }, ink, 1.5);
}

} // namespace

ui::TextInputTraits KeyboardPanel::focusedTraits(ui::Window& window)
{
    auto* responder = window.firstResponder();
    if (auto* field = dynamic_cast<ui::TextField*>(responder))
        return field->traits();
    if (auto* textView = dynamic_cast<ui::TextView*>(responder))
        return textView->traits();
    return {};
}

std::vector<KeyboardPanel::Key> KeyboardPanel::keys(const ui::Rect& frame, const ui::TextInputTraits& traits,
                                                    const State& state)
{
    if (isNumberPad(traits.keyboardType))
        return numberPad(frame, traits.keyboardType);

    std::vector<Key> keys;
    double keyWidth = (frame.width() - 2 * sideMargin - 9 * keyGap) / 10;
    double row1 = frame.minY() + topMargin;
    double row2 = row1 + rowPitch;
    double row3 = row2 + rowPitch;
    double row4 = row3 + rowPitch;
    if (state.page == Page::Letters) {
        bool upper = state.shifted;
        addRow(keys, split("qwertyuiop", upper), row1, keyWidth, frame);
        addRow(keys, split("asdfghjkl", upper), row2, keyWidth, frame);
        addRow(keys, split("zxcvbnm", upper), row3, keyWidth, frame);
        keys.push_back({ Kind::Shift, "", { frame.minX() + sideMargin, row3, wideKeyWidth, keyHeight } });
    } else {
        addRow(keys, split("1234567890", false), row1, keyWidth, frame);
        addRow(keys, split("-/:;()$&@\"", false), row2, keyWidth, frame);
        addRow(keys, split(".,?!'", false), row3, keyWidth * 1.4, frame);
    }
    keys.push_back({ Kind::Backspace, "", { frame.maxX() - sideMargin - wideKeyWidth, row3, wideKeyWidth, keyHeight } });

    // The bottom row: the page key, the key that puts the keyboard down, space, return.
    double x = frame.minX() + sideMargin;
    double returnWidth = 74;
    keys.push_back({ Kind::PageSwitch, state.page == Page::Letters ? "123" : "ABC", { x, row4, 34, keyHeight } });
    x += 34 + keyGap;
    keys.push_back({ Kind::Hide, "", { x, row4, 34, keyHeight } });
    x += 34 + keyGap;
    double spaceRight = frame.maxX() - sideMargin - returnWidth - keyGap;
    keys.push_back({ Kind::Space, ui::systemWord(ui::SystemWord::Space), { x, row4, spaceRight - x, keyHeight } });
    keys.push_back({ Kind::Return, returnKeyWord(traits.returnKeyType), { spaceRight + keyGap, row4, returnWidth, keyHeight } });
    return keys;
}

const KeyboardPanel::Key* KeyboardPanel::keyAt(const std::vector<Key>& keys, const ui::Point& point)
{
    // A touch in the gap between keys belongs to the nearest key, as on the handset.
    const Key* nearest = nullptr;
    double best = 0;
    for (const auto& key : keys) {
        if (key.frame.contains(point))
            return &key;
        double dx = std::max({ key.frame.minX() - point.x, 0.0, point.x - key.frame.maxX() });
        double dy = std::max({ key.frame.minY() - point.y, 0.0, point.y - key.frame.maxY() });
        double distance = dx * dx + dy * dy;
        if (distance <= keyGap * keyGap && (!nearest || distance < best)) {
            nearest = &key;
            best = distance;
        }
    }
    return nearest;
}

void KeyboardPanel::draw(ui::Painter& painter, const ui::Rect& frame, const ui::TextInputTraits& traits, const State& state)
{
    bool glossy = ui::isGlossyLook();
    if (glossy)
        ui::fillVerticalGradient(painter, frame, ui::Color::rgb255(143, 148, 160), ui::Color::rgb255(88, 93, 106));
    else
        painter.fillRect(frame, panelColor);
    bool pad = isNumberPad(traits.keyboardType);
    for (const auto& key : keys(frame, traits, state)) {
        bool function = key.kind != Kind::Character && key.kind != Kind::Space;
        if (pad && key.kind != Kind::Character)
            function = true;
        ui::Color face = function ? functionKeyColor : keyColor;
        double radius = pad ? 0 : 5;
        if (glossy) {
            ui::fillVerticalGradient(painter, key.frame, ui::mixColors(face, ui::Color::whiteColor(), 0.5), face, radius);
        } else {
            painter.fillRect(key.frame.offsetBy(0, 1), keyShadow, radius);
            painter.fillRect(key.frame, face, radius);
        }
        switch (key.kind) {
        case Kind::Shift:
            drawShift(painter, key.frame, state.shifted);
            break;
        case Kind::Backspace:
            drawBackspace(painter, key.frame);
            break;
        case Kind::Hide:
            drawChevronDown(painter, key.frame);
            break;
        default: {
            ui::TextStyle style;
            bool letter = key.kind == Kind::Character;
            style.font = letter ? ui::Font::systemFontOfSize(pad ? 26 : 22) : ui::Font::systemFontOfSize(15);
            style.color = inkColor;
            style.alignment = ui::TextAlignment::Center;
            style.centerVertically = true;
            painter.drawText(key.label, key.frame.offsetBy(0, letter && !pad ? -1 : 0), style);
        }
        }
    }
}

} // namespace tessaro

#include "ScaleCases.h"

#include <cstdint>
#include <map>

namespace scalecases {

namespace {

std::string makeFile(int cards)
{
    static const char* const kFirst[] = { "Anna", "Björn", "Chloé", "Daiki", "Emma", "Farid", "Grace", "Hiroshi",
        "Inès", "Jonas", "Keiko", "Liam", "Maria", "Noah", "Olga", "Pedro" };
    static const char* const kLast[] = { "Smith", "Müller", "García", "Sato", "Rossi", "Dubois", "Nowak", "Kim",
        "Jensen", "Silva", "Tanaka", "Novák", "Öztürk", "Yamamoto", "Brown", "Ivanova" };
    std::uint64_t state = 0x5EED5EED5EEDull;
    auto next = [&] {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<std::uint32_t>(state >> 33);
    };
    std::string text;
    text.reserve(static_cast<std::size_t>(cards) * 360);
    for (int i = 0; i < cards; ++i) {
        const std::string first = kFirst[next() % 16];
        // Five cards share a family name, as in a real book where families and colleagues do.
        const std::string last = std::string(kLast[(i / 5) % 16]) + (i >= 80 ? " " + std::to_string(i / 80) : std::string());
        const std::string number = std::to_string(1000000 + next() % 9000000);
        text += "BEGIN:VCARD\r\nVERSION:3.0\r\nN:" + last + ";" + first + ";;;\r\nFN:" + first + " " + last + "\r\n";
        text += "TEL;TYPE=CELL,VOICE:+81 90 " + number + "\r\n";
        text += "TEL;TYPE=HOME,VOICE:03-" + number.substr(0, 4) + "-" + std::to_string(i) + "\r\n";
        text += "TEL;TYPE=WORK,VOICE:+1 555 " + std::to_string(next() % 10000000) + "\r\n";
        text += "EMAIL;TYPE=INTERNET,HOME:" + first + "." + std::to_string(i) + "@example.com\r\n";
        text += "EMAIL;TYPE=INTERNET,WORK:" + last + std::to_string(i) + "@work.example\r\n";
        if (i % 5 == 0)
            text += "CATEGORIES:Group " + std::to_string(next() % kGroups) + "\r\n";
        text += "END:VCARD\r\n";
    }
    return text;
}

} // namespace

const std::string& vcardBook(int cards)
{
    static std::map<int, std::string> texts;
    auto& text = texts[cards];
    if (text.empty())
        text = makeFile(cards);
    return text;
}

} // namespace scalecases

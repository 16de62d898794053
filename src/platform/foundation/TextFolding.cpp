#include "platform/foundation/TextFolding.h"

#include "platform/foundation/Log.h"

#include <unicode/normalizer2.h>
#include <unicode/translit.h>
#include <unicode/unistr.h>
#include <unicode/uversion.h>

#include <array>
#include <optional>

namespace foundation {

// Latin letters with marks (Latin-1 to Latin Extended-B, with the IPA and spacing-modifier
// blocks between) and lone combining marks: after case folding each folds by itself, the
// same alone as within a word, so each is folded once and then looked up. The names of
// Western and Central Europe then never go through the transliterator letter by letter.
constexpr char16_t kLettersStart = 0x80;
constexpr char16_t kLettersEnd = 0x370;

struct TextFolding::Engine {
    const icu::Normalizer2* caseFold { nullptr };
    std::unique_ptr<icu::Transliterator> transliterator;
    // The fold of each letter of the range once one was met; under the folding's mutex.
    std::array<std::optional<icu::UnicodeString>, kLettersEnd - kLettersStart> letters;

    const icu::UnicodeString& letter(char16_t c)
    {
        auto& folded = letters[c - kLettersStart];
        if (!folded) {
            icu::UnicodeString alone(c);
            transliterator->transliterate(alone);
            folded = std::move(alone);
        }
        return *folded;
    }
};

namespace {

// After NFKC case folding the text is in lower case and in its standard widths; what is
// left is spelling: Latin letters to their ASCII spelling, katakana to hiragana, and marks
// off their base letters. NFC at the end joins the kana voicing marks back onto their kana,
// so that a search for か cannot land on the first half of a decomposed が.
constexpr char kRules[] = "Latin-ASCII; Katakana-Hiragana; NFD; [[:Mn:]-[\\u3099\\u309A]] Remove; NFC";

// Characters whose fold ends with case folding: ASCII, hiragana, katakana that has a
// hiragana twin (shifted across below), CJK ideographs. Japanese and English names never
// leave this set, which spares them the transliterator, the slow part of the fold.
bool foldsWithoutTransliteration(char16_t c)
{
    return c < 0x80 || (c >= 0x3041 && c <= 0x3096) || (c >= 0x3099 && c <= 0x309F) || (c >= 0x30A1 && c <= 0x30F6)
        || c == 0x30FB || c == 0x30FC || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF)
        || (c >= 0x3000 && c <= 0x3003) || (c >= 0x3005 && c <= 0x3007);
}

bool isAscii(std::string_view text)
{
    for (unsigned char c : text) {
        if (c >= 0x80)
            return false;
    }
    return true;
}

} // namespace

const TextFolding& TextFolding::shared()
{
    static const TextFolding folding;
    return folding;
}

TextFolding::TextFolding()
    : m_engine(std::make_unique<Engine>())
{
    UErrorCode status = U_ZERO_ERROR;
    m_engine->caseFold = icu::Normalizer2::getNFKCCasefoldInstance(status);
    if (U_FAILURE(status)) {
        log(std::string("Error: case folding is unavailable: ") + u_errorName(status));
        m_engine->caseFold = nullptr;
    }
    status = U_ZERO_ERROR;
    UParseError parseError {};
    m_engine->transliterator.reset(icu::Transliterator::createInstance(kRules, UTRANS_FORWARD, parseError, status));
    if (U_FAILURE(status)) {
        log(std::string("Error: accent folding is unavailable: ") + u_errorName(status));
        m_engine->transliterator.reset();
    }
}

TextFolding::~TextFolding() = default;

std::int64_t TextFolding::revision()
{
    // Our own rules' revision, then ICU's version: a new ICU may bring new case foldings
    // or transliterations.
    constexpr std::int64_t kRulesRevision = 1;
    UVersionInfo icu {};
    u_getVersion(icu);
    return kRulesRevision * 100000000 + icu[0] * 1000000 + icu[1] * 10000 + icu[2] * 100 + icu[3];
}

std::string TextFolding::fold(std::string_view text) const
{
    // Most names and every phone number are ASCII; for those the whole fold is lower case.
    if (isAscii(text)) {
        std::string folded(text);
        for (char& c : folded) {
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        }
        return folded;
    }

    icu::UnicodeString unicode = icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
    if (m_engine->caseFold) {
        UErrorCode status = U_ZERO_ERROR;
        icu::UnicodeString folded = m_engine->caseFold->normalize(unicode, status);
        if (U_SUCCESS(status))
            unicode = std::move(folded);
    } else {
        unicode.foldCase();
    }

    bool simple = true;
    bool byLetter = true;
    for (int32_t index = 0; index < unicode.length() && byLetter; ++index) {
        char16_t c = unicode.charAt(index);
        if (!foldsWithoutTransliteration(c)) {
            simple = false;
            byLetter = c >= kLettersStart && c < kLettersEnd;
        }
    }
    auto toHiragana = [](char16_t c) { return c >= 0x30A1 && c <= 0x30F6 ? static_cast<char16_t>(c - 0x60) : c; };
    if (simple) {
        for (int32_t index = 0; index < unicode.length(); ++index)
            unicode.setCharAt(index, toHiragana(unicode.charAt(index)));
    } else if (byLetter && m_engine->transliterator) {
        icu::UnicodeString folded;
        std::lock_guard lock(m_mutex);
        for (int32_t index = 0; index < unicode.length(); ++index) {
            char16_t c = unicode.charAt(index);
            if (foldsWithoutTransliteration(c))
                folded.append(toHiragana(c));
            else
                folded.append(m_engine->letter(c));
        }
        unicode = std::move(folded);
    } else if (m_engine->transliterator) {
        // ICU does not promise that one transliterator may run on two threads at once.
        std::lock_guard lock(m_mutex);
        m_engine->transliterator->transliterate(unicode);
    }
    std::string result;
    unicode.toUTF8String(result);
    return result;
}

} // namespace foundation

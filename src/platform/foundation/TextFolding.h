#pragma once
// Folding of text for "contains" searches that ignore case, accents and the width and
// script variants of kana: both the searched text and the typed text are folded the same
// way, then compared as plain bytes. Fold searchable fields once, when they are read or
// change, never per keystroke.
//
// The fold: NFKC case folding (full-width and half-width forms, ligatures, case), then
// Latin to ASCII (so Ł, Æ, Œ, ß match l, ae, oe, ss), then Katakana to Hiragana, then
// accents and other combining marks removed, except the kana voicing marks, so that が
// never matches か.

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>


namespace foundation {

class TextFolding {
public:
    // The one instance: its ICU objects take milliseconds to build, so they are built once.
    // Safe from any thread.
    static const TextFolding& shared();

    ~TextFolding();
    TextFolding(const TextFolding&) = delete;
    TextFolding& operator=(const TextFolding&) = delete;

    // The folded form of UTF-8 text. Text that is not valid UTF-8 folds as well as ICU can
    // read it; nothing fails.
    std::string fold(std::string_view text) const;

    // Names the fold: it changes whenever the same text could fold differently (our rules,
    // the ICU data underneath), so folded texts kept on disk are known to be stale.
    static std::int64_t revision();

    // Whether folded text contains a folded search text. An empty search text is contained
    // nowhere, as in the platform's own "contains" searches.
    static bool contains(std::string_view foldedText, std::string_view foldedSearch)
    {
        return !foldedSearch.empty() && foldedText.find(foldedSearch) != std::string_view::npos;
    }

private:
    TextFolding();

    struct Engine;
    std::unique_ptr<Engine> m_engine;
    mutable std::mutex m_mutex;
};

} // namespace foundation

#pragma once
// Helpers the editable text widgets share: UTF-8 aware trimming and the smallest edit
// between two texts (what a native editor's whole-text update really changed).

#include "platform/ui/TextInputTraits.h"

#include <string>

namespace ui::textediting {

// The byte length of the last UTF-8 character of the text (0 for empty text).
std::size_t lastCharacterLength(const std::string& text);

struct Edit {
    TextRange range;
    std::string replacement;
};
// The range of `before` that was replaced, and by what, to give `after`; whole UTF-8
// characters only.
Edit difference(const std::string& before, const std::string& after);

// The text with the range replaced (the range clamped to the text).
std::string applyEdit(const std::string& text, const TextRange& range, const std::string& replacement);

} // namespace ui::textediting

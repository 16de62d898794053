#pragma once
// How the keyboard of a text field, text view or search bar behaves: its layout, its
// return key, correction and capitalisation, and whether typed text is hidden. The
// display's native editor reads them; the application only sets them.

#include <cstddef>

namespace ui {

enum class KeyboardType { Default, ASCIICapable, NumbersAndPunctuation, URL, NumberPad, PhonePad, NamePhonePad, EmailAddress, DecimalPad };
enum class ReturnKeyType { Default, Go, Google, Join, Next, Route, Search, Send, Yahoo, Done, EmergencyCall };
enum class TextAutocorrectionType { Default, No, Yes };
enum class TextAutocapitalizationType { None, Words, Sentences, AllCharacters };

struct TextInputTraits {
    KeyboardType keyboardType { KeyboardType::Default };
    ReturnKeyType returnKeyType { ReturnKeyType::Default };
    TextAutocorrectionType autocorrectionType { TextAutocorrectionType::Default };
    TextAutocapitalizationType autocapitalizationType { TextAutocapitalizationType::Sentences };
    bool secureTextEntry { false };

    bool operator==(const TextInputTraits&) const = default;
};

// A run of text by byte offset and length in its UTF-8 form.
struct TextRange {
    std::size_t location { 0 };
    std::size_t length { 0 };

    bool operator==(const TextRange&) const = default;
};

} // namespace ui

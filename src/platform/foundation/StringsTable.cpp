#include "platform/foundation/StringsTable.h"

#include <cctype>
#include <fstream>
#include <iterator>
#include <sstream>

namespace foundation {

namespace {

void appendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xc0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3f));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xe0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3f));
        out += static_cast<char>(0x80 | (cp & 0x3f));
    } else {
        out += static_cast<char>(0xf0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3f));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3f));
        out += static_cast<char>(0x80 | (cp & 0x3f));
    }
}

bool isBareWordCharacter(char c)
{
    auto u = static_cast<unsigned char>(c);
    return std::isalnum(u) || c == '_' || c == '.' || c == '-' || c == '$' || c == ':' || c == '/';
}

class Parser {
public:
    Parser(std::string_view text, std::vector<std::string>* errors)
        : m_text(text)
        , m_errors(errors)
    {
        // A byte-order mark at the start is not part of the first key.
        if (m_text.substr(0, 3) == "\xEF\xBB\xBF")
            m_at = 3;
    }

    void run(std::map<std::string, std::string, std::less<>>& entries)
    {
        for (;;) {
            if (!skipSpaceAndComments())
                return;
            if (m_at >= m_text.size())
                return;
            std::string key;
            std::string value;
            if (!readString(key, "a key"))
                return;
            if (!skipSpaceAndComments() || !expect('='))
                return;
            if (!skipSpaceAndComments() || !readString(value, "a value"))
                return;
            if (!skipSpaceAndComments() || !expect(';'))
                return;
            entries[std::move(key)] = std::move(value);
        }
    }

private:
    void fail(const std::string& message)
    {
        if (m_errors) {
            std::ostringstream line;
            line << "line " << m_line << ": " << message;
            m_errors->push_back(line.str());
        }
    }

    char peek(std::size_t ahead = 0) const
    {
        return m_at + ahead < m_text.size() ? m_text[m_at + ahead] : '\0';
    }

    void advance()
    {
        if (m_text[m_at] == '\n')
            ++m_line;
        ++m_at;
    }

    bool skipSpaceAndComments()
    {
        while (m_at < m_text.size()) {
            char c = m_text[m_at];
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
                advance();
            } else if (c == '/' && peek(1) == '*') {
                std::size_t startLine = m_line;
                m_at += 2;
                while (m_at < m_text.size() && !(m_text[m_at] == '*' && peek(1) == '/'))
                    advance();
                if (m_at >= m_text.size()) {
                    m_line = startLine;
                    fail("comment is never closed");
                    return false;
                }
                m_at += 2;
            } else if (c == '/' && peek(1) == '/') {
                while (m_at < m_text.size() && m_text[m_at] != '\n')
                    ++m_at;
            } else {
                return true;
            }
        }
        return true;
    }

    bool expect(char wanted)
    {
        if (peek() != wanted) {
            fail(std::string("expected \"") + wanted + "\"" + (m_at >= m_text.size() ? " at the end" : ""));
            return false;
        }
        advance();
        return true;
    }

    bool readHex(int digits, char32_t& out)
    {
        out = 0;
        for (int i = 0; i < digits; ++i) {
            char c = peek();
            int v = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
            if (v < 0) {
                fail("\\u needs four hexadecimal digits");
                return false;
            }
            out = (out << 4) | static_cast<char32_t>(v);
            advance();
        }
        return true;
    }

    bool readString(std::string& out, const char* what)
    {
        if (peek() != '"') {
            if (!isBareWordCharacter(peek())) {
                fail(std::string("expected ") + what);
                return false;
            }
            while (m_at < m_text.size() && isBareWordCharacter(peek()))
                out += m_text[m_at++];
            return true;
        }
        std::size_t startLine = m_line;
        advance();
        char16_t pendingHigh = 0;
        while (m_at < m_text.size()) {
            char c = m_text[m_at];
            if (c == '"') {
                advance();
                if (pendingHigh)
                    appendUtf8(out, 0xfffd);
                return true;
            }
            if (c != '\\') {
                if (pendingHigh) {
                    appendUtf8(out, 0xfffd);
                    pendingHigh = 0;
                }
                out += c;
                advance();
                continue;
            }
            advance();
            if (m_at >= m_text.size())
                break;
            char e = m_text[m_at];
            if (e == 'u' || e == 'U') {
                advance();
                char32_t unit = 0;
                if (!readHex(4, unit))
                    return false;
                if (unit >= 0xd800 && unit <= 0xdbff) {
                    if (pendingHigh)
                        appendUtf8(out, 0xfffd);
                    pendingHigh = static_cast<char16_t>(unit);
                    continue;
                }
                if (unit >= 0xdc00 && unit <= 0xdfff) {
                    if (pendingHigh) {
                        appendUtf8(out, 0x10000 + ((char32_t(pendingHigh) - 0xd800) << 10) + (unit - 0xdc00));
                        pendingHigh = 0;
                    } else {
                        appendUtf8(out, 0xfffd);
                    }
                    continue;
                }
                if (pendingHigh) {
                    appendUtf8(out, 0xfffd);
                    pendingHigh = 0;
                }
                appendUtf8(out, unit);
                continue;
            }
            if (pendingHigh) {
                appendUtf8(out, 0xfffd);
                pendingHigh = 0;
            }
            switch (e) {
            case 'n':
                out += '\n';
                break;
            case 't':
                out += '\t';
                break;
            case 'r':
                out += '\r';
                break;
            case '0':
                out += '\0';
                break;
            default:
                // \" \\ \' and any other escaped character stand for themselves.
                out += e;
                break;
            }
            advance();
        }
        m_line = startLine;
        fail("text is never closed");
        return false;
    }

    std::string_view m_text;
    std::vector<std::string>* m_errors { nullptr };
    std::size_t m_at { 0 };
    std::size_t m_line { 1 };
};

} // namespace

StringsTable StringsTable::parse(std::string_view text, std::vector<std::string>* errors)
{
    StringsTable table;
    Parser(text, errors).run(table.m_entries);
    return table;
}

StringsTable StringsTable::load(const std::filesystem::path& file, std::vector<std::string>* errors)
{
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        if (errors)
            errors->push_back("cannot read " + file.string());
        return {};
    }
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return parse(text, errors);
}

std::string StringsTable::lookup(std::string_view key) const
{
    auto found = m_entries.find(key);
    return found == m_entries.end() ? std::string() : found->second;
}

bool StringsTable::contains(std::string_view key) const
{
    return m_entries.find(key) != m_entries.end();
}

} // namespace foundation

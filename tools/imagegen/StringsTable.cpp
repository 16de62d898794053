#include "StringsTable.h"

#include <QFile>

#include <optional>

namespace {

class Reader {
public:
    explicit Reader(const QString& text) : m_text(text) { }

    // Skips blanks and comments; false at the end of the text.
    bool skipToToken()
    {
        while (m_at < m_text.size()) {
            const QChar c = m_text[m_at];
            if (c.isSpace()) {
                ++m_at;
            } else if (m_text.mid(m_at, 2) == QLatin1String("/*")) {
                const qsizetype end = m_text.indexOf(QLatin1String("*/"), m_at + 2);
                m_at = end < 0 ? m_text.size() : end + 2;
            } else if (m_text.mid(m_at, 2) == QLatin1String("//")) {
                const qsizetype end = m_text.indexOf(QLatin1Char('\n'), m_at);
                m_at = end < 0 ? m_text.size() : end + 1;
            } else {
                return true;
            }
        }
        return false;
    }

    std::optional<QString> quoted()
    {
        if (!skipToToken() || m_text[m_at] != QLatin1Char('"'))
            return std::nullopt;
        QString result;
        for (++m_at; m_at < m_text.size(); ++m_at) {
            const QChar c = m_text[m_at];
            if (c == QLatin1Char('"')) {
                ++m_at;
                return result;
            }
            if (c == QLatin1Char('\\') && m_at + 1 < m_text.size()) {
                const QChar escaped = m_text[++m_at];
                result += escaped == QLatin1Char('n') ? QChar('\n') : escaped;
            } else {
                result += c;
            }
        }
        return std::nullopt;
    }

    bool symbol(QChar expected)
    {
        if (!skipToToken() || m_text[m_at] != expected)
            return false;
        ++m_at;
        return true;
    }

    qsizetype position() const { return m_at; }

private:
    QString m_text;
    qsizetype m_at = 0;
};

} // namespace

bool StringsTable::load(const QString& path, QString* problem)
{
    m_texts.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (problem)
            *problem = path + QLatin1String(": ") + file.errorString();
        return false;
    }
    Reader reader(QString::fromUtf8(file.readAll()));
    while (reader.skipToToken()) {
        const auto key = reader.quoted();
        const bool equals = key && reader.symbol(QLatin1Char('='));
        const auto value = equals ? reader.quoted() : std::nullopt;
        if (!value || !reader.symbol(QLatin1Char(';'))) {
            if (problem)
                *problem = path + QLatin1String(": not in the strings format near character ")
                    + QString::number(reader.position());
            m_texts.clear();
            return false;
        }
        m_texts.insert(*key, *value);
    }
    return true;
}

QString StringsTable::text(const QString& key) const
{
    return m_texts.value(key, key);
}

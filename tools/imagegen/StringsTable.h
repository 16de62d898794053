#pragma once
// One of the application's strings tables, read so the how-to-use pictures show the same
// words as the screens they picture. Reads the handset's format: "Key" = "Value"; entries,
// /* */ and // comments, the escapes \" \\ \n. tools/check-strings is what keeps the tables
// well formed; this reader only needs to take what is there.

#include <QHash>
#include <QString>

class StringsTable {
public:
    // Empty table and false when the file cannot be read or is not in the format.
    [[nodiscard]] bool load(const QString& path, QString* problem = nullptr);

    // The text of a key; the key itself when the table has none, so a gap shows in the picture.
    QString text(const QString& key) const;
    bool hasText(const QString& key) const { return m_texts.contains(key); }
    QString language() const { return text(QStringLiteral("Language")); }
    bool isEmpty() const { return m_texts.isEmpty(); }

private:
    QHash<QString, QString> m_texts;
};

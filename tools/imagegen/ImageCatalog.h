#pragma once
// The list of pictures the application loads, each with its size in points and the code that
// draws it. Writing renders every picture twice: once at one pixel per point under the name the
// application asks for, and once at two pixels per point beside it as "name@2x", which the
// application's image loader prefers on a high-density display.
//
// Ownership: the catalogue owns its entries and their drawing functions.

#include <QPainter>
#include <QSizeF>
#include <QString>

#include <functional>
#include <vector>

class ImageCatalog {
public:
    // Draws in points: the painter is already scaled, and (0, 0) is the picture's top left.
    using Draw = std::function<void(QPainter&)>;

    struct Entry {
        QString name;  // as the application names it; ".png" is assumed without an extension
        QSizeF points;
        Draw draw;
    };

    void add(const QString& name, QSizeF points, Draw draw);

    const std::vector<Entry>& entries() const { return m_entries; }

    // The file names of one entry: the plain one and its double-density sibling.
    static QString plainFileName(const QString& name);
    static QString doubleFileName(const QString& name);

    // Writes both densities of every entry into the folder. Returns the number of files that
    // could not be written (each is reported on standard error); 0 is success.
    [[nodiscard]] int writeAll(const QString& folder) const;

private:
    std::vector<Entry> m_entries;
};

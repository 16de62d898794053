#include "ImageCatalog.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QSaveFile>
#include <QImageWriter>

#include <cmath>
#include <cstdio>
#include <utility>

void ImageCatalog::add(const QString& name, QSizeF points, Draw draw)
{
    m_entries.push_back(Entry { name, points, std::move(draw) });
}

QString ImageCatalog::plainFileName(const QString& name)
{
    // The handset looks a name without an extension up as a PNG: "number_1_select".
    return QFileInfo(name).suffix().isEmpty() ? name + ".png" : name;
}

QString ImageCatalog::doubleFileName(const QString& name)
{
    const QString plain = plainFileName(name);
    const qsizetype dot = plain.lastIndexOf('.');
    return plain.left(dot) + "@2x" + plain.mid(dot);
}

namespace {

QImage render(const ImageCatalog::Entry& entry, int scale)
{
    const QSize pixels(int(std::lround(entry.points.width() * scale)),
                       int(std::lround(entry.points.height() * scale)));
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    // At 72 dpi a font's point size is one drawing unit, so text and shapes share one scale.
    const int pointsPerMeter = int(std::lround(72.0 / 0.0254));
    image.setDotsPerMeterX(pointsPerMeter);
    image.setDotsPerMeterY(pointsPerMeter);
    {
        QPainter painter(&image);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing
                               | QPainter::SmoothPixmapTransform);
        painter.scale(scale, scale);
        entry.draw(painter);
    }
    // The density travels in the file too (72 dpi per point), for tools that read it.
    const int dotsPerMeter = int(std::lround(scale * 72.0 / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    return image.convertToFormat(QImage::Format_ARGB32);
}

bool save(const QImage& image, const QString& path)
{
    // Written beside and renamed into place, so an interrupted run never leaves half a PNG.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QImageWriter writer(&file, "png");
    if (!writer.write(image)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace

int ImageCatalog::writeAll(const QString& folder) const
{
    int failures = 0;
    const QDir dir(folder);
    for (const Entry& entry : m_entries) {
        const std::pair<int, QString> densities[] = {
            { 1, plainFileName(entry.name) },
            { 2, doubleFileName(entry.name) },
        };
        for (const auto& [scale, fileName] : densities) {
            const QString path = dir.filePath(fileName);
            if (!save(render(entry, scale), path)) {
                std::fprintf(stderr, "imagegen: cannot write %s\n", qPrintable(path));
                ++failures;
            }
        }
    }
    return failures;
}

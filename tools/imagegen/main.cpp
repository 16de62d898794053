// imagegen: draws every picture the application loads into its images folder.
//
//   imagegen STRINGS_DIR IMAGES_DIR [LANGUAGE...]     (languages default to "en ja")
//
// The how-to-use pictures show the application's own texts, so they are drawn once per
// strings table, named by that table's "Language" tag. Run through build-and-run.sh.

#include "Drawings.h"
#include "ImageCatalog.h"
#include "StringsTable.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>
#include <map>

int main(int argc, char** argv)
{
    // Fonts need a GUI application; no window is opened.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);

    const QStringList arguments = application.arguments();
    if (arguments.size() < 3) {
        std::fprintf(stderr, "usage: imagegen STRINGS_DIR IMAGES_DIR [LANGUAGE...]\n");
        return 2;
    }
    const QDir stringsDir(arguments[1]);
    const QString imagesDir = arguments[2];
    QStringList languages = arguments.mid(3);
    if (languages.isEmpty())
        languages = { QStringLiteral("en"), QStringLiteral("ja") };

    std::map<QString, StringsTable> tables;
    for (const QString& language : languages) {
        StringsTable table;
        QString problem;
        if (!table.load(stringsDir.filePath(language + ".strings"), &problem)) {
            std::fprintf(stderr, "imagegen: %s\n", qPrintable(problem));
            return 1;
        }
        // The pictures are named by this tag; without it they could never be found.
        if (!table.hasText(QStringLiteral("Language"))) {
            std::fprintf(stderr, "imagegen: %s.strings has no \"Language\" text\n", qPrintable(language));
            return 1;
        }
        tables.emplace(table.language(), std::move(table));
    }
    if (!QDir().mkpath(imagesDir)) {
        std::fprintf(stderr, "imagegen: cannot create %s\n", qPrintable(imagesDir));
        return 1;
    }

    ImageCatalog catalog;
    addTabIcons(catalog);
    addButtonImages(catalog);
    addKeypadImages(catalog);
    addHelpPages(catalog, tables);

    const int failures = catalog.writeAll(imagesDir);
    std::printf("imagegen: %zu pictures, %zu files in %s\n", catalog.entries().size(),
                catalog.entries().size() * 2, qPrintable(imagesDir));
    return failures == 0 ? 0 : 1;
}

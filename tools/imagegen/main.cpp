// imagegen: draws the pictures the application loads into its images folder.
//
//   imagegen STRINGS_DIR IMAGES_DIR [LANGUAGE...]     every picture but the how-to-use pages
//   imagegen --help-pages SCREENS_DIR STRINGS_DIR IMAGES_DIR [LANGUAGE...]
//                                                     the how-to-use pages only
//
// Languages default to "en ja". The how-to-use pages show the application's own screens
// (captured by tools/help-pages into SCREENS_DIR) under captions from each strings table, and
// are named by that table's "Language" tag. Run through build-and-run.sh or tools/help-pages.

#include "Drawings.h"
#include "ImageCatalog.h"
#include "StringsTable.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>
#include <map>
#include <optional>

int main(int argc, char** argv)
{
    // Fonts need a GUI application; no window is opened.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);

    QStringList arguments = application.arguments();
    std::optional<QDir> helpScreens;
    if (arguments.size() > 2 && arguments[1] == QLatin1String("--help-pages")) {
        helpScreens = QDir(arguments[2]);
        arguments.remove(1, 2);
    }
    if (arguments.size() < 3) {
        std::fprintf(stderr, "usage: imagegen [--help-pages SCREENS_DIR] STRINGS_DIR IMAGES_DIR [LANGUAGE...]\n");
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
    bool complete = true;
    if (helpScreens) {
        complete = addHelpPages(catalog, tables, *helpScreens);
    } else {
        addTabIcons(catalog);
        addButtonImages(catalog);
        addKeypadImages(catalog);
    }

    const int failures = catalog.writeAll(imagesDir) + (complete ? 0 : 1);
    std::printf("imagegen: %zu pictures, %zu files in %s\n", catalog.entries().size(),
                catalog.entries().size() * 2, qPrintable(imagesDir));
    return failures == 0 ? 0 : 1;
}

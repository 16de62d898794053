#pragma once
// The groups of pictures the application uses, each added to the catalogue by one function.
// Each function adds every variant of its pictures (both looks where the application asks for
// both), under the names the application loads them by.

#include "ImageCatalog.h"
#include "StringsTable.h"

#include <QDir>

#include <map>

// The five tab icons (favourites, keypad, groups, memos, settings), both looks.
void addTabIcons(ImageCatalog& catalog);
// Bar and row buttons, the call button, the photo placeholder, the application icon and the
// small marks the platform's lists draw (tick, disclosure chevron, compose, search).
void addButtonImages(ImageCatalog& catalog);
// The keypad: its background with the twelve keys and each key's pressed picture, both looks.
void addKeypadImages(ImageCatalog& catalog);
// The four how-to-use pictures for every language table given (by its "Language" tag), both
// looks: the application's own screens as tools/help-pages captured them into `screens`
// ("htu-2-en-ios7.png", with "htu-2-en-ios7.touch" holding where a finger goes, in screen
// points), under the captions of the tables. False when a screenshot is missing.
bool addHelpPages(ImageCatalog& catalog, const std::map<QString, StringsTable>& tablesByLanguage, const QDir& screens);

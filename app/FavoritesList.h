#pragma once

#include <QString>
#include <QStringList>

// The favorites list of the run: loaded once at start-up, replaced by the favorites window when
// it closes, saved once when the browser window closes.
class FavoritesList
{
public:
    static QStringList &entries();
    static QString filePath();

    static void LoadFavorites();
    // False when the file could not be written; *error then names the reason.
    static bool SaveFavorites(QString *error);
};

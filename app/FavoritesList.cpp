#include "app/FavoritesList.h"

#include "app/FavoritesFile.h"
#include "app/ProgramInfo.h"

QStringList &FavoritesList::entries()
{
    static QStringList list{QString()};
    return list;
}

QString FavoritesList::filePath()
{
    return ProgramInfo::folder() + QStringLiteral("/favorites.txt");
}

namespace
{
FavoritesFile::Verbatim &verbatimLines()
{
    static FavoritesFile::Verbatim lines;
    return lines;
}
} // namespace

void FavoritesList::LoadFavorites()
{
    entries() = FavoritesFile::read(filePath(), &verbatimLines());
}

bool FavoritesList::SaveFavorites(QString *error)
{
    return FavoritesFile::write(filePath(), entries(), error, verbatimLines());
}

// libFuzzer target: any bytes as a favorites file. Loading never fails and yields a list that
// saving and loading again leaves as it is.
#include "app/FavoritesFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    FavoritesFile::Verbatim verbatim;
    const QStringList list = FavoritesFile::parse(bytes, &verbatim);
    if (list.isEmpty()) {
        std::abort(); // the list never has zero elements
    }
    if (!FavoritesFile::holdsFavorites(list)) {
        return 0; // saving deletes the file
    }
    const QByteArray saved = FavoritesFile::serialize(list, verbatim);
    FavoritesFile::Verbatim again;
    if (FavoritesFile::parse(saved, &again) != list) {
        std::abort();
    }
    return 0;
}

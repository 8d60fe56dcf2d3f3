#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

// favorites.txt: one entry per line (name, TAB, URL), CR LF line ends, CP932 text; UTF-8 with a
// byte-order mark when an entry holds a character CP932 has no form for.
class FavoritesFile
{
public:
    // Lines that do not survive decoding (invalid CP932 sequences), by their decoded text, so
    // that entries the user leaves alone are written back byte for byte.
    using Verbatim = QHash<QString, QByteArray>;

    // Bytes of a file to the favorites list. Never fails and never yields an empty list.
    static QStringList parse(const QByteArray &bytes, Verbatim *verbatim = nullptr);
    // The favorites list to the bytes of a file; the list must hold favorites.
    static QByteArray serialize(const QStringList &list, const Verbatim &verbatim = {});

    // The placeholder rule: a list is never empty, and an empty element 0 means "no favorites".
    // Leading empty entries are dropped, so favorites behind them are neither hidden nor lost.
    static QStringList normalized(QStringList list);
    static bool holdsFavorites(const QStringList &list)
    {
        return !list.isEmpty() && !list[0].isEmpty();
    }

    // A missing or unreadable file is the empty list.
    static QStringList read(const QString &path, Verbatim *verbatim = nullptr);
    // Replaces the file atomically, or deletes it when the list holds no favorites. On failure
    // the old file is left whole and *error says why.
    static bool write(const QString &path, const QStringList &list, QString *error,
                      const Verbatim &verbatim = {});
};

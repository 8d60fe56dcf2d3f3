#include "app/FavoritesFile.h"

#include "app/Cp932Codec.h"

#include <QFile>
#include <QSaveFile>

namespace
{
const QByteArray Utf8Bom("\xEF\xBB\xBF");
} // namespace

QStringList FavoritesFile::parse(const QByteArray &bytes)
{
    const QString text = bytes.startsWith(Utf8Bom) ? QString::fromUtf8(bytes.mid(Utf8Bom.size()))
                                                   : Cp932Codec::decode(bytes);
    // Hand-edited files may end lines with a lone CR or a lone LF as well as CR LF.
    QStringList list;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n') {
            list.append(text.mid(start, i - start));
            if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n') {
                ++i;
            }
            start = i + 1;
        }
    }
    if (start < n) {
        list.append(text.mid(start));
    }
    return normalized(std::move(list));
}

QStringList FavoritesFile::normalized(QStringList list)
{
    qsizetype leading = 0;
    while (leading < list.size() && list.at(leading).isEmpty()) {
        ++leading;
    }
    if (leading == list.size()) {
        return QStringList{QString()};
    }
    list.remove(0, leading);
    return list;
}

QByteArray FavoritesFile::serialize(const QStringList &list)
{
    QByteArray out;
    QByteArray line;
    bool representable = true;
    for (const QString &entry : list) {
        if (!Cp932Codec::encode(entry, &line)) {
            representable = false;
            break;
        }
        out += line;
        out += "\r\n";
    }
    if (representable) {
        return out;
    }
    // One character CP932 lacks would be lost for good; UTF-8 keeps everything the user typed.
    out = Utf8Bom;
    for (const QString &entry : list) {
        out += entry.toUtf8();
        out += "\r\n";
    }
    return out;
}

QStringList FavoritesFile::read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return QStringList{QString()};
    }
    return parse(file.readAll());
}

bool FavoritesFile::write(const QString &path, const QStringList &list, QString *error)
{
    if (!holdsFavorites(list)) {
        QFile::remove(path); // a missing file is what we want; nothing to report
        return true;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    const QByteArray bytes = serialize(list);
    if (file.write(bytes) != bytes.size()) {
        *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

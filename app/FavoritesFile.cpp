#include "app/FavoritesFile.h"

#include "app/Cp932Codec.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

namespace
{
const QByteArray Utf8Bom("\xEF\xBB\xBF");

// Splits at CR LF, lone CR and lone LF (hand-edited files); text after the last line end is the
// last line. Safe on CP932 bytes too: no multi-byte character contains 0x0D or 0x0A.
template <typename Text, typename Add> void splitLines(const Text &text, Add add)
{
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const auto c = text.at(i);
        if (c == u'\r' || c == u'\n') {
            add(text.mid(start, i - start));
            if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n') {
                ++i;
            }
            start = i + 1;
        }
    }
    if (start < n) {
        add(text.mid(start));
    }
}
} // namespace

QStringList FavoritesFile::parse(const QByteArray &bytes, Verbatim *verbatim)
{
    QStringList list;
    if (bytes.startsWith(Utf8Bom)) {
        // Only the file's own mark goes: a U+FEFF that begins the first entry is text.
        QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::ConvertInitialBom);
        splitLines(QString(utf8.decode(bytes.mid(Utf8Bom.size()))),
                   [&](const QString &line) { list.append(line); });
        return normalized(std::move(list));
    }
    Cp932Codec codec;
    QByteArray again;
    splitLines(bytes, [&](const QByteArray &line) {
        QString text = codec.decode(line);
        if (verbatim && (!codec.encode(text, &again) || again != line)) {
            verbatim->insert(text, line);
        }
        list.append(std::move(text));
    });
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

QByteArray FavoritesFile::serialize(const QStringList &list, const Verbatim &verbatim)
{
    Cp932Codec codec;
    QByteArray out;
    QByteArray line;
    bool representable = true;
    for (const QString &entry : list) {
        const auto kept = verbatim.constFind(entry);
        if (kept != verbatim.constEnd()) {
            out += *kept;
        } else if (codec.encode(entry, &line)) {
            out += line;
        } else {
            representable = false;
            break;
        }
        out += "\r\n";
    }
    // A CP932 file must not begin with the UTF-8 byte-order mark, or it would read back as UTF-8.
    if (representable && !out.startsWith(Utf8Bom)) {
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

QStringList FavoritesFile::read(const QString &path, Verbatim *verbatim)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return QStringList{QString()};
    }
    return parse(file.readAll(), verbatim);
}

bool FavoritesFile::write(const QString &path, const QStringList &list, QString *error,
                          const Verbatim &verbatim)
{
    if (!holdsFavorites(list)) {
        QFile::remove(path); // a missing file is what we want; nothing to report
        return true;
    }
    // Replacing the file by a rename would get past a read-only flag the user set on purpose.
    const QFileInfo existing(path);
    if (existing.exists() &&
        !(existing.permissions() &
          (QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther))) {
        *error = QStringLiteral("ファイルが読み取り専用です。");
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    const QByteArray bytes = serialize(list, verbatim);
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

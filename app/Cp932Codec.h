#pragma once

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

// Windows code page 932 (Windows-31J): the encoding of the favorites file on Japanese systems.
// One instance converts many lines; each call stands alone (no state carried between calls).
class Cp932Codec
{
public:
    Cp932Codec();

    // Invalid byte sequences never fail: they decode to U+FFFD.
    QString decode(const QByteArray &bytes);
    // Returns false (and leaves *out unspecified) when a character has no CP932 form.
    bool encode(const QString &text, QByteArray *out);
    // False where this Qt build has no CP932 converter and the system offers none either.
    static bool isAvailable();

private:
    QStringDecoder decoder_;
    QStringEncoder encoder_;
};

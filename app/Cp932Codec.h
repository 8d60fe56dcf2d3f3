#pragma once

#include <QByteArray>
#include <QString>

// Windows code page 932 (Windows-31J): the encoding of the favorites file on Japanese systems.
class Cp932Codec
{
public:
    // Invalid byte sequences never fail: they decode to U+FFFD.
    static QString decode(const QByteArray &bytes);
    // Returns false (and leaves *out unspecified) when a character has no CP932 form.
    static bool encode(const QString &text, QByteArray *out);
    // False where this Qt build has no CP932 converter; callers then cannot round-trip text.
    static bool isAvailable();
};

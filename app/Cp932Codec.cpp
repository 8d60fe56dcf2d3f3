#include "app/Cp932Codec.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace
{
// ICU knows Microsoft's table under this name; plain "Shift_JIS" maps ～ ① 髙 differently.
constexpr const char *CodecName = "windows-31j";
} // namespace

Cp932Codec::Cp932Codec()
    : decoder_(CodecName, QStringConverter::Flag::Stateless),
      encoder_(CodecName, QStringConverter::Flag::Stateless)
{
}

bool Cp932Codec::isAvailable()
{
#ifdef Q_OS_WIN
    return true;
#else
    return QStringDecoder(CodecName).isValid();
#endif
}

QString Cp932Codec::decode(const QByteArray &bytes)
{
    if (decoder_.isValid()) {
        return decoder_.decode(bytes);
    }
#ifdef Q_OS_WIN
    const int n = MultiByteToWideChar(932, 0, bytes.constData(), int(bytes.size()), nullptr, 0);
    QString text(n, Qt::Uninitialized);
    MultiByteToWideChar(932, 0, bytes.constData(), int(bytes.size()),
                        reinterpret_cast<wchar_t *>(text.data()), n);
    return text;
#else
    return QString::fromLatin1(bytes);
#endif
}

bool Cp932Codec::encode(const QString &text, QByteArray *out)
{
    if (encoder_.isValid()) {
        *out = encoder_.encode(text);
        const bool ok = !encoder_.hasError();
        encoder_.resetState(); // the error flag would otherwise stick to later calls
        return ok;
    }
#ifdef Q_OS_WIN
    const auto *wide = reinterpret_cast<const wchar_t *>(text.utf16());
    BOOL lossy = FALSE;
    const int n = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide, int(text.size()), nullptr, 0,
                                      nullptr, &lossy);
    out->resize(n);
    WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide, int(text.size()), out->data(), n, nullptr,
                        &lossy);
    return !lossy;
#else
    return false;
#endif
}

#include "app/SingleInstance.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <iterator>
#include <windows.h>
#endif

SingleInstance::SingleInstance() = default;
SingleInstance::~SingleInstance() = default;

std::string SingleInstance::currentExecutablePath(const char *argv0)
{
#ifdef Q_OS_WIN
    Q_UNUSED(argv0);
    wchar_t buffer[32768];
    const DWORD n = GetModuleFileNameW(nullptr, buffer, DWORD(std::size(buffer)));
    return QString::fromWCharArray(buffer, int(n)).toStdString();
#else
    const QString self = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    if (!self.isEmpty()) {
        return self.toStdString();
    }
    return QFileInfo(QString::fromLocal8Bit(argv0)).absoluteFilePath().toStdString();
#endif
}

bool SingleInstance::acquire(const std::string &executablePath)
{
    // The lock records this name; a later start compares it with the owner's executable name
    // to tell a live owner from a recycled process id.
    QCoreApplication::setApplicationName(
        QFileInfo(QString::fromStdString(executablePath)).fileName());
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) {
        folder = QDir::tempPath();
    }
    const QByteArray key = QCryptographicHash::hash(QByteArray::fromStdString(executablePath),
                                                    QCryptographicHash::Sha1)
                               .toHex()
                               .left(16);
    lock_ = std::make_unique<QLockFile>(folder + QStringLiteral("/sorvel-") +
                                        QString::fromLatin1(key) + QStringLiteral(".lock"));
    // Age alone never makes a lock stale: a long run keeps its lock. A dead owner always does.
    lock_->setStaleLockTime(0);
    return lock_->tryLock(0);
}
